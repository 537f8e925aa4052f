// The notable points on the graph; see the header.
#include "graph/point_marks.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "graph/primitives.h"

namespace kv {

namespace {

using analysis::FeatureKind;

constexpr char kDash = '\x96';  // Windows-1252 en dash, the printed minus
constexpr int kLabelGap = 2;    // pixels between a dot and its label

// Rectangles here are half open, as the device's.
bool overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool inside(const Rect& r, const PlotRect& plot) {
  return r.left >= plot.left && r.top >= plot.top && r.right <= plot.right() + 1 &&
         r.bottom <= plot.bottom() + 1;
}

// The dot's centre in device pixels; false when it lies outside the plot.
bool dot_centre(const CoordContext& c, double x, double y, Point& out) {
  const double col = (x - c.map.xmin) / c.map.x_scale;
  const double row = c.map.height - (y - c.map.ymin) / c.map.y_scale;
  if (!(col >= -0.5 && col <= c.map.width + 0.5 && row >= -0.5 && row <= c.map.height + 0.5)) {
    return false;
  }
  out = {c.plot.left + c.map.column(x), c.plot.top + c.map.row(y)};
  return true;
}

int dot_radius(const CoordContext& c) { return 1 + std::max(c.line_width, 1); }

Rect dot_box(Point p, int r) { return {p.x - r, p.y - r, p.x + r + 1, p.y + r + 1}; }

Colour curve_colour(const CoordContext& c, const PanelRecord& panel, int formula) {
  int slot = kColourIntegral;
  if (formula >= 0 && formula < panel.count()) slot = panel.formulas[formula]->colour_slot;
  return (*c.colours)[slot >= 0 && slot < kColourCount ? slot : kColourIntegral];
}

// Where a label of size e may stand beside the dot at p, in order of preference.
std::array<Rect, 4> label_places(Point p, int r, TextExtent e) {
  const int right = p.x + r + kLabelGap, left = p.x - r - kLabelGap - e.width;
  const int above = p.y - r - e.height, below = p.y + r + 1;
  return {Rect{right, above, right + e.width, above + e.height},
          Rect{right, below, right + e.width, below + e.height},
          Rect{left, above, left + e.width, above + e.height},
          Rect{left, below, left + e.width, below + e.height}};
}

// Where a mark stands: a pole on the x axis, or on the nearer edge of the
// plot when the axis is out of view.
double anchor_y(const CoordContext& c, const PointMark& m) {
  if (m.kind != FeatureKind::kPole) return m.y;
  const double top = c.map.ymin + c.map.height * c.map.y_scale;
  return std::clamp(0.0, std::min(c.map.ymin, top), std::max(c.map.ymin, top));
}

void ring(Device& d, Point p, int r, Colour colour, const CoordContext& c) {
  const int lw = std::max(c.line_width, 1);
  d.fill_ellipse(p.x - r, p.y - r, 2 * r + 1, 2 * r + 1, colour);
  d.fill_ellipse(p.x - r + lw, p.y - r + lw, 2 * (r - lw) + 1, 2 * (r - lw) + 1, c.background);
}

void paint_mark(Device& d, const PointMark& m, Point at, int r, Colour colour, const CoordContext& c) {
  switch (m.kind) {
    case FeatureKind::kPole: {
      PenScope pen(d, {colour, std::max(c.line_width, 1), PenStyle::Solid});
      d.line(at.x, at.y - 2 * r, at.x, at.y + 2 * r + 1);
      return;
    }
    case FeatureKind::kHole: ring(d, at, r + 1, colour, c); return;
    case FeatureKind::kJump: {
      for (double limit : {m.y_left, m.y_right}) {
        Point p;
        if ((!m.has_value || limit != m.y) && dot_centre(c, m.x, limit, p)) ring(d, p, r + 1, colour, c);
      }
      if (!m.has_value) return;
      break;
    }
    default: break;
  }
  d.fill_ellipse(at.x - r, at.y - r, 2 * r + 1, 2 * r + 1, colour);
}

}  // namespace

const char* point_mark_letter(FeatureKind kind) {
  switch (kind) {
    case FeatureKind::kZero: return "N";
    case FeatureKind::kMaximum: return "H";
    case FeatureKind::kMinimum: return "T";
    case FeatureKind::kInflection: return "W";
    case FeatureKind::kSaddle: return "SP";
    case FeatureKind::kYIntercept: return "Sy";
    case FeatureKind::kIntersection: return "S";
    case FeatureKind::kPole: return "P";
    case FeatureKind::kHole: return "L";
    case FeatureKind::kJump: return "Sp";
    default: return nullptr;
  }
}

std::string point_mark_number(double v) {
  if (!std::isfinite(v)) return "?";
  // to_chars, not printf: the window runs with the user's LC_NUMERIC, which
  // may already write a comma.
  char buf[400];
  const bool large = std::fabs(v) >= 1e6;
  const auto format = large ? std::chars_format::scientific : std::chars_format::fixed;
  std::string s(buf, std::to_chars(buf, buf + sizeof buf, v, format, 3).ptr);
  std::string exponent;
  if (large) {
    // "1.235e+07" as "1,235E+7".
    const size_t e = s.find('e');
    const std::string digits = s.substr(e + 2);
    exponent = std::string("E") + (s[e + 1] == '-' ? kDash : '+') +
               digits.substr(std::min(digits.find_first_not_of('0'), digits.size() - 1));
    s.resize(e);
  } else {
    // Trailing zeros and a bare point go; "-0" is "0".
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
  }
  for (char& ch : s) {
    if (ch == '.') ch = ',';
    if (ch == '-') ch = kDash;
  }
  return s + exponent;
}

std::string point_mark_label(FeatureKind kind, double x, double y) {
  const char* letter = point_mark_letter(kind);
  if (letter == nullptr) return {};
  if (kind == FeatureKind::kZero) y = 0;  // the value at a proven zero is rounding noise
  if (kind == FeatureKind::kPole) return std::string(letter) + '(' + point_mark_number(x) + ')';
  return std::string(letter) + '(' + point_mark_number(x) + '|' + point_mark_number(y) + ')';
}

std::vector<PointMark> point_marks_from(const analysis::Discussion& discussion,
                                        const std::vector<int>& formulas) {
  std::vector<PointMark> out;
  for (const analysis::Feature& f : discussion.features) {
    const bool pole = f.kind == FeatureKind::kPole, jump = f.kind == FeatureKind::kJump;
    if (!f.proven || !f.has_x || point_mark_letter(f.kind) == nullptr) continue;
    if (!f.has_y && !pole && !(jump && f.has_limits)) continue;
    if (f.formula < 0 || f.formula >= static_cast<int>(formulas.size())) continue;
    PointMark m{f.kind, formulas[static_cast<size_t>(f.formula)], f.x, pole ? 0 : f.y};
    if (jump) {
      if (!f.has_limits) continue;
      m.y_left = f.y_left;
      m.y_right = f.y_right;
      m.has_value = f.has_y;
      if (!f.has_y) m.y = f.y_left;
    }
    if (!std::isfinite(m.x) || !std::isfinite(m.y) || !std::isfinite(m.y_left) ||
        !std::isfinite(m.y_right)) {
      continue;
    }
    out.push_back(m);
  }
  return out;
}

std::vector<PointMark> find_point_marks(const PanelRecord& panel, double budget_ms) {
  if (panel.role != kPanelFunction || panel.option(kOptMarkPoints) == 0) return {};
  std::vector<int> formulas;
  for (int k = 0; k < panel.count(); ++k) {
    const CompiledFormula& f = *panel.formulas[k];
    if (!f.is_polar() && !f.is_implicit() && f.order == 0) formulas.push_back(k);
  }
  if (formulas.empty()) return {};
  const double lo = panel.range[kXMin].value, hi = panel.range[kXMax].value;
  if (!(lo < hi)) return {};
  return point_marks_from(analysis::discuss(panel, formulas, lo, hi, budget_ms), formulas);
}

void paint_point_marks(Device& d, const std::vector<PointMark>& marks, const CoordContext& c) {
  if (marks.empty() || c.panel == nullptr) return;
  const int r = dot_radius(c);
  std::vector<Point> centres(marks.size());
  std::vector<Rect> blocked;  // every dot, then the labels placed so far
  std::vector<bool> shown(marks.size(), false);
  for (size_t i = 0; i < marks.size(); ++i) {
    shown[i] = dot_centre(c, marks[i].x, anchor_y(c, marks[i]), centres[i]);
    if (shown[i]) blocked.push_back(dot_box(centres[i], r));
  }
  d.select_font(graph_font(1, c.line_width, c.palette));
  d.set_text_background(false, c.background);
  for (size_t i = 0; i < marks.size(); ++i) {
    if (!shown[i]) continue;
    const Colour colour = curve_colour(c, *c.panel, marks[i].formula);
    paint_mark(d, marks[i], centres[i], r, colour, c);
    const std::string label = point_mark_label(marks[i].kind, marks[i].x, marks[i].y);
    const TextExtent e = d.text_extent(label);
    const Point at = centres[i];
    for (const Rect& place : label_places(at, r, e)) {
      if (!inside(place, c.plot)) continue;
      bool free = true;
      for (const Rect& b : blocked) {
        if (overlap(place, b) && !(b == dot_box(at, r))) {
          free = false;
          break;
        }
      }
      if (!free) continue;
      d.set_text_colour(colour);
      d.draw_text(place.left, place.top, label, TextAlign::Left);
      blocked.push_back(place);
      break;
    }
  }
  d.set_text_background(true, c.background);
}

void paint_selected_point(Device& d, const MarkedPoint& point, const CoordContext& c) {
  Point at;
  if (!dot_centre(c, point.x, point.y, at)) return;
  const int r = dot_radius(c) + 3;
  const Colour colour = (*c.colours)[kColourMarker];
  hollow_rectangle(d, dot_box(at, r), Pen{colour, std::max(c.line_width, 2), PenStyle::Solid});
  std::string label = point_mark_label(point.kind, point.x, point.y);
  if (label.empty()) {
    label = '(' + point_mark_number(point.x) + '|' + point_mark_number(point.y) + ')';
  }
  d.select_font(graph_font(1, c.line_width, c.palette));
  const TextExtent e = d.text_extent(label);
  for (const Rect& place : label_places(at, r, e)) {
    if (!inside(place, c.plot)) continue;
    d.set_text_colour(colour);
    d.draw_text(place.left, place.top, label, TextAlign::Left);
    break;
  }
}

}  // namespace kv

// Pixel classification of equations and inequalities: the quadtree walk.
#include "analysis/implicit_curve.h"

#include <algorithm>

#include "interval/interval_eval.h"

namespace kv::analysis {

namespace {

using interval::Defined;
using interval::Enclosure;
using interval::Interval;

constexpr int kTile = 64;          // side of the first squares, in pixels
constexpr int kInnerLevels = 2;    // splits inside one pixel: down to quarter pixels
constexpr int kDeadlineCheck = 64; // squares between two looks at the clock

enum class Verdict : uint8_t { kNone, kInside, kOpen };

struct Classifier {
  Classifier(const CompiledFormula& formula, ImplicitRefinement& state)
      : f(formula), w(state.window), angle(state.angle), dx(state.dx), dy(state.dy),
        corners(state.corners), corner_columns(state.pixels.width + 1) {}

  const CompiledFormula& f;
  const PlaneWindow& w;
  double angle;
  double dx, dy;  // pixel sides in plot units
  interval::IntervalEvaluator ev;

  // Pixel columns [i0, i1) and rows [j0, j1) as boxes in the plane; pixel i
  // is centred at xmin + i * dx, row j at ymax - j * dy.
  Interval xs(double i0, double i1) const {
    return {w.xmin + (i0 - 0.5) * dx, w.xmin + (i1 - 0.5) * dx};
  }
  Interval ys(double j0, double j1) const {
    return {w.ymax - (j1 - 0.5) * dy, w.ymax - (j0 - 0.5) * dy};
  }

  bool holds_everywhere(Interval v) const {
    switch (f.relation) {
      case kRelLess: return v.hi < 0;
      case kRelLessEqual: return v.hi <= 0;
      case kRelGreater: return v.lo > 0;
      case kRelGreaterEqual: return v.lo >= 0;
      default: return false;
    }
  }
  bool fails_everywhere(Interval v) const {
    switch (f.relation) {
      case kRelLess: return v.lo >= 0;
      case kRelLessEqual: return v.lo > 0;
      case kRelGreater: return v.hi <= 0;
      case kRelGreaterEqual: return v.hi < 0;
      default: return v.lo > 0 || v.hi < 0;  // an equation: no zero
    }
  }

  struct Judgement {
    Verdict verdict;
    bool continuous;  // the difference is continuous on the whole box
  };

  Judgement judge(Interval x, Interval y) {
    const Enclosure e = ev.evaluate_plane(f, x, y, angle);
    const Interval v = e.f[0];
    const bool continuous = e.continuous && !e.uncertain;
    if (e.defined == Defined::kNowhere || interval::is_empty(v)) return {Verdict::kNone, false};
    if (e.defined == Defined::kEverywhere && holds_everywhere(v)) return {Verdict::kInside, continuous};
    // Undefined points belong to neither the curve nor the region.
    if (fails_everywhere(v)) return {Verdict::kNone, false};
    return {Verdict::kOpen, continuous};
  }

  // The sign of the difference at one point: -1, +1, 0 when exactly 0, 2
  // when undefined or not known.
  int8_t sign_at(double x, double y) {
    const Enclosure e = ev.evaluate_plane(f, {x, x}, {y, y}, angle);
    if (e.defined != Defined::kEverywhere || e.uncertain) return 2;
    const Interval v = e.f[0];
    if (v.lo == 0 && v.hi == 0) return 0;
    return v.hi < 0 ? -1 : v.lo > 0 ? 1 : 2;
  }

  // Signs at the pixel corners, each computed once: corner (ci, cj) is the
  // upper left corner of pixel (ci, cj).
  std::vector<int8_t>& corners;
  int corner_columns;
  int8_t corner(int ci, int cj) {
    int8_t& s = corners[static_cast<size_t>(cj) * corner_columns + ci];
    if (s == kUnknownSign) s = sign_at(w.xmin + (ci - 0.5) * dx, w.ymax - (cj - 0.5) * dy);
    return s;
  }
  static constexpr int8_t kUnknownSign = 4;

  // A point of the curve in a continuous box: both signs among the given
  // signs (the box is connected), or an exact 0 among them.
  static bool signs_prove(const int8_t* signs, int n, bool continuous) {
    bool negative = false, positive = false;
    for (int k = 0; k < n; ++k) {
      if (signs[k] == 0) return true;
      negative |= signs[k] == -1;
      positive |= signs[k] == 1;
    }
    return continuous && negative && positive;
  }

  bool proves_curve(Interval x, Interval y, bool continuous) {
    const double mx = 0.5 * (x.lo + x.hi), my = 0.5 * (y.lo + y.hi);
    const int8_t signs[5] = {sign_at(x.lo, y.lo), sign_at(x.hi, y.lo), sign_at(x.lo, y.hi),
                             sign_at(x.hi, y.hi), sign_at(mx, my)};
    return signs_prove(signs, 5, continuous);
  }

  // A part of a pixel, levels splits left: its class.
  PixelClass part(Interval x, Interval y, int levels) {
    const Judgement j = judge(x, y);
    if (j.verdict == Verdict::kNone) return kPixelNone;
    if (j.verdict == Verdict::kInside) return kPixelInside;
    if (proves_curve(x, y, j.continuous)) return kPixelCurve;
    return levels == 0 ? kPixelUndecided : quarters(x, y, levels - 1);
  }

  PixelClass quarters(Interval x, Interval y, int levels) {
    const double mx = 0.5 * (x.lo + x.hi), my = 0.5 * (y.lo + y.hi);
    const Interval qx[2] = {{x.lo, mx}, {mx, x.hi}}, qy[2] = {{y.lo, my}, {my, y.hi}};
    bool none = true, inside = true;
    for (int a = 0; a < 2; ++a) {
      for (int b = 0; b < 2; ++b) {
        const PixelClass c = part(qx[a], qy[b], levels);
        if (c == kPixelCurve) return kPixelCurve;
        none &= c == kPixelNone;
        inside &= c == kPixelInside;
      }
    }
    return none ? kPixelNone : inside ? kPixelInside : kPixelUndecided;
  }

  // Pixel (i, j): first by its box and the shared corner signs, then by
  // its quarters.
  PixelClass pixel(int i, int j, Interval x, Interval y) {
    const Judgement jd = judge(x, y);
    if (jd.verdict == Verdict::kNone) return kPixelNone;
    if (jd.verdict == Verdict::kInside) return kPixelInside;
    const int8_t signs[4] = {corner(i, j), corner(i + 1, j), corner(i, j + 1), corner(i + 1, j + 1)};
    if (signs_prove(signs, 4, jd.continuous)) return kPixelCurve;
    return quarters(x, y, kInnerLevels - 1);
  }
};

void fill(ImplicitPixels& out, const PixelSquare& s, PixelClass c) {
  const int i1 = std::min(s.i + s.size, out.width), j1 = std::min(s.j + s.size, out.height);
  for (int j = s.j; j < j1; ++j) {
    std::fill(out.cls.begin() + static_cast<long>(j) * out.width + s.i,
              out.cls.begin() + static_cast<long>(j) * out.width + i1, c);
  }
}

// One square: decided, or its quarters queued for the next level.
void classify_square(Classifier& c, ImplicitRefinement& r, const PixelSquare& s) {
  ImplicitPixels& out = r.pixels;
  const Interval x = c.xs(s.i, s.i + s.size), y = c.ys(s.j, s.j + s.size);
  if (s.size == 1) {
    out.cls[static_cast<size_t>(s.j) * out.width + s.i] = c.pixel(s.i, s.j, x, y);
    return;
  }
  const Verdict v = c.judge(x, y).verdict;
  if (v != Verdict::kOpen) {
    fill(out, s, v == Verdict::kNone ? kPixelNone : kPixelInside);
    return;
  }
  const int h = s.size / 2;
  for (int b = 0; b < 2; ++b) {
    for (int a = 0; a < 2; ++a) {
      const PixelSquare q{s.i + a * h, s.j + b * h, h};
      if (q.i < out.width && q.j < out.height) r.next.push_back(q);
    }
  }
}

}  // namespace

ImplicitRefinement start_refinement(const PlaneWindow& window, double angle) {
  ImplicitRefinement r;
  r.window = window;
  r.angle = angle;
  ImplicitPixels& out = r.pixels;
  out.width = std::max(window.width, 0) + 1;
  out.height = std::max(window.height, 0) + 1;
  out.cls.assign(static_cast<size_t>(out.width) * out.height, kPixelUndecided);
  r.dx = (window.xmax - window.xmin) / std::max(window.width, 1);
  r.dy = (window.ymax - window.ymin) / std::max(window.height, 1);
  r.corners.assign(static_cast<size_t>(out.width + 1) * (out.height + 1), Classifier::kUnknownSign);
  for (int j = 0; j < out.height; j += kTile) {
    for (int i = 0; i < out.width; i += kTile) r.level.push_back({i, j, kTile});
  }
  return r;
}

bool advance_refinement(ImplicitRefinement& r, const CompiledFormula& f, Deadline deadline) {
  if (r.pixels.complete) return true;
  Classifier c(f, r);
  int until_check = kDeadlineCheck;
  while (r.position < r.level.size()) {
    classify_square(c, r, r.level[r.position++]);
    if (r.position == r.level.size()) {
      r.level.swap(r.next);
      r.next.clear();
      r.position = 0;
    }
    if (--until_check == 0) {
      until_check = kDeadlineCheck;
      if (std::chrono::steady_clock::now() > deadline) break;
    }
  }
  if (r.position < r.level.size()) return false;
  // The walk has ended: only the pixels are kept.
  r.pixels.complete = true;
  r.corners = {};
  r.level = {};
  r.next = {};
  return true;
}

ImplicitPixels classify_implicit(const CompiledFormula& f, const PlaneWindow& window, double angle,
                                 Deadline deadline) {
  ImplicitRefinement r = start_refinement(window, angle);
  advance_refinement(r, f, deadline);
  return std::move(r.pixels);
}

}  // namespace kv::analysis

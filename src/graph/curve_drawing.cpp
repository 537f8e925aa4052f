// Curve drawing.
#include "graph/curve_drawing.h"

#include <algorithm>

#include "graph/honest_curves.h"
#include "graph/honest_plane.h"
#include "graph/recompute.h"

namespace kv {

namespace {

int curve_entry(int entry) {
  if (entry >= kFirstCurveColour && entry < kColourCount) return entry;
  // Wrap into the curve colours rather than read past the table.
  const int k = ((entry - kFirstCurveColour) % kCurveColourCount + kCurveColourCount) %
                kCurveColourCount;
  return kFirstCurveColour + k;
}

struct CurvePainter {
  Device& device;
  const CurveSamples& c;
  Colour colour;
  int line_width;
  int height;
  const uint8_t* flags;  // c.pixel_flags, or the cut flags of a classified curve

  void piece(int from, int to) {
    if (to < from) return;
    device.polyline(c.pixels.data() + from, static_cast<size_t>(to - from) + 1);
    device.set_pixel(c.pixels[to].x, c.pixels[to].y, colour);
  }

  void disc(Point p) {
    const int half = line_width / 2;
    device.fill_ellipse(p.x - 1 - half, p.y - 1 - half, line_width + 2, line_width + 2, colour);
  }

  // Walks from the right end to the left; e is the end of the piece being
  // collected, -1 while none is open, so that a piece start whose end was
  // clipped away never joins an earlier piece.
  void draw() {
    int e = -1;
    for (int i = c.pixel_last; i >= 0; --i) {
      const uint8_t f = flags[i];
      const Point p = c.pixels[i];
      if (!is_defined(f)) continue;
      if (f & kPassThrough) {
        device.line(p.x, 0, p.x, height + 1);
      } else if (is_isolated(f)) {
        disc(p);
      } else if (f & kPieceStart) {
        if (e >= 0) piece(i, e);
        e = -1;
      } else if (f & kPieceEnd) {
        e = i;
      } else if (e >= 0 && e - i >= kMaxPolylinePoints - 1) {
        piece(i, e);
        e = i;
      }
    }
  }
};

bool kind_applies(const PanelRecord& panel, const CompiledFormula& f, const FormulaPlot& fp,
                  CurveKind kind) {
  switch (kind) {
    case CurveKind::Own: return fp.slot[0].used;
    case CurveKind::Integral: return has_integral_curve(panel, f) && fp.slot[1].used;
    case CurveKind::Derivative: return has_derivative_curve(panel, f) && fp.slot[1].used;
  }
  return false;
}

}  // namespace

int curve_colour_entry(const PanelRecord& panel, const CompiledFormula& f, CurveKind kind) {
  switch (kind) {
    case CurveKind::Integral: return kColourIntegral;
    case CurveKind::Derivative: return curve_entry(f.colour_slot + panel.count());
    case CurveKind::Own: break;
  }
  return curve_entry(f.colour_slot);
}

void draw_curves(Device& device, const PanelRecord& panel, const PanelPlot& plot, CurveKind kind,
                 const PlotRect& rect, const ColourTable& colours) {
  if (!plot_is_current(panel, plot, rect.width, rect.height)) return;
  const int lw = std::max(panel.option(kOptLineWidth), 1);
  const Point saved_origin = device.origin();
  const Pen saved_pen = device.pen();
  device.set_origin(saved_origin.x + rect.left, saved_origin.y + rect.top);
  device.set_clip_rect({-(lw / 2), -(lw / 2), rect.width + 1 + (lw - 1) / 2,
                        rect.height + 1 + (lw - 1) / 2});
  const int slot = kind == CurveKind::Own ? 0 : 1;
  for (size_t k = 0; k < plot.formulas.size(); ++k) {
    const CompiledFormula& f = *panel.formulas[k];
    const FormulaPlot& fp = plot.formulas[k];
    if (!kind_applies(panel, f, fp, kind)) continue;
    if (kind != CurveKind::Own && fp.polar) continue;
    const Colour colour = colours[curve_colour_entry(panel, f, kind)];
    device.set_pen({colour, lw, PenStyle::Solid});
    const CurveSamples& c = fp.slot[slot];
    const bool honest = fp.classified[slot] && !fp.honest[slot].all_drawn;
    if (slot == 0 && fp.plane_classified && !fp.plane_honest.all_drawn) {
      // The projection already cut what is not proven.
      const ViewMap map = view_map(panel, rect.width, rect.height);
      const Colour background = colours[kColourBackground];
      paint_plane_marks(device, fp.plane_honest, map, colour, background, lw, true);
      device.set_pen({colour, lw, PenStyle::Solid});
      CurvePainter{device, c, colour, lw, rect.height, c.pixel_flags.data()}.draw();
      paint_plane_marks(device, fp.plane_honest, map, colour, background, lw, false);
      continue;
    }
    if (!honest) {
      CurvePainter{device, c, colour, lw, rect.height, c.pixel_flags.data()}.draw();
      continue;
    }
    // Where the classification found nothing to mark, the curve is drawn
    // exactly as without it.
    const ViewMap map = view_map(panel, rect.width, rect.height);
    const Colour background = colours[kColourBackground];
    const analysis::CurveClassification& honesty = fp.honest[slot];
    paint_honest_marks(device, honesty, map, colour, background, lw, true);
    const std::vector<uint8_t> flags = honest_pixel_flags(c, honesty);
    device.set_pen({colour, lw, PenStyle::Solid});
    CurvePainter{device, c, colour, lw, rect.height, flags.data()}.draw();
    paint_honest_marks(device, honesty, map, colour, background, lw, false);
  }
  device.set_pen(saved_pen);
  device.clear_clip();
  device.set_origin(saved_origin.x, saved_origin.y);
}

}  // namespace kv

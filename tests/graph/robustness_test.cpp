// Every plot size and every range the view mapping accepts must recompute
// and draw without touching memory outside the sample arrays; run under the
// sanitizers to make that visible.
#include <gtest/gtest.h>

#include "graph/colours.h"
#include "graph/curve_drawing.h"
#include "graph/integral_area.h"
#include "graph_test_support.h"
#include "recording_device.h"

namespace kv {
namespace {

struct Size {
  int w, h;
};

struct Range {
  double xmin, xmax, ymin, ymax, tmin, tmax;
};

constexpr Size kSizes[] = {{50, 50}, {52, 800}, {624, 520}, {1920, 1080}, {8000, 60}, {60, 8000}};

constexpr Range kRanges[] = {
    {-6, 6, -5, 5, -6.283185307179586, 6.283185307179586},
    {3, 3, 2, 2, 1, 1},                                  // empty ranges
    {-1e13, 1e13, -1e13, 1e13, -1e13, 1e13},             // widest
    {1e15, 2e15, -1e300, 1e300, 5, -5},                  // clamped, reversed t
    {9999999999999, 1e13, 1e13 - 1, 1e13, 0, 1e-300},    // one unit at the limit
    {-1e-300, 1e-300, -1e-300, 1e-300, kUndefined, -kUndefined},
    {6, -6, 5, -5, -kMaxMagnitude, kMaxMagnitude},        // reversed
};

struct PanelCase {
  PanelIndex role;
  const char* text;
};

constexpr PanelCase kPanels[] = {
    {kPanelFunction,
     "cos(pi*x) / (-LN2*x);\r\nr(t) = 3;\r\nd(d(x^4 / 12 - 3/2 x^2));\r\n(x^3)/3 - 1.5 x^2 + x;\r\n"
     "pi*asin(t/2 - 0.25pi);"},
    {kPanelFunction, "tan(x);1/x;sqrt(x);frac(x);rand;r(t)=1/t;r(t)=sqrt(t)"},
    {kPanelIntegral, "1/x"},
    {kPanelIntegral, "sqrt(1-x^2)"},
    {kPanelDiffEqu, "y'' = 150*cos(40x-4) - 2y + 3y'"},
    {kPanelDiffEqu, "r'''' = -9r - 10r''"},
    {kPanelDiffEqu, "y' = 1/(x-1)"},
};

void check_pixels(const CurveSamples& c, int w, int h) {
  ASSERT_LE(c.pixel_last, c.last);
  ASSERT_EQ(c.pixels.size(), static_cast<size_t>(c.last) + 2);
  for (int i = 0; i <= c.pixel_last; ++i) {
    if (!is_defined(c.pixel_flags[i])) continue;
    ASSERT_GE(c.pixels[i].x, -(w + 2));
    ASSERT_LE(c.pixels[i].x, 2 * w + 2);
    ASSERT_GE(c.pixels[i].y, -(h + 2));
    ASSERT_LE(c.pixels[i].y, 2 * h + 2);
  }
}

void run_case(const PanelCase& pc, Size size, const Range& r, bool big) {
  test::Graph g(pc.role, size.w, size.h);
  g.set_range(r.xmin, r.xmax, r.ymin, r.ymax);
  g.panel.range[kTMin].value = r.tmin;
  g.panel.range[kTMax].value = r.tmax;
  g.panel.ymin_fixed = !big;
  g.panel.derivative = true;
  g.panel.option_flag = big;
  g.panel.options[kOptLineWidth] = big ? 3 : 1;
  g.set_start(big ? 1e13 : -3.14159, {2.0, 1, -9.87, 12.5, 85});
  ASSERT_TRUE(g.compile(pc.text));
  ASSERT_TRUE(g.run()) << pc.text;
  for (const FormulaPlot& fp : g.plot.formulas) {
    for (const CurveSamples& c : fp.slot) {
      if (c.used) check_pixels(c, size.w, size.h);
    }
  }
  test::RecordingDevice dev;
  const PlotRect rect{10, 10, size.w, size.h};
  const ColourTable colours = build_colour_table(2);
  for (CurveKind k : {CurveKind::Own, CurveKind::Integral, CurveKind::Derivative}) {
    draw_curves(dev, g.panel, g.plot, k, rect, colours);
  }
  paint_integral_area(dev, g.panel, g.plot, rect, colours);
  const double xmin = g.panel.range[kXMin].value, xmax = g.panel.range[kXMax].value;
  const double ymin = g.panel.range[kYMin].value, ymax = g.panel.range[kYMax].value;
  EXPECT_LT(xmin, xmax);
  EXPECT_LT(ymin, ymax);
  EXPECT_GE(xmin, -1e13);
  EXPECT_LE(ymax, 1e13);
}

TEST(Robustness, AllPlotSizesAndRangesRecomputeAndDrawInBounds) {
  for (const PanelCase& pc : kPanels) {
    for (const Size& s : kSizes) {
      for (size_t k = 0; k < std::size(kRanges); ++k) {
        SCOPED_TRACE(testing::Message() << pc.text << " " << s.w << "x" << s.h << " range " << k);
        run_case(pc, s, kRanges[k], (k & 1) != 0);
      }
    }
  }
}

// The sample arrays are kept from one recomputation to the next and not all of
// them are cleared; nothing of an earlier curve may show in a later one.
void expect_same_curves(const PanelPlot& reused, const PanelPlot& fresh) {
  ASSERT_EQ(reused.formulas.size(), fresh.formulas.size());
  for (size_t f = 0; f < fresh.formulas.size(); ++f) {
    for (int k = 0; k < 2; ++k) {
      const CurveSamples& a = reused.formulas[f].slot[k];
      const CurveSamples& b = fresh.formulas[f].slot[k];
      SCOPED_TRACE(testing::Message() << "formula " << f << " slot " << k);
      ASSERT_EQ(a.used, b.used);
      if (!b.used) continue;
      ASSERT_EQ(a.last, b.last);
      ASSERT_EQ(a.pixel_last, b.pixel_last);
      for (int i = 0; i <= b.last + 1; ++i) {
        ASSERT_EQ(a.samples[i].flag, b.samples[i].flag) << i;
        if (!is_defined(b.samples[i].flag)) continue;
        ASSERT_EQ(a.samples[i].t, b.samples[i].t) << i;
        ASSERT_EQ(a.samples[i].v, b.samples[i].v) << i;
      }
      for (int i = 0; i <= b.pixel_last; ++i) {
        ASSERT_EQ(a.pixel_flags[i], b.pixel_flags[i]) << i;
        if (is_defined(b.pixel_flags[i])) {
          ASSERT_EQ(a.pixels[i], b.pixels[i]) << i;
        }
      }
    }
  }
}

TEST(Robustness, ReusedArraysGiveTheCurvesOfFreshOnes) {
  PanelPlot reused;
  const Size sizes[] = {{1920, 1080}, {624, 520}, {50, 50}};
  for (int round = 0; round < 2; ++round) {
    for (const PanelCase& pc : kPanels) {
      for (const Size& s : sizes) {
        SCOPED_TRACE(testing::Message() << pc.text << " " << s.w << "x" << s.h);
        test::Graph fresh(pc.role, s.w, s.h), again(pc.role, s.w, s.h);
        for (test::Graph* g : {&fresh, &again}) {
          g->set_start(0.5, {1, 0.5, -1, 2, 1});
          ASSERT_TRUE(g->compile(pc.text));
        }
        const bool ok = recompute_panel(again.panel, reused, s.w, s.h);
        ASSERT_EQ(ok, fresh.run());
        if (ok) expect_same_curves(reused, fresh.plot);
      }
    }
  }
}

TEST(Robustness, LargestPlotRecomputes) {
  for (const PanelCase& pc : {kPanels[0], kPanels[2], kPanels[4]}) {
    run_case(pc, {8000, 8000}, kRanges[0], true);
  }
}

}  // namespace
}  // namespace kv

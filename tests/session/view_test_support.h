// A drawing panel with a plot of 600 by 500 pixels, its undo ring, and the
// part of the refresh that view tests need: the range rules and scales of a
// recomputation, then the undo bookkeeping.
#pragma once

#include "graph/samples.h"
#include "graph/view.h"
#include "session/view_ops.h"

namespace kv::test {

struct ViewFixture {
  PanelRecord panel;
  ViewUndoRing undo;
  PlotRect plot{49, 21, 600, 500};

  ViewFixture() {
    undo.allocate();
    set_range(-6, 6, -5, 5);
  }
  ViewTarget target() { return {panel, undo, plot}; }
  void set_range(double xmin, double xmax, double ymin, double ymax) {
    panel.range[kXMin].value = xmin;
    panel.range[kXMax].value = xmax;
    panel.range[kYMin].value = ymin;
    panel.range[kYMax].value = ymax;
    recompute();
  }
  void recompute() {
    prepare_x_range(panel, plot.width);
    settle_y_range(panel, PanelPlot{}, plot.width, plot.height);
  }
  // What the refresh does after a view operation asked for one.
  bool refresh(const ViewChange& c) {
    if (!c.refresh) return false;
    recompute();
    return (c.refresh_flags & 0x30) != 0 && record_step_if_moved(undo, panel);
  }
  double x(RangeIndex i) const { return panel.range[i].value; }
};

}  // namespace kv::test

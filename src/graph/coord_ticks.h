// Tick steps and tick positions of the coordinate system.
//
// The step rule aims at one labelled tick every 100 to 150 pixels or so: it
// takes the axis units that 520 pixels cover (times 1.25 in pi units, whose
// labels are wider), normalises that to three digits and picks the mantissa
// 20, 25, 50 or 100 with 4 or 5 subdivisions. The step is in world units
// (already multiplied by pi for an axis in pi units).
//
// Tick positions start at the first multiple of the step that lies no more
// than half a pixel left of (or below) the range start and run while their
// pixel stays inside the plot. Each tick keeps its pixel and its value in
// axis units (the world value divided by pi for an axis in pi units).
#pragma once

#include <vector>

#include "graph/view.h"

namespace kv {

struct TickStep {
  double step = 1.0;  // world units
  int mantissa = 20;  // 20, 25, 50 or 100
  int subdivisions = 4;
};

// range: max - min of the axis; size: plot width or height in pixels.
TickStep tick_step(double range, int size, bool pi_units);

struct Tick {
  int pixel = 0;       // column (x axis) or row (y axis), device coordinates
  double value = 0.0;  // axis units
};

struct AxisTicks {
  TickStep step;
  double factor = 1.0;  // pi in pi units, else 1
  std::vector<Tick> ticks;
};

enum class Axis { X, Y };

// Ticks of one axis of the view; range is max - min of that axis. Pixels are
// offset by the plot's corner. At most a few thousand even for degenerate
// input.
AxisTicks build_axis_ticks(const ViewMap& map, const PlotRect& plot, Axis axis, double range,
                           bool pi_units);

// Pixel of a world value on one axis, offset by the plot's corner.
int axis_pixel(const ViewMap& map, const PlotRect& plot, Axis axis, double value);

}  // namespace kv

// The small drawing vocabulary of the graph painters, on top of a Device.
//
// Lengths are in pixels. Lines leave out their end pixel, as the device's
// line does. A primitive that takes a pen selects it for the call and
// restores the previous pen; one that takes a brush restores the previous
// brush. Nothing a primitive selects outlives it.
#pragma once

#include <string_view>
#include <vector>

#include "graph/device.h"

namespace kv {

// (x, y) to (x + length, y), with the given pen or the current one.
void horizontal_line(Device& d, int x, int y, int length);
void horizontal_line(Device& d, int x, int y, int length, const Pen& pen);
// (x, y) to (x, y + length).
void vertical_line(Device& d, int x, int y, int length);
void vertical_line(Device& d, int x, int y, int length, const Pen& pen);

// One-pixel dots at (x + k, y) for k = extent, extent - spacing, ... >= 0.
void dotted_row(Device& d, int x, int y, int extent, int spacing, Colour c);
// One-pixel dots at (x, y + k) likewise.
void dotted_column(Device& d, int x, int y, int extent, int spacing, Colour c);

// Colour a at every period-th pixel starting with the first, b elsewhere: the
// pixels of a dotted grid line, copied whole to each position.
std::vector<Colour> pattern_strip(size_t length, Colour a, Colour b, int period);

void filled_box(Device& d, int x, int y, int width, int height, Colour c);

// A polygon of three points in the brush, outlined in the brush's colour.
void filled_triangle(Device& d, Point a, Point b, Point c, const Brush& brush);

// A hollow frame from (left, top) to (right, bottom) with the pen.
void hollow_rectangle(Device& d, const Rect& r, const Pen& pen);

}  // namespace kv

// The picture of a colour scheme in the "Hi&ntergrundfarbe..." menu: the
// scheme's background framed in grey with one line of a grid, and a curve in
// its first curve colour.
#pragma once

#include <QIcon>

class QPainter;

namespace kv {

// Logical size of the swatch picture.
inline constexpr int kSwatchWidth = 36;
inline constexpr int kSwatchHeight = 16;

// Paints the swatch of colour scheme palette (0..2; others as 0) into the
// frame 0..kSwatchWidth x 0..kSwatchHeight.
void paint_swatch(QPainter& painter, int palette);

QIcon swatch_icon(int palette);

}  // namespace kv

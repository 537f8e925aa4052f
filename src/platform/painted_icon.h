// Icons painted at the pixel size they are shown at: QIcon asks for a
// picture of device resolution (size x device pixel ratio), and the picture
// is painted fresh in those pixels instead of scaling a fixed bitmap.
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QSize>
#include <QSizeF>
#include <functional>

class QPainter;

namespace kv {

// paint draws into the logical frame 0..units.width() x 0..units.height();
// the frame is scaled to fit the asked size, keeping its shape, and centred.
// Disabled pictures are grey and faint. Nothing is painted before a picture
// is asked for, and each size and mode is painted once.
QIcon painted_icon(std::function<void(QPainter&)> paint, QSizeF units);

// The same with the sizes the icon names when asked for its available sizes
// (window managers take those); they too are painted only when asked for.
QIcon painted_icon(std::function<void(QPainter&)> paint, QSizeF units, QList<QSize> sizes);

// The frame 0..units painted into a transparent image of the given pixels
// (premultiplied ARGB), as the icons above paint their pictures.
QImage paint_picture(const std::function<void(QPainter&)>& paint, QSizeF units, QSize pixels);

// The same with the picture already painted in the size of baked (as paint
// paints it there, premultiplied ARGB): that size is taken from it, disabled
// too, and every other size painted.
QIcon painted_icon(std::function<void(QPainter&)> paint, QSizeF units, QImage baked);

}  // namespace kv

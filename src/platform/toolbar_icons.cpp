// The toolbar and program icons; see the header.
#include "platform/toolbar_icons.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QSizeF>

#include "platform/painted_icon.h"
#include "platform/toolbar_pixels.h"  // written by the build (bake/)

namespace kv {

QIcon toolbar_icon(int bitmap_id) {
  if (bitmap_id < kFirstToolbarBitmap || bitmap_id > kLastToolbarBitmap) return QIcon();
  const auto* pixels =
      reinterpret_cast<const uchar*>(kToolbarPixels[bitmap_id - kFirstToolbarBitmap]);
  const QImage baked(pixels, kToolbarIconSize, kToolbarIconSize, kToolbarIconSize * 4,
                     QImage::Format_ARGB32_Premultiplied);
  return painted_icon([bitmap_id](QPainter& p) { paint_toolbar_picture(p, bitmap_id); },
                      QSizeF(kToolbarIconSize, kToolbarIconSize), baked);
}

QIcon program_icon() {
  // Window managers take fixed sizes from the icon; name the usual ones.
  // Painting them all (the largest alone is a quarter of a million pixels)
  // waits until someone asks: most platforms ask for a few, some for none.
  QList<QSize> sizes;
  for (int s : {16, 24, 32, 48, 64, 128, 256}) sizes.append(QSize(s, s));
  return painted_icon(paint_program_picture, QSizeF(64, 64), sizes);
}

}  // namespace kv

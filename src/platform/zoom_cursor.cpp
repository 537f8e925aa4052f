// The zoom cursor; see the header.
#include "platform/zoom_cursor.h"

#include <QPixmap>

#include "session/zoom_box.h"

namespace kv {

namespace {

// One row per pixel row: '#' black, '.' white, ' ' transparent. The cross is
// centred on (5, 5), the hot spot.
constexpr const char* kRows[kZoomCursorSize] = {
    "    ...                         ",
    "    .#.                         ",
    "    .#.                         ",
    "    .#.                         ",
    ".....#.....                     ",
    ".#### ####.                     ",
    ".....#.....                     ",
    "    .#.                         ",
    "    .#.                         ",
    "    .#.     ......              ",
    "    ...   ..######..            ",
    "         .##......##.           ",
    "        .#..      ..#.          ",
    "       .#.          .#.         ",
    "       .#.    .#.   .#.         ",
    "      .#.     .#.    .#.        ",
    "      .#.  ....#....  .#.       ",
    "      .#.  .#######.  .#.       ",
    "      .#.  ....#....  .#.       ",
    "      .#.     .#.    .#.        ",
    "       .#.    .#.   .#.         ",
    "       .#.          .#.         ",
    "        .#..      ..##.         ",
    "         .##......####.         ",
    "          ..######..###.        ",
    "            ......  .###.       ",
    "                     .###.      ",
    "                      .###.     ",
    "                       .###.    ",
    "                        .###.   ",
    "                         .#.    ",
    "                          .     ",
};

}  // namespace

QImage zoom_cursor_image() {
  QImage image(kZoomCursorSize, kZoomCursorSize, QImage::Format_ARGB32);
  for (int y = 0; y < kZoomCursorSize; ++y) {
    for (int x = 0; x < kZoomCursorSize; ++x) {
      const char c = kRows[y][x];
      image.setPixel(x, y, c == '#' ? 0xff000000u : c == '.' ? 0xffffffffu : 0x00000000u);
    }
  }
  return image;
}

QCursor zoom_cursor() {
  return QCursor(QPixmap::fromImage(zoom_cursor_image()), kZoomCursorHotSpot.x,
                 kZoomCursorHotSpot.y);
}

}  // namespace kv

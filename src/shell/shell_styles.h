// Two small adjustments of the toolkit's style, each set on the widgets it
// belongs to only:
//
// ToolbarStyle: the vertical toolbars are 26 and 25 pixels wide around
// 18 x 18 pictures; the toolkit's own margins would not leave the buttons
// room, so the toolbars get no item margin and a frame of one pixel. The
// bar's background is painted in bands of rows, which gives the same pixels:
// a fill of a hundred rows or more the toolkit splits among worker threads,
// and starting them and waiting for them costs far more than filling a bar
// 26 pixels wide (a tenth of the start-up on a busy machine).
//
// SwatchMenuStyle: the colour-scheme items show a wide picture instead of a
// text (the item's icon, 36 x 16) right of the check-mark column, on items
// 22 pixels high.
#pragma once

#include <QProxyStyle>

namespace kv {

class ToolbarStyle final : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
};

class SwatchMenuStyle final : public QProxyStyle {
 public:
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
};

}  // namespace kv

// The program's style and two small adjustments of it, each set on the
// widgets it belongs to only:
//
// ToolbarStyle: the vertical toolbars are 26 and 25 pixels wide around
// 18 x 18 pictures; the toolkit's own margins would not leave the buttons
// room, so the toolbars get no item margin and a frame of one pixel. The
// bar's background is painted in bands of rows into a kept picture, which
// gives the same pixels: a fill of a hundred rows or more the toolkit splits
// among worker threads, and starting them and waiting for them costs far
// more than filling a bar 26 pixels wide (a tenth of the start-up on a busy
// machine). Its overflow arrows come as ProgramStyle gives them.
//
// SwatchMenuStyle: the colour-scheme items show a wide picture instead of a
// text (the item's icon, 36 x 16) right of the check-mark column, on items
// 22 pixels high.
//
// ProgramStyle, set on the application: the platform's own style with one
// change: the arrow pictures of the menu bar's and the toolbars' overflow
// buttons are fetched when first shown rather than when the bars are made.
// The toolkit reads them from image files, which loads its image plug-ins and
// costs the start-up about a tenth; the buttons show only in a window too
// narrow for its menus.
#pragma once

#include <QProxyStyle>
#include <memory>

namespace kv {

class ProgramStyle final : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
};

class ToolbarStyle final : public QProxyStyle {
 public:
  ToolbarStyle();
  ~ToolbarStyle() override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;

 private:
  struct Background;
  mutable std::unique_ptr<Background> background_;  // the bar's last background
};

class SwatchMenuStyle final : public QProxyStyle {
 public:
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
};

}  // namespace kv

// Style adjustments of the toolbars and the swatch menu; see the header.
#include "shell/shell_styles.h"

#include <QPainter>
#include <QStyleOptionMenuItem>
#include <algorithm>

#include "platform/swatch_icon.h"

namespace kv {

int ToolbarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
  switch (metric) {
    case PM_ToolBarItemMargin: return 0;
    case PM_ToolBarFrameWidth: return 1;
    case PM_ToolBarItemSpacing: return 1;
    default: return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

void ToolbarStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
  if (element != CE_ToolBar || option == nullptr || painter == nullptr) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  // Fewer rows than the toolkit's threshold for threads (96) per fill; the
  // gradient follows the option's rectangle, so the bands join seamlessly.
  constexpr int kBandRows = 64;
  const QRect r = option->rect;
  for (int top = r.top(); top <= r.bottom(); top += kBandRows) {
    painter->save();
    painter->setClipRect(QRect(r.left(), top, r.width(), kBandRows), Qt::IntersectClip);
    QProxyStyle::drawControl(element, option, painter, widget);
    painter->restore();
  }
}

namespace {

constexpr int kSwatchItemHeight = 22;
constexpr int kSwatchGap = 4;  // between the check-mark column and the picture

// The check-mark column as the toolkit's menu items lay it out.
int check_column(const QStyleOptionMenuItem& item) { return std::max(item.maxIconWidth, 20); }

}  // namespace

QSize SwatchMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                        const QSize& size, const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (type != CT_MenuItem || item == nullptr || item->icon.isNull()) {
    return QProxyStyle::sizeFromContents(type, option, size, widget);
  }
  return QSize(check_column(*item) + kSwatchGap + kSwatchWidth + 2 * kSwatchGap + 8,
               kSwatchItemHeight);
}

void SwatchMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (element != CE_MenuItem || item == nullptr || item->icon.isNull()) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  // The toolkit draws the highlight and the check mark of an item without
  // picture; the picture goes right of the check-mark column.
  QStyleOptionMenuItem plain = *item;
  plain.icon = QIcon();
  plain.text.clear();
  QProxyStyle::drawControl(element, &plain, painter, widget);
  const QRect r = item->rect;
  const QRect swatch(r.left() + check_column(*item) + kSwatchGap,
                     r.top() + (r.height() - kSwatchHeight) / 2, kSwatchWidth, kSwatchHeight);
  const QIcon::Mode mode = item->state & State_Enabled ? QIcon::Normal : QIcon::Disabled;
  item->icon.paint(painter, swatch, Qt::AlignCenter, mode);
}

}  // namespace kv

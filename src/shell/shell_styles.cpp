// Style adjustments of the toolbars and the swatch menu; see the header.
#include "shell/shell_styles.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QPixmap>
#include <QStyleOptionMenuItem>
#include <QStyleOptionToolBar>
#include <algorithm>
#include <optional>

#include "platform/swatch_icon.h"

namespace kv {

namespace {

// A standard picture of a style, asked of the style when first needed with
// the same option (a plain QStyleOption, kept as a copy) and widget.
class DeferredStandardIcon final : public QIconEngine {
 public:
  DeferredStandardIcon(QStyle* style, QStyle::StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget)
      : style_(style), which_(which), widget_(const_cast<QWidget*>(widget)) {
    if (option != nullptr) option_ = *option;
  }

  // Sizes arrive in device pixels; the icon is asked at the ratio that
  // hands them to its own engine unchanged.
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return icon().pixmap(size, 1.0, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    if (!(scale > 1.0)) return pixmap(size, mode, state);
    const QSize logical(qRound(size.width() / scale), qRound(size.height() / scale));
    return icon().pixmap(logical, scale, mode, state);
  }
  // The size of the picture the icon gives, as pixmap and image engines answer.
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return pixmap(size, mode, state).size();
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return icon().availableSizes(mode, state);
  }
  QIconEngine* clone() const override {
    auto* copy = new DeferredStandardIcon(style_, which_, nullptr, widget_);
    copy->option_ = option_;
    return copy;
  }
  QString key() const override { return QStringLiteral("KurvalineDeferredStandard"); }

 private:
  const QIcon& icon() {
    if (!fetched_ && style_ != nullptr) {
      icon_ = style_->standardIcon(which_, option_ ? &*option_ : nullptr, widget_);
      fetched_ = true;
    }
    return icon_;
  }

  QPointer<QStyle> style_;
  QStyle::StandardPixmap which_;
  std::optional<QStyleOption> option_;
  QPointer<QWidget> widget_;
  QIcon icon_;
  bool fetched_ = false;
};

// The overflow arrows, asked for with no option or a plain one (a copy of
// any other kind would lose its fields).
bool deferred(QStyle::StandardPixmap icon, const QStyleOption* option) {
  return (icon == QStyle::SP_ToolBarHorizontalExtensionButton ||
          icon == QStyle::SP_ToolBarVerticalExtensionButton) &&
         (option == nullptr || option->type == QStyleOption::SO_Default);
}

}  // namespace

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
  if (!deferred(icon, option)) return QProxyStyle::standardIcon(icon, option, widget);
  return QIcon(new DeferredStandardIcon(baseStyle(), icon, option, widget));
}

QIcon ToolbarStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
  if (!deferred(icon, option)) return QProxyStyle::standardIcon(icon, option, widget);
  return QIcon(new DeferredStandardIcon(baseStyle(), icon, option, widget));
}

int ToolbarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
  switch (metric) {
    case PM_ToolBarItemMargin: return 0;
    case PM_ToolBarFrameWidth: return 1;
    case PM_ToolBarItemSpacing: return 1;
    default: return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

namespace {

// What the toolkit's toolbar background depends on.
struct BarBackgroundKey {
  QSize size;
  qreal ratio = 0;
  qint64 palette = 0;
  int state = 0, direction = 0, area = 0, line = 0, within = 0, features = 0;
  friend bool operator==(const BarBackgroundKey&, const BarBackgroundKey&) = default;
};

BarBackgroundKey bar_background_key(const QStyleOption& option, qreal ratio) {
  BarBackgroundKey k;
  k.size = option.rect.size();
  k.ratio = ratio;
  k.palette = option.palette.cacheKey();
  k.state = static_cast<int>(option.state);
  k.direction = static_cast<int>(option.direction);
  if (const auto* bar = qstyleoption_cast<const QStyleOptionToolBar*>(&option)) {
    k.area = static_cast<int>(bar->toolBarArea);
    k.line = static_cast<int>(bar->positionOfLine);
    k.within = static_cast<int>(bar->positionWithinLine);
    k.features = static_cast<int>(bar->features);
  }
  return k;
}

}  // namespace

struct ToolbarStyle::Background {
  BarBackgroundKey key;
  QPixmap picture;
};

ToolbarStyle::ToolbarStyle() = default;
ToolbarStyle::~ToolbarStyle() = default;

void ToolbarStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
  const auto* bar = qstyleoption_cast<const QStyleOptionToolBar*>(option);
  if (element != CE_ToolBar || bar == nullptr || painter == nullptr || option->rect.isEmpty()) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  // The background is painted once per size and look and then copied, so a
  // repaint of one button copies a few rows. It is painted in bands of fewer
  // rows than the toolkit's threshold for threads (96) per fill; the gradient
  // follows the option's rectangle, so the bands join seamlessly.
  const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatio() : 1.0;
  const BarBackgroundKey key = bar_background_key(*option, ratio);
  if (!background_ || !(background_->key == key)) {
    QStyleOptionToolBar at_origin = *bar;
    at_origin.rect.moveTo(0, 0);
    QPixmap picture(at_origin.rect.size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    constexpr int kBandRows = 64;
    for (int top = 0; top < at_origin.rect.height(); top += kBandRows) {
      p.save();
      p.setClipRect(QRect(0, top, at_origin.rect.width(), kBandRows));
      QProxyStyle::drawControl(element, &at_origin, &p, widget);
      p.restore();
    }
    p.end();
    background_ = std::make_unique<Background>(Background{key, picture});
  }
  painter->drawPixmap(option->rect.topLeft(), background_->picture);
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

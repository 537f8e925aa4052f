// Icons painted at their device size; see the header.
#include "platform/painted_icon.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <utility>
#include <vector>

namespace kv {

namespace {

// Grey and faint, as the toolkit shows disabled pictures.
void grey_out(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int a = qAlpha(row[x]);
      if (a == 0) continue;
      // Premultiplied: un-premultiply the grey, lighten it, then fade.
      const int g = (qRed(row[x]) + qGreen(row[x]) + qBlue(row[x])) * 255 / (3 * a);
      const int light = (g + 2 * 160) / 3;
      const int fa = a * 2 / 5;
      const int v = light * fa / 255;
      row[x] = qRgba(v, v, v, fa);
    }
  }
}

class PaintedIconEngine final : public QIconEngine {
 public:
  PaintedIconEngine(std::function<void(QPainter&)> paint, QSizeF units, QList<QSize> sizes,
                    QImage baked)
      : paint_(std::move(paint)),
        units_(units),
        sizes_(std::move(sizes)),
        baked_(std::move(baked)) {}

  void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal dpr = p->device() ? p->device()->devicePixelRatio() : 1.0;
    QPixmap pm = pixmap((QSizeF(rect.size()) * dpr).toSize(), mode, state);
    p->drawPixmap(rect, pm);
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    return fitted(size).toSize();
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return sizes_; }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    const QSize pixels = fitted(size).toSize();
    if (pixels.isEmpty()) return QPixmap();
    // Buttons ask again on every repaint (hover, a changed check state).
    for (const Painted& p : painted_) {
      if (p.size == pixels && p.mode == mode) return p.pixmap;
    }
    // Greying detaches from the baked picture, which stays as it is.
    QImage image = pixels == baked_.size() ? baked_ : paint_picture(paint_, units_, pixels);
    if (mode == QIcon::Disabled) grey_out(image);
    QPixmap pixmap = QPixmap::fromImage(image);
    if (painted_.size() >= kMaxPainted) painted_.erase(painted_.begin());
    painted_.push_back({pixels, mode, pixmap});
    return pixmap;
  }

  QIconEngine* clone() const override {
    return new PaintedIconEngine(paint_, units_, sizes_, baked_);
  }
  QString key() const override { return QStringLiteral("KurvalinePainted"); }

 private:
  struct Painted {
    QSize size;
    QIcon::Mode mode;
    QPixmap pixmap;
  };
  // Enough for every size and mode one screen shows; a size change of the
  // screen replaces the oldest pictures.
  static constexpr size_t kMaxPainted = 16;

  // The largest size of the frame's shape within size, in whole pixels.
  QSizeF fitted(const QSize& size) const {
    const qreal k = std::min(size.width() / units_.width(), size.height() / units_.height());
    return QSizeF(qRound(units_.width() * k), qRound(units_.height() * k));
  }

  std::function<void(QPainter&)> paint_;
  QSizeF units_;
  QList<QSize> sizes_;
  QImage baked_;  // the picture painted ahead, in its own size; null when none
  std::vector<Painted> painted_;
};

}  // namespace

QImage paint_picture(const std::function<void(QPainter&)>& paint, QSizeF units, QSize pixels) {
  QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.scale(pixels.width() / units.width(), pixels.height() / units.height());
  paint(p);
  return image;
}

QIcon painted_icon(std::function<void(QPainter&)> paint, QSizeF units) {
  return QIcon(new PaintedIconEngine(std::move(paint), units, {}, QImage()));
}

QIcon painted_icon(std::function<void(QPainter&)> paint, QSizeF units, QList<QSize> sizes) {
  return QIcon(new PaintedIconEngine(std::move(paint), units, std::move(sizes), QImage()));
}

QIcon painted_icon(std::function<void(QPainter&)> paint, QSizeF units, QImage baked) {
  return QIcon(new PaintedIconEngine(std::move(paint), units, {}, std::move(baked)));
}

}  // namespace kv

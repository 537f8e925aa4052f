// The zoom rectangle's edge windows; see the header.
#include "shell/zoom_box_window.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

#include "session/zoom_box.h"
#include "shell/overlay_window.h"

namespace kv {

ZoomEdgeWindow::ZoomEdgeWindow(QWidget* owner)
    : QWidget(owner, kOverlayWindowFlags) {
  make_passive_overlay(this);
}

void ZoomEdgeWindow::paintEvent(QPaintEvent* event) {
  // The dots are counted from the window's own corner, so an edge that moves
  // keeps its pattern anchored to itself, as a dotted focus frame does.
  const QRect r = event->rect();
  QImage dots(r.size(), QImage::Format_RGB32);
  for (int y = 0; y < r.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(dots.scanLine(y));
    for (int x = 0; x < r.width(); ++x) {
      const bool black = zoom_edge_pixel_black(width(), height(), r.left() + x, r.top() + y);
      row[x] = black ? 0xff000000u : 0xffffffffu;
    }
  }
  QPainter(this).drawImage(r.topLeft(), dots);
}

ZoomBoxWindow::ZoomBoxWindow(QWidget* owner) {
  for (auto& e : edges_) e = new ZoomEdgeWindow(owner);
}

void ZoomBoxWindow::place(const std::array<Rect, 4>& edges) {
  for (size_t i = 0; i < edges_.size(); ++i) {
    const Rect& r = edges[i];
    edges_[i]->setGeometry(r.left, r.top, std::max(1, r.width()), std::max(1, r.height()));
    if (!shown_) edges_[i]->show();
  }
  shown_ = true;
}

void ZoomBoxWindow::hide() {
  for (auto* e : edges_) e->hide();
  shown_ = false;
}

}  // namespace kv

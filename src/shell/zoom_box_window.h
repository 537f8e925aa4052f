// The zoom rectangle on screen: four windows one pixel thick, one per edge,
// dotted in alternating black and white pixels so the rectangle shows on
// any picture. They float above the graph without taking the focus or the
// mouse, so the drag underneath goes on undisturbed.
#pragma once

#include <QWidget>
#include <array>

#include "graph/device.h"

namespace kv {

// One edge: its dots follow zoom_edge_pixel_black at its own pixels.
class ZoomEdgeWindow final : public QWidget {
 public:
  explicit ZoomEdgeWindow(QWidget* owner);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class ZoomBoxWindow {
 public:
  // The edge windows belong to owner (the main window) and go with it.
  explicit ZoomBoxWindow(QWidget* owner);

  // Places and shows the four edges (left, top, right, bottom), each given
  // as a half-open rectangle in screen coordinates.
  void place(const std::array<Rect, 4>& edges);
  void hide();
  bool shown() const { return shown_; }
  const std::array<ZoomEdgeWindow*, 4>& edges() const { return edges_; }

 private:
  std::array<ZoomEdgeWindow*, 4> edges_{};
  bool shown_ = false;
};

}  // namespace kv

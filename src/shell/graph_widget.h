// The central widget of the main window: shows the graph of the current
// drawing panel, and hands the mouse to the shared rules: right-button
// gestures (a click that did not move asks for the context menu) and the
// wheel's zoom around the cursor.
//
// The widget owns the off-screen picture. Its paint follows the shell's
// paint rule (paint_flags, after_paint); where the plot lies comes from the
// layout in ShellState, whose coordinates are those of the window's client
// area, so the widget needs to know where its own corner lies in that area.
#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "graph/device.h"

#include "platform/picture.h"

namespace kv {

struct ShellState;
class ShellHost;

class GraphWidget : public QWidget {
  Q_OBJECT

 public:
  // client_offset tells where the widget's corner lies in the client area.
  GraphWidget(ShellState& state, ShellHost& host, std::function<QPoint()> client_offset,
              QWidget* parent = nullptr);

  const OffscreenPicture& picture() const { return picture_; }
  // Called after each paint of a window that is ready (for the start-up
  // measurement that quits after the first picture).
  void set_after_paint_hook(std::function<void()> hook) { after_paint_hook_ = std::move(hook); }

  // Esc, focus loss: a running gesture ends without effect.
  void cancel_gesture();

 signals:
  // A right click that did not move: the context menu at that screen point.
  void context_menu_requested(QPoint global_pos);
  // A gesture or the wheel changed the view (menu states may follow).
  void view_changed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  Point client_point(QPointF widget_pos) const;
  qint64 now_ms() const { return clock_.elapsed(); }
  void gesture_ended();

  ShellState& state_;
  ShellHost& host_;
  std::function<QPoint()> client_offset_;
  std::function<void()> after_paint_hook_;
  OffscreenPicture picture_;
  QElapsedTimer clock_;
  QTimer gesture_timer_;
};

}  // namespace kv

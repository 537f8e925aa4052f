// The central widget of the main window: shows the graph of the current
// drawing panel. The mouse, the wheel and the touchpad over it are handled by
// the PointerController the window attaches to it.
//
// The widget owns the off-screen picture. Its paint follows the shell's
// paint rule (paint_flags, after_paint); where the plot lies comes from the
// layout in ShellState, whose coordinates are those of the window's client
// area, so the widget needs to know where its own corner lies in that area.
//
// Equations and inequalities are refined after the first picture, a short
// piece at a time whenever the event loop is idle, and the picture is painted
// again as they get finer. A new recomputation (zoom, scroll, new formulas)
// replaces the work in flight; closing the window ends it with the widget.
#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <functional>

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
  // The picture the window shows, for the clipboard and picture files: made
  // now where the last paint drew straight onto the window; null before the
  // first paint.
  const QImage& shown_picture();
  // Called after each paint of a window that is ready (for the start-up
  // measurement that quits after the first picture).
  void set_after_paint_hook(std::function<void()> hook) { after_paint_hook_ = std::move(hook); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  // The graph shows no sign of the keyboard focus: taking or losing it
  // repaints nothing (the toolkit's default repaints the whole plot, at the
  // start and whenever the window is activated).
  void focusInEvent(QFocusEvent*) override {}
  void focusOutEvent(QFocusEvent*) override {}

 private:
  void refine();
  PaintFlags flags_now() const;

  ShellState& state_;
  ShellHost& host_;
  std::function<QPoint()> client_offset_;
  std::function<void()> after_paint_hook_;
  OffscreenPicture picture_;
  QTimer refine_timer_;
  QElapsedTimer since_paint_;
  qint64 paint_ms_ = 0;  // how long the last paint took
};

}  // namespace kv

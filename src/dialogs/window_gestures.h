// Right-button gestures and moving by the background for a dialog window:
// watches the window and every widget inside it.
//
// A right-button drag over the window or any of its controls is a gesture
// (session/gesture.h); what it does there comes from gesture_action for the
// kind of window. The context menu a control would show on the right press is
// held back while the gesture runs; a release too short to be a gesture
// shows it after all. Esc, a left press, focus loss and the time-out end a
// gesture without a command. A left press on the window's background, on a
// label or on a widget marked as a move handle starts moving the window, as
// the caption would. While the user has switched tooltips off, no tooltip
// shows.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "session/gesture.h"
#include "session/shell_state.h"

class QWidget;

namespace kv {

class WindowGestures final : public QObject {
  Q_OBJECT

 public:
  // run receives every action other than None.
  WindowGestures(QWidget* window, const ShellState& state, GestureWindow kind,
                 std::function<void(GestureAction)> run);

  // Watches the widgets created inside the window since the last call too.
  void watch_children();
  // Marks a widget whose left press moves the window (the header line).
  static void mark_move_handle(QWidget* w);
  // Marks a container whose bare background counts as the window's (a page).
  static void mark_background(QWidget* w);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool on_press(QWidget* w, QEvent* event);
  bool on_release(QEvent* event);
  void cancel();

  QWidget* window_;
  const ShellState& state_;
  GestureWindow kind_;
  std::function<void(GestureAction)> run_;
  GestureRecogniser recogniser_;
  MouseMode mode_ = MouseMode::Idle;
  QElapsedTimer clock_;
  QTimer timeout_;
  QPointer<QWidget> held_menu_;  // the control whose context menu is held back
};

}  // namespace kv

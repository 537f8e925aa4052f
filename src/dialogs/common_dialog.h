// What every formula dialog does beside its own controls: controls found by
// their numeric id (the id an error record names), the faulty field focused
// with its whole text selected, right-button gestures over the dialog and
// any of its controls, moving the dialog by its background, the opening size
// as its minimum, and the placement remembered relative to the owner.
//
// A gesture to the right sends the dialog command 1, to the left 2, up or
// down 1011; a movement too short for a gesture gives the control its
// ordinary right click (the context menu).
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPoint>
#include <QTimer>

#include "graph/device.h"
#include "model/panel_record.h"
#include "session/gesture.h"
#include "session/mouse_mode.h"

namespace kv {

// The property that carries a control's id.
inline constexpr const char* kControlIdProperty = "kvControlId";

class CommonDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CommonDialog(QWidget* owner);

  // The control with this id, or nullptr.
  QWidget* control(int id) const;
  // Gives the control the focus and selects its whole text.
  void focus_and_select(int id);

  // The dialog's command: a button press or a gesture.
  virtual void run_control(int id) = 0;

 protected:
  static void set_control_id(QWidget* widget, int id);

  // Call once the controls are built: the size the dialog opens with becomes
  // its minimum, and gestures are watched over every control.
  void finish_controls();
  // finish_controls, then the dialog is placed by `remembered` (relative to
  // the owner; set to the default offset when empty).
  void open_at(DialogRect& remembered, Point default_offset);
  // The placement to remember, relative to the owner.
  DialogRect placement() const;

  virtual bool gestures_on() const = 0;

  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool right_press(QPoint global);
  void right_release(QWidget* receiver, QPoint global);
  Point client_point(QPoint global) const;
  QPoint owner_corner() const;

  GestureRecogniser gesture_;
  MouseMode mouse_mode_ = MouseMode::Idle;
  QTimer gesture_timer_;
  QElapsedTimer clock_;
  bool dragging_ = false;
  QPoint drag_offset_;
};

}  // namespace kv

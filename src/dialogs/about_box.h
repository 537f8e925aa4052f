// The about box: the product name, its version and two links (home page and
// mail), and the OK button "&Klick".
//
// OK, Esc and closing end it; Esc first ends a running right-button gesture,
// and any recognised gesture closes the box. A left press anywhere on its
// body moves it, as its caption would.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPoint>

#include "session/gesture.h"
#include "session/mouse_mode.h"

namespace kv {

class HyperlinkLabel;

inline constexpr const char* kHomePageTarget = "https://kurvaline.example.org";
inline constexpr const char* kMailTarget = "mailto:kurvaline@example.org?subject=Kurvaline";

class AboutBox final : public QDialog {
  Q_OBJECT

 public:
  // gestures_on: the user's MouseGestures setting.
  AboutBox(QWidget* owner, bool gestures_on);

  HyperlinkLabel* home_link() const { return home_; }
  HyperlinkLabel* mail_link() const { return mail_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool gestures_on_;
  GestureRecogniser gesture_;
  MouseMode mouse_mode_ = MouseMode::Idle;
  QElapsedTimer clock_;
  bool dragging_ = false;
  QPoint drag_offset_;
  HyperlinkLabel* home_ = nullptr;
  HyperlinkLabel* mail_ = nullptr;
};

// Shows the about box modally over the main window.
void show_about_box(QWidget* owner, bool gestures_on);

}  // namespace kv

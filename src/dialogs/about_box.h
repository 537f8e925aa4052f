// The about box: the product name, its version and two links (home page and
// mail), and the OK button "&Klick".
//
// OK, Esc and closing end it; Esc first ends a running right-button gesture,
// and any recognised gesture closes the box. A left press anywhere on its
// body moves it, as its caption would.
#pragma once

#include <QDialog>

namespace kv {

class HyperlinkLabel;
struct ShellState;

inline constexpr const char* kHomePageTarget = "https://kurvaline.example.org";
inline constexpr const char* kMailTarget = "mailto:kurvaline@example.org?subject=Kurvaline";

class AboutBox final : public QDialog {
  Q_OBJECT

 public:
  // state: the user's MouseGestures and Tooltips settings.
  AboutBox(QWidget* owner, const ShellState& state);

  HyperlinkLabel* home_link() const { return home_; }
  HyperlinkLabel* mail_link() const { return mail_; }

 private:
  HyperlinkLabel* home_ = nullptr;
  HyperlinkLabel* mail_ = nullptr;
};

// Shows the about box modally over the main window.
void show_about_box(QWidget* owner, const ShellState& state);

}  // namespace kv

#include "dialogs/calc_common.h"

#include <QFont>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWidget>

#include "dialogs/calc_texts.h"
#include "dialogs/window_gestures.h"
#include "platform/qt_boundary.h"
#include "session/commands.h"
#include "session/dialog_controls.h"

namespace kv {

Point owner_corner(const QWidget* owner, const QRect& screen) {
  if (owner == nullptr) return {screen.left(), screen.top()};
  return {owner->pos().x(), owner->pos().y()};
}

DialogRect placement_relative_to_owner(const QWidget& window, const QWidget* owner) {
  const QScreen* screen = window.screen();
  const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
  const DialogRect rect{window.x(), window.y(), window.x() + window.width(),
                        window.y() + window.height()};
  return relative_placement(rect, owner_corner(owner, area));
}

QGridLayout* gesture_legend(const QFont& base) {
  auto* gestures = new QGridLayout;
  gestures->setVerticalSpacing(0);
  gestures->addWidget(new QLabel(QString::fromUtf8(calc_text::kGestures)), 0, 0, 1, 2);
  const char* rows[3][2] = {{calc_text::kGestureRight, calc_text::kGestureCalculate},
                            {calc_text::kGestureLeft, calc_text::kGestureClose},
                            {calc_text::kGestureVertical, calc_text::kGestureHelp}};
  QFont small = base;
  small.setPointSizeF(base.pointSizeF() * 0.9);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 2; ++j) {
      auto* label = new QLabel(QString::fromUtf8(rows[i][j]));
      label->setFont(small);
      gestures->addWidget(label, i + 1, j);
    }
  }
  return gestures;
}

namespace {

void stack_over(QWidget* window, QLayout* fields, QHBoxLayout* lower, QWidget* buttons) {
  lower->addWidget(buttons);
  auto* top = new QVBoxLayout(window);
  top->addLayout(fields);
  top->addLayout(lower, 1);
}

}  // namespace

void lay_out_calculator(QWidget* window, QLayout* fields, QLayout* body, QWidget* buttons) {
  auto* lower = new QHBoxLayout;
  lower->addLayout(body, 1);
  stack_over(window, fields, lower, buttons);
}

void lay_out_calculator(QWidget* window, QLayout* fields, QWidget* body, QWidget* buttons) {
  auto* lower = new QHBoxLayout;
  lower->addWidget(body, 1);
  stack_over(window, fields, lower, buttons);
}

ButtonColumn::ButtonColumn() : box_(new QWidget), column_(new QVBoxLayout(box_)) {
  WindowGestures::mark_background(box_);
  column_->setContentsMargins(0, 0, 0, 0);
}

QPushButton* ButtonColumn::add(const char* text, const char* tip, std::function<void()> pressed) {
  auto* b = new QPushButton(ui_text(text));
  if (tip != nullptr) b->setToolTip(ui_text(tip));
  column_->addWidget(b);
  QObject::connect(b, &QPushButton::clicked, b, std::move(pressed));
  return b;
}

QWidget* ButtonColumn::finish(const QFont& font) {
  column_->addStretch(1);
  column_->addLayout(gesture_legend(font));
  return box_;
}

CalcDialog::CalcDialog(ShellState& state, ShellHost& host, const char* title,
                       DialogRect* remembered)
    : QDialog(nullptr), state_(state), host_(host), remembered_(remembered) {
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(ui_text(title));
}

void CalcDialog::finish_controls() {
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, [this] { host_.post_command(Command::Help); });
  // Owned by the window.
  new WindowGestures(this, state_, GestureWindow::Dialog,
                     [this](GestureAction a) { run(gesture_control(a)); });
}

void CalcDialog::place_and_show(QWidget* owner, Point default_offset) {
  owner_ = owner;
  QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
  adjustSize();
  const QSize natural = size();
  setMinimumSize(natural);
  const DialogRect r = place_dialog(*remembered_, {natural.width(), natural.height()},
                                    owner_corner(owner, area), default_offset, to_rect(area));
  move(r.left, r.top);
  resize(r.right - r.left, r.bottom - r.top);
  show();
}

void CalcDialog::remember_placement() {
  if (!placed_ || !isVisible()) return;
  *remembered_ = placement_relative_to_owner(*this, owner_);
}

void CalcDialog::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  remember_placement();
}

void CalcDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  remember_placement();
}

}  // namespace kv

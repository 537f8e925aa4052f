#include "dialogs/calc_common.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "dialogs/dialog_texts.h"
#include "dialogs/window_gestures.h"
#include "platform/qt_boundary.h"

namespace kv {

void make_calculator_window(QWidget* window, const char* title) {
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setAttribute(Qt::WA_QuitOnClose, false);
  window->setWindowTitle(ui_text(title));
}

QGridLayout* gesture_legend(const QFont& base) {
  auto* gestures = new QGridLayout;
  gestures->setVerticalSpacing(0);
  gestures->addWidget(new QLabel(QString::fromUtf8(dialog_text::kGestures)), 0, 0, 1, 2);
  const char* rows[3][2] = {{dialog_text::kGestureRight, dialog_text::kGestureCalculate},
                            {dialog_text::kGestureLeft, dialog_text::kGestureClose},
                            {dialog_text::kGestureVertical, dialog_text::kGestureHelp}};
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

}  // namespace kv

#include "dialogs/calc_common.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QScreen>
#include <QWidget>

#include "dialogs/calc_texts.h"

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

}  // namespace kv

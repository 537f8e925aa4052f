// A clickable link text; see the header.
#include "dialogs/hyperlink_label.h"

#include <QDesktopServices>
#include <QMouseEvent>

namespace kv {

HyperlinkLabel::HyperlinkLabel(const QString& text, const QUrl& target, QColor colour,
                               QColor visited, QWidget* parent)
    : QLabel(text, parent), target_(target), visited_(visited),
      opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
  setTextFormat(Qt::PlainText);
  setCursor(Qt::PointingHandCursor);
  QFont f = font();
  f.setUnderline(true);
  setFont(f);
  set_colour(colour);
}

void HyperlinkLabel::set_colour(QColor c) {
  colour_ = c;
  QPalette p = palette();
  p.setColor(QPalette::WindowText, c);
  setPalette(p);
}

void HyperlinkLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    armed_ = true;
    event->accept();
    return;
  }
  QLabel::mousePressEvent(event);
}

void HyperlinkLabel::mouseMoveEvent(QMouseEvent* event) {
  if (armed_ && !rect().contains(event->position().toPoint())) armed_ = false;
  QLabel::mouseMoveEvent(event);
}

void HyperlinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && armed_) {
    armed_ = false;
    if (rect().contains(event->position().toPoint())) activate();
    event->accept();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

void HyperlinkLabel::activate() {
  if (opener_ && opener_(target_)) set_colour(visited_);
}

}  // namespace kv

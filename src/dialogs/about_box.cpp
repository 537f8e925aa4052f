// The about box; see the header.
#include "dialogs/about_box.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/hyperlink_label.h"
#include "help/about_text.h"
#include "platform/toolbar_icons.h"
#include "session/desktop_registration.h"

namespace kv {

namespace {

const QColor kTitleColour(18, 0, 0);
const QColor kLinkColour(0, 0, 204);

QLabel* centred_label(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignCenter);
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, kTitleColour);
  label->setPalette(p);
  return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* owner, bool gestures_on) : QDialog(owner), gestures_on_(gestures_on) {
  setObjectName(QStringLiteral("DLG_ABOUT"));
  setWindowTitle(QStringLiteral("Über Kurvaline"));
  clock_.start();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 16, 24, 16);

  auto* icon = new QLabel(this);
  icon->setPixmap(program_icon().pixmap(48, 48));
  icon->setAlignment(Qt::AlignCenter);
  layout->addWidget(icon);

  QLabel* name = centred_label(QStringLiteral("Kurvaline"), this);
  name->setObjectName(QStringLiteral("1900"));
  QFont f = name->font();
  f.setPixelSize(17);
  f.setBold(true);
  name->setFont(f);
  layout->addWidget(name);

  QLabel* version =
      centred_label(QString::fromStdString(about_version_text(kProgramVersion)), this);
  version->setObjectName(QStringLiteral("1901"));
  layout->addWidget(version);
  layout->addSpacing(8);

  home_ = new HyperlinkLabel(QStringLiteral("kurvaline.example.org"), QUrl(QString::fromUtf8(kHomePageTarget)),
                             kLinkColour, kLinkColour, this);
  home_->setObjectName(QStringLiteral("1902"));
  mail_ = new HyperlinkLabel(QStringLiteral("kurvaline@example.org"), QUrl(QString::fromUtf8(kMailTarget)),
                             kLinkColour, kLinkColour, this);
  mail_->setObjectName(QStringLiteral("1903"));
  layout->addWidget(home_, 0, Qt::AlignHCenter);
  layout->addWidget(mail_, 0, Qt::AlignHCenter);
  layout->addSpacing(8);

  auto* ok = new QPushButton(QStringLiteral("&Klick"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  setFixedSize(sizeHint());
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && gesture_cancel(gesture_, mouse_mode_)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void AboutBox::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::RightButton && !(event->buttons() & Qt::LeftButton)) {
    gesture_start(gesture_, mouse_mode_, gestures_on_, Point{p.x(), p.y()}, clock_.elapsed());
    event->accept();
    return;
  }
  if (event->button() == Qt::LeftButton) {
    gesture_cancel(gesture_, mouse_mode_);
    dragging_ = true;
    drag_offset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
    return;
  }
  QDialog::mousePressEvent(event);
}

void AboutBox::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton)) {
    move(event->globalPosition().toPoint() - drag_offset_);
    event->accept();
    return;
  }
  QDialog::mouseMoveEvent(event);
}

void AboutBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
  if (event->button() == Qt::RightButton) {
    const QPoint p = event->position().toPoint();
    const GestureFinish f =
        gesture_finish(gesture_, mouse_mode_, gestures_on_, Point{p.x(), p.y()}, clock_.elapsed());
    if (f.result >= kGestureLeft) reject();
    event->accept();
    return;
  }
  QDialog::mouseReleaseEvent(event);
}

void show_about_box(QWidget* owner, bool gestures_on) {
  AboutBox box(owner, gestures_on);
  box.exec();
}

}  // namespace kv

// The about box; see the header.
#include "dialogs/about_box.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialog_texts.h"
#include "dialogs/window_gestures.h"
#include "formats/program_version.h"
#include "help/about_text.h"
#include "platform/toolbar_icons.h"

namespace kv {

namespace {

// Icon and buttons of a title bar, with their gaps.
constexpr int kTitleBarRoom = 150;
const QColor kTitleColour(18, 0, 0);

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

AboutBox::AboutBox(QWidget* owner, const ShellState& state) : QDialog(owner) {
  setObjectName(QStringLiteral("about_box"));
  setWindowTitle(QString::fromUtf8(dialog_text::kAboutTitle));
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

  auto* ok = new QPushButton(QString::fromUtf8(dialog_text::kAboutClose), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  // The window manager writes the title beside its icon and buttons, often
  // in bold: a box only as wide as its contents cuts the title short.
  QFont title_font = font();
  title_font.setBold(true);
  const int title = QFontMetrics(title_font).horizontalAdvance(windowTitle());
  setFixedSize(std::max(sizeHint().width(), title + kTitleBarRoom), sizeHint().height());

  // Every recognised gesture closes the box; a press on its body moves it.
  new WindowGestures(this, state, GestureWindow::About, [this](GestureAction) { reject(); });
}

void show_about_box(QWidget* owner, const ShellState& state) {
  AboutBox box(owner, state);
  box.exec();
}

}  // namespace kv

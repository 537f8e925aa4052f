// The conversions between our types and the toolkit's; see the header.
#include "platform/qt_boundary.h"

#include <QApplication>
#include <QByteArray>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "expr/cp1252.h"

namespace kv {

QString panel_to_widget(std::string_view cp1252) { return ui_text(cp1252_to_utf8(cp1252)); }

std::string widget_to_panel(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return utf8_to_cp1252(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString panel_lines_to_widget(std::string_view cp1252) {
  QString text = panel_to_widget(cp1252);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

std::string widget_lines_to_panel(const QString& text) {
  QString lines = text;
  // Every line break, whatever its form, is stored as the panels' "\r\n".
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return widget_to_panel(lines);
}

QString file_name(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string local_path(const QString& name) { return QFile::encodeName(name).toStdString(); }

QFont edit_font(const QWidget* w) {
  QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (w->font().pointSizeF() > 0) {
    f.setPointSizeF(w->font().pointSizeF());
  } else {
    f.setPixelSize(w->font().pixelSize());
  }
  return f;
}

void select_field_text(QWidget* w) {
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->selectAll();
  } else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) {
    combo->lineEdit()->selectAll();
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
    text->selectAll();
  }
}

bool end_modal_dialog() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr) return false;
  if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    dialog->reject();
  } else {
    modal->close();
  }
  return true;
}

bool end_modal_dialogs() {
  bool ended = false;
  // Each hidden dialog leaves the toolkit's stack of modal windows, so the
  // next one comes up; the bound only guards against one that will not go.
  for (int i = 0; i < 16 && end_modal_dialog(); ++i) ended = true;
  return ended;
}

}  // namespace kv

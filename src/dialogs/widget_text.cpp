// Text conversion at the widget boundary; see the header.
#include "dialogs/widget_text.h"

#include "expr/cp1252.h"

namespace kv {

QString panel_to_widget(std::string_view cp1252) {
  const std::string utf8 = cp1252_to_utf8(cp1252);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

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

}  // namespace kv

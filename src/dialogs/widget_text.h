// Text at the boundary between the widgets and the panels: the panels keep
// Windows-1252 with "\r\n" line breaks, the widgets hold QString with "\n".
// A character Windows-1252 lacks becomes "?", which the compiler rejects
// with its own message, so nothing typed disappears unnoticed.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kv {

QString panel_to_widget(std::string_view cp1252);
std::string widget_to_panel(const QString& text);

// The same for the multi-line formula field, which also turns the panel's
// "\r\n" into the widget's "\n" and back.
QString panel_lines_to_widget(std::string_view cp1252);
std::string widget_lines_to_panel(const QString& text);

// A user-visible text of the program (UTF-8).
inline QString ui_text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace kv

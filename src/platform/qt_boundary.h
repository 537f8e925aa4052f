// The one place where our plain types meet the toolkit's: rectangles, the
// program's own texts (UTF-8), the panels' texts (Windows-1252 with "\r\n"
// line breaks), file names, selecting a field's text and ending a modal
// dialog. Every widget file
// converts through these, so a rule (which pixels a rectangle holds, how
// the bytes of a file name are read) is written once.
//
// A character Windows-1252 lacks becomes "?", which the compiler rejects
// with its own message, so nothing typed disappears unnoticed.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "graph/device.h"
#include "model/panel_record.h"

class QWidget;

namespace kv {

// Our rectangles are half open; QRect counts its right column as inside.
inline QRect to_qrect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }
inline Rect to_rect(const QRect& r) {
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
inline DialogRect to_dialog_rect(const QRect& r) {
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// A user-visible text of the program (UTF-8); nullptr is the empty text.
inline QString ui_text(const char* utf8) { return QString::fromUtf8(utf8 != nullptr ? utf8 : ""); }
inline QString ui_text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A panel's text (Windows-1252) for a widget, and back.
QString panel_to_widget(std::string_view cp1252);
std::string widget_to_panel(const QString& text);

// The same for the multi-line formula field, which also turns the panel's
// "\r\n" into the widget's "\n" and back.
QString panel_lines_to_widget(std::string_view cp1252);
std::string widget_lines_to_panel(const QString& text);

// A file name as the system spells it (bytes in the locale's encoding), and back.
QString file_name(const std::string& path);
std::string local_path(const QString& name);

// The font of the formula and value fields of every dialog: fixed pitch, as
// large as the font of the window w, so that a larger desktop font enlarges
// the fields with their labels.
QFont edit_font(const QWidget* w);

// Selects the whole text of an input field (line, combo box with a line, or
// several lines); other widgets are left alone.
void select_field_text(QWidget* w);

// Ends the topmost modal window as its Cancel button would (a window that is
// no dialog is closed); false when none is open.
bool end_modal_dialog();
// Ends every modal window, innermost first, so that an open or close from
// outside runs with the main window in charge; false when none was open.
bool end_modal_dialogs();

}  // namespace kv

// The questions before a printout: the print dialog, and whether to print
// the background of a graph on a coloured background.
#pragma once

class QPrinter;
class QWidget;

namespace kv {

// The print dialog for a printout of one page per copy (no page range, no
// selection); the printer keeps what the user chose. False when cancelled.
bool ask_printer(QPrinter& printer, QWidget* owner);

// Asks modally whether to print the background; returns the pressed button's
// id: kPrintOmitBackground (1800), kPrintWithBackground (1801), or
// kPrintAnswerCancel (0) for "Druckvorgang &abbrechen", Esc and closing.
int ask_print_background(QWidget* owner);

}  // namespace kv

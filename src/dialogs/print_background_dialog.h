// The question before printing a graph on a coloured background.
#pragma once

class QWidget;

namespace kv {

// Asks modally whether to print the background; returns the pressed button's
// id: kPrintOmitBackground (1800), kPrintWithBackground (1801), or
// kPrintAnswerCancel (0) for "Druckvorgang &abbrechen", Esc and closing.
int ask_print_background(QWidget* owner);

}  // namespace kv

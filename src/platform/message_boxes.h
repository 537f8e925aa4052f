// The program's message boxes: the error box and the questions, two of which
// can be silenced for good with the check box "Nicht mehr nachfragen".
//
// German button texts ("&Ja", "&Nein", "Abbrechen", "OK") whatever the
// locale; modal to their owner. Texts are UTF-8.
#pragma once

#include <string_view>

#include "platform/platform_texts.h"
#include "session/shell_host.h"

class QWidget;

namespace kv {

// Caption "Kurvaline", information icon and "OK".
void show_error_box(QWidget* owner, std::string_view text);

// A message box. Esc and closing the box answer Cancel where there is a
// Cancel button, else No, else OK. With alert non-null the box carries the
// check box below its buttons, and *alert becomes false when it was ticked,
// true when not, whatever the answer; so a tick with Cancel still silences
// the question.
MessageResult show_message_box(QWidget* owner, std::string_view text, std::string_view caption,
                               MessageButtons buttons, MessageIcon icon, bool* alert);

}  // namespace kv

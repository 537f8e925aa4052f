// Numeric input fields: every field that takes a number accepts a whole
// formula ("2pi", "pi*sqrt(10.0+1/3)"), compiled and evaluated once in a
// temporary context with the limits of numeric fields (literals clamped to
// 1e13, zero tolerance 1e-17) and every variable equal to 1.0, so "x+1" is 2.
//
// Results are message ids (messages.h); kMsgNone means success. A failure
// returns the compiler's or evaluator's message, message 0 for several
// formulas or a required empty field, and message 12 for an undefined value.
// An empty optional field succeeds with the value kUndefined ("automatic").
#pragma once

#include <string_view>

#include "expr/expr_panel.h"
#include "expr/pending_error.h"
#include "model/range_value.h"

namespace kv {

// Evaluates field.text with the angle factor and stores the value into the
// field (also the undefined value that message 12 reports). On a compile error
// the value is left as it was. A field without text (has_text false: its
// value was set by the system) keeps its value and succeeds.
// env supplies the shell state the compiler reads (surface, length limit).
int evaluate_numeric_field(RangeValue& field, bool empty_is_error, double angle,
                           const CompileEnv& env = {});

// What a dialog does with one of its fields: stores text (Windows-1252) as the
// field's text and evaluates it. On failure reports the message once into
// error together with control_id, so the dialog focuses that control, and
// returns false.
bool read_numeric_field_text(RangeValue& field, std::string_view text, PendingError& error,
                             int control_id, bool empty_is_error, double angle,
                             const CompileEnv& env = {});

// Copies text, text presence and text-stale flag, and the value. With
// reevaluate (for instance because the angle factor differs) the copied text
// is evaluated instead, unless it is absent or stale (then the value is the
// truth). A failed re-evaluation keeps the copied value and returns its message.
int copy_numeric_field(RangeValue& target, const RangeValue& source, bool reevaluate,
                       double angle, const CompileEnv& env = {});

// For values the system writes itself: stores the text and its plain decimal
// conversion, without formula evaluation. The conversion reads like strtod in
// the "C" locale (leading blanks, optional sign, as much of a number as there
// is; 0 when there is none; overflow gives plus or minus the largest double).
void set_numeric_field_from_text(RangeValue& field, std::string_view text);

// The plain decimal conversion of set_numeric_field_from_text.
double parse_plain_number(std::string_view text);

}  // namespace kv

// The checks the formula dialogs and the calculators share, without any
// widget: a dialog moves the texts of its controls out into DialogTexts,
// calls one of the commit functions, and afterwards shows the panel's
// PendingError (message and control to focus), if any.
//
// Every field is read even after an earlier one failed; only the first error
// is recorded (PendingError::report). Texts are Windows-1252, as the panel
// stores them. Reading a numeric field stores its text in the panel field as
// typed and evaluates it (model/numeric_field.h); an empty optional field
// becomes automatic (the largest double).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/panel_record.h"
#include "session/dialog_controls.h"
#include "session/shell_host.h"
#include "session/user_prefs.h"

namespace kv {

// The controls of one dialog as text. A dialog fills only the controls it
// has; the commit functions read only the controls of their dialog.
struct DialogTexts {
  std::string formula;                                // 510
  std::array<std::string, kRangeCount> range;         // 514..519
  std::array<std::string, kDialogValueCount> values;  // 1021, 520..525
  bool degrees = false;                               // 512 checked (else 513)
  bool option = false;                                // 505
  bool derivative = false;                            // 506
};

// Angle factor of the Deg / Rad buttons, and which button a factor checks.
double angle_factor(bool degrees);
bool angle_is_degrees(double angle);

// The text a dialog shows for a field: the text as typed, or, when the value
// was set without text or moved away from it, the value at full precision;
// an automatic value shows as an empty field.
std::string field_display_text(const RangeValue& field);

// Everything a dialog fills its controls with: formula text, all thirteen
// fields, angle buttons, option and derivative check boxes.
DialogTexts dialog_texts_from_panel(const PanelRecord& panel);

// Reads text into field; on failure records the message with control and
// returns false.
bool read_field(PanelRecord& panel, RangeValue& field, std::string_view text, int control,
                bool required, const CompileEnv& env);

// The range-pair check: min field range_control(min_index), max field one
// further, read into two consecutive ranges; both are always read. Passes
// when both read and min < max, or, when not required, when either is
// automatic. Otherwise message goes to the min field (unless a read error
// came first).
bool check_range_pair(PanelRecord& panel, int min_index, const DialogTexts& texts, int message,
                      bool required, const CompileEnv& env);

// The y pair, not required; when it passes, a bound is fixed unless automatic.
bool check_y_range(PanelRecord& panel, const DialogTexts& texts, const CompileEnv& env);

// The start values of an equation in the dialogs' order: start x, then
// y'''' down to y, all required.
void read_start_values(PanelRecord& panel, const DialogTexts& texts, const CompileEnv& env);

// "&Graph" of the function and equation dialogs, "&Integrieren" of the integral dialog (panel_index
// 0, 1 or 2): clears the pending error, stores formula, angle factor (and
// for the integral and equation dialogs the option and derivative flags; the integral dialog has no
// derivative box) and checks the fields in the dialog's order. Returns
// whether no error was recorded. The dialog ends with "&Graph" either way:
// the compile run afterwards and the deferred display take over.
bool commit_formula_dialog(PanelRecord& panel, int panel_index, const DialogTexts& texts,
                           const CompileEnv& env);

// "Als &Standard setzen" after the user said yes (or silenced the question):
// checks x (required), y and t (not required) and, when they pass, copies x
// min, x max, y min, y max (values and texts) into the default range. The
// fields are checked on a copy: the current range changes only with
// "&Graph". Returns false with the error recorded in panel.error, to be
// shown at once.
bool set_default_ranges(PanelRecord& panel, int panel_index, const DialogTexts& texts,
                        const CompileEnv& env);

// The question before "Als &Standard setzen", for panel 0, 1 or 2.
const char* default_range_question(int panel_index);

// The button "Als &Standard setzen": while the user has not silenced it,
// default_range_question comes first (Yes, No, Cancel and "Nicht mehr
// nachfragen", whose tick silences it whatever the answer), and any answer
// but Yes stores nothing; then set_default_ranges. Returns false when a
// field was refused, with its error recorded for the dialog to show.
bool ask_and_set_default_ranges(UserPrefs& prefs, ShellHost& host, PanelRecord& panel,
                                int panel_index, const DialogTexts& texts, const CompileEnv& env);

// The deferred display: true once for a recorded error that has not been
// shown yet (and marks it shown).
bool take_error_to_show(PendingError& error);

}  // namespace kv

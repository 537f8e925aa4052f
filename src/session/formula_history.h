// The formula field's own rules: the history of earlier formulas in the
// combo box of the integral and equation dialogs and the calculators, and the labels of the
// start fields of the equation dialog and the equation table, which follow the typed
// equation.
//
// The history holds at most kHistorySize texts, most recent first, packed
// from slot 0 (an empty slot ends it). A formula enters it cut at its first
// ";"; an entry that equals it, ignoring ASCII letter case and all blanks,
// tabs and line breaks, is removed first, so "COS( X )" moves "cos(x)" to the
// top as the new text instead of adding a second entry. What is pushed
// beyond the last slot is dropped.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/panel_record.h"

namespace kv {

using FormulaHistory = std::array<std::string, kHistorySize>;

// Whether two formulas count as the same history entry.
bool same_history_entry(std::string_view a, std::string_view b);

// Puts formula (cut at its first ";") at the top. A formula without anything
// but blanks before its ";" is not recorded. Returns whether it was.
bool record_in_history(FormulaHistory& history, std::string_view formula);

struct HistoryList {
  std::vector<std::string> items;  // the combo box's list, slot 0 first
  std::string edit_text;           // what its edit field shows
};

// Filling the combo box: records the panel's formula text unless it is empty
// or an error is pending (then the faulty text reappears as typed), and
// returns the list and the edit text: the recorded entry, else the formula
// text, else history slot 0. Run again after every successful calculation.
HistoryList refresh_history(PanelRecord& panel);

// Labels of the start fields: "x", "y", "y'", .. "y''''", or for an equation
// in r (first non-blank character "r" or "R") "t", "r", "r'", .. "r''''".
struct StartLabels {
  std::string x;
  std::array<std::string, 5> values;
};
StartLabels start_field_labels(std::string_view formula);

}  // namespace kv

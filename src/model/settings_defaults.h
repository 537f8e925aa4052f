// Default texts of the stored settings, and the values a first start derives
// from them.
//
// The rows are those of the initialisation file, in file order: one table
// shared by the three drawing panels (a row may lack a default for a panel,
// which then does not store that key) and one table of window and user
// preferences. The texts are converted exactly as a value read from the file
// would be: integers with C's base prefixes ("0x" hexadecimal, leading "0"
// octal), booleans as integer != 0, reals as decimal numbers, ranges as
// numeric fields (a text that does not evaluate gives 0.0 and keeps its text),
// rectangles as up to four comma-separated integers.
//
// apply_panel_defaults fills a drawing panel (index 0..2) from its defaults
// and copies the default range into the current range, as loading the
// settings at start-up does. It returns false for another panel index.
#pragma once

#include <array>
#include <cstddef>

#include "model/panel_record.h"

namespace kv {

enum class SettingType { Boolean = 0, Integer = 1, Real = 2, Text = 3, Range = 4, Rectangle = 5 };

// Where a panel row lives: "DlgVals <word>" or "UserPrefs <word>".
enum class PanelSection { DlgVals, UserPrefs };

// What a panel row is bound to.
enum class PanelField {
  AngleMode,
  Option,       // options[option]
  RangeDefault, // default_range[range]
  TitleX,
  TitleY,
  DialogPos,
};

struct PanelSettingRow {
  const char* key;
  PanelSection section;
  SettingType type;
  PanelField field;
  int index;  // OptionIndex or RangeIndex, where the field needs one
  std::array<const char*, 3> defaults;  // Function, Integral, DiffEqu; nullptr: no such key
};

// The section words of the drawing panels, "Function", "Integral", "DiffEqu".
const char* panel_section_word(int panel);

// The 24 rows of the drawing panels, in file order.
const PanelSettingRow* panel_setting_rows(size_t* count);

struct WindowSettingRow {
  const char* key;
  const char* section;  // "Window" or "UserPrefs"
  SettingType type;
  const char* default_text;
};

// The 10 rows of the window and user preferences, in file order.
const WindowSettingRow* window_setting_rows(size_t* count);

// Conversions of a setting text, as for a value read from the file.
int setting_integer(const char* text);
bool setting_boolean(const char* text);
double setting_real(const char* text);
DialogRect setting_rectangle(const char* text);
// Stores the text and its value; an invalid text leaves the value 0.0.
void setting_range(RangeValue& field, const char* text);

bool apply_panel_defaults(PanelRecord& panel, int panel_index);

}  // namespace kv

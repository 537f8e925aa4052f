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
// rectangles as up to four comma-separated integers. Numbers are read and
// written the same way whatever the process locale, so a toolkit that sets a
// German LC_NUMERIC cannot turn "57.29577951308232" into 57.
//
// apply_panel_defaults fills a drawing panel (index 0..2) from its defaults
// and copies the default range into the current range, as loading the
// settings at start-up does. It returns false for another panel index.
#pragma once

#include <array>
#include <cstddef>
#include <string>

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

// The 26 rows of the drawing panels, in file order (MarkPoints and
// MarkDiscontinuities, added later, last).
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
// Integers saturate at the int range instead of wrapping.
int setting_integer(const char* text);
bool setting_boolean(const char* text);
double setting_real(const char* text);
DialogRect setting_rectangle(const char* text);
// Stores the text and its value; an invalid text leaves the value 0.0.
void setting_range(RangeValue& field, const char* text);

// The texts a value is written as: "%ld", "%f" (six decimals),
// "%ld,%ld,%ld,%ld". A range writes its expression text; when that text is
// absent or no longer matches the value (a view operation moved it) the
// value itself is written as a plain decimal, and "automatic" as "".
std::string format_setting_integer(long value);
std::string format_setting_real(double value);
std::string format_setting_rectangle(const DialogRect& rect);
std::string format_setting_range(const RangeValue& field);

// Reads one row of a drawing panel from text, or gives the text it is
// written as. AngleMode that is not a finite number falls back to radians,
// and one that is written like the degree factor ("57.295780") is the exact
// degree factor again, so degrees survive the six decimals of the file.
void apply_panel_setting(PanelRecord& panel, const PanelSettingRow& row, const char* text);
std::string panel_setting_text(const PanelRecord& panel, const PanelSettingRow& row);

bool apply_panel_defaults(PanelRecord& panel, int panel_index);

}  // namespace kv

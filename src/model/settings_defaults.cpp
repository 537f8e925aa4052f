// Default texts of the stored settings and their conversion; see the header.
#include "model/settings_defaults.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

#include "expr/limits.h"
#include "model/numeric_field.h"

namespace kv {

namespace {

constexpr PanelSection kDlg = PanelSection::DlgVals;
constexpr PanelSection kUser = PanelSection::UserPrefs;

const PanelSettingRow kPanelRows[] = {
    {"AngleMode", kDlg, SettingType::Real, PanelField::AngleMode, 0, {"1.0", "1.0", "1.0"}},
    {"LineWidth", kUser, SettingType::Integer, PanelField::Option, kOptLineWidth, {"1", "1", "1"}},
    {"EqualScales", kUser, SettingType::Boolean, PanelField::Option, kOptEqualScales, {"1", "0", "0"}},
    {"Grid", kUser, SettingType::Boolean, PanelField::Option, kOptGrid, {"1", "1", "1"}},
    {"SubGrid", kUser, SettingType::Boolean, PanelField::Option, kOptSubGrid, {"0", "0", "0"}},
    {"Axes", kUser, SettingType::Boolean, PanelField::Option, kOptAxes, {"1", "1", "1"}},
    {"TickMarks", kUser, SettingType::Boolean, PanelField::Option, kOptTickMarks, {"1", "1", "1"}},
    {"Border", kUser, SettingType::Boolean, PanelField::Option, kOptBorder, {"0", "0", "0"}},
    {"TickLabels", kUser, SettingType::Boolean, PanelField::Option, kOptTickLabels, {"1", "1", "1"}},
    {"BoxedStyle", kUser, SettingType::Boolean, PanelField::Option, kOptBoxedStyle, {"1", "1", "1"}},
    {"FunctionExpressions", kUser, SettingType::Boolean, PanelField::Option,
     kOptFunctionExpressions, {"1", "1", "1"}},
    {"FillIntegralArea", kUser, SettingType::Boolean, PanelField::Option, kOptFillIntegralArea,
     {nullptr, "1", nullptr}},
    {"Palette", kUser, SettingType::Integer, PanelField::Option, kOptPalette, {"0", "0", "0"}},
    {"XUnitsPi", kUser, SettingType::Boolean, PanelField::Option, kOptXUnitsPi, {"0", "1", "0"}},
    {"YUnitsPi", kUser, SettingType::Boolean, PanelField::Option, kOptYUnitsPi, {"0", "0", "0"}},
    {"XMin", kUser, SettingType::Range, PanelField::RangeDefault, kXMin, {"-6.0", "-2*pi", "-6.0"}},
    {"XMax", kUser, SettingType::Range, PanelField::RangeDefault, kXMax, {"6.0", "2*pi", "6.0"}},
    {"YMin", kUser, SettingType::Range, PanelField::RangeDefault, kYMin, {"-5.0", "-5.0", "-5.0"}},
    {"YMax", kUser, SettingType::Range, PanelField::RangeDefault, kYMax, {"5.0", "5.0", "5.0"}},
    {"TMin", kUser, SettingType::Range, PanelField::RangeDefault, kTMin, {"-2pi", "-2pi", "-2pi"}},
    {"TMax", kUser, SettingType::Range, PanelField::RangeDefault, kTMax, {"2pi", "2pi", "2pi"}},
    {"TitleXAxis", kDlg, SettingType::Text, PanelField::TitleX, 0, {"X", "X", "X"}},
    {"TitleYAxis", kDlg, SettingType::Text, PanelField::TitleY, 0, {"Y", "Y", "Y"}},
    {"DialogPos", kUser, SettingType::Rectangle, PanelField::DialogPos, 0,
     {"0,0,0,0", "0,0,0,0", "0,0,0,0"}},
    {"MarkPoints", kUser, SettingType::Boolean, PanelField::Option, kOptMarkPoints, {"0", "0", "0"}},
    {"MarkDiscontinuities", kUser, SettingType::Boolean, PanelField::Option,
     kOptMarkDiscontinuities, {"0", "0", "0"}},
};

const WindowSettingRow kWindowRows[] = {
    {"Surface", "Window", SettingType::Integer, "0"},
    {"Pos", "Window", SettingType::Rectangle, "0,0,0,0"},
    {"Statusbar", "UserPrefs", SettingType::Boolean, "1"},
    {"Toolbar", "UserPrefs", SettingType::Boolean, "1"},
    {"MouseGestures", "UserPrefs", SettingType::Boolean, "1"},
    {"MouseCoordinates", "UserPrefs", SettingType::Boolean, "1"},
    {"Tooltips", "UserPrefs", SettingType::Boolean, "1"},
    {"OneInstance", "UserPrefs", SettingType::Boolean, "0"},
    {"Alert SaveFile", "UserPrefs", SettingType::Boolean, "1"},
    {"Alert SetDefXYRange", "UserPrefs", SettingType::Boolean, "1"},
};

int digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// Reads an integer the way strtol(text, &end, 0) does in the "C" locale
// (leading white space, sign, "0x" hexadecimal, leading "0" octal) but
// saturated at the int range. Returns the end of the number, or text itself
// when there is none (then out is 0).
const char* read_c_integer(const char* text, int& out) {
  out = 0;
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  int base = 10;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && digit_value(p[2]) < 16) {
    base = 16;
    p += 2;
  } else if (p[0] == '0') {
    base = 8;
  }
  const char* last = p;
  while (digit_value(*last) < base) ++last;
  if (last == p) return text;
  uint64_t magnitude = 0;
  if (std::from_chars(p, last, magnitude, base).ec != std::errc()) magnitude = UINT64_MAX;
  const uint64_t limit = negative ? uint64_t{INT_MAX} + 1 : uint64_t{INT_MAX};
  if (magnitude > limit) magnitude = limit;
  out = negative ? static_cast<int>(-static_cast<int64_t>(magnitude)) : static_cast<int>(magnitude);
  return last;
}

double angle_setting(const char* text) {
  const double angle = setting_real(text);
  if (!std::isfinite(angle)) return kRadians;
  static const std::string degrees = format_setting_real(kDegrees);
  return format_setting_real(angle) == degrees ? kDegrees : angle;
}

}  // namespace

void apply_panel_setting(PanelRecord& panel, const PanelSettingRow& row, const char* text) {
  switch (row.field) {
    case PanelField::AngleMode:
      panel.angle_mode = angle_setting(text);
      break;
    case PanelField::Option:
      panel.options[row.index] =
          row.type == SettingType::Boolean ? (setting_boolean(text) ? 1 : 0) : setting_integer(text);
      break;
    case PanelField::RangeDefault:
      setting_range(panel.default_range[row.index], text);
      break;
    case PanelField::TitleX:
      panel.title_x = text;
      break;
    case PanelField::TitleY:
      panel.title_y = text;
      break;
    case PanelField::DialogPos:
      panel.dialog_pos = setting_rectangle(text);
      break;
  }
}

std::string panel_setting_text(const PanelRecord& panel, const PanelSettingRow& row) {
  switch (row.field) {
    case PanelField::AngleMode:
      return format_setting_real(panel.angle_mode);
    case PanelField::Option:
      return format_setting_integer(panel.options[row.index]);
    case PanelField::RangeDefault:
      return format_setting_range(panel.default_range[row.index]);
    case PanelField::TitleX:
      return panel.title_x;
    case PanelField::TitleY:
      return panel.title_y;
    case PanelField::DialogPos:
      return format_setting_rectangle(panel.dialog_pos);
  }
  return std::string();
}

const char* panel_section_word(int panel) {
  static constexpr const char* kWords[] = {"Function", "Integral", "DiffEqu"};
  return panel >= 0 && panel < 3 ? kWords[panel] : "";
}

const PanelSettingRow* panel_setting_rows(size_t* count) {
  *count = std::size(kPanelRows);
  return kPanelRows;
}

const WindowSettingRow* window_setting_rows(size_t* count) {
  *count = std::size(kWindowRows);
  return kWindowRows;
}

int setting_integer(const char* text) {
  int value = 0;
  read_c_integer(text, value);
  return value;
}

bool setting_boolean(const char* text) { return setting_integer(text) != 0; }

double setting_real(const char* text) { return parse_plain_number(text); }

DialogRect setting_rectangle(const char* text) {
  int v[4] = {0, 0, 0, 0};
  const char* p = text;
  for (int i = 0; i < 4; ++i) {
    const char* end = read_c_integer(p, v[i]);
    if (end == p) break;
    p = end;
    while (*p == ' ') ++p;
    if (*p != ',') break;
    ++p;
  }
  return {v[0], v[1], v[2], v[3]};
}

void setting_range(RangeValue& field, const char* text) {
  field.text = text;
  field.has_text = true;
  field.text_stale = false;
  if (evaluate_numeric_field(field, false, kRadians) != kMsgNone) field.value = 0.0;
}

std::string format_setting_integer(long value) {
  char buf[24];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

std::string format_setting_real(double value) {
  // Fixed notation of the largest double needs 309 digits before the point.
  char buf[400];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6).ptr);
}

std::string format_setting_rectangle(const DialogRect& rect) {
  return format_setting_integer(rect.left) + ',' + format_setting_integer(rect.top) + ',' +
         format_setting_integer(rect.right) + ',' + format_setting_integer(rect.bottom);
}

std::string format_setting_range(const RangeValue& field) {
  if (field.has_text && !field.text_stale) return field.text;
  if (field.is_automatic()) return std::string();
  // Shortest fixed notation that reads back as the same double; the formula
  // language has no exponent notation.
  char buf[400];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, field.value, std::chars_format::fixed).ptr);
}

bool apply_panel_defaults(PanelRecord& panel, int panel_index) {
  if (panel_index < 0 || panel_index > 2) return false;
  for (const PanelSettingRow& row : kPanelRows) {
    const char* text = row.defaults[panel_index];
    if (text != nullptr) apply_panel_setting(panel, row, text);
  }
  for (int r = 0; r < kRangeCount; ++r) panel.range[r] = panel.default_range[r];
  return true;
}

}  // namespace kv

// Default texts of the stored settings and their conversion; see the header.
#include "model/settings_defaults.h"

#include <cstdlib>

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

void apply_row(PanelRecord& panel, const PanelSettingRow& row, const char* text) {
  switch (row.field) {
    case PanelField::AngleMode:
      panel.angle_mode = setting_real(text);
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

}  // namespace

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
  // Base 0 gives the file's rule: "0x" hexadecimal, leading "0" octal.
  return static_cast<int>(std::strtol(text, nullptr, 0));
}

bool setting_boolean(const char* text) { return setting_integer(text) != 0; }

double setting_real(const char* text) { return std::strtod(text, nullptr); }

DialogRect setting_rectangle(const char* text) {
  long v[4] = {0, 0, 0, 0};
  const char* p = text;
  for (int i = 0; i < 4; ++i) {
    char* end = nullptr;
    v[i] = std::strtol(p, &end, 0);
    if (end == p) break;
    p = end;
    while (*p == ' ') ++p;
    if (*p != ',') break;
    ++p;
  }
  return {static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
          static_cast<int>(v[3])};
}

void setting_range(RangeValue& field, const char* text) {
  field.text = text;
  field.has_text = true;
  field.text_stale = false;
  if (evaluate_numeric_field(field, false, kRadians) != kMsgNone) field.value = 0.0;
}

bool apply_panel_defaults(PanelRecord& panel, int panel_index) {
  if (panel_index < 0 || panel_index > 2) return false;
  for (const PanelSettingRow& row : kPanelRows) {
    const char* text = row.defaults[panel_index];
    if (text != nullptr) apply_row(panel, row, text);
  }
  for (int r = 0; r < kRangeCount; ++r) panel.range[r] = panel.default_range[r];
  return true;
}

}  // namespace kv

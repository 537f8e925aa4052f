// Checks of the formula dialogs; see the header.
#include "session/formula_checks.h"

#include "expr/format.h"
#include "model/numeric_field.h"
#include "session/session_texts.h"

namespace kv {

namespace {

// Halfway between radians and degrees: a stored factor above it checks Deg.
constexpr double kDegreesThreshold = 28.64788975654116;

using Ranges = std::array<RangeValue, kRangeCount>;

bool read_pair(Ranges& range, PendingError& error, double angle, int min_index,
               const DialogTexts& texts, int message, bool required, const CompileEnv& env) {
  RangeValue& lo = range[min_index];
  RangeValue& hi = range[min_index + 1];
  const int control = range_control(min_index);
  const bool lo_read = read_numeric_field_text(lo, texts.range[min_index], error, control,
                                               required, angle, env);
  if (!read_numeric_field_text(hi, texts.range[min_index + 1], error, control + 1, required,
                               angle, env)) {
    return false;
  }
  // A min field that failed keeps an old or undefined value; comparing it
  // would let the pair pass on a value the user did not enter.
  if (lo_read && lo.value < hi.value) return true;
  if (lo_read && !required && (lo.is_automatic() || hi.is_automatic())) return true;
  error.report(message, control);
  return false;
}

}  // namespace

double angle_factor(bool degrees) { return degrees ? kDegrees : kRadians; }

bool angle_is_degrees(double angle) { return angle > kDegreesThreshold; }

std::string field_display_text(const RangeValue& field) {
  if (field.has_text && !field.text_stale) return field.text;
  // The largest double printed in full would read back as the literal limit,
  // no longer automatic.
  if (field.is_automatic()) return std::string();
  return format_full_value(field.value);
}

DialogTexts dialog_texts_from_panel(const PanelRecord& panel) {
  DialogTexts t;
  t.formula = panel.source;
  for (int i = 0; i < kRangeCount; ++i) t.range[i] = field_display_text(panel.range[i]);
  for (int i = 0; i < kDialogValueCount; ++i) {
    t.values[i] = field_display_text(panel.dialog_values[i]);
  }
  t.degrees = angle_is_degrees(panel.angle_mode);
  t.option = panel.option_flag != 0;
  t.derivative = panel.derivative;
  return t;
}

bool read_field(PanelRecord& panel, RangeValue& field, std::string_view text, int control,
                bool required, const CompileEnv& env) {
  return read_numeric_field_text(field, text, panel.error, control, required, panel.angle_mode,
                                 env);
}

bool check_range_pair(PanelRecord& panel, int min_index, const DialogTexts& texts, int message,
                      bool required, const CompileEnv& env) {
  return read_pair(panel.range, panel.error, panel.angle_mode, min_index, texts, message,
                   required, env);
}

bool check_y_range(PanelRecord& panel, const DialogTexts& texts, const CompileEnv& env) {
  if (!check_range_pair(panel, kYMin, texts, kMsgYRange, false, env)) return false;
  panel.ymin_fixed = !panel.range[kYMin].is_automatic();
  panel.ymax_fixed = !panel.range[kYMax].is_automatic();
  return true;
}

void read_start_values(PanelRecord& panel, const DialogTexts& texts, const CompileEnv& env) {
  read_field(panel, panel.dialog_values[kStartX], texts.values[kStartX], kCtlStartX, true, env);
  for (int v = kStartY4; v >= kStartY; --v) {
    read_field(panel, panel.dialog_values[v], texts.values[v], value_control(v), true, env);
  }
}

bool commit_formula_dialog(PanelRecord& panel, int panel_index, const DialogTexts& texts,
                           const CompileEnv& env) {
  panel.error.clear();
  if (panel_index != kPanelFunction) {
    panel.option_flag = texts.option ? 1 : 0;
    panel.derivative = panel_index == kPanelDiffEqu && texts.derivative;
  }
  panel.source = texts.formula;
  panel.angle_mode = angle_factor(texts.degrees);
  check_range_pair(panel, kXMin, texts, kMsgXRange, true, env);
  check_y_range(panel, texts, env);
  if (panel_index == kPanelDiffEqu) read_start_values(panel, texts, env);
  if (panel_index != kPanelIntegral) check_range_pair(panel, kTMin, texts, kMsgTRange, true, env);
  if (panel_index == kPanelIntegral) {
    read_field(panel, panel.dialog_values[kStartX], texts.values[kStartX], kCtlStartX, true, env);
  }
  return !panel.error.failed;
}

bool set_default_ranges(PanelRecord& panel, int panel_index, const DialogTexts& texts,
                        const CompileEnv& env) {
  panel.error.clear();
  Ranges range = panel.range;
  const double angle = angle_factor(texts.degrees);
  read_pair(range, panel.error, angle, kXMin, texts, kMsgXRange, true, env);
  read_pair(range, panel.error, angle, kYMin, texts, kMsgYRange, false, env);
  // The integral dialog has no t fields.
  if (panel_index != kPanelIntegral) {
    read_pair(range, panel.error, angle, kTMin, texts, kMsgTRange, false, env);
  }
  if (panel.error.failed) return false;
  for (int i = kXMin; i <= kYMax; ++i) panel.default_range[i] = range[i];
  return true;
}

const char* default_range_question(int panel_index) {
  switch (panel_index) {
    case kPanelIntegral:
      return kIntegralDefaultsQuestion;
    case kPanelDiffEqu:
      return kDiffEquDefaultsQuestion;
    default:
      return kFunctionDefaultsQuestion;
  }
}

bool ask_and_set_default_ranges(UserPrefs& prefs, ShellHost& host, PanelRecord& panel,
                                int panel_index, const DialogTexts& texts, const CompileEnv& env) {
  if (prefs.alert_set_def_range) {
    bool ask_again = true;
    const MessageResult answer =
        host.message_box(default_range_question(panel_index), kCaption,
                         MessageButtons::YesNoCancel, MessageIcon::Question, &ask_again);
    prefs.alert_set_def_range = ask_again;
    if (answer != MessageResult::Yes) return true;
  }
  return set_default_ranges(panel, panel_index, texts, env);
}

bool take_error_to_show(PendingError& error) {
  if (!error.failed || error.shown) return false;
  error.shown = true;
  return true;
}

}  // namespace kv

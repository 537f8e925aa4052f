// Initial contents of the six panels; see the header.
#include "model/initial_contents.h"

#include <utility>

#include "model/numeric_field.h"
#include "model/settings_defaults.h"

namespace kv {

namespace {

// The numeric fields the system fills itself; their texts always evaluate.
void set_field(RangeValue& field, const char* text, double angle) {
  field.text = text;
  field.has_text = true;
  field.text_stale = false;
  if (evaluate_numeric_field(field, false, angle) != kMsgNone) field.value = 0.0;
}

void set_history(PanelRecord& panel, std::initializer_list<const char*> texts) {
  size_t i = 0;
  for (const char* t : texts) panel.history[i++] = t;
}

}  // namespace

const char* initial_function_text() {
  return "cos(pi*x) / (-LN2*x);\r\nr(t) = 3;\r\nd(d(x^4 / 12 - 3/2 x^2));\r\n"
         "(x^3)/3 - 1.5 x^2 + x;\r\npi*asin(t/2 - 0.25pi);";
}

void reset_panel(PanelRecord& panel, int panel_index) {
  panel = PanelRecord{};
  panel.role = static_cast<PanelIndex>(panel_index);
  panel.x_scale = 1.0;
  panel.y_scale = 1.0;
  panel.ymin_fixed = true;
  panel.ymax_fixed = true;
  panel.set_limits(kMaxMagnitude, kZeroToleranceDrawing, kLiteralLimitDrawing);
  if (panel_index >= kPanelDiffEqu)
    panel.set_limits(kMaxMagnitude, kZeroToleranceFine, kLiteralLimitFine);
}

void fill_panel_texts(PanelRecord& panel, int panel_index) {
  const double angle = panel.angle_mode;
  switch (panel_index) {
    case kPanelFunction:
      panel.source = initial_function_text();
      break;
    case kPanelIntegral:
      set_history(panel, {"cos(x)", "sqrt(3-xx)", "gaussd(x, 0, 0.2)"});
      set_field(panel.dialog_values[kStartX], "-pi", angle);
      break;
    case kPanelDiffEqu:
      set_history(panel, {"y' = y*sin(-xy)", "y'' = 150*cos(40x-4) - 2y + 3y'",
                          "r'''' = -9r - 10r''", "y''' = exp(y)/pi - y'pi + y''/2",
                          "y''''' = -9y' - 10y'''"});
      set_field(panel.dialog_values[kStartX], "sqrt(2)", angle);
      set_field(panel.dialog_values[kStartY], "e/2", angle);
      set_field(panel.dialog_values[kStartY1], "1.0", angle);
      set_field(panel.dialog_values[kStartY2], "-pi^2", angle);
      set_field(panel.dialog_values[kStartY3], "12.5", angle);
      set_field(panel.dialog_values[kStartY4], "85", angle);
      break;
    case kPanelValue:
      panel.source = "x*cos(x)";
      set_field(panel.dialog_values[kStartX], "7.2", angle);
      break;
    case kPanelTable:
      panel.source = "1/x^3";
      set_field(panel.dialog_values[kXStep], "1/2", angle);
      break;
    case kPanelTableDiffEqu:
      panel.source = "y'''' = -4y - 5y''";
      set_field(panel.dialog_values[kXStep], "1/2", angle);
      break;
    default:
      break;
  }
}

void copy_dialog_fields(const PanelRecord& from, PanelRecord& to) {
  to.range = from.range;
  to.dialog_values = from.dialog_values;
  to.option_flag = from.option_flag;
  to.angle_mode = from.angle_mode;
  to.ymin_fixed = from.ymin_fixed;
  to.ymax_fixed = from.ymax_fixed;
  to.derivative = from.derivative;
}

void fill_initial_contents(PanelSet& panels) {
  for (int i = 0; i < kPanelCount; ++i) {
    reset_panel(panels[i], i);
    if (i <= kPanelDiffEqu) apply_panel_defaults(panels[i], i);
  }
  for (int i = 0; i < kPanelCount; ++i) fill_panel_texts(panels[i], i);
  // The tables start from their drawing panel's fields, with a step of their own.
  for (const auto& [table, drawing] : {std::pair{kPanelTable, kPanelFunction},
                                       std::pair{kPanelTableDiffEqu, kPanelDiffEqu}}) {
    const RangeValue step = panels[table].dialog_values[kXStep];
    copy_dialog_fields(panels[drawing], panels[table]);
    panels[table].dialog_values[kXStep] = step;
  }
}

}  // namespace kv

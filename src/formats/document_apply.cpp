// Applying a read document; see the header.
#include "formats/document_apply.h"

namespace kv {
namespace {

constexpr int kCmdPaletteBase = 5000;
constexpr int kCmdLineWidthBase = 5100;
constexpr int kCmdCrossedStyle = 4040;
constexpr int kCmdBoxedStyle = 4041;
constexpr int kCmdMarkPoints = 6001;
constexpr int kCmdMarkDiscontinuities = 6002;

// The toggles after the axis style, in the order an open runs them.
struct Toggle {
  OptionIndex option;
  int command;
};
constexpr Toggle kToggles[] = {
    {kOptYUnitsPi, 4046}, {kOptXUnitsPi, 4045},         {kOptSolverSwitch, 4028},
    {kOptBorder, 4039},   {kOptFunctionExpressions, 4042}, {kOptTickLabels, 4037},
    {kOptTickMarks, 4038}, {kOptAxes, 4033},            {kOptSubGrid, 4035},
    {kOptGrid, 4034},     {kOptEqualScales, 4043},
};

}  // namespace

std::vector<OptionCommand> document_option_commands(const DocumentData& doc,
                                                    const PanelRecord& panel) {
  std::vector<OptionCommand> out;
  const auto wanted = [&doc](OptionIndex o) { return doc.options[o]; };
  if (wanted(kOptPalette) != panel.option(kOptPalette))
    out.push_back({kCmdPaletteBase + wanted(kOptPalette), kOptPalette, wanted(kOptPalette)});
  if (wanted(kOptLineWidth) != panel.option(kOptLineWidth))
    out.push_back({kCmdLineWidthBase + wanted(kOptLineWidth), kOptLineWidth, wanted(kOptLineWidth)});
  if (wanted(kOptBoxedStyle) != panel.option(kOptBoxedStyle)) {
    out.push_back({kCmdCrossedStyle, kOptBoxedStyle, 0});
    if (wanted(kOptBoxedStyle) != 0) out.push_back({kCmdBoxedStyle, kOptBoxedStyle, 1});
  }
  for (const Toggle& t : kToggles) {
    // A toggle flips the panel's value, which reaches the document's only
    // because the read made every toggled option 0 or 1.
    if (wanted(t.option) != panel.option(t.option))
      out.push_back({t.command, t.option, wanted(t.option)});
  }
  const int marks = doc.mark_points ? 1 : 0;
  if (marks != panel.option(kOptMarkPoints)) out.push_back({kCmdMarkPoints, kOptMarkPoints, marks});
  const int honest = doc.mark_discontinuities ? 1 : 0;
  if (honest != panel.option(kOptMarkDiscontinuities))
    out.push_back({kCmdMarkDiscontinuities, kOptMarkDiscontinuities, honest});
  return out;
}

void apply_option_commands(const std::vector<OptionCommand>& commands, PanelRecord& panel) {
  for (const OptionCommand& c : commands) panel.options[c.option] = c.value;
}

void apply_document_values(const DocumentData& doc, PanelRecord& panel) {
  for (int s = 0; s < kStoredValueCount; ++s) {
    if (doc.legacy && (s == kTMin || s == kTMax)) continue;
    RangeValue& field = s < kRangeCount ? panel.range[s] : panel.dialog_values[s - kRangeCount];
    const StoredValue& v = doc.values[s];
    field.value = v.value;
    field.text = v.text;
    // An empty stored text is a value without text: keeping it absent keeps
    // the value, where an empty text would re-evaluate to "automatic".
    field.has_text = !v.text.empty();
    field.text_stale = v.text_stale;
  }
  panel.option_flag = doc.option_flag;
  panel.angle_mode = doc.angle_mode;
  panel.derivative = doc.derivative;
  panel.ymin_fixed = !panel.range[kYMin].is_automatic();
  panel.ymax_fixed = !panel.range[kYMax].is_automatic();

  panel.formulas.clear();
  panel.current = -1;
  ++panel.generation;
  panel.source = doc.formula;
  if (doc.title_x) panel.title_x = *doc.title_x;
  if (doc.title_y) panel.title_y = *doc.title_y;
}

}  // namespace kv

// Applying a read document; see the header.
#include "formats/document_apply.h"

namespace kv {
namespace {

// The toggles after the axis style, in the order an open changes them.
constexpr OptionIndex kToggles[] = {
    kOptYUnitsPi,  kOptXUnitsPi, kOptSolverSwitch, kOptBorder, kOptFunctionExpressions,
    kOptTickLabels, kOptTickMarks, kOptAxes,       kOptSubGrid, kOptGrid,
    kOptEqualScales,
};

}  // namespace

std::vector<OptionChange> document_option_changes(const DocumentData& doc,
                                                  const PanelRecord& panel) {
  std::vector<OptionChange> out;
  const auto differs = [&](OptionIndex o) { return doc.options[o] != panel.option(o); };
  if (differs(kOptPalette)) out.push_back({kOptPalette, doc.options[kOptPalette]});
  if (differs(kOptLineWidth)) out.push_back({kOptLineWidth, doc.options[kOptLineWidth]});
  if (differs(kOptBoxedStyle)) {
    out.push_back({kOptBoxedStyle, 0});
    if (doc.options[kOptBoxedStyle] != 0) out.push_back({kOptBoxedStyle, 1});
  }
  for (const OptionIndex o : kToggles) {
    // A toggle flips the panel's value, which reaches the document's only
    // because the read made every toggled option 0 or 1.
    if (differs(o)) out.push_back({o, doc.options[o]});
  }
  const int marks = doc.mark_points ? 1 : 0;
  if (marks != panel.option(kOptMarkPoints)) out.push_back({kOptMarkPoints, marks});
  const int honest = doc.mark_discontinuities ? 1 : 0;
  if (honest != panel.option(kOptMarkDiscontinuities))
    out.push_back({kOptMarkDiscontinuities, honest});
  return out;
}

void apply_option_changes(const std::vector<OptionChange>& changes, PanelRecord& panel) {
  for (const OptionChange& c : changes) panel.options[c.option] = c.value;
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

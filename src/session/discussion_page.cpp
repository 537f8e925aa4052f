// The curve discussion window's rules; see the header.
#include "session/discussion_page.h"

#include <algorithm>

#include "analysis/discussion_texts.h"
#include "expr/compiler.h"
#include "expr/cp1252.h"
#include "expr/format.h"
#include "model/initial_contents.h"

namespace kv {

namespace {

// Polar curves, parametric pairs, equations and inequalities are no
// functions of x: kSkippedPrefix names them.

std::string formula_text(const PanelRecord& panel, const CompiledFormula& f) {
  if (f.source_start >= panel.source.size()) return {};
  std::string text = panel.source.substr(f.source_start, f.source_length);
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

// Compiles as the function panel does: its surface, its palette of curve colours.
bool compile_as_function(PanelRecord& panel) {
  CompileEnv env;
  env.surface = kPanelFunction;
  return compile_formulas(panel, env);
}

// Splits the compiled formulas into the discussed and the skipped ones.
void split_formulas(const PanelRecord& panel, std::vector<int>* cartesian,
                    std::vector<std::string>& texts, std::vector<std::string>& polar) {
  for (int k = 0; k < panel.count(); ++k) {
    const CompiledFormula& f = *panel.formulas[k];
    if (f.is_polar() || f.is_implicit() || f.order != 0) {
      polar.push_back(formula_text(panel, f));
    } else {
      if (cartesian != nullptr) cartesian->push_back(k);
      texts.push_back(formula_text(panel, f));
    }
  }
}

std::string join(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& p : parts) {
    if (!out.empty()) out += "; ";
    out += p;
  }
  return out;
}

std::string number(double v, double max_magnitude) {
  return format_table_value(v, true, max_magnitude);
}

std::string art_text(const analysis::Feature& f, bool several) {
  std::string art(analysis::feature_name(f.kind));
  if (!several) return art;
  art += " (" + std::to_string(f.formula + 1);
  if (f.kind == analysis::FeatureKind::kIntersection && f.other >= 0) {
    art += ',' + std::to_string(f.other + 1);
  }
  return art + ')';
}

}  // namespace

void reset_discussion_panel(PanelRecord& panel, const PanelRecord& function_panel) {
  reset_panel(panel, kPanelFunction);
  panel.limits = function_panel.limits;
  panel.angle_mode = function_panel.angle_mode;
  panel.random = function_panel.random;
}

std::string skipped_note(const std::vector<std::string>& polar_formulas) {
  if (polar_formulas.empty()) return {};
  return kSkippedPrefix + join(polar_formulas);
}

DiscussionStart discussion_start(const PanelRecord& function_panel) {
  DiscussionStart start;
  start.x_min = field_display_text(function_panel.range[kXMin]);
  start.x_max = field_display_text(function_panel.range[kXMax]);
  start.degrees = angle_is_degrees(function_panel.angle_mode);
  PanelRecord scratch;
  reset_discussion_panel(scratch, function_panel);
  scratch.source = function_panel.source;
  if (!compile_as_function(scratch)) return start;  // a text that does not compile starts empty
  std::vector<std::string> texts, polar;
  split_formulas(scratch, nullptr, texts, polar);
  start.formulas = join(texts);
  start.skipped = skipped_note(polar);
  return start;
}

bool read_discussion_fields(PanelRecord& panel, const DialogTexts& texts, const CompileEnv& env) {
  panel.error.clear();
  panel.source = texts.formula;
  panel.angle_mode = angle_factor(texts.degrees);
  check_range_pair(panel, kXMin, texts, kMsgXRange, true, env);
  return !panel.error.failed;
}

bool compute_discussion(PanelRecord& panel, DiscussionResult& out, double budget_ms) {
  if (!compile_as_function(panel)) {
    panel.error.report(panel.error.message != kMsgNone ? panel.error.message
                                                       : kMsgInvalidExpression,
                       kCtlFormula);
    return false;
  }
  if (panel.count() == 0) return false;
  DiscussionResult r;
  std::vector<int> cartesian;
  std::vector<std::string> polar;
  split_formulas(panel, &cartesian, r.formulas, polar);
  r.skipped = skipped_note(polar);
  r.max_magnitude = panel.limits.max_magnitude;
  if (!cartesian.empty()) {
    r.discussion = analysis::discuss(panel, cartesian, panel.range[kXMin].value,
                                     panel.range[kXMax].value, budget_ms);
  }
  out = std::move(r);
  return true;
}

std::vector<DiscussionCells> discussion_rows(const DiscussionResult& result) {
  std::vector<DiscussionCells> rows;
  const bool several = result.formulas.size() > 1;
  const double m = result.max_magnitude;
  for (const analysis::Feature& f : result.discussion.features) {
    DiscussionCells c;
    c[0] = art_text(f, several);
    if (f.has_x) {
      c[1] = number(f.x, m);
    } else {
      c[1] = '[' + number(f.x_lo, m) + "; " + number(f.x_hi, m) + ']';
    }
    if (f.has_y) c[2] = number(f.y, m);
    c[3] = f.proven ? analysis::kProven : analysis::kUnproven;
    rows.push_back(std::move(c));
  }
  return rows;
}

std::string discussion_clipboard_text(const DiscussionResult& result, char decimal_separator) {
  const std::vector<DiscussionCells> rows = discussion_rows(result);
  if (rows.empty()) return {};
  std::string out;
  for (const std::string& f : result.formulas) {
    if (f.find('=') == std::string::npos) out += "y=";
    out += cp1252_to_utf8(f) + "\r\n";
  }
  out += "\r\n";
  const size_t table_start = out.size();
  out += kDiscussionHeader;
  for (const DiscussionCells& c : rows) out += c[0] + '\t' + c[1] + '\t' + c[2] + '\t' + c[3] + "\r\n";
  if (decimal_separator == ',') std::replace(out.begin() + table_start, out.end(), '.', ',');
  return out;
}

bool discussion_row_point(const DiscussionResult& result, int row, MarkedPoint& out) {
  const auto& features = result.discussion.features;
  if (row < 0 || row >= static_cast<int>(features.size())) return false;
  const analysis::Feature& f = features[static_cast<size_t>(row)];
  // A pole is marked where the graph draws it, on the x axis.
  const bool pole = f.kind == analysis::FeatureKind::kPole;
  if (!f.has_x || (!f.has_y && !pole)) return false;
  out = {f.kind, f.x, pole ? 0 : f.y};
  return true;
}

}  // namespace kv

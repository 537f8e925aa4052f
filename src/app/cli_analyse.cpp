// kurvaline --analyse: the curve discussion on the command line.
//
// The function panel starts as a first start shows it (x range, angle
// mode); the options given replace the texts of its fields, which are read
// as the formula dialog reads them. Every formula of the text must be a
// Cartesian function. Output: a header line and one tab-separated line per
// feature, sorted by x; numbers in the shortest form that reads back to the
// same double, with "." as the decimal point. A rejected input prints the
// German message on stderr, nothing on stdout, and exits with status 2.
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "analysis/discussion.h"
#include "analysis/discussion_texts.h"
#include "app/cli.h"
#include "app/cli_args.h"
#include "app/cli_texts.h"
#include "expr/compiler.h"
#include "expr/cp1252.h"
#include "expr/messages.h"
#include "model/initial_contents.h"
#include "session/formula_checks.h"

namespace kv {
namespace {


struct AnalyseRequest {
  std::string formula;  // UTF-8 as typed
  bool x_min_given = false, x_max_given = false;
  std::string x_min, x_max;
  bool degrees = false;
  double budget_ms = analysis::kDefaultBudgetMs;
};

int parse_analyse_arguments(ArgReader& args, AnalyseRequest& req) {
  bool have_text = false;
  std::string value;
  std::string_view arg;
  while (args.next(arg)) {
    if (arg == "--deg") {
      req.degrees = true;
      continue;
    }
    if (arg != "--analyse" && arg != "--x-min" && arg != "--x-max" && arg != "--budget") {
      return unknown_option(arg);
    }
    if (!args.value(arg, value)) return kExitUsage;
    if (arg == "--analyse") {
      req.formula = value;
      have_text = true;
    } else if (arg == "--x-min") {
      req.x_min = value;
      req.x_min_given = true;
    } else if (arg == "--x-max") {
      req.x_max = value;
      req.x_max_given = true;
    } else if (!parse_number(value, req.budget_ms) || !(req.budget_ms > 0) ||
               req.budget_ms > 3.6e6) {
      return usage_error(kBudgetExpected);
    }
  }
  if (args.help_asked()) return kExitOk;
  if (!have_text) return usage_error(std::string("--analyse") + kExpectsValue);
  return kExitOk;
}

// Shortest text that reads back to the same double, "." as the separator.
std::string shortest(double value) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

std::string feature_line(const analysis::Feature& f) {
  std::string line(analysis::feature_name(f.kind));
  line += '\t';
  line += std::to_string(f.formula + 1);
  if (f.other >= 0) line += "," + std::to_string(f.other + 1);
  line += '\t';
  if (f.has_x) line += shortest(f.x);
  line += '\t';
  if (f.has_y) line += shortest(f.y);
  line += '\t' + shortest(f.x_lo) + '\t' + shortest(f.x_hi) + '\t';
  line += f.proven ? analysis::kProven : analysis::kUnproven;
  line += '\n';
  return line;
}

// Reads the fields and compiles the text into the function panel. Returns
// kMsgNone or the message that rejected the input.
int prepare(const AnalyseRequest& req, PanelRecord& panel) {
  DialogTexts texts = dialog_texts_from_panel(panel);
  if (req.x_min_given) texts.range[kXMin] = utf8_to_cp1252(req.x_min);
  if (req.x_max_given) texts.range[kXMax] = utf8_to_cp1252(req.x_max);
  if (req.degrees) panel.angle_mode = kDegrees;
  const CompileEnv env;
  panel.error = PendingError{};
  if (!check_range_pair(panel, kXMin, texts, kMsgXRange, true, env)) return panel.error.message;
  panel.source = utf8_to_cp1252(req.formula);
  if (!compile_formulas(panel, env)) {
    return panel.error.message != kMsgNone ? panel.error.message : kMsgInvalidExpression;
  }
  for (const auto& f : panel.formulas) {
    if (f->is_polar()) return kMsgPolarNotAllowed;
    // An equation or inequality in x and y is no function of x to discuss.
    if (f->is_implicit()) return kMsgOnlyX;
  }
  return kMsgNone;
}

// Discusses the formulas and prints the points; returns the exit status.
int analyse(AnalyseRequest& req) {
  PanelSet panels;
  fill_initial_contents(panels);
  PanelRecord& panel = panels[kPanelFunction];
  const int msg = prepare(req, panel);
  if (msg != kMsgNone) {
    print_formula_message(msg);
    return kExitFormula;
  }
  std::vector<int> formulas;
  for (int i = 0; i < panel.count(); ++i) formulas.push_back(i);
  const analysis::Discussion d =
      analysis::discuss(panel, formulas, panel.range[kXMin].value, panel.range[kXMax].value,
                        req.budget_ms);
  std::string out = kAnalyseHeader;
  for (const analysis::Feature& f : d.features) out += feature_line(f);
  std::fputs(out.c_str(), stdout);
  return flush_stdout() ? kExitOk : kExitUsage;
}

}  // namespace

int run_analyse_command(int argc, char** argv) {
  return run_mode(argc, argv, parse_analyse_arguments, analyse);
}

}  // namespace kv

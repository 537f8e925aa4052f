// kurvaline --eval: compiles a text in the context of one panel kind and
// evaluates each of its formulas once; and --help, which prints kCliHelpText.
//
// Everything is evaluated before anything is printed, so a rejected formula
// leaves stdout empty: the message goes to stderr and the status is 2.
#include <cstdio>
#include <string>
#include <vector>

#include "app/cli.h"
#include "app/cli_args.h"
#include "app/cli_texts.h"
#include "expr/compiler.h"
#include "expr/cp1252.h"
#include "expr/evaluator.h"
#include "expr/messages.h"
#include "model/numeric_field.h"

namespace kv {
namespace {

struct PanelKind {
  const char* name;
  PanelIndex role;
  bool fine_limits;  // the limits of the panel "DiffEqu" and the calculators
};

constexpr PanelKind kPanelKinds[] = {
    {"function", kPanelFunction, false},
    {"integral", kPanelIntegral, false},
    {"diffequ", kPanelDiffEqu, true},
    {"value", kPanelValue, true},
    {"table", kPanelTable, true},
    {"tablediffequ", kPanelTableDiffEqu, true},
    {"field", kPanelNumericField, false},
};

struct EvalRequest {
  std::string text;  // Windows-1252
  const PanelKind* kind = &kPanelKinds[0];
  double angle = kRadians;
  double vars[6] = {0, 0, 0, 0, 0, 0};
  bool at_given = false;
  bool derivative = false;
  bool length_limit = true;
};

// Returns kExitOk, or the status of a usage error already printed.
int parse_eval_arguments(ArgReader& args, EvalRequest& req) {
  bool have_text = false;
  std::string value;
  std::string_view arg;
  while (args.next(arg)) {
    if (arg == "--eval") {
      if (!args.value(arg, value)) return kExitUsage;
      req.text = utf8_to_cp1252(value);
      have_text = true;
    } else if (arg == "--panel") {
      if (!args.value(arg, value)) return kExitUsage;
      req.kind = nullptr;
      for (const PanelKind& k : kPanelKinds) {
        if (value == k.name) req.kind = &k;
      }
      if (!req.kind) return usage_error(kUnknownPanelKind + value + kQuoteEnd);
    } else if (arg == "--at") {
      std::vector<double> list;
      if (!args.value(arg, value)) return kExitUsage;
      if (!parse_number_list(value, 6, list)) {
        return usage_error(kAtExpectsNumbers);
      }
      for (int i = 0; i < 6; ++i) req.vars[i] = i < static_cast<int>(list.size()) ? list[i] : 0.0;
      req.at_given = true;
    } else if (arg == "--deg") {
      req.angle = kDegrees;
    } else if (arg == "--derivative") {
      req.derivative = true;
    } else if (arg == "--no-length-limit") {
      req.length_limit = false;
    } else {
      return unknown_option(arg);
    }
  }
  if (args.help_asked()) return kExitOk;
  if (!have_text) return usage_error(std::string("--eval") + kExpectsValue);
  if (req.kind->role == kPanelNumericField && (req.at_given || req.derivative)) {
    return usage_error(kAtWithField);
  }
  return kExitOk;
}

// Compiles and evaluates every formula. Returns kMsgNone and one output line
// per formula, or the message that rejected the text.
int evaluate_request(const EvalRequest& req, RandState& random, std::vector<std::string>& lines) {
  const PanelKind& kind = *req.kind;
  ExprPanel panel;
  panel.role = kind.role;
  panel.angle_mode = req.angle;
  if (kind.fine_limits) {
    panel.set_limits(kMaxMagnitude, kZeroToleranceFine, kLiteralLimitFine);
  } else {
    panel.set_limits(kMaxMagnitude, kZeroToleranceDrawing, kLiteralLimitDrawing);
  }
  panel.source = req.text;
  CompileEnv env;
  env.surface = surface_of(kind.role);
  env.length_limit = req.length_limit;
  env.random = &random;
  if (!compile_formulas(panel, env)) {
    return panel.error.message != kMsgNone ? panel.error.message : kMsgInvalidExpression;
  }
  for (int i = 0; i < panel.count(); ++i) {
    panel.current = i;
    double value = evaluate_formula(panel, req.vars, surface_of(kind.role));
    if (req.derivative && !panel.error.failed) {
      value = evaluate_derivative(panel, req.vars[0], value, surface_of(kind.role));
    }
    if (panel.error.failed) {
      return panel.error.message != kMsgNone ? panel.error.message : kMsgInvalidExpression;
    }
    std::string line = panel.formulas[i]->eval_error ? "undefined" : format_exact(value);
    // A parametric pair prints its point: x, a tab, y.
    if (const CompiledFormula* y = panel.formulas[i]->second.get(); y && !req.derivative) {
      Evaluator ev(panel, surface_of(kind.role));
      const double v = ev.evaluate(*y, req.vars);
      line += '\t';
      line += ev.undefined() ? "undefined" : format_exact(v);
    }
    lines.push_back(line);
  }
  return kMsgNone;
}

int evaluate_field_request(const EvalRequest& req, RandState& random,
                           std::vector<std::string>& lines) {
  RangeValue field;
  field.text = req.text;
  field.has_text = true;
  CompileEnv env;
  env.length_limit = req.length_limit;
  env.random = &random;
  int msg = evaluate_numeric_field(field, true, req.angle, env);
  if (msg == kMsgNone) lines.push_back(format_exact(field.value));
  return msg;
}

// Prints a line per formula; returns the exit status.
int evaluate(EvalRequest& req) {
  // The run's one random sequence: every formula draws on from where the
  // previous one stopped.
  RandState random;
  std::vector<std::string> lines;
  int msg = req.kind->role == kPanelNumericField ? evaluate_field_request(req, random, lines)
                                                      : evaluate_request(req, random, lines);
  if (msg != kMsgNone) {
    print_formula_message(msg);
    return kExitFormula;
  }
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  return flush_stdout() ? kExitOk : kExitUsage;
}

}  // namespace

int run_eval_command(int argc, char** argv) {
  return run_mode(argc, argv, parse_eval_arguments, evaluate);
}

int run_help_or_error(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (is_help_option(argv[i])) {
      std::fputs(kCliHelpText, stdout);
      return flush_stdout() ? kExitOk : kExitUsage;
    }
  }
  if (argc < 2) return usage_error(kNoTask);
  return unknown_option(argv[1]);
}

}  // namespace kv

// kurvaline --table and --value: the calculator windows on the command line.
//
// The calculator panel starts as a first start shows it (formula, range,
// step and start values of its initial contents); the options given replace
// the texts of the fields the window has. The fields are checked as
// "&Berechnen" checks them and the table is computed the same way, then
// header line and rows are printed exactly as the window shows them, with
// "\n" for CR LF. A text that is a differential equation goes to the
// equation page, every other text to the function page. A rejected input
// prints the window's German message on stderr, nothing on stdout, and
// exits with status 2.
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/cli.h"
#include "app/cli_args.h"
#include "app/cli_texts.h"
#include "expr/compiler.h"
#include "expr/cp1252.h"
#include "expr/messages.h"
#include "model/initial_contents.h"
#include "session/value_table.h"

namespace kv {
namespace {

struct TableRequest {
  bool single_value = false;  // --value instead of --table
  std::string formula;        // UTF-8
  GivenText x_min, x_max, step, x;
  std::vector<std::string> starts;  // start x, y, y', ...
  bool degrees = false, high_precision = false;
};

constexpr size_t kMaxStarts = kDialogValueCount - kStartX;

int parse_table_option(std::string_view arg, ArgReader& args, TableRequest& req) {
  std::string value;
  GivenText* field = nullptr;
  if (arg == "--x") field = &req.x;
  if (!req.single_value) {
    if (arg == "--x-min") field = &req.x_min;
    if (arg == "--x-max") field = &req.x_max;
    if (arg == "--step") field = &req.step;
  }
  if (field) {
    if (!args.value(arg, value)) return kExitUsage;
    *field = {true, value};
    return kExitOk;
  }
  if (arg == "--start" && !req.single_value) {
    if (!args.value(arg, value)) return kExitUsage;
    if (req.starts.size() >= kMaxStarts)
      return usage_error(kTooManyStarts);
    req.starts.push_back(value);
    return kExitOk;
  }
  if (arg == "--high-precision" && !req.single_value) {
    req.high_precision = true;
    return kExitOk;
  }
  return unknown_option(arg);
}

int parse_table_arguments(ArgReader& args, TableRequest& req) {
  bool have_text = false;
  std::string_view arg;
  while (args.next(arg)) {
    if (arg == (req.single_value ? "--value" : "--table")) {
      if (!args.value(arg, req.formula)) return kExitUsage;
      have_text = true;
    } else if (arg == "--deg") {
      req.degrees = true;
    } else if (arg == "--x" && !req.single_value) {
      return usage_error(kXOnlyWithValue);
    } else {
      const int status = parse_table_option(arg, args, req);
      if (status != kExitOk) return status;
    }
  }
  if (args.help_asked()) return kExitOk;
  if (!have_text) {
    return usage_error(std::string(req.single_value ? "--value" : "--table") + kExpectsValue);
  }
  return kExitOk;
}

// The equation page takes what the function page refuses as an equation.
bool is_equation(const std::string& formula) {
  ExprPanel scratch;
  scratch.role = kPanelTable;
  scratch.source = formula;
  return !compile_formulas(scratch, CompileEnv{}) && scratch.error.message == kMsgNoDiffEqu;
}

void replace_text(std::string& field, const GivenText& given) {
  if (given.given) field = utf8_to_cp1252(given.text);
}

// Returns kMsgNone with the printed text, or the message of the window.
int calculate(const TableRequest& req, int page, PanelSet& panels, std::string& output) {
  PanelRecord& panel = panels[page];
  DialogTexts texts = dialog_texts_from_panel(panel);
  texts.formula = utf8_to_cp1252(req.formula);
  texts.degrees = texts.degrees || req.degrees;
  texts.option = req.high_precision;  // the page starts with the box unchecked
  replace_text(texts.range[kXMin], req.x_min);
  replace_text(texts.range[kXMax], req.x_max);
  replace_text(texts.values[kXStep], req.step);
  replace_text(texts.values[kStartX], req.x);
  for (size_t i = 0; i < req.starts.size(); ++i) {
    replace_text(texts.values[kStartX + i], {true, req.starts[i]});
  }
  const CompileEnv env;
  const bool read = req.single_value ? read_value_fields(panel, texts, env)
                                     : read_table_fields(panel, texts, env);
  if (!read) return panel.error.message;
  TableResult result;
  const bool computed = req.single_value ? compute_value(panel, result, env)
                                         : compute_table(panel, result, env);
  // Without a formula the window computes nothing and says nothing.
  if (!computed) return panel.error.failed ? panel.error.message : kMsgNone;
  const TableText text = table_text(result);
  output.reserve(text.header.size() + text.rows.size());
  for (const std::string* part : {&text.header, &text.rows}) {
    for (char c : *part) {
      if (c != '\r') output += c;
    }
  }
  return kMsgNone;
}

// Prints the table or the single value; returns the exit status.
int run_calculator(TableRequest& req) {
  int page = kPanelValue;
  if (!req.single_value) {
    page = is_equation(utf8_to_cp1252(req.formula)) ? kPanelTableDiffEqu : kPanelTable;
    if (page == kPanelTable && (!req.starts.empty() || req.high_precision)) {
      return usage_error(kStartOnlyForEquations);
    }
  }
  PanelSet panels;
  fill_initial_contents(panels);
  std::string output;
  const int msg = calculate(req, page, panels, output);
  if (msg != kMsgNone) {
    print_formula_message(msg);
    return kExitFormula;
  }
  if (std::fwrite(output.data(), 1, output.size(), stdout) != output.size() ||
      std::fflush(stdout) != 0) {
    std::fputs(kOutputNotWritten, stderr);
    return kExitUsage;
  }
  return kExitOk;
}

}  // namespace

int run_table_command(int argc, char** argv) {
  return run_mode(argc, argv, parse_table_arguments, run_calculator);
}

int run_value_command(int argc, char** argv) {
  TableRequest req;
  req.single_value = true;
  return run_mode(argc, argv, parse_table_arguments, run_calculator, std::move(req));
}

}  // namespace kv

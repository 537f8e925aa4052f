// Small helpers shared by the command-line modes: walking the arguments,
// reading numbers independently of the C locale, reporting a usage error in
// one line, and the steps every mode takes before its own work.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli.h"

namespace kv {

// A field of the command line: whether it was given, and its text.
struct GivenText {
  bool given = false;
  std::string text;  // UTF-8 as typed
};

// Exit statuses of the command-line modes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;    // the command line itself is wrong
inline constexpr int kExitFormula = 2;  // a formula or field was rejected

// How every mode is asked for the help.
inline bool is_help_option(std::string_view arg) { return arg == "--help" || arg == "-h"; }

// Walks argv from the first argument after the program name.
class ArgReader {
 public:
  ArgReader(int argc, char** argv) : argc_(argc), argv_(argv) {}
  bool done() const { return pos_ >= argc_; }
  // The next argument, consumed.
  std::string_view next() { return argv_[pos_++]; }
  // The next option or word of the mode, consumed; false at the end and at
  // --help, which help_asked then tells: a mode reads no further than that.
  bool next(std::string_view& arg) {
    if (done() || help_) return false;
    arg = next();
    help_ = is_help_option(arg);
    return !help_;
  }
  bool help_asked() const { return help_; }
  // The argument after option, consumed, whatever it looks like (so "--at -1"
  // works). False after printing a usage error when there is none.
  bool value(std::string_view option, std::string& out);

 private:
  int argc_;
  char** argv_;
  int pos_ = 1;
  bool help_ = false;
};

// Prints "kurvaline: <line>" and a hint to --help on stderr; returns kExitUsage.
int usage_error(std::string_view line);
// usage_error for an option this mode does not know.
int unknown_option(std::string_view arg);

// The whole text as one decimal number ("." as separator, optional sign and
// exponent); false for anything else, also for a value beyond the doubles.
bool parse_number(std::string_view text, double& out);
// Up to max_count numbers separated by ","; false for an empty entry, a bad
// number or too many entries.
bool parse_number_list(std::string_view text, size_t max_count, std::vector<double>& out);

// Prints the formula message msg (expr/messages.h) on stderr; the general
// one for a number without a text of its own.
void print_formula_message(int msg);

// Runs a mode of the command line: reads its arguments into req (which may
// come with presets) with parse, one of the parse_*_arguments, which stops
// at --help and returns kExitOk there; then runs the mode on them. The help
// comes first when parse met --help before any error; a usage error it
// reported ends the mode with its status.
template <class Request>
int run_mode(int argc, char** argv, int (*parse)(ArgReader&, Request&), int (*run)(Request&),
             Request req = {}) {
  ArgReader args(argc, argv);
  const int status = parse(args, req);
  if (args.help_asked()) return run_help_or_error(argc, argv);
  return status == kExitOk ? run(req) : status;
}

// Flushes standard output. When anything written to it was lost (a full disk,
// a closed pipe), prints the German message on stderr and returns false.
bool flush_stdout();

// The value as printf's "%.17g" writes it in the "C" locale.
std::string format_exact(double value);

}  // namespace kv

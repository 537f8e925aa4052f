// Command-line modes of the program. Each returns the process exit status.
#pragma once

namespace kv {

// kurvaline --eval TEXT [...]: compile and evaluate formulas.
int run_eval_command(int argc, char** argv);
// kurvaline --export OUT [...]: render the graph into a picture file.
int run_export_command(int argc, char** argv);
// kurvaline --table TEXT [...]: print the value table of a function or equation.
int run_table_command(int argc, char** argv);
// kurvaline --value TEXT [...]: print the single value of a function.
int run_value_command(int argc, char** argv);
// kurvaline --analyse TEXT [...]: print the curve discussion of functions.
int run_analyse_command(int argc, char** argv);
// The desktop program with its main window (only in builds with Qt).
int run_desktop(int argc, char** argv);
// --help, or anything not understood.
int run_help_or_error(int argc, char** argv);

}  // namespace kv

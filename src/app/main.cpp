// Entry point: the command-line modes run without any display; everything
// else starts the main window.
#include <cstdio>
#include <cstring>

#include "app/cli.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--eval") == 0) return kv::run_eval_command(argc, argv);
    if (std::strcmp(argv[i], "--export") == 0) return kv::run_export_command(argc, argv);
    if (std::strcmp(argv[i], "--table") == 0) return kv::run_table_command(argc, argv);
    if (std::strcmp(argv[i], "--value") == 0) return kv::run_value_command(argc, argv);
  }
  return kv::run_help_or_error(argc, argv);
}

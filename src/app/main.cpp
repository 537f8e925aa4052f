// Entry point: the command-line modes run without any display; everything
// else starts the main window.
#include <cstring>

#include "app/cli.h"

#ifdef KV_WITH_GUI
namespace {

// "--help", "-h" and any other word beginning with "--" belong to the command
// line; single-dash words are the toolkit's ("-platform offscreen") and the
// rest may name a document.
bool command_line_mode(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--", 2) == 0 || std::strcmp(argv[i], "-h") == 0) return true;
  }
  return false;
}

}  // namespace
#endif

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--eval") == 0) return kv::run_eval_command(argc, argv);
    if (std::strcmp(argv[i], "--export") == 0) return kv::run_export_command(argc, argv);
    if (std::strcmp(argv[i], "--table") == 0) return kv::run_table_command(argc, argv);
    if (std::strcmp(argv[i], "--value") == 0) return kv::run_value_command(argc, argv);
    if (std::strcmp(argv[i], "--analyse") == 0) return kv::run_analyse_command(argc, argv);
  }
#ifdef KV_WITH_GUI
  if (!command_line_mode(argc, argv)) return kv::run_desktop(argc, argv);
#endif
  return kv::run_help_or_error(argc, argv);
}

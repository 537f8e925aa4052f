// How the main window reaches the settings file: a few functions the start-up
// hands in, so the window needs no file path and tests can give it a store of
// their own.
#pragma once

#include <functional>

#include "session/shell_state.h"

namespace kv {

struct SettingsAccess {
  // All settings into the panels and preferences; false when they cannot be
  // loaded at all.
  std::function<bool(ShellState&)> load_all;
  // All settings into the file; false when the file was left as it was.
  std::function<bool(const ShellState&)> save_all;
  std::function<bool(UserPrefs&)> load_one_instance;
  std::function<bool(const UserPrefs&)> save_one_instance;
  // Every setting back to its default, without touching the file.
  std::function<bool(ShellState&)> reset;
};

// A store without a file, for tests and benchmarks: loads leave the state
// as it is, saves keep nothing; all succeed.
SettingsAccess settings_without_file();

}  // namespace kv

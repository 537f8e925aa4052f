// The settings store of the running program; see the header.
#include "shell/settings_file.h"

#include <memory>
#include <string>

#include "session/settings.h"
#include "session/settings_path.h"

namespace kv {

SettingsAccess settings_file_access() {
  // Found once: the rule looks at the environment and the program's folder.
  auto path = std::make_shared<const std::string>(find_settings_file(program_file_path()));
  SettingsAccess s;
  s.load_all = [path](ShellState& state) {
    return load_all_settings(*path, state.panels, state.prefs, false);
  };
  s.save_all = [path](const ShellState& state) {
    // Closed in full screen, the file keeps the bars and window of before.
    return save_all_settings(*path, state.panels, persistent_prefs(state), state.document_path);
  };
  s.load_one_instance = [path](UserPrefs& prefs) { return load_one_instance(*path, prefs); };
  s.save_one_instance = [path](const UserPrefs& prefs) { return save_one_instance(*path, prefs); };
  s.reset = [](ShellState& state) { return reset_settings(state.panels, state.prefs); };
  return s;
}

}  // namespace kv

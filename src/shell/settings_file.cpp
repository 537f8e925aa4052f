// The settings store of the running program; see the header.
#include "shell/settings_file.h"

namespace kv {

SettingsAccess settings_file_access() { return settings_without_file(); }

}  // namespace kv

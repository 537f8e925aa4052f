// The settings store of the running program: the settings file found by the
// usual rule (KURVALINE_INI, next to the program, or the user's
// configuration folder).
#pragma once

#include "shell/settings_access.h"

namespace kv {

SettingsAccess settings_file_access();

}  // namespace kv

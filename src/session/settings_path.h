// Where the settings file lives.
//
// settings_file_path is the rule, without looking at the system:
//   1. KURVALINE_INI, when set and not empty, names the file outright.
//   2. Next to the program: the program's path with ".ini" in place of the
//      extension of its file name (appended when it has none), if the
//      program's folder is writable and the program is not the copy installed
//      for all users (session/system_install.h). The case of the path is kept, since on
//      this platform another case names another file.
//   3. Otherwise $XDG_CONFIG_HOME/kurvaline/kurvaline.ini; a relative or empty
//      XDG_CONFIG_HOME counts as unset and gives $HOME/.config.
//   4. Without a usable HOME either, the path next to the program, which can
//      still be read. "" when there is no program path either; loading then
//      gives the defaults and saving fails.
// find_settings_file gathers the inputs: the environment, and whether the
// program's folder is writable by this process; an empty program path means
// this process's own file. The shell computes the path once, at its first use.
#pragma once

#include <string>
#include <string_view>

namespace kv {

std::string settings_file_path(std::string_view program_path, const char* kurvaline_ini_env,
                               const char* xdg_config_home_env, const char* home_env,
                               bool program_dir_writable);

// The running program's own file (from /proc/self/exe); "" when unknown.
std::string program_file_path();

std::string find_settings_file(std::string_view program_path);

}  // namespace kv

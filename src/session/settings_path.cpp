// Where the settings file lives; see the header.
#include "session/settings_path.h"

#include <climits>
#include <cstdlib>

#include <unistd.h>

#include "session/system_install.h"

namespace kv {
namespace {

bool given(const char* env) { return env != nullptr && env[0] != '\0'; }

std::string next_to_program(std::string_view program_path) {
  const size_t slash = program_path.rfind('/');
  const size_t name = slash == std::string_view::npos ? 0 : slash + 1;
  const size_t dot = program_path.rfind('.');
  // A dot that starts the name (".kurvaline") is not an extension.
  const size_t stem_end = dot != std::string_view::npos && dot > name ? dot : program_path.size();
  std::string path(program_path.substr(0, stem_end));
  path += ".ini";
  return path;
}

std::string folder_of(std::string_view path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

}  // namespace

std::string settings_file_path(std::string_view program_path, const char* kurvaline_ini_env,
                               const char* xdg_config_home_env, const char* home_env,
                               bool program_dir_writable) {
  if (given(kurvaline_ini_env)) return kurvaline_ini_env;
  if (!program_path.empty() && program_dir_writable) return next_to_program(program_path);
  std::string config;
  if (given(xdg_config_home_env) && xdg_config_home_env[0] == '/') {
    config = xdg_config_home_env;
  } else if (given(home_env)) {
    config = home_env;
    if (config.back() != '/') config += '/';
    config += ".config";
  } else {
    return program_path.empty() ? std::string() : next_to_program(program_path);
  }
  if (config.back() != '/') config += '/';
  return config + "kurvaline/kurvaline.ini";
}

std::string program_file_path() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf);
  if (n <= 0 || static_cast<size_t>(n) >= sizeof buf) return std::string();
  return std::string(buf, static_cast<size_t>(n));
}

std::string find_settings_file(std::string_view program_path) {
  const std::string own = program_path.empty() ? program_file_path() : std::string();
  if (program_path.empty()) program_path = own;
  // The copy installed for all users never writes beside itself, not even
  // for root, who may write to /usr/bin.
  const bool writable = !program_path.empty() && !installed_for_all_users(program_path) &&
                        ::access(folder_of(program_path).c_str(), W_OK) == 0;
  return settings_file_path(program_path, std::getenv("KURVALINE_INI"),
                            std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), writable);
}

}  // namespace kv

// The program installed for all users; see the header.
#include "session/system_install.h"

#include <sys/stat.h>

namespace kv {

std::string system_desktop_entry_path(std::string_view program_path) {
  for (std::string_view prefix : {std::string_view("/usr"), std::string_view("/usr/local")}) {
    const std::string bin = std::string(prefix) + "/bin/";
    if (program_path.size() <= bin.size() || program_path.substr(0, bin.size()) != bin) continue;
    // The program file itself, not one in a subfolder of bin.
    if (program_path.find('/', bin.size()) != std::string_view::npos) continue;
    return std::string(prefix) + "/share/applications/kurvaline.desktop";
  }
  return std::string();
}

bool installed_for_all_users(std::string_view program_path, const std::string& root) {
  const std::string entry = system_desktop_entry_path(program_path);
  if (entry.empty()) return false;
  struct stat st;
  return ::stat((root + entry).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace kv

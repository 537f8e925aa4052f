// Registers the program with the desktop for the user at start-up (see
// session/desktop_registration.h for the rule and the files), from the texts
// built into the program, then lets the desktop's databases catch up. The
// copy installed for all users registers nothing (session/system_install.h).
//
// Placement at start-up:
//   const bool registered = register_with_desktop(user_desktop_target());
//   // registered: the window takes its default size, ignoring a saved one
//
// Failures are silent and return false: no data folder, a program path that
// a desktop entry cannot hold, a file that cannot be written. The tools
// update-mime-database and update-desktop-database run detached, and only
// when installed; the start-up never waits for them.
#pragma once

#include <string>

namespace kv {

struct DesktopTarget {
  std::string data_home;     // "" registers nothing
  std::string program_path;  // the running program file
  bool run_update_tools = true;
  std::string system_root;   // put before /usr when looking for the installed entry; "" here
};

// $XDG_DATA_HOME (or ~/.local/share) and this program file.
DesktopTarget user_desktop_target();

// Returns whether it registered.
bool register_with_desktop(const DesktopTarget& target);

// The built-in texts of resources/: "kurvaline.desktop", "kurvaline-mime.xml",
// "kurvaline.svg". False for other names.
bool desktop_resource(const char* name, std::string& text);

}  // namespace kv

// Whether the running program is the copy installed for all users, by the
// package or by `cmake --install`: a program file <prefix>/bin/<name>, where
// <prefix> is /usr or /usr/local (the two folders every desktop reads when
// XDG_DATA_DIRS is unset), with the desktop entry
// <prefix>/share/applications/kurvaline.desktop beside it.
//
// Such a program
//   - does not register with the desktop in the user's folders: the entry,
//     document type and icons for all users are there already, and a user
//     entry of the same name would hide the installed one after an update;
//   - keeps its settings in the user's configuration folder, even when the
//     user (root) may write to the program's folder.
// A program anywhere else (a build folder, a copy in the home folder) counts
// as not installed.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// The desktop entry that belongs to a program at this path when it is
// installed for all users; "" when the path lies in no such prefix.
std::string system_desktop_entry_path(std::string_view program_path);

// Whether that desktop entry exists as a regular file (a link to one
// counts). `root` is put before the entry's path: "" for the running system;
// tests give a temporary folder that holds a fake /usr.
bool installed_for_all_users(std::string_view program_path, const std::string& root = "");

}  // namespace kv

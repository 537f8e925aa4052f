// The program's registration with the desktop, for the user: a desktop entry
// that opens documents with this program file, the document type of ".kvl"
// files and the program's icon, written into the user's data folder
// ($XDG_DATA_HOME, by default ~/.local/share):
//   applications/kurvaline.desktop
//   mime/packages/kurvaline-mime.xml
//   icons/hicolor/scalable/apps/kurvaline.svg
//
// The desktop entry also records the version of the program that wrote it
// (key X-Kurvaline-Version): the record lives with the registration it
// describes, so every copy of the program, wherever its settings are kept,
// sees the same record. At start-up registration_needed decides:
//   no recorded version, or an older one      register
//   a newer recorded version                  keep it, whatever it opens
//   the same version                          register only when the entry
//                                             opens another program file, or
//                                             one of the three files is gone
// A registration that ran makes the window take its default size.
//
// The files are written entry last, each by replacing it whole, so a failed
// or interrupted registration leaves no record that claims it is done.
#pragma once

#include <string>
#include <string_view>

#include "formats/program_version.h"

namespace kv {

inline constexpr const char* kVersionKey = "X-Kurvaline-Version";
inline constexpr const char* kDesktopEntryFile = "applications/kurvaline.desktop";
inline constexpr const char* kMimePackageFile = "mime/packages/kurvaline-mime.xml";
inline constexpr const char* kIconFile = "icons/hicolor/scalable/apps/kurvaline.svg";
// Larger desktop entries are not ours and count as missing.
inline constexpr size_t kMaxDesktopEntryBytes = 64 * 1024;

// $XDG_DATA_HOME when given and absolute, else $HOME/.local/share; "" when
// neither is usable (nothing is registered then).
std::string data_home_path(const char* xdg_data_home_env, const char* home_env);

// The Exec value that opens one document with the program file: the path in
// double quotes, then %f. False when the path cannot be written there (empty,
// or holding a control character such as a line break).
bool desktop_exec_value(std::string_view program_path, std::string& value);

struct InstalledRegistration {
  bool has_version = false;
  std::string version;
  bool has_exec = false;
  std::string exec;       // the Exec value as written in the file
  bool complete = false;  // the document type and the icon are installed too
};

// Reads Exec and the version key from the [Desktop Entry] group of a desktop
// entry (other groups and keys are passed over; the first of a repeated key
// counts). Leaves `complete` as it is.
void read_desktop_entry(std::string_view text, InstalledRegistration& out);

bool registration_needed(const InstalledRegistration& installed, std::string_view program_path);

// The user's desktop entry made from the installed one (resources/
// kurvaline.desktop): its Exec replaced by desktop_exec_value, any version
// key replaced by this program's version. False when the program path cannot
// be written.
bool user_desktop_entry(std::string_view template_text, std::string_view program_path,
                        std::string& entry);

// What the data folder holds now; a missing or unreadable entry gives an
// empty record.
InstalledRegistration read_installed_registration(const std::string& data_home);

struct DesktopFiles {
  std::string entry;         // from user_desktop_entry
  std::string mime_package;  // resources/kurvaline-mime.xml
  std::string icon;          // resources/kurvaline.svg
};

// Creates the folders and writes the three files, the entry last. False when
// any of them could not be written.
bool install_desktop_files(const std::string& data_home, const DesktopFiles& files);

}  // namespace kv

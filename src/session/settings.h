// The settings store: four tables bind the keys of the settings file to
// their variables. Tables 0, 1, 2 belong to the drawing panels "Function",
// "Integral", "DiffEqu" (sections "DlgVals <word>" and "UserPrefs <word>",
// rows in settings_defaults.h); table 3 to the window and user preferences
// (sections "Window" and "UserPrefs"). Key Dir in section File holds the
// folder of the last document.
//
// A key names one row of a table; an empty key means the whole table in
// table order. Reading takes each value from the file, or its default text
// when the file lacks it or defaults are asked for, and converts it by the
// row's type (settings_defaults.h). Writing sets every row's key.
//
// In memory:
//   read_settings_table / write_settings_table  one table or one row; false
//       for an unknown table or a key that is not in the table.
//   read_all_settings   table 3, then each drawing panel's table followed by
//       copying its default range into its current range, then Dir (into
//       prefs.last_dir, "" when absent). Without a file (defaults) Dir stays.
//   write_all_settings  Dir (see last_path_to_save), then tables 0, 1, 2, 3.
//   last_path_to_save   the folder of the document path when there is one,
//       else the last path as it was read.
//
// On the file (path from settings_path.h):
//   A missing file gives the defaults, as a missing key does; the program
//   works without it. load_all_settings takes what can be read: the keys of
//   the whole lines within kIniMaxBytes and kIniMaxLines, and the defaults
//   for the rest (all of them for a file that cannot be read at all: no
//   permission, not a regular file); it returns false when the file was not
//   read whole. The other loads (one table or row, OneInstance) return false
//   and change nothing for a file that cannot be read whole. Saving reads
//   the file first, so unknown keys, comments and order survive, and
//   replaces it only when its text changes; it returns false and leaves the
//   file as it was when the old file cannot be read whole (it would be lost)
//   or the new one cannot be written (a file the user may not write, full
//   disk). Loads and saves also return false for a bad table or key.
//
//   reset_settings  all tables with their defaults; Dir and the current
//       surface stay, the file is not touched.
//
// The loaded values are as the file has them; check_drawing_panels
// (shell_state.h) then repairs LineWidth, Palette and Surface.
#pragma once

#include <string>
#include <string_view>

#include "model/initial_contents.h"
#include "session/ini_file.h"
#include "session/user_prefs.h"

namespace kv {

// The settings of a drawing panel are its table, numbered as the panel; the
// window's own follow them.
enum SettingsTable : int {
  kSettingsFunction = kPanelFunction,
  kSettingsIntegral = kPanelIntegral,
  kSettingsDiffEqu = kPanelDiffEqu,
  kSettingsWindow,
  kSettingsTableCount,
};

// file nullptr: the defaults.
bool read_settings_table(const IniFile* file, int table, std::string_view key, PanelSet& panels,
                         UserPrefs& prefs);
bool write_settings_table(IniFile& file, int table, std::string_view key, const PanelSet& panels,
                          const UserPrefs& prefs);
void read_all_settings(const IniFile* file, PanelSet& panels, UserPrefs& prefs);
void write_all_settings(IniFile& file, const PanelSet& panels, const UserPrefs& prefs,
                        std::string_view document_path);
std::string last_path_to_save(std::string_view document_path, const std::string& last_dir);

bool load_settings(const std::string& path, int table, std::string_view key, bool use_defaults,
                   PanelSet& panels, UserPrefs& prefs);
bool save_settings(const std::string& path, int table, std::string_view key,
                   const PanelSet& panels, const UserPrefs& prefs);
bool load_all_settings(const std::string& path, PanelSet& panels, UserPrefs& prefs,
                       bool use_defaults);
bool save_all_settings(const std::string& path, const PanelSet& panels, const UserPrefs& prefs,
                       const std::string& document_path);
bool load_one_instance(const std::string& path, UserPrefs& prefs);
bool save_one_instance(const std::string& path, const UserPrefs& prefs);
bool reset_settings(PanelSet& panels, UserPrefs& prefs);

}  // namespace kv

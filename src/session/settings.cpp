// The settings store; see the header.
#include "session/settings.h"

#include <functional>

#include "model/settings_defaults.h"

namespace kv {
namespace {

constexpr const char* kFileSection = "File";
constexpr const char* kDirKey = "Dir";

struct PrefsFlag {
  const char* key;
  bool UserPrefs::*member;
};

const PrefsFlag kPrefsFlags[] = {
    {"Statusbar", &UserPrefs::statusbar},
    {"Toolbar", &UserPrefs::toolbar},
    {"MouseGestures", &UserPrefs::mouse_gestures},
    {"MouseCoordinates", &UserPrefs::mouse_coordinates},
    {"Tooltips", &UserPrefs::tooltips},
    {"OneInstance", &UserPrefs::one_instance},
    {"Alert SaveFile", &UserPrefs::alert_save_file},
    {"Alert SetDefXYRange", &UserPrefs::alert_set_def_range},
};

bool UserPrefs::*flag_of(std::string_view key) {
  for (const PrefsFlag& f : kPrefsFlags) {
    if (key == f.key) return f.member;
  }
  return nullptr;
}

void apply_prefs_setting(UserPrefs& prefs, const WindowSettingRow& row, const char* text) {
  const std::string_view key = row.key;
  if (key == "Surface") {
    prefs.surface = setting_integer(text);
  } else if (key == "Pos") {
    prefs.pos = setting_rectangle(text);
  } else if (bool UserPrefs::*flag = flag_of(key)) {
    prefs.*flag = setting_boolean(text);
  }
}

std::string prefs_setting_text(const UserPrefs& prefs, const WindowSettingRow& row) {
  const std::string_view key = row.key;
  if (key == "Surface") return format_setting_integer(prefs.surface);
  if (key == "Pos") return format_setting_rectangle(prefs.pos);
  if (bool UserPrefs::*flag = flag_of(key)) return prefs.*flag ? "1" : "0";
  return row.default_text;
}

std::string panel_section(const PanelSettingRow& row, int panel) {
  std::string section = row.section == PanelSection::DlgVals ? "DlgVals " : "UserPrefs ";
  return section + panel_section_word(panel);
}

// The text of one row: from the file, else its default.
std::string row_text(const IniFile* file, const std::string& section, const char* key,
                     const char* default_text) {
  std::string value;
  if (file == nullptr || !file->get(section, key, value)) value = default_text;
  return value;
}

bool read_panel_table(const IniFile* file, int table, std::string_view key, PanelRecord& panel) {
  size_t count = 0;
  const PanelSettingRow* rows = panel_setting_rows(&count);
  for (size_t i = 0; i < count; ++i) {
    const PanelSettingRow& row = rows[i];
    const char* default_text = row.defaults[table];
    if (default_text == nullptr || (!key.empty() && key != row.key)) continue;
    apply_panel_setting(panel, row,
                        row_text(file, panel_section(row, table), row.key, default_text).c_str());
    if (!key.empty()) return true;
  }
  return key.empty();
}

bool write_panel_table(IniFile& file, int table, std::string_view key, const PanelRecord& panel) {
  size_t count = 0;
  const PanelSettingRow* rows = panel_setting_rows(&count);
  for (size_t i = 0; i < count; ++i) {
    const PanelSettingRow& row = rows[i];
    if (row.defaults[table] == nullptr || (!key.empty() && key != row.key)) continue;
    file.set(panel_section(row, table), row.key, panel_setting_text(panel, row));
    if (!key.empty()) return true;
  }
  return key.empty();
}

bool read_prefs_table(const IniFile* file, std::string_view key, UserPrefs& prefs) {
  size_t count = 0;
  const WindowSettingRow* rows = window_setting_rows(&count);
  for (size_t i = 0; i < count; ++i) {
    const WindowSettingRow& row = rows[i];
    if (!key.empty() && key != row.key) continue;
    apply_prefs_setting(prefs, row, row_text(file, row.section, row.key, row.default_text).c_str());
    if (!key.empty()) return true;
  }
  return key.empty();
}

bool write_prefs_table(IniFile& file, std::string_view key, const UserPrefs& prefs) {
  size_t count = 0;
  const WindowSettingRow* rows = window_setting_rows(&count);
  for (size_t i = 0; i < count; ++i) {
    const WindowSettingRow& row = rows[i];
    if (!key.empty() && key != row.key) continue;
    file.set(row.section, row.key, prefs_setting_text(prefs, row));
    if (!key.empty()) return true;
  }
  return key.empty();
}

// Reads the file, lets change set its keys and writes it back if its text
// changed. A file that exists but cannot be read, or only in part, is not
// replaced: its contents would be lost.
bool update_file(const std::string& path, const std::function<bool(IniFile&)>& change) {
  IniFile file;
  std::string old;
  const IniRead read = read_ini_file(path, file, &old);
  if (read == IniRead::Failed || read == IniRead::Partial || !change(file)) return false;
  if (read == IniRead::Ok && file.text() == old) return true;
  return write_ini_file(path, file);
}

// The single loads change nothing unless the file (if any) was read whole.
bool read_whole(const std::string& path, IniFile& file) {
  const IniRead read = read_ini_file(path, file);
  return read == IniRead::Ok || read == IniRead::Missing;
}

}  // namespace

bool read_settings_table(const IniFile* file, int table, std::string_view key, PanelSet& panels,
                         UserPrefs& prefs) {
  if (is_drawing_panel(table)) return read_panel_table(file, table, key, panels[table]);
  if (table == kSettingsWindow) return read_prefs_table(file, key, prefs);
  return false;
}

bool write_settings_table(IniFile& file, int table, std::string_view key, const PanelSet& panels,
                          const UserPrefs& prefs) {
  if (is_drawing_panel(table)) return write_panel_table(file, table, key, panels[table]);
  if (table == kSettingsWindow) return write_prefs_table(file, key, prefs);
  return false;
}

void read_all_settings(const IniFile* file, PanelSet& panels, UserPrefs& prefs) {
  read_prefs_table(file, {}, prefs);
  for (int p = kPanelFunction; p <= kPanelDiffEqu; ++p) {
    PanelRecord& panel = panels[p];
    read_panel_table(file, p, {}, panel);
    for (int r = 0; r < kRangeCount; ++r) panel.range[r] = panel.default_range[r];
  }
  if (file != nullptr && !file->get(kFileSection, kDirKey, prefs.last_dir)) prefs.last_dir.clear();
}

std::string last_path_to_save(std::string_view document_path, const std::string& last_dir) {
  const size_t slash = document_path.rfind('/');
  // A bare file name says nothing about a folder.
  if (slash == std::string_view::npos) return last_dir;
  if (slash == 0) return "/";
  return std::string(document_path.substr(0, slash));
}

void write_all_settings(IniFile& file, const PanelSet& panels, const UserPrefs& prefs,
                        std::string_view document_path) {
  file.set(kFileSection, kDirKey, last_path_to_save(document_path, prefs.last_dir));
  for (int p = kPanelFunction; p <= kPanelDiffEqu; ++p) write_panel_table(file, p, {}, panels[p]);
  write_prefs_table(file, {}, prefs);
}

bool load_settings(const std::string& path, int table, std::string_view key, bool use_defaults,
                   PanelSet& panels, UserPrefs& prefs) {
  IniFile file;
  if (!use_defaults && !read_whole(path, file)) return false;
  return read_settings_table(use_defaults ? nullptr : &file, table, key, panels, prefs);
}

bool save_settings(const std::string& path, int table, std::string_view key,
                   const PanelSet& panels, const UserPrefs& prefs) {
  return update_file(path, [&](IniFile& file) {
    return write_settings_table(file, table, key, panels, prefs);
  });
}

bool load_all_settings(const std::string& path, PanelSet& panels, UserPrefs& prefs,
                       bool use_defaults) {
  IniFile file;
  const IniRead read = use_defaults ? IniRead::Ok : read_ini_file(path, file);
  // What could not be read has no keys: its rows take their defaults.
  read_all_settings(use_defaults ? nullptr : &file, panels, prefs);
  return read == IniRead::Ok || read == IniRead::Missing;
}

bool save_all_settings(const std::string& path, const PanelSet& panels, const UserPrefs& prefs,
                       const std::string& document_path) {
  return update_file(path, [&](IniFile& file) {
    write_all_settings(file, panels, prefs, document_path);
    return true;
  });
}

bool load_one_instance(const std::string& path, UserPrefs& prefs) {
  IniFile file;
  return read_whole(path, file) && read_prefs_table(&file, "OneInstance", prefs);
}

bool save_one_instance(const std::string& path, const UserPrefs& prefs) {
  return update_file(path, [&](IniFile& file) { return write_prefs_table(file, "OneInstance", prefs); });
}

bool reset_settings(PanelSet& panels, UserPrefs& prefs) {
  const int surface = prefs.surface;
  read_all_settings(nullptr, panels, prefs);
  prefs.surface = surface;
  return true;
}

}  // namespace kv

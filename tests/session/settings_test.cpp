// The settings store on a real file: round trips, defaults, the reading
// rules at their edges, failed saves, reset, the file's location.
#include "session/settings.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "model/settings_defaults.h"
#include "session/settings_path.h"
#include "session_test_support.h"

namespace kv {
namespace {

struct State {
  PanelSet panels;
  UserPrefs prefs;
  State() { fill_initial_contents(panels); }
};

void expect_same(const RangeValue& a, const RangeValue& b, const char* what, int panel) {
  EXPECT_EQ(a.text, b.text) << what << ' ' << panel;
  EXPECT_EQ(a.value, b.value) << what << ' ' << panel;
}

// Everything the settings hold, compared field by field.
void expect_same_settings(const State& a, const State& b) {
  for (int p = kPanelFunction; p <= kPanelDiffEqu; ++p) {
    const PanelRecord& x = a.panels[p];
    const PanelRecord& y = b.panels[p];
    EXPECT_EQ(x.angle_mode, y.angle_mode) << p;
    EXPECT_EQ(x.options, y.options) << p;
    EXPECT_EQ(x.title_x, y.title_x) << p;
    EXPECT_EQ(x.title_y, y.title_y) << p;
    EXPECT_EQ(format_setting_rectangle(x.dialog_pos), format_setting_rectangle(y.dialog_pos)) << p;
    for (int r = 0; r < kRangeCount; ++r) {
      expect_same(x.default_range[r], y.default_range[r], "default", p);
      expect_same(x.range[r], y.range[r], "current", p);
    }
  }
  const UserPrefs& x = a.prefs;
  const UserPrefs& y = b.prefs;
  EXPECT_EQ(x.surface, y.surface);
  EXPECT_EQ(format_setting_rectangle(x.pos), format_setting_rectangle(y.pos));
  EXPECT_EQ(x.statusbar, y.statusbar);
  EXPECT_EQ(x.toolbar, y.toolbar);
  EXPECT_EQ(x.mouse_gestures, y.mouse_gestures);
  EXPECT_EQ(x.mouse_coordinates, y.mouse_coordinates);
  EXPECT_EQ(x.tooltips, y.tooltips);
  EXPECT_EQ(x.one_instance, y.one_instance);
  EXPECT_EQ(x.alert_save_file, y.alert_save_file);
  EXPECT_EQ(x.alert_set_def_range, y.alert_set_def_range);
  EXPECT_EQ(x.last_dir, y.last_dir);
}

// Every setting away from its default.
State changed_state() {
  State s;
  for (int p = kPanelFunction; p <= kPanelDiffEqu; ++p) {
    PanelRecord& panel = s.panels[p];
    panel.angle_mode = kDegrees;  // six decimals in the file, exact again when read
    for (int& option : panel.options) option = option == 0 ? 1 : 0;
    panel.options[kOptLineWidth] = 3;
    panel.options[kOptPalette] = 2;
    panel.options[kOptSolverSwitch] = 0;  // not a setting
    panel.title_x = " Zeit [s] ";
    panel.title_y = "\"y\"";
    panel.dialog_pos = {-5, 7, 300, 2000000000};
    setting_range(panel.default_range[kXMin], "-3pi");
    // Moved by a view operation: the value is written, not the old text.
    panel.default_range[kYMax].value = 2.5;
    panel.default_range[kYMax].text_stale = true;
    panel.range = panel.default_range;
  }
  s.panels[kPanelFunction].options[kOptFillIntegralArea] = 0;  // no such key there
  s.panels[kPanelDiffEqu].options[kOptFillIntegralArea] = 0;
  UserPrefs& u = s.prefs;
  u.surface = 2;
  u.pos = {10, 20, 810, 620};
  u.statusbar = u.toolbar = u.mouse_gestures = u.mouse_coordinates = u.tooltips = false;
  u.alert_save_file = u.alert_set_def_range = false;
  u.one_instance = true;
  u.last_dir = "/home/anna/Kurven mit Blanks";
  return s;
}

TEST(Settings, RoundTripReadsBackAndSavesByteIdentical) {
  TempDir dir;
  const std::string path = dir.path + "/kurvaline.ini";
  write_text(path, "; meine Einstellungen\n[userprefs function]\nMyKey=x\n");
  State saved = changed_state();
  ASSERT_TRUE(save_all_settings(path, saved.panels, saved.prefs, ""));
  const std::string first = read_text(path);
  EXPECT_EQ(first.rfind("; meine Einstellungen\n[userprefs function]\nMyKey=x\nLineWidth=3\n", 0),
            0u);
  EXPECT_NE(first.find("AngleMode=57.295780\n"), std::string::npos);
  EXPECT_NE(first.find("YMax=2.5\n"), std::string::npos);

  State loaded;
  ASSERT_TRUE(load_all_settings(path, loaded.panels, loaded.prefs, false));
  for (int p = kPanelFunction; p <= kPanelDiffEqu; ++p) {
    saved.panels[p].default_range[kYMax].text = "2.5";  // what was written
    saved.panels[p].range = saved.panels[p].default_range;
  }
  expect_same_settings(loaded, saved);
  EXPECT_EQ(loaded.panels[kPanelIntegral].options[kOptSolverSwitch], 0);

  ASSERT_TRUE(save_all_settings(path, loaded.panels, loaded.prefs, ""));
  EXPECT_EQ(read_text(path), first);
}

TEST(Settings, MissingFileAndMissingKeysGiveDefaults) {
  TempDir dir;
  const State defaults;
  State s = changed_state();
  ASSERT_TRUE(load_all_settings(dir.path + "/none.ini", s.panels, s.prefs, false));
  expect_same_settings(s, defaults);

  const std::string path = dir.path + "/kurvaline.ini";
  write_text(path, "[Window]\nSurface=2\n[File]\nDir=/tmp\n");
  s = changed_state();
  ASSERT_TRUE(load_all_settings(path, s.panels, s.prefs, false));
  EXPECT_EQ(s.prefs.surface, 2);
  EXPECT_EQ(s.prefs.last_dir, "/tmp");
  s.prefs.surface = 0;
  s.prefs.last_dir.clear();
  expect_same_settings(s, defaults);
}

TEST(Settings, ReadingRulesAtTheirEdges) {
  TempDir dir;
  const std::string path = dir.path + "/kurvaline.ini";
  const std::string long_title(300, 'T');
  write_text(path,
             "[DlgVals Function]\nAngleMode=1\nTitleXAxis=" + long_title +
                 "\n[UserPrefs Function]\nLineWidth=010\nXMin=1/0\nPalette=0x2\n"
                 "EqualScales=0x0\nGrid=  -7\nMarkPoints=2\n"
                 "[Window]\nPos=10,20\nSurface=99999999999\n"
                 "[DlgVals Integral]\nAngleMode=nan\n"
                 "[DlgVals DiffEqu]\nAngleMode=57.295780\n");
  State s;
  ASSERT_TRUE(load_all_settings(path, s.panels, s.prefs, false));
  const PanelRecord& f = s.panels[kPanelFunction];
  EXPECT_EQ(f.angle_mode, 1.0);
  EXPECT_EQ(f.title_x, long_title);
  EXPECT_EQ(f.options[kOptLineWidth], 8);
  EXPECT_EQ(f.default_range[kXMin].value, 0.0);
  EXPECT_EQ(f.range[kXMin].text, "1/0");
  EXPECT_EQ(f.options[kOptPalette], 2);
  EXPECT_EQ(f.options[kOptEqualScales], 0);
  EXPECT_EQ(f.options[kOptGrid], 1);
  EXPECT_EQ(f.options[kOptMarkPoints], 1);
  EXPECT_EQ(s.panels[kPanelIntegral].options[kOptMarkPoints], 0);
  EXPECT_EQ(format_setting_rectangle(s.prefs.pos), "10,20,0,0");
  EXPECT_TRUE(s.prefs.pos.empty());
  EXPECT_EQ(s.prefs.surface, INT_MAX);
  EXPECT_EQ(s.panels[kPanelIntegral].angle_mode, kRadians);
  EXPECT_EQ(s.panels[kPanelDiffEqu].angle_mode, kDegrees);

  ASSERT_TRUE(save_all_settings(path, s.panels, s.prefs, ""));
  const std::string text = read_text(path);
  EXPECT_NE(text.find("[DlgVals Function]\nAngleMode=1.000000\n"), std::string::npos);
  EXPECT_NE(text.find("LineWidth=8\n"), std::string::npos);
  EXPECT_NE(text.find("Pos=10,20,0,0\n"), std::string::npos);
  EXPECT_NE(text.find("MarkPoints=1\n"), std::string::npos);
}

TEST(Settings, FailedSaveLeavesTheOldFile) {
  TempDir dir;
  const std::string path = dir.path + "/kurvaline.ini";
  const std::string old = "[Window]\nSurface=1\n";
  write_text(path, old);
  const State s = changed_state();

  // A full disk: the file size limit makes the write fail.
  struct rlimit saved_limit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved_limit), 0);
  struct rlimit small = saved_limit;
  small.rlim_cur = 64;
  const auto saved_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = save_all_settings(path, s.panels, s.prefs, "");
  setrlimit(RLIMIT_FSIZE, &saved_limit);
  std::signal(SIGXFSZ, saved_handler);
  EXPECT_FALSE(saved);
  EXPECT_EQ(read_text(path), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);  // no leftovers

  // A file that cannot be read whole would be lost by a save; the single
  // loads fail and change nothing, the start-up load gives what it can.
  const std::string huge(kIniMaxBytes + 1, ';');
  write_text(path, huge);
  EXPECT_FALSE(save_all_settings(path, s.panels, s.prefs, ""));
  EXPECT_FALSE(save_one_instance(path, s.prefs));
  EXPECT_EQ(read_text(path), huge);
  State loaded = changed_state();
  EXPECT_FALSE(load_one_instance(path, loaded.prefs));
  EXPECT_FALSE(load_settings(path, kSettingsWindow, "", false, loaded.panels, loaded.prefs));
  expect_same_settings(loaded, s);
  EXPECT_FALSE(load_all_settings(path, loaded.panels, loaded.prefs, false));
  expect_same_settings(loaded, State{});

  if (geteuid() != 0) {  // permissions do not stop root
    write_text(path, old);
    chmod(path.c_str(), 0444);
    EXPECT_FALSE(save_all_settings(path, s.panels, s.prefs, ""));
    EXPECT_EQ(read_text(path), old);
    chmod(path.c_str(), 0644);
    chmod(dir.path.c_str(), 0555);  // only the folder: written in place
    EXPECT_TRUE(save_all_settings(path, s.panels, s.prefs, ""));
    chmod(dir.path.c_str(), 0755);
    EXPECT_NE(read_text(path), old);
  }
}

// Start-up takes what can be read and the defaults for the rest; the file is
// replaced only when it was read whole.
TEST(Settings, FilesNotReadWholeGiveWhatTheyCanAndAreNotReplaced) {
  TempDir dir;
  const std::string path = dir.path + "/kurvaline.ini";
  const State defaults;
  const State changed = changed_state();  // what the window would save
  const std::string title(300000, 'T');  // longer than the old limit of the whole file
  write_text(path, "[DlgVals Function]\nTitleXAxis=" + title + "\n[UserPrefs Function]\nLineWidth=2\n");
  State s;
  ASSERT_TRUE(load_all_settings(path, s.panels, s.prefs, false));
  EXPECT_EQ(s.panels[kPanelFunction].title_x, title);
  EXPECT_EQ(s.panels[kPanelFunction].options[kOptLineWidth], 2);
  EXPECT_TRUE(save_all_settings(path, s.panels, s.prefs, ""));

  // Beyond kIniMaxBytes: the whole lines before it count, the cut one not.
  const std::string head = "[UserPrefs Function]\nLineWidth=2\n";
  const std::string cut = "[Window]\nSurface=2";
  const std::string big = head + std::string(kIniMaxBytes - head.size() - cut.size(), ';') + "\n" +
                          cut + "\n";
  write_text(path, big);
  s = State{};
  s.prefs.surface = 1;
  EXPECT_FALSE(load_all_settings(path, s.panels, s.prefs, false));
  EXPECT_EQ(s.panels[kPanelFunction].options[kOptLineWidth], 2);
  EXPECT_EQ(s.prefs.surface, 0);
  EXPECT_FALSE(save_all_settings(path, changed.panels, changed.prefs, ""));
  EXPECT_EQ(read_text(path), big);

  // A folder in its place is neither read nor replaced.
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  s = State{};
  s.panels[kPanelFunction].options[kOptLineWidth] = 3;
  s.prefs.surface = 1;
  EXPECT_FALSE(load_all_settings(path, s.panels, s.prefs, false));
  expect_same_settings(s, defaults);
  EXPECT_FALSE(save_all_settings(path, changed.panels, changed.prefs, ""));
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(Settings, ResetGivesDefaultsKeepsDirAndSurfaceAndLeavesTheFile) {
  TempDir dir;
  const std::string path = dir.path + "/kurvaline.ini";
  State s = changed_state();
  ASSERT_TRUE(save_all_settings(path, s.panels, s.prefs, "/home/anna/neu/k.kvl"));
  const std::string text = read_text(path);
  ASSERT_TRUE(load_all_settings(path, s.panels, s.prefs, false));
  EXPECT_EQ(s.prefs.last_dir, "/home/anna/neu");

  ASSERT_TRUE(reset_settings(s.panels, s.prefs));
  EXPECT_EQ(s.prefs.surface, 2);
  EXPECT_EQ(s.prefs.last_dir, "/home/anna/neu");
  State defaults;
  defaults.prefs.surface = 2;
  defaults.prefs.last_dir = "/home/anna/neu";
  expect_same_settings(s, defaults);
  EXPECT_EQ(read_text(path), text);
}

TEST(Settings, OneInstanceAndSingleRowsAlone) {
  TempDir dir;
  const std::string path = dir.path + "/kurvaline.ini";
  const std::string old = "[UserPrefs]\r\nStatusbar=0\r\n";
  write_text(path, old);
  UserPrefs prefs;
  prefs.one_instance = true;
  prefs.toolbar = false;
  ASSERT_TRUE(save_one_instance(path, prefs));
  EXPECT_EQ(read_text(path), old + "OneInstance=1\r\n");

  UserPrefs read;
  read.statusbar = true;
  ASSERT_TRUE(load_one_instance(path, read));
  EXPECT_TRUE(read.one_instance);
  EXPECT_TRUE(read.statusbar);  // only the one row

  State s;
  EXPECT_TRUE(load_settings(path, kSettingsWindow, "Statusbar", false, s.panels, s.prefs));
  EXPECT_FALSE(s.prefs.statusbar);
  EXPECT_FALSE(load_settings(path, kSettingsFunction, "FillIntegralArea", false, s.panels, s.prefs));
  EXPECT_TRUE(load_settings(path, kSettingsIntegral, "FillIntegralArea", false, s.panels, s.prefs));
  EXPECT_FALSE(load_settings(path, kSettingsWindow, "statusbar", false, s.panels, s.prefs));
  EXPECT_FALSE(load_settings(path, kSettingsTableCount, "", false, s.panels, s.prefs));
  EXPECT_FALSE(save_settings(path, -1, "", s.panels, s.prefs));
}

TEST(Settings, LastPathIsTheDocumentsFolder) {
  EXPECT_EQ(last_path_to_save("/home/anna/a.kvl", "/old"), "/home/anna");
  EXPECT_EQ(last_path_to_save("/a.kvl", "/old"), "/");
  EXPECT_EQ(last_path_to_save("a.kvl", "/old"), "/old");
  EXPECT_EQ(last_path_to_save("", "/old"), "/old");
}

TEST(Settings, NumbersIgnoreTheProcessLocale) {
  const char* german = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE@euro"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) {
      german = name;
      break;
    }
  }
  if (german == nullptr || std::strtod("0.5", nullptr) == 0.5) {
    std::setlocale(LC_NUMERIC, "C");
    GTEST_SKIP() << "no German locale installed";
  }
  TempDir dir;
  const std::string path = dir.path + "/kurvaline.ini";
  write_text(path, "[DlgVals Function]\nAngleMode=0.5\n[UserPrefs Function]\nXMin=-2.5\n");
  State s;
  const bool loaded = load_all_settings(path, s.panels, s.prefs, false);
  s.panels[kPanelIntegral].angle_mode = 0.25;
  const bool saved = save_all_settings(path, s.panels, s.prefs, "");
  std::setlocale(LC_NUMERIC, "C");
  ASSERT_TRUE(loaded && saved);
  EXPECT_EQ(s.panels[kPanelFunction].angle_mode, 0.5);
  EXPECT_EQ(s.panels[kPanelFunction].range[kXMin].value, -2.5);
  EXPECT_NE(read_text(path).find("[DlgVals Integral]\nAngleMode=0.250000\n"), std::string::npos);
}

TEST(SettingsPath, EnvironmentProgramFolderAndXdgInTurn) {
  struct Case {
    const char* program;
    const char* ini;
    const char* xdg;
    const char* home;
    bool writable;
    const char* want;
  };
  const Case cases[] = {
      {"/opt/k/kurvaline", "/etc/k.ini", "/x", "/h", true, "/etc/k.ini"},
      {"/opt/k/kurvaline", "", nullptr, "/h", true, "/opt/k/kurvaline.ini"},
      {"/opt/K.v1/Kurvaline.bin", nullptr, nullptr, "/h", true, "/opt/K.v1/Kurvaline.ini"},
      {"/opt/k/.kurvaline", nullptr, nullptr, "/h", true, "/opt/k/.kurvaline.ini"},
      {"/usr/bin/kurvaline", nullptr, "/x/conf/", "/h", false, "/x/conf/kurvaline/kurvaline.ini"},
      {"/usr/bin/kurvaline", nullptr, "rel", "/h/", false, "/h/.config/kurvaline/kurvaline.ini"},
      {"/usr/bin/kurvaline", nullptr, "", "", false, "/usr/bin/kurvaline.ini"},
      {"", nullptr, nullptr, nullptr, true, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(settings_file_path(c.program, c.ini, c.xdg, c.home, c.writable), c.want) << c.want;
  }
  EXPECT_FALSE(program_file_path().empty());

  TempDir dir;
  const char* saved = std::getenv("KURVALINE_INI");
  const std::string saved_value = saved != nullptr ? saved : "";
  unsetenv("KURVALINE_INI");
  EXPECT_EQ(find_settings_file(dir.path + "/kurvaline"), dir.path + "/kurvaline.ini");
  setenv("KURVALINE_INI", "/elsewhere/k.ini", 1);
  EXPECT_EQ(find_settings_file(dir.path + "/kurvaline"), "/elsewhere/k.ini");
  if (saved != nullptr) {
    setenv("KURVALINE_INI", saved_value.c_str(), 1);
  } else {
    unsetenv("KURVALINE_INI");
  }
}

}  // namespace
}  // namespace kv

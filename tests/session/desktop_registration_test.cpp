#include "session/desktop_registration.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace kv {
namespace {

const std::string kProgram = "/opt/kurvaline/kurvaline";

InstalledRegistration installed(const char* version, const std::string& program, bool complete = true) {
  InstalledRegistration r;
  if (version != nullptr) {
    r.has_version = true;
    r.version = version;
  }
  r.has_exec = desktop_exec_value(program, r.exec);
  r.complete = complete;
  return r;
}

TEST(DesktopRegistration, VersionRuleDecidesWhetherToRegister) {
  EXPECT_TRUE(registration_needed(installed(nullptr, kProgram), kProgram));
  EXPECT_TRUE(registration_needed(installed("0.93.9.9", kProgram), kProgram));
  EXPECT_FALSE(registration_needed(installed("0.94.0.0", kProgram), kProgram));
  EXPECT_FALSE(registration_needed(installed("0.94", kProgram), kProgram));  // missing parts are 0
  EXPECT_TRUE(registration_needed(installed("0.94.0.0", "/home/u/kurvaline"), kProgram));
  EXPECT_TRUE(registration_needed(installed("0.94.0.0", kProgram, false), kProgram));
  EXPECT_FALSE(registration_needed(installed("0.94.0.1", "/home/u/kurvaline"), kProgram));
  EXPECT_FALSE(registration_needed(installed("0.100.0.0", kProgram, false), kProgram));  // numbers, not text
  InstalledRegistration no_exec = installed("0.94.0.0", kProgram);
  no_exec.has_exec = false;
  EXPECT_TRUE(registration_needed(no_exec, kProgram));
}

TEST(DesktopRegistration, ExecQuotesTheProgramPathAsOneArgument) {
  std::string exec;
  ASSERT_TRUE(desktop_exec_value("/a b/kurvaline", exec));
  EXPECT_EQ(exec, "\"/a b/kurvaline\" %f");
  // Argument quoting first (\" \` \$ \\ and %%), then the string escape of
  // every backslash.
  ASSERT_TRUE(desktop_exec_value("/x\"y`$z\\w%v/k", exec));
  EXPECT_EQ(exec, "\"/x\\\\\"y\\\\`\\\\$z\\\\\\\\w%%v/k\" %f");
  EXPECT_FALSE(desktop_exec_value("/a\nExec=evil", exec));
  EXPECT_FALSE(desktop_exec_value("", exec));
}

TEST(DesktopRegistration, UserEntryReplacesExecAndVersionOfTheMainGroupOnly) {
  const std::string tmpl =
      "[Desktop Entry]\nName=Kurvaline\nExec=kurvaline %f\nX-Kurvaline-Version=0.1.0.0\n"
      "\n[Desktop Action plot]\nExec=kurvaline --plot\n";
  std::string entry;
  ASSERT_TRUE(user_desktop_entry(tmpl, kProgram, entry));
  InstalledRegistration r;
  read_desktop_entry(entry, r);
  EXPECT_EQ(r.version, kProgramVersion);
  std::string exec;
  desktop_exec_value(kProgram, exec);
  EXPECT_EQ(r.exec, exec);
  EXPECT_NE(entry.find("[Desktop Action plot]\nExec=kurvaline --plot\n"), std::string::npos);
  EXPECT_EQ(entry.find("0.1.0.0"), std::string::npos);
  EXPECT_FALSE(user_desktop_entry(tmpl, "/a\rb", entry));
}

TEST(DesktopRegistration, InstalledFilesAreReadBack) {
  char folder[] = "/tmp/kv-desktop-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string home = folder;
  EXPECT_TRUE(registration_needed(read_installed_registration(home), kProgram));

  DesktopFiles files{"", "<mime-info/>", "<svg/>"};
  ASSERT_TRUE(user_desktop_entry("[Desktop Entry]\nExec=kurvaline %f\n", kProgram, files.entry));
  ASSERT_TRUE(install_desktop_files(home, files));
  EXPECT_FALSE(registration_needed(read_installed_registration(home), kProgram));
  EXPECT_TRUE(registration_needed(read_installed_registration(home), "/elsewhere/kurvaline"));
  std::filesystem::remove(home + "/" + kIconFile);
  EXPECT_TRUE(registration_needed(read_installed_registration(home), kProgram));
  std::filesystem::remove_all(home);
}

TEST(DesktopRegistration, DataHomeNeedsAnAbsoluteFolder) {
  EXPECT_EQ(data_home_path("/x/share", "/home/u"), "/x/share");
  EXPECT_EQ(data_home_path("share", "/home/u/"), "/home/u/.local/share");
  EXPECT_EQ(data_home_path(nullptr, "home"), "");
}

}  // namespace
}  // namespace kv

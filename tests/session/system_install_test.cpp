#include "session/system_install.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace kv {
namespace {

namespace fs = std::filesystem;

TEST(SystemInstall, OnlyProgramsInTheBinFolderOfUsrOrUsrLocalHaveASystemEntry) {
  const struct {
    const char* program;
    const char* entry;
  } cases[] = {
      {"/usr/bin/kurvaline", "/usr/share/applications/kurvaline.desktop"},
      {"/usr/local/bin/kurvaline", "/usr/local/share/applications/kurvaline.desktop"},
      {"/usr/bin/kurvaline-test", "/usr/share/applications/kurvaline.desktop"},
      {"/usr/bin/", ""},                   // no file name
      {"/usr/bin/sub/kurvaline", ""},      // a subfolder of bin
      {"/usr/lib/kurvaline/kurvaline", ""},
      {"/usr/local/share/bin/kurvaline", ""},
      {"/opt/kurvaline/bin/kurvaline", ""},
      {"/home/u/src/build/rel/src/app/kurvaline", ""},
      {"/home/u/usr/bin/kurvaline", ""},   // /usr not at the start
      {"usr/bin/kurvaline", ""},           // relative
      {"/usrx/bin/kurvaline", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(system_desktop_entry_path(c.program), c.entry) << c.program;
}

TEST(SystemInstall, InstalledWhenTheEntryOfItsOwnPrefixIsARegularFile) {
  const fs::path root = fs::temp_directory_path() / ("kv_system_install_" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "usr/share/applications");
  fs::create_directories(root / "usr/local/share/applications/kurvaline.desktop");  // a folder
  const std::string r = root.string();
  EXPECT_FALSE(installed_for_all_users("/usr/bin/kurvaline", r));
  std::ofstream(root / "usr/share/applications/kurvaline.desktop") << "[Desktop Entry]\n";
  EXPECT_TRUE(installed_for_all_users("/usr/bin/kurvaline", r));
  EXPECT_FALSE(installed_for_all_users("/usr/local/bin/kurvaline", r));  // its entry is a folder
  EXPECT_FALSE(installed_for_all_users("/opt/kurvaline/bin/kurvaline", r));
  fs::remove_all(root / "usr/local/share/applications/kurvaline.desktop");
  fs::create_symlink(root / "usr/share/applications/kurvaline.desktop",
                     root / "usr/local/share/applications/kurvaline.desktop");
  EXPECT_TRUE(installed_for_all_users("/usr/local/bin/kurvaline", r));  // a link to a file
  fs::remove_all(root);
}

}  // namespace
}  // namespace kv

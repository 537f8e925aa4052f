#include "platform/desktop_integration.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "session/desktop_registration.h"

namespace kv {
namespace {

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(DesktopIntegration, RegistersOncePerProgramFileFromTheBuiltInTexts) {
  QTemporaryDir dir;
  DesktopTarget target{dir.path().toStdString(), "/opt/kurvaline/kurvaline", false};
  ASSERT_TRUE(register_with_desktop(target));
  EXPECT_FALSE(register_with_desktop(target));
  target.program_path = "/home/u/kurvaline";
  EXPECT_TRUE(register_with_desktop(target));

  std::string mime, icon;
  ASSERT_TRUE(desktop_resource("kurvaline-mime.xml", mime));
  ASSERT_TRUE(desktop_resource("kurvaline.svg", icon));
  EXPECT_EQ(file_text(target.data_home + "/" + kMimePackageFile), mime);
  EXPECT_EQ(file_text(target.data_home + "/" + kIconFile), icon);
  EXPECT_NE(mime.find("<glob pattern=\"*.kvl\"/>"), std::string::npos);
  const std::string entry = file_text(target.data_home + "/" + kDesktopEntryFile);
  EXPECT_NE(entry.find("\nExec=\"/home/u/kurvaline\" %f\n"), std::string::npos);
  EXPECT_NE(entry.find("\nMimeType=application/x-kurvaline;\n"), std::string::npos);
  EXPECT_TRUE(QSvgRenderer(QByteArray::fromStdString(icon)).isValid());
}

TEST(DesktopIntegration, TheCopyInstalledForAllUsersRegistersNothing) {
  QTemporaryDir data, root;
  DesktopTarget target{data.path().toStdString(), "/usr/bin/kurvaline", false,
                       root.path().toStdString()};
  const std::string system_entry = target.system_root + "/usr/share/applications/kurvaline.desktop";
  ASSERT_TRUE(QDir().mkpath(root.path() + QStringLiteral("/usr/share/applications")));
  std::ofstream(system_entry) << "[Desktop Entry]\n";
  EXPECT_FALSE(register_with_desktop(target));
  EXPECT_TRUE(QDir(data.path()).isEmpty());
  // The same program file without the entry beside it, as a copy unpacked by
  // hand, still registers for the user.
  std::remove(system_entry.c_str());
  EXPECT_TRUE(register_with_desktop(target));
}

TEST(DesktopIntegration, NoDataFolderRegistersNothing) {
  EXPECT_FALSE(register_with_desktop(DesktopTarget{"", "/opt/kurvaline/kurvaline", false}));
}

}  // namespace
}  // namespace kv

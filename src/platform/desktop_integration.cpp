// Registration with the desktop; see the header.
#include "platform/desktop_integration.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cstdlib>

#include "session/desktop_registration.h"
#include "session/system_install.h"

namespace kv {
namespace {

void run_detached_if_present(const char* tool, const std::string& folder) {
  const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
  if (program.isEmpty()) return;
  QProcess process;
  process.setProgram(program);
  process.setArguments({QFile::decodeName(QByteArray::fromStdString(folder))});
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.startDetached();
}

}  // namespace

DesktopTarget user_desktop_target() {
  DesktopTarget target;
  target.data_home = data_home_path(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  target.program_path = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
  return target;
}

bool desktop_resource(const char* name, std::string& text) {
  QFile file(QStringLiteral(":/desktop/") + QString::fromLatin1(name));
  if (!file.open(QIODevice::ReadOnly)) return false;
  text = file.readAll().toStdString();
  return true;
}

bool register_with_desktop(const DesktopTarget& target) {
  if (target.data_home.empty() || target.program_path.empty()) return false;
  if (installed_for_all_users(target.program_path, target.system_root)) return false;
  if (!registration_needed(read_installed_registration(target.data_home), target.program_path))
    return false;
  std::string entry_template;
  DesktopFiles files;
  if (!desktop_resource("kurvaline.desktop", entry_template) ||
      !desktop_resource("kurvaline-mime.xml", files.mime_package) ||
      !desktop_resource("kurvaline.svg", files.icon) ||
      !user_desktop_entry(entry_template, target.program_path, files.entry) ||
      !install_desktop_files(target.data_home, files))
    return false;
  if (target.run_update_tools) {
    run_detached_if_present("update-mime-database", target.data_home + "/mime");
    run_detached_if_present("update-desktop-database", target.data_home + "/applications");
  }
  return true;
}

}  // namespace kv

// The desktop program: the main window on the toolkit's event loop.
//
// Start-up order: the font set starts loading on a thread of its own
// (platform/font_warmup.h), and with the toolkit the session bus on another
// (platform/session_bus_warmup.h); the command line's document path;
// OneInstance, read on its own first, decides whether a running instance
// takes the path over and this start ends; the state of a fresh start, the
// main window (it loads the settings and checks the panels), the
// registration with the desktop (which, when it ran, gives the window its
// default size), the first show with a freshly computed graph; then the
// document of the command line is opened from the event loop. Closing the
// window asks to save, asks about the other instances and saves the
// settings.
//
// KURVALINE_QUIT_AFTER_PAINT=1 makes the program quit as soon as the first
// graph is on the screen, without saving the settings and before the work
// that waits for the first graph: the start-up benchmark measures that.
//
// KURVALINE_PRINT_TO_PDF=FILE makes "&Drucken" print to that PDF file
// without the print dialog (the background question on coloured schemes is
// still asked): the end-to-end test checks the printout that way.
#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <memory>

#include "app/cli.h"
#include "app/cli_texts.h"
#include "platform/desktop_integration.h"
#include "platform/font_warmup.h"
#include "platform/instance_guard.h"
#include "platform/session_bus_warmup.h"
#include "platform/toolbar_icons.h"
#include "session/command_line.h"
#include "session/commands.h"
#include "session/shell_state.h"
#include "shell/instance_wiring.h"
#include "shell/main_window.h"
#include "shell/print_clipboard.h"
#include "shell/settings_file.h"
#include "shell/shell_styles.h"

namespace kv {

namespace {

// Without any display the toolkit would abort with its own English message.
bool display_available() {
  return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The program speaks German whatever the user's language, so the toolkit's
// own texts (file and print dialogs, the edit fields' context menus) do too.
// Without the translation files they stay in English; nothing else changes.
void load_german_toolkit_texts(QApplication& app, QTranslator& translator) {
  if (translator.load(QStringLiteral("qtbase_de"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    app.installTranslator(&translator);
  }
}

// The icon's pictures, painted in the sizes the window system asks for,
// wait until the first graph is on the screen.
void set_after_first_paint(MainWindow& window) {
  const bool quit_after_paint = qEnvironmentVariableIntValue("KURVALINE_QUIT_AFTER_PAINT") != 0;
  window.set_after_paint_hook([quit_after_paint, icon_set = false]() mutable {
    // The benchmark's measure ends with the first graph; what waits for it
    // (the icon) is not part of the start. Both as zero timers, the icon
    // would run before the loop ends.
    if (quit_after_paint) {
      QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
      return;
    }
    if (!icon_set) QTimer::singleShot(0, [] { QApplication::setWindowIcon(program_icon()); });
    icon_set = true;
  });
}

}  // namespace

int run_desktop(int argc, char** argv) {
  if (!display_available()) {
    std::fputs(kNoDisplay, stderr);
    return 1;
  }
  FontWarmup fonts;
  // The menu bar stays in the window: the layout counts it there, and
  // asking the session bus for a desktop-wide one (and trying to start a
  // bus where none runs) took most of the window's construction.
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
  QApplication app(argc, argv);
  const SessionBusWarmup bus;
  const FontWarmup::ListReading font_list = fonts.read_font_list();
  QApplication::setStyle(new ProgramStyle);
  QApplication::setApplicationName(QStringLiteral("Kurvaline"));
  QApplication::setApplicationDisplayName(QString());
  QTranslator toolkit_texts;
  load_german_toolkit_texts(app, toolkit_texts);

  std::string path;
  document_path_from_args(argc, argv, path);
  SettingsAccess settings = settings_file_access();
  // A file that cannot be read counts as OneInstance off.
  UserPrefs early;
  const bool one_instance = settings.load_one_instance(early) && early.one_instance;
  // Declared before the window: its handlers reach the window until the
  // event loop has ended.
  InstanceGuard guard(InstanceGuard::user_folder());
  if (guard.start(one_instance, path)) return 0;

  auto state = std::make_unique<ShellState>();
  make_start_state(*state);
  fonts.wait_for_configuration();
  // A settings file that cannot be read whole gives what it can and the
  // defaults for the rest; saving then leaves it as it is.
  MainWindow window(*state, std::move(settings));
  connect_instances(guard, window);
  set_after_first_paint(window);
  const QString print_file = qEnvironmentVariable("KURVALINE_PRINT_TO_PDF");
  if (!print_file.isEmpty()) window.print_clipboard().set_print_file(print_file);
  window.first_show(register_with_desktop(user_desktop_target()));
  if (!path.empty()) {
    QTimer::singleShot(0, &window, [&window, path] { window.execute(Command::Open, path); });
  }
  return QApplication::exec();
}

}  // namespace kv

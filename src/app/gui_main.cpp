// The desktop program: the main window on the toolkit's event loop.
//
// Start-up order: the command line's document path, the state of a fresh
// start, the main window (it loads the settings and checks the panels), the
// first show with a freshly computed graph, the event loop. Closing the
// window saves the settings.
//
// KURVALINE_QUIT_AFTER_PAINT=1 makes the program quit as soon as the first
// graph is on the screen, without saving the settings: the start-up
// benchmark measures that.
//
// KURVALINE_PRINT_TO_PDF=FILE makes "&Drucken" print to that PDF file
// without the print dialog (the background question on coloured schemes is
// still asked): the end-to-end test checks the printout that way.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/cli.h"
#include "platform/message_boxes.h"
#include "platform/toolbar_icons.h"
#include "session/command_line.h"
#include "session/shell_state.h"
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

constexpr const char* kLoadFailed = "Initializing user-specifiable values failed";

}  // namespace

int run_desktop(int argc, char** argv) {
  if (!display_available()) {
    std::fputs("kurvaline: keine grafische Anzeige gefunden (DISPLAY ist nicht gesetzt); "
               "die Befehlszeile beschreibt --help\n",
               stderr);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setStyle(new ProgramStyle);
  QApplication::setApplicationName(QStringLiteral("Kurvaline"));
  QApplication::setApplicationDisplayName(QString());
  QTranslator toolkit_texts;
  load_german_toolkit_texts(app, toolkit_texts);

  // A document named on the command line is taken and kept; opening it
  // comes with the document files.
  auto state = std::make_unique<ShellState>();
  make_start_state(*state);
  std::string path;
  if (document_path_from_args(argc, argv, path)) state->document_path = path;

  MainWindow window(*state, settings_file_access());
  if (!window.settings_loaded()) {
    // Nothing is saved: the file that could not be read stays as it is.
    show_error_box(nullptr, kLoadFailed);
    return 1;
  }
  if (qEnvironmentVariableIntValue("KURVALINE_QUIT_AFTER_PAINT") != 0) {
    window.set_after_paint_hook([] { QTimer::singleShot(0, [] { QCoreApplication::exit(0); }); });
  }
  const QString print_file = qEnvironmentVariable("KURVALINE_PRINT_TO_PDF");
  if (!print_file.isEmpty()) window.print_clipboard().set_print_file(print_file);
  window.first_show();
  // The icon's pictures, painted in the sizes the window system asks for,
  // can wait until the first graph is on the screen.
  QTimer::singleShot(0, &window, [] { QApplication::setWindowIcon(program_icon()); });
  return QApplication::exec();
}

}  // namespace kv

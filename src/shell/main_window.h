// The main window: menu bar, context menu, the two vertical toolbars, the
// status bar and the graph. It is the window side of ShellHost; every action,
// key and toolbar button ends as a command id that goes through run_command,
// and the states of menu items and buttons come from command_state.
//
// Start-up: make_start_state, then construct the window (it loads the
// settings and checks the drawing panels), then first_show. Closing saves the
// settings.
#pragma once

#include <QMainWindow>
#include <QMargins>
#include <QPointer>
#include <functional>
#include <memory>
#include <span>
#include <unordered_map>

#include "dialogs/formula_dialog_runner.h"
#include "session/shell_host.h"
#include "session/shell_state.h"
#include "shell/settings_access.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;

namespace kv {

class Calculators;
class DocumentActions;
class GraphWidget;
class HelpWindow;
class PointerController;
class PrintClipboard;
struct MenuItem;

class MainWindow final : public QMainWindow, public ShellHost {
  Q_OBJECT

 public:
  MainWindow(ShellState& state, SettingsAccess settings, QWidget* parent = nullptr);
  ~MainWindow() override;

  // False when the settings file could not be read whole; the window then
  // runs with what could be read and the defaults for the rest.
  bool settings_loaded() const { return settings_loaded_; }

  // Switches to the stored surface, places the window (saved rectangle
  // clipped to the screen, or a 624 x 520 plot centred; always the latter
  // after a desktop registration), shows it, sets the ready flag and paints
  // the graph with fresh curves.
  void first_show(bool registered = false);

  // Runs one command as a menu item would, then updates the actions.
  void execute(Command id);
  // Command 4000 with a document path: opens it without a file dialog.
  void execute(Command id, const std::string& path);

  // Closing: after the save question, `check` decides whether the window may
  // close (the question about the other instances).
  void set_close_check(std::function<bool()> check);
  // Another instance asked this one to end: the save question still guards a
  // modified document (Cancel keeps the window), then the window closes
  // without saving the settings.
  void close_for_other_instance();
  DocumentActions& documents() { return *documents_; }

  QAction* action(Command id) const;
  QMenu* context_popup() const { return context_menu_; }
  QToolBar* left_toolbar() const { return left_bar_; }
  QToolBar* right_toolbar() const { return right_bar_; }
  GraphWidget* graph() const { return graph_; }
  Calculators& calculators() const { return *calculators_; }
  PrintClipboard& print_clipboard() const { return *print_clipboard_; }
  HelpWindow* help_window() const;
  // Sets every action's enabled, checked and text state from command_state.
  void update_actions();
  // Called after each painted graph of the ready window.
  void set_after_paint_hook(std::function<void()> hook);

  // ShellHost
  void repaint_now() override;
  WindowMetrics window_metrics() override;
  void show_toolbars(bool shown) override;
  void show_status_bar(bool shown) override;
  void set_toolbar_check(Command id, bool checked) override;
  void set_title(const std::string& title) override;
  void set_status_text(const std::string& text) override;
  void error_box(const std::string& text) override;
  MessageResult message_box(const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon, bool* alert) override;
  void enter_full_screen() override;
  void leave_full_screen(const DialogRect& window) override;
  void restore_from_maximised() override;
  void set_window_rect(const DialogRect& window) override;
  void close_window() override;
  void bring_to_foreground() override;
  void post_command(Command id) override;
  bool run_formula_dialog(int panel) override;
  void focus_formula_dialog() override;
  void hide_value_tooltip() override;
  void refresh_value_tooltip() override;
  bool run_window_command(Command id, const std::string& path) override;
  bool load_one_instance(UserPrefs& prefs) override;
  bool save_one_instance(const UserPrefs& prefs) override;
  bool reset_settings(ShellState& state) override;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private slots:
  void on_action_triggered();

 private:
  void createActions();
  void createMenus();
  void createToolBars();
  void createStatusBar();
  void readSettings();
  bool writeSettings();

  QMenu* build_menu(QMenu* menu, std::span<const MenuItem> items);
  QToolBar* build_toolbar(const char* name, int width, Qt::ToolBarArea area, bool left);
  int menu_bar_height() const;
  QPoint graph_client_offset() const;
  // The window manager's frame around the client area, as last seen while
  // the window was neither maximised nor in full screen; none before the
  // window is framed, and none without a window manager.
  QMargins frame_margins();
  void remember_window_rect();
  void place_once_framed();
  void correct_start_position();
  QWidget* box_owner();

  ShellState& state_;
  SettingsAccess settings_;
  FormulaDialogRunner formula_dialogs_;
  bool settings_loaded_ = false;
  std::unordered_map<Command, QAction*> actions_;
  QMenu* context_menu_ = nullptr;
  QToolBar* left_bar_ = nullptr;
  QToolBar* right_bar_ = nullptr;
  QLabel* status_label_ = nullptr;
  GraphWidget* graph_ = nullptr;
  PointerController* pointer_ = nullptr;  // a child of graph_
  std::unique_ptr<Calculators> calculators_;
  std::unique_ptr<DocumentActions> documents_;
  std::function<bool()> close_check_;
  bool closing_for_other_ = false;
  std::unique_ptr<PrintClipboard> print_clipboard_;
  QPointer<HelpWindow> help_window_;
  QMargins normal_frame_;
  bool restoring_ = false;  // just restored from maximised: the frame is not yet the normal one
  // The start placement waits for the frame: the saved rectangle and the
  // centring both mean the window with its frame.
  struct StartPlacement {
    bool pending = false;
    bool registered = false;
    DialogRect saved_pos;
    bool placed = false;  // placed with the frame; the position may still need a shift
    DialogRect target;
    int corrections = 0;
  } start_;
};

}  // namespace kv

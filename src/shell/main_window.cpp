// The main window: construction, start-up, and the window side of ShellHost.
// Actions, menus and bars are built in main_window_actions.cpp.
#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include "dialogs/about_box.h"
#include "dialogs/calc_window.h"
#include "dialogs/common_dialog.h"
#include "dialogs/help_window.h"
#include "platform/message_boxes.h"
#include "platform/qt_boundary.h"
#include "platform/window_frame.h"
#include "session/command_handlers.h"
#include "session/commands.h"
#include "session/layout.h"
#include "session/refresh.h"
#include "shell/document_actions.h"
#include "shell/graph_widget.h"
#include "shell/pointer_controller.h"
#include "shell/print_clipboard.h"
#include "shell/window_texts.h"

namespace kv {

namespace {

// How long the start placement waits for a window manager's frame.
constexpr int kFrameWaitMs = 2000;
constexpr int kFrameLookMs = 20;
constexpr int kMaxPlaceCorrections = 3;
constexpr int kLooksPerCorrection = 10;

}  // namespace

MainWindow::MainWindow(ShellState& state, SettingsAccess settings, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      settings_(std::move(settings)),
      formula_dialogs_(this, state, *this) {
  setWindowTitle(ui_text(kCaption));
  CalculatorHooks calculator_hooks;
  calculator_hooks.toggle_quick_reference = [this](QWidget* dialog) {
    // Enter and the horizontal gestures over the quick reference act on the
    // calculator or discussion window it belongs to, while that is open.
    QPointer<QWidget> owner(dialog);
    toggle_quick_reference(dialog, state_, [owner](int command) {
      if (auto* calculator = qobject_cast<CommonDialog*>(owner.data())) {
        calculator->run_control(command);
      }
    });
  };
  calculators_ = std::make_unique<Calculators>(state_, *this, std::move(calculator_hooks));
  print_clipboard_ = std::make_unique<PrintClipboard>(state_, this);
  graph_ = new GraphWidget(
      state_, *this, [this] { return graph_client_offset(); }, this);
  setCentralWidget(graph_);
  PointerHooks hooks;
  hooks.context_menu = [this](QPoint at) { context_menu_->popup(at); };
  hooks.view_changed = [this] { update_actions(); };
  pointer_ = new PointerController(
      state_, *this, graph_, [this] { return graph_client_offset(); }, std::move(hooks));
  createActions();
  createMenus();
  createToolBars();
  createStatusBar();
  readSettings();
  documents_ = std::make_unique<DocumentActions>(
      state_, *this, this, [this] { return graph_->shown_picture(); },
      [this](const std::string& path) { execute(Command::Open, path); });
  setAcceptDrops(true);
  update_actions();
  graph_->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::readSettings() {
  settings_loaded_ = settings_.load_all && settings_.load_all(state_);
  check_drawing_panels(state_);
  left_bar_->setVisible(state_.prefs.toolbar);
  right_bar_->setVisible(state_.prefs.toolbar);
  statusBar()->setVisible(state_.prefs.statusbar);
  status_label_->setText(QString::fromStdString(state_.status_text));
  update_actions();
}

bool MainWindow::writeSettings() { return settings_.save_all && settings_.save_all(state_); }

void MainWindow::first_show(bool registered) {
  switch_surface(state_, *this, state_.surface(), true);
  start_ = StartPlacement{};
  start_.pending = true;
  start_.registered = registered;
  start_.saved_pos = state_.prefs.pos;
  // With the frame known now, the first placement is the last one.
  if (const std::optional<QMargins> frame = frame_before_show(*this)) normal_frame_ = *frame;
  set_window_rect(start_placement(state_, window_metrics(), registered));
  show();
  // The frame comes without an event of its own (the corner stays, the
  // client area moves inside); look for it a while. Without a window
  // manager none comes, and the placement stands as it is.
  auto* wait = new QTimer(this);
  wait->setInterval(kFrameLookMs);
  connect(wait, &QTimer::timeout, this, [this, wait, looks = 0]() mutable {
    if (isVisible() && !isMaximized() && !isFullScreen()) frame_margins();
    if (start_.pending) {
      place_once_framed();
    } else if (looks % kLooksPerCorrection == 0) {
      correct_start_position();  // the manager has had time to answer the last request
    }
    if (++looks * kFrameLookMs >= kFrameWaitMs) {
      start_.pending = start_.placed = false;
      wait->deleteLater();
    }
  });
  wait->start();
  state_.ready = true;
  // Lay out with the shown window's real geometry before the first picture.
  relayout(state_, *this);
  refresh_view(state_, *this, REFRESH_RECOMPUTE);
  update_actions();
  bring_to_foreground();
}

void MainWindow::set_after_paint_hook(std::function<void()> hook) {
  graph_->set_after_paint_hook(std::move(hook));
}

void MainWindow::execute(Command id) {
  run_command(state_, *this, id);
  update_actions();
}

void MainWindow::execute(Command id, const std::string& path) {
  CommandParam param;
  param.path = path;
  run_command(state_, *this, id, param);
  update_actions();
}

void MainWindow::on_action_triggered() {
  if (auto* a = qobject_cast<QAction*>(sender())) execute(static_cast<Command>(a->data().toInt()));
}

// ---- geometry -------------------------------------------------------------

int MainWindow::menu_bar_height() const {
  // Before the first show the menu bar is not laid out yet; ask it what it
  // will take at the window's width.
  if (state_.full_screen || menuBar()->isHidden()) return 0;
  return std::max(menuBar()->heightForWidth(width()), menuBar()->sizeHint().height());
}

QPoint MainWindow::graph_client_offset() const {
  return graph_->mapTo(this, QPoint(0, 0)) - QPoint(0, menu_bar_height());
}

WindowMetrics MainWindow::window_metrics() {
  WindowMetrics m;
  const int menu = menu_bar_height();
  m.client = Rect{0, 0, width(), std::max(0, height() - menu)};
  m.status_bar_height = statusBar()->sizeHint().height();
  // The frame of the normal state: a maximised window may have lost its
  // borders, and one just restored gets them back only later.
  const QMargins frame = frame_margins();
  m.frame_width = frame.left() + frame.right();
  m.frame_height = frame.top() + frame.bottom() + menu;
  m.window = to_dialog_rect(geometry().marginsAdded(frame));
  const QScreen* s = screen();
  if (s != nullptr) {
    const QRect avail = s->availableGeometry();
    m.screen =
        Rect{avail.left(), avail.top(), avail.left() + avail.width(), avail.top() + avail.height()};
  }
  m.maximised = isMaximized();
  m.minimised = isMinimized();
  return m;
}

void MainWindow::set_window_rect(const DialogRect& window) {
  // The rectangle includes the frame; the toolkit places the client area,
  // which lies inside the frame (all of it while no frame is known).
  const QMargins frame = frame_margins();
  setGeometry(window.left + frame.left(), window.top + frame.top(),
              std::max(1, window.right - window.left - frame.left() - frame.right()),
              std::max(1, window.bottom - window.top - frame.top() - frame.bottom()));
}

QMargins MainWindow::frame_margins() {
  if (isVisible() && !isMinimized() && !isMaximized() && !isFullScreen() && !state_.full_screen &&
      !restoring_) {
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (!frame.isNull()) normal_frame_ = frame;
  }
  return normal_frame_;
}

void MainWindow::remember_window_rect() {
  if (!isVisible() || isMinimized() || isMaximized() || isFullScreen() || state_.full_screen)
    return;
  frame_margins();
  place_once_framed();
  state_.prefs.pos = to_dialog_rect(frameGeometry());
}

// Placed before the frame existed, the window would come out larger by the
// frame on every start.
void MainWindow::place_once_framed() {
  if (!start_.pending || normal_frame_.isNull()) return;
  start_.pending = false;
  state_.prefs.pos = start_.saved_pos;
  start_.target = start_placement(state_, window_metrics(), start_.registered);
  start_.placed = true;
  set_window_rect(start_.target);
}

// A request the manager answered before it had framed the window may be
// lost: the placement is asked again, a few times at most, until the window
// is where and as large as it should be (as far as the toolkit sees it).
void MainWindow::correct_start_position() {
  if (!start_.placed || start_.corrections >= kMaxPlaceCorrections || !isVisible() ||
      isMaximized() || isFullScreen()) {
    return;
  }
  const QMargins frame = frame_margins();
  const QSize inside(start_.target.right - start_.target.left - frame.left() - frame.right(),
                     start_.target.bottom - start_.target.top - frame.top() - frame.bottom());
  const QPoint off = QPoint(start_.target.left, start_.target.top) - frameGeometry().topLeft();
  if (off.isNull() && size() == inside) return;
  ++start_.corrections;
  setGeometry(QRect(geometry().topLeft() + off, inside));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  relayout(state_, *this);
  remember_window_rect();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  remember_window_rect();
}

// ---- ShellHost --------------------------------------------------------------

void MainWindow::repaint_now() { graph_->repaint(); }

void MainWindow::show_toolbars(bool shown) {
  left_bar_->setVisible(shown);
  right_bar_->setVisible(shown);
  // The graph must move now, before the refresh that follows paints it.
  if (layout() != nullptr) layout()->activate();
}

void MainWindow::show_status_bar(bool shown) {
  statusBar()->setVisible(shown);
  if (layout() != nullptr) layout()->activate();
}

void MainWindow::set_toolbar_check(Command id, bool checked) {
  if (QAction* a = action(id)) a->setChecked(checked);
}

void MainWindow::set_title(const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
}

void MainWindow::set_status_text(const std::string& text) {
  status_label_->setText(QString::fromStdString(text));
}

// A box asked for while a dialog runs belongs to that dialog: it opens over
// it, and the dialog is made active again afterwards, which without a window
// manager nobody else does (its buttons' Alt keys would be dead).
QWidget* MainWindow::box_owner() {
  QWidget* modal = QApplication::activeModalWidget();
  return modal != nullptr ? modal : this;
}

void MainWindow::error_box(const std::string& text) {
  QWidget* owner = box_owner();
  show_error_box(owner, text);
  if (owner != this) owner->activateWindow();
}

MessageResult MainWindow::message_box(const std::string& text, const std::string& caption,
                                      MessageButtons buttons, MessageIcon icon, bool* alert) {
  QWidget* owner = box_owner();
  const MessageResult answer = show_message_box(owner, text, caption, buttons, icon, alert);
  if (owner != this) owner->activateWindow();
  return answer;
}

void MainWindow::enter_full_screen() {
  menuBar()->hide();
  showFullScreen();
  // Without a window manager nobody acts on the full-screen request.
  if (const QScreen* s = screen()) setGeometry(s->geometry());
  if (layout() != nullptr) layout()->activate();
}

void MainWindow::leave_full_screen(const DialogRect& window) {
  showNormal();
  menuBar()->show();
  set_window_rect(window);
  if (layout() != nullptr) layout()->activate();
}

void MainWindow::restore_from_maximised() {
  const QMargins frame = frame_margins();
  restoring_ = true;
  QTimer::singleShot(kFrameWaitMs / 4, this, [this] { restoring_ = false; });
  showNormal();
  // The whole window, frame included, fills the screen's free area.
  if (const QScreen* s = screen()) setGeometry(s->availableGeometry() - frame);
}

void MainWindow::close_window() { QTimer::singleShot(0, this, &QWidget::close); }

void MainWindow::bring_to_foreground() {
  raise();
  activateWindow();
}

void MainWindow::post_command(Command id) {
  QTimer::singleShot(0, this, [this, id] { execute(id); });
}

void MainWindow::hide_value_tooltip() { pointer_->hide_tooltip(); }
void MainWindow::refresh_value_tooltip() { pointer_->refresh_tooltip(); }

bool MainWindow::run_formula_dialog(int panel) { return formula_dialogs_.run(panel); }
void MainWindow::focus_formula_dialog() { formula_dialogs_.focus(); }

HelpWindow* MainWindow::help_window() const { return help_window_.data(); }

bool MainWindow::run_window_command(Command id, const std::string& path) {
  if (DocumentActions::handles(id)) return documents_->run(id, path);
  switch (id) {
    case Command::ValueTable: calculators_->show_table(this); return true;
    case Command::SingleValue: calculators_->show_value(this); return true;
    case Command::Discussion: calculators_->show_discussion(this); return true;
    case Command::Print: print_clipboard_->print(); return true;
    case Command::CopyBitmap: print_clipboard_->copy_bitmap(graph_->shown_picture()); return true;
    case Command::CopySvg: print_clipboard_->copy_vector(); return true;
    case Command::Help:
      open_full_help(
          help_window_, this, state_,
          [this](int command) { execute(static_cast<Command>(command)); },
          [this](QWidget* owner) { return print_clipboard_->choose_printer(owner); });
      return true;
    case Command::About: show_about_box(this, state_); return true;
    default: return false;
  }
}

bool MainWindow::load_one_instance(UserPrefs& prefs) {
  return settings_.load_one_instance && settings_.load_one_instance(prefs);
}

bool MainWindow::save_one_instance(const UserPrefs& prefs) {
  return settings_.save_one_instance && settings_.save_one_instance(prefs);
}

bool MainWindow::reset_settings(ShellState& state) {
  return settings_.reset && settings_.reset(state);
}

// ---- events -----------------------------------------------------------------

bool MainWindow::event(QEvent* event) {
  // Menu items carry no status tips; the toolkit would blank the status text
  // whenever the mouse crosses one.
  if (event->type() == QEvent::StatusTip) return true;
  return QMainWindow::event(event);
}

void MainWindow::set_close_check(std::function<bool()> check) { close_check_ = std::move(check); }

void MainWindow::close_for_other_instance() {
  end_modal_dialogs();
  QTimer::singleShot(0, this, [this] {
    closing_for_other_ = true;
    close();
    closing_for_other_ = false;  // still open: the user kept the document
  });
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
  // Alt and drag moves the window from the bars as from the graph.
  if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::AltModifier) != 0 &&
      state_.mouse_mode != MouseMode::Gesture && windowHandle() != nullptr) {
    windowHandle()->startSystemMove();
    event->accept();
    return;
  }
  QMainWindow::mousePressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (documents_->ask_to_save_all() == MessageResult::Cancel) {
    event->ignore();
    return;
  }
  // An instance closed by another one neither asks about the others nor
  // saves its settings: the one that asked saves its own.
  if (!closing_for_other_) {
    if (close_check_ && !close_check_()) {
      event->ignore();
      return;
    }
    if (!writeSettings()) error_box(window_text::kSettingsNotSaved);
  }
  event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!dropped_file(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const std::string path = dropped_file(event->mimeData());
  if (path.empty()) return;
  event->acceptProposedAction();
  // Opened from the event loop: the save question must not run inside the
  // drop, while the program the file came from waits for its end.
  QTimer::singleShot(0, this, [this, path] { execute(Command::Open, path); });
}

}  // namespace kv

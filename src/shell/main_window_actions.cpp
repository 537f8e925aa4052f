// The main window's actions, menus, toolbars, status bar and keys, all built
// from the command tables: one QAction per command id, shared by the menu
// bar, the context menu and the toolbars.
#include <QAction>
#include <QActionGroup>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "platform/qt_boundary.h"
#include "platform/swatch_icon.h"
#include "platform/toolbar_icons.h"
#include "session/command_handlers.h"
#include "session/commands.h"
#include "shell/graph_widget.h"
#include "shell/main_window.h"
#include "shell/pointer_controller.h"
#include "shell/shell_styles.h"
#include "shell/window_texts.h"

namespace kv {

namespace {

// A key of the command tables ("Ctrl+F", "Return", "1") as the toolkit writes it.
QKeySequence key_sequence(const std::string& key) {
  return QKeySequence::fromString(QString::fromStdString(key), QKeySequence::PortableText);
}

// A window key of the tables against a key press: "+" and "-" by the
// character typed (any key that types it, the keypad's too), the others by
// the key without modifiers.
bool key_matches(const std::string& key, const QKeyEvent& event) {
  if (key.size() == 1 && !QChar::fromLatin1(key[0]).isLetterOrNumber()) {
    return event.text() == QString::fromStdString(key);
  }
  const Qt::KeyboardModifiers mods =
      event.modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
  const QKeySequence seq = key_sequence(key);
  return !seq.isEmpty() && mods == Qt::NoModifier && seq[0].key() == event.key() &&
         seq[0].keyboardModifiers() == Qt::NoModifier;
}

constexpr const char* kCommandProperty = "kvCommand";

}  // namespace

QAction* MainWindow::action(Command id) const {
  const auto it = actions_.find(id);
  return it != actions_.end() ? it->second : nullptr;
}

void MainWindow::createActions() {
  std::unordered_map<RadioGroup, QActionGroup*> groups;
  for (const CommandInfo& info : command_table()) {
    auto* a = new QAction(this);
    a->setData(command_number(info.id));
    // Buttons without menu item still get a name, for accessibility.
    a->setText(ui_text(info.menu_text != nullptr ? info.menu_text : info.tooltip));
    if (info.picture != 0) a->setIcon(toolbar_icon(info.picture));
    const int palette = palette_of(info.id);
    if (palette >= 0) a->setIcon(swatch_icon(palette));
    a->setIconVisibleInMenu(palette >= 0);
    a->setCheckable(command_state(state_, info.id).checkable);
    if (info.group != RadioGroup::None) {
      QActionGroup*& g = groups[info.group];
      if (g == nullptr) g = new QActionGroup(this);
      g->setExclusive(true);
      g->addAction(a);
    }
    connect(a, &QAction::triggered, this, &MainWindow::on_action_triggered);
    actions_.emplace(info.id, a);
  }
  std::unordered_map<Command, QList<QKeySequence>> keys;
  for (const KeyBinding& k : key_bindings()) {
    if (k.kind == KeyKind::Accelerator) keys[k.id].append(key_sequence(k.key));
  }
  // Return on the keypad is the same key to the user.
  keys[Command::OpenCurrentDialog].append(QKeySequence(Qt::Key_Enter));
  for (auto& [id, list] : keys) {
    if (QAction* a = action(id)) a->setShortcuts(list);
  }
  // Shortcuts work while the menu bar is hidden (full screen) only when the
  // actions belong to the window itself too.
  for (const auto& [id, a] : actions_) addAction(a);
}

QMenu* MainWindow::build_menu(QMenu* menu, std::span<const MenuItem> items) {
  for (const MenuItem& item : items) {
    switch (item.kind) {
      case MenuItemKind::Separator: menu->addSeparator(); break;
      case MenuItemKind::Command: menu->addAction(action(item.id)); break;
      case MenuItemKind::Popup: {
        QMenu* sub = build_menu(menu->addMenu(ui_text(item.text)), item.items);
        if (!item.items.empty() && item.items.front().owner_drawn) {
          auto* style = new SwatchMenuStyle;
          style->setParent(sub);
          sub->setStyle(style);
        }
        connect(sub, &QMenu::aboutToShow, this, &MainWindow::update_actions);
        break;
      }
    }
  }
  return menu;
}

void MainWindow::createMenus() {
  auto opening = [this] {
    before_menu_opens(state_, *this);
    update_actions();
  };
  for (const MenuItem& top : menu_bar()) {
    QMenu* menu = build_menu(menuBar()->addMenu(ui_text(top.text)), top.items);
    connect(menu, &QMenu::aboutToShow, this, opening);
  }
  context_menu_ = build_menu(new QMenu(this), context_menu());
  connect(context_menu_, &QMenu::aboutToShow, this, opening);
}

QToolBar* MainWindow::build_toolbar(const char* name, int width, Qt::ToolBarArea area, bool left) {
  auto* bar = new QToolBar(QString::fromLatin1(name), this);
  bar->setObjectName(QString::fromLatin1(name));
  auto* style = new ToolbarStyle;
  style->setParent(bar);
  bar->setStyle(style);
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setOrientation(Qt::Vertical);
  bar->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  bar->setFixedWidth(width);
  // The toolbars belong to the window; no menu to hide them by hand.
  bar->toggleViewAction()->setVisible(false);
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  for (const Command id : left ? kv::left_toolbar() : kv::right_toolbar()) {
    if (id == Command::None) {
      bar->addSeparator();
      continue;
    }
    QAction* a = action(id);
    bar->addAction(a);
    QWidget* button = bar->widgetForAction(a);
    button->setProperty(kCommandProperty, command_number(id));
    button->installEventFilter(this);
    button->setFocusPolicy(Qt::NoFocus);
  }
  addToolBar(area, bar);
  return bar;
}

void MainWindow::createToolBars() {
  left_bar_ =
      build_toolbar(window_text::kLeftToolbar, kToolbarLeftWidth, Qt::LeftToolBarArea, true);
  right_bar_ =
      build_toolbar(window_text::kRightToolbar, kToolbarRightWidth, Qt::RightToolBarArea, false);
}

void MainWindow::createStatusBar() {
  status_label_ = new QLabel(this);
  status_label_->setTextFormat(Qt::PlainText);
  statusBar()->addWidget(status_label_, 1);
  statusBar()->setSizeGripEnabled(true);
}

void MainWindow::update_actions() {
  for (const auto& [id, a] : actions_) {
    const CommandState s = command_state(state_, id);
    a->setEnabled(s.enabled);
    if (a->isCheckable() && a->isChecked() != s.checked) a->setChecked(s.checked);
    if (!s.text.empty()) {
      const QString text = QString::fromStdString(s.text);
      if (a->text() != text) a->setText(text);
    }
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // A toolbar button never holds the keyboard, but the menu bar may (after
  // Alt alone, or a menu closed with Escape): a click on a button gives the
  // keys back to the graph, so that the arrows scroll again.
  if (event->type() == QEvent::MouseButtonPress && watched->property(kCommandProperty).isValid() &&
      !graph_->hasFocus()) {
    graph_->setFocus(Qt::MouseFocusReason);
  }
  // Toolbar tooltips come from the command table, and only while Tooltips
  // is on; the toolkit would fall back to the action's text otherwise.
  if (event->type() == QEvent::ToolTip) {
    const QVariant id = watched->property(kCommandProperty);
    if (id.isValid()) {
      const char* text = toolbar_tooltip(state_, static_cast<Command>(id.toInt()));
      auto* help = static_cast<QHelpEvent*>(event);
      if (text != nullptr) {
        QToolTip::showText(help->globalPos(), ui_text(text), qobject_cast<QWidget*>(watched));
      } else {
        QToolTip::hideText();
        event->ignore();
      }
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Esc ends a zoom rectangle or a gesture also when the graph lacks the focus.
  if (pointer_->key_press(event)) {
    event->accept();
    return;
  }
  for (const KeyBinding& k : key_bindings()) {
    if (k.kind == KeyKind::WindowKey && key_matches(k.key, *event)) {
      execute(k.id);
      event->accept();
      return;
    }
  }
  QMainWindow::keyPressEvent(event);
}

}  // namespace kv

// The main window as only widgets show it: the menus against the command
// tables, keys reaching their commands (also with the menu bar hidden),
// toolbar check states and tooltips, the room the bars take beside the
// graph, and the confirmation box with its check box.
#include "shell/main_window.h"

#include <ctime>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QScrollBar>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStatusBar>
#include <QStyleOptionToolBar>
#include <QToolBar>
#include <QToolTip>
#include <QtTest>

#include "dialogs/calc_page.h"
#include "dialogs/calc_window.h"
#include "dialogs/formula_dialog.h"
#include "dialogs/help_window.h"
#include "graph/recompute.h"
#include "platform/message_boxes.h"
#include "session/dialog_controls.h"
#include "session/commands.h"
#include "session/refresh.h"
#include "session/shell_state.h"
#include "shell/graph_widget.h"
#include "shell/settings_file.h"
#include "shell/shell_styles.h"

namespace kv {

namespace {

// Compares a built menu with its table, item by item, and says where they part.
QString menu_difference(const QList<QAction*>& actions, std::span<const MenuItem> items,
                        const QString& where) {
  if (actions.size() != static_cast<qsizetype>(items.size())) {
    return where + QStringLiteral(": %1 items, table %2").arg(actions.size()).arg(items.size());
  }
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    QAction* a = actions[static_cast<qsizetype>(i)];
    const QString here = where + QStringLiteral("/%1").arg(i);
    switch (item.kind) {
      case MenuItemKind::Separator:
        if (!a->isSeparator()) return here + QStringLiteral(": not a separator");
        break;
      case MenuItemKind::Command:
        if (a->data().toInt() != command_number(item.id))
          return here + QStringLiteral(": id %1").arg(a->data().toInt());
        break;
      case MenuItemKind::Popup: {
        if (a->menu() == nullptr || a->text() != QString::fromUtf8(item.text)) {
          return here + QStringLiteral(": popup ") + a->text();
        }
        const QString inner = menu_difference(a->menu()->actions(), item.items, here);
        if (!inner.isEmpty()) return inner;
        break;
      }
    }
  }
  return QString();
}

QAbstractButton* button_of(MainWindow& w, Command id) {
  for (QToolBar* bar : {w.left_toolbar(), w.right_toolbar()}) {
    if (auto* b = qobject_cast<QAbstractButton*>(bar->widgetForAction(w.action(id)))) return b;
  }
  return nullptr;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ShellState> state_;
  std::unique_ptr<MainWindow> window_;

  MainWindow& start(SettingsAccess settings = settings_without_file()) {
    state_ = std::make_unique<ShellState>();
    make_start_state(*state_);
    window_ = std::make_unique<MainWindow>(*state_, std::move(settings));
    window_->first_show();
    window_->activateWindow();
    [[maybe_unused]] bool active = QTest::qWaitForWindowActive(window_.get());
    return *window_;
  }

 private slots:
  void cleanup() {
    window_.reset();
    state_.reset();
  }

  // A hard equation never holds the event loop: the first picture comes after
  // one short piece, the refinement runs in pieces between events until the
  // pixels are final, and a new formula cancels it.
  void hard_equations_refine_between_events() {
    MainWindow& w = start();
    QTRY_VERIFY(state_->layout.plot.width > 400);
    PanelRecord& panel = state_->current();
    // Zoomed out, the hyperbolas of sin(x*y)=0.5 crowd into undecided squares.
    panel.source = "sin(x^2+y^2)=cos(x*y);sin(x*y)=0.5";
    panel.range[kXMin].value = panel.range[kYMin].value = -40;
    panel.range[kXMax].value = panel.range[kYMax].value = 40;
    // Time this thread spent computing, not waiting for the busy machine.
    auto cpu_ms = [] {
      timespec t{};
      clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
      return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    };
#ifdef NDEBUG
    constexpr double kSlower = 1;
#else
    // Unoptimised and sanitized builds run the same pieces several times slower.
    constexpr double kSlower = 10;
#endif
    const double start_ms = cpu_ms();
    QVERIFY(refresh_view(*state_, w, REFRESH_COMPILE | REFRESH_RECOMPUTE));
    QVERIFY(cpu_ms() - start_ms < 150 * kSlower);
    QVERIFY(implicit_pending(panel, state_->current_plot()));
    // The longest stretch between two timer ticks while it refines.
    double longest = 0, last = cpu_ms();
    int ticks = 0;
    QTimer tick;
    tick.setInterval(1);
    connect(&tick, &QTimer::timeout, [&] {
      longest = std::max(longest, cpu_ms() - last);
      ++ticks;
      last = cpu_ms();
    });
    tick.start();
    QTRY_VERIFY_WITH_TIMEOUT(!implicit_pending(panel, state_->current_plot()), 30000);
    tick.stop();
    qInfo("longest stretch %.1f ms of CPU time, %d ticks", longest, ticks);
    QVERIFY(longest < 50 * kSlower);
    QVERIFY(ticks > 3);
    const PanelPlot& plot = state_->current_plot();
    QVERIFY(plot.formulas.at(0).pixels.complete);
    QCOMPARE(plot.pixel_scale, qRound(w.graph()->devicePixelRatioF()));

    panel.source = "sin(x^2+y^2)=cos(x*y)";
    QVERIFY(refresh_view(*state_, w, REFRESH_COMPILE | REFRESH_RECOMPUTE));
    panel.source = "x^2+y^2=9";  // before the refinement of the first is done
    QVERIFY(refresh_view(*state_, w, REFRESH_COMPILE | REFRESH_RECOMPUTE));
    QTRY_VERIFY(!implicit_pending(panel, state_->current_plot()));
    QCOMPARE(state_->current_plot().formulas.size(), size_t{1});
    QVERIFY(state_->current_plot().formulas[0].pixels.complete);
  }

  void menus_follow_the_command_tables() {
    MainWindow& w = start();
    QCOMPARE(menu_difference(w.menuBar()->actions(), menu_bar(), QStringLiteral("bar")), QString());
    QCOMPARE(
        menu_difference(w.context_popup()->actions(), context_menu(), QStringLiteral("context")),
        QString());
    // Texts as the table has them, with the shortcut after the tab.
    QCOMPARE(w.action(Command::Grid)->text(), QString::fromUtf8("&Gitterlinien\tStrg+G"));
    QCOMPARE(w.action(Command::Undo)->text(), QString::fromUtf8("&Rückgängig: \tStrg+Z"));
    QVERIFY(!w.action(Command::Undo)->isEnabled());
  }

  // The shortcuts are made from the command table's keys, F2 beside Return
  // included, so a key changed there changes the window's key.
  void every_accelerator_of_the_table_is_its_actions_shortcut() {
    MainWindow& w = start();
    int accelerators = 0;
    for (const KeyBinding& k : key_bindings()) {
      if (k.kind != KeyKind::Accelerator) continue;
      ++accelerators;
      const QKeySequence seq =
          QKeySequence::fromString(QString::fromStdString(k.key), QKeySequence::PortableText);
      QVERIFY2(w.action(k.id)->shortcuts().contains(seq), k.key.c_str());
    }
    QCOMPARE(accelerators, 24);
    QVERIFY(w.action(Command::OpenCurrentDialog)->shortcuts().contains(QKeySequence(Qt::Key_F2)));
  }

  void keys_reach_their_commands_also_in_full_screen() {
    MainWindow& w = start();
    PanelRecord& panel = state_->current();
    QCOMPARE(panel.option(kOptGrid), 1);
    QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);  // both off
    QCOMPARE(panel.option(kOptGrid), 0);
    QCOMPARE(panel.option(kOptSubGrid), 0);
    QTest::keyClick(&w, Qt::Key_2);
    QCOMPARE(panel.option(kOptLineWidth), 2);

    QTest::keyClick(&w, Qt::Key_F11);
    QVERIFY(state_->full_screen);
    QVERIFY(w.menuBar()->isHidden());
    QVERIFY(w.left_toolbar()->isHidden());
    QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);  // both on, menu bar hidden
    QCOMPARE(panel.option(kOptGrid), 1);
    QTest::keyClick(&w, Qt::Key_F11);
    QVERIFY(!state_->full_screen);
    QVERIFY(!w.menuBar()->isHidden());
    QVERIFY(!w.left_toolbar()->isHidden());
  }

  void toolbar_checks_follow_the_surface() {
    MainWindow& w = start();
    PanelRecord& integral = state_->panels[kPanelIntegral];
    integral.options[kOptGrid] = 0;
    integral.options[kOptSubGrid] = 1;
    integral.options[kOptEqualScales] = 0;
    switch_surface(*state_, w, kPanelIntegral, true);
    QVERIFY(!button_of(w, Command::Grid)->isChecked());
    QVERIFY(button_of(w, Command::SubGrid)->isChecked());
    QVERIFY(!button_of(w, Command::EqualScales)->isChecked());
    switch_surface(*state_, w, kPanelFunction, true);
    QVERIFY(button_of(w, Command::Grid)->isChecked());
    QVERIFY(!button_of(w, Command::SubGrid)->isChecked());
  }

  void toolbar_tooltips_only_while_on() {
    MainWindow& w = start();
    QAbstractButton* grid = button_of(w, Command::Grid);
    const QPoint at = grid->rect().center();
    state_->prefs.tooltips = false;
    QHelpEvent off(QEvent::ToolTip, at, grid->mapToGlobal(at));
    QCoreApplication::sendEvent(grid, &off);
    QVERIFY(!QToolTip::isVisible());
    state_->prefs.tooltips = true;
    QHelpEvent on(QEvent::ToolTip, at, grid->mapToGlobal(at));
    QCoreApplication::sendEvent(grid, &on);
    QCOMPARE(QToolTip::text(), QStringLiteral("Gitterlinien"));
    QToolTip::hideText();
  }

  void bars_take_their_room_beside_the_graph() {
    MainWindow& w = start();
    QCOMPARE(state_->plot_width, 624);
    QCOMPARE(state_->plot_height, 520);
    const QRect g = w.graph()->geometry();
    QCOMPARE(g.left(), 26);
    QCOMPARE(w.right_toolbar()->geometry().left(), g.right() + 1);
    QCOMPARE(w.right_toolbar()->width(), 25);
    QCOMPARE(w.statusBar()->geometry().top(), g.bottom() + 1);
    // The graph area starts at the widget's corner and reaches past its far edges.
    const Rect& area = state_->layout.client;
    const QRect gc = g.translated(0, -w.menuBar()->height());  // in client coordinates
    QCOMPARE(QPoint(area.left, area.top), gc.topLeft());
    QVERIFY(area.right >= gc.right() + 1 && area.bottom >= gc.bottom() + 1);

    w.execute(Command::Toolbar);
    QCOMPARE(w.graph()->geometry().left(), 0);
    QCOMPARE(state_->layout.client.left, 0);
    QCOMPARE(state_->layout.plot.width, 624 + 52);
    w.execute(Command::Statusbar);
    QCOMPARE(w.graph()->geometry().bottom() + 1, w.height());
  }

  // Drawn straight onto the window (no double buffering, or the first paint)
  // the graph starts at the client area's corner as in its picture, also
  // with the toolbar to its left.
  void the_graph_looks_the_same_drawn_straight_onto_the_window() {
    MainWindow& w = start();
    QVERIFY(w.graph()->geometry().left() > 0);
    const QImage buffered = w.graph()->grab().toImage();
    w.execute(Command::DoubleBuffering);
    QVERIFY(!state_->double_buffering);
    QCOMPARE(w.graph()->grab().toImage(), buffered);
  }

  void toolbar_background_in_bands_matches_one_fill() {
    MainWindow& w = start();
    QToolBar* bar = w.left_toolbar();
    auto* style = qobject_cast<QProxyStyle*>(bar->style());
    QVERIFY(style != nullptr);
    QStyleOptionToolBar option;
    option.initFrom(bar);
    option.state &= ~QStyle::State_Horizontal;
    // Many bands and a short last one; painted away from the corner, then
    // copied to another place.
    for (int top : {7, 0}) {
      option.rect = QRect(0, top, 26, 1000);
      QImage banded(26, 1010, QImage::Format_RGB32), whole(26, 1010, QImage::Format_RGB32);
      banded.fill(Qt::black);
      whole.fill(Qt::black);
      {
        QPainter p(&banded);
        style->drawControl(QStyle::CE_ToolBar, &option, &p, bar);
      }
      {
        QPainter p(&whole);
        style->baseStyle()->drawControl(QStyle::CE_ToolBar, &option, &p, bar);
      }
      QVERIFY(banded.pixel(13, top + 999) != qRgb(0, 0, 0));
      QCOMPARE(banded, whole);
    }
  }

  void overflow_arrows_fetched_later_look_the_same() {
    ProgramStyle program;
    ToolbarStyle toolbar;
    QStyleOption rtl;
    rtl.direction = Qt::RightToLeft;
    for (QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
      const QStyleOption* options[] = {nullptr, &rtl};
      for (const QStyleOption* option : options) {
        const QIcon direct = program.baseStyle()->standardIcon(which, option);
        const QProxyStyle* styles[] = {&program, &toolbar};
        for (const QProxyStyle* style : styles) {
          const QIcon deferred = style->standardIcon(which, option);
          QVERIFY(!deferred.isNull());
          QCOMPARE(deferred.availableSizes(), direct.availableSizes());
          for (qreal ratio : {1.0, 2.0}) {
            QCOMPARE(deferred.pixmap(QSize(16, 16), ratio).toImage(),
                     direct.pixmap(QSize(16, 16), ratio).toImage());
          }
          QCOMPARE(deferred.actualSize(QSize(64, 64)), direct.actualSize(QSize(64, 64)));
        }
      }
    }
  }

  // The window closed in full screen: the file the next start reads keeps
  // the bars, the status bar and the window rectangle from before.
  void closing_in_full_screen_keeps_the_bars() {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("kurvaline.ini"));
    qputenv("KURVALINE_INI", ini.toLocal8Bit());
    MainWindow& w = start(settings_file_access());
    const QRect before = w.frameGeometry();
    w.execute(Command::FullScreen);
    QVERIFY(state_->full_screen);
    QVERIFY(w.close());
    qunsetenv("KURVALINE_INI");
    QFile file(ini);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(QStringLiteral("\nToolbar=1")));
    QVERIFY(text.contains(QStringLiteral("\nStatusbar=1")));
    const QString pos = QStringLiteral("\nPos=%1,%2,%3,%4")
                            .arg(before.left()).arg(before.top())
                            .arg(before.left() + before.width()).arg(before.top() + before.height());
    QVERIFY2(text.contains(pos), qPrintable(text.mid(text.indexOf(QStringLiteral("\nPos=")), 30)));
  }

  // The start hint names the "f(x)=" button: the function dialog's button
  // shows that text (the ink of the 3 x 5 letters), and the button of
  // "Funktionsterme einzeichnen" another picture.
  void function_dialog_button_shows_the_written_formula() {
    MainWindow& w = start();
    auto picture = [&w](Command id) { return w.action(id)->icon().pixmap(QSize(18, 18), 1.0).toImage(); };
    auto ink_in_top_rows = [](const QImage& image) {
      int n = 0;
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < image.width(); ++x)
          if (image.pixel(x, y) == qRgb(0x2b, 0x2b, 0x2b)) ++n;
      return n;
    };
    const QImage dialog = picture(Command::FunctionDialog);
    QVERIFY2(ink_in_top_rows(dialog) >= 20, qPrintable(QString::number(ink_in_top_rows(dialog))));
    QCOMPARE(ink_in_top_rows(picture(Command::FunctionExpressions)), 0);
  }

  // The formula dialog blocks only the main window: keys and clicks that
  // the window system delivers reach the calculator and the help window,
  // and the calculator's "&Graph hinzufügen" ends the dialog, which opens
  // again with the formula added.
  void formula_dialog_leaves_calculators_and_help_usable() {
    MainWindow& w = start();
    w.execute(Command::ValueTable);
    CalcWindow* calc = w.calculators().table_window();
    QVERIFY(QTest::qWaitForWindowExposed(calc));
    CalcPage* page = calc->current_page();
    auto* formula = qobject_cast<QComboBox*>(page->control(kCtlFormula));
    formula->setEditText(QString());
    Qt::WindowModality modality = Qt::ApplicationModal;
    int help_scrolled = -1;
    QString reopened;
    bool handed_over = false;
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (dialog == nullptr) return;
      modality = dialog->windowModality();
      for (char c : {'x', '+', '7'}) QTest::keyClick(calc->windowHandle(), c);
      w.execute(Command::Help);
      HelpWindow* help = w.help_window();
      if (help != nullptr) {
        QTest::keyClick(help->windowHandle(), Qt::Key_Down);
        help_scrolled = help->view()->verticalScrollBar()->value();
      }
      QWidget* to_graph = page->control(kCtlToGraph);
      QTest::mouseClick(calc->windowHandle(), Qt::LeftButton, {},
                        to_graph->mapTo(calc, to_graph->rect().center()));
      handed_over = true;
    });
    // The dialog opened again: read its formula and end it.
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
      auto* again = qobject_cast<FormulaDialog*>(QApplication::activeModalWidget());
      if (!handed_over || again == nullptr || !again->isVisible() || !reopened.isEmpty()) return;
      reopened = QString::fromStdString(again->texts().formula);
      again->reject();
    });
    watch.start(10);
    w.execute(Command::FunctionDialog);
    QTRY_VERIFY(!reopened.isEmpty());
    watch.stop();
    QCOMPARE(formula->currentText(), QStringLiteral("x+7"));
    QVERIFY(help_scrolled > 0);
    QVERIFY2(reopened.contains(QStringLiteral("\r\nx+7;")), qPrintable(reopened));
    QCOMPARE(modality, Qt::WindowModal);
  }

  void confirmation_tick_counts_with_cancel() {
    bool ask_again = true;
    bool tick_below_buttons = false;
    QStringList buttons;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      for (QAbstractButton* b : box->buttons()) buttons << b->text();
      QCOMPARE(box->checkBox()->text(), QStringLiteral("Nicht mehr nachfragen"));
      QAbstractButton* yes = box->button(QMessageBox::Yes);
      tick_below_buttons = box->checkBox()->y() >= yes->mapTo(box, QPoint(0, yes->height())).y();
      box->checkBox()->setChecked(true);
      box->button(QMessageBox::Cancel)->click();
    });
    const MessageResult r =
        show_message_box(nullptr, "Datei speichern?", kCaption, MessageButtons::YesNoCancel,
                         MessageIcon::Question, &ask_again);
    QCOMPARE(r, MessageResult::Cancel);
    QVERIFY(tick_below_buttons);
    QVERIFY(!ask_again);
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"&Ja", "&Nein", "Abbrechen"}));

    QTimer::singleShot(0, [] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      box->button(QMessageBox::Ok)->click();
    });
    QCOMPARE(show_message_box(nullptr, "?", kCaption, MessageButtons::OkCancel,
                              MessageIcon::Question, &ask_again),
             MessageResult::Ok);
    QVERIFY(ask_again);  // not ticked: ask again
  }

  void every_button_set_has_its_buttons_enter_and_escape() {
    struct Row {
      MessageButtons set;
      QStringList texts;  // sorted
      QMessageBox::StandardButton enter;
      MessageResult escape;
    } rows[] = {
        {MessageButtons::Ok, {"OK"}, QMessageBox::NoButton, MessageResult::Ok},
        {MessageButtons::OkCancel, {"Abbrechen", "OK"}, QMessageBox::Ok, MessageResult::Cancel},
        {MessageButtons::YesNo, {"&Ja", "&Nein"}, QMessageBox::Yes, MessageResult::No},
        {MessageButtons::YesNoCancel, {"&Ja", "&Nein", "Abbrechen"}, QMessageBox::Yes,
         MessageResult::Cancel},
    };
    for (const Row& row : rows) {
      QStringList texts;
      QMessageBox::StandardButton enter = QMessageBox::NoButton;
      QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        for (QAbstractButton* b : box->buttons()) texts << b->text();
        if (box->defaultButton() != nullptr) enter = box->standardButton(box->defaultButton());
        QTest::keyClick(box, Qt::Key_Escape);
      });
      QCOMPARE(show_message_box(nullptr, "?", kCaption, row.set, MessageIcon::Question, nullptr),
               row.escape);
      texts.sort();
      QCOMPARE(texts, row.texts);
      QCOMPARE(enter, row.enter);
    }
  }
};

}  // namespace kv

QTEST_MAIN(kv::MainWindowTest)
#include "main_window_test.moc"

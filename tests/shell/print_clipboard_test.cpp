// Printing, the clipboard, the about box and the help windows as the main
// window runs them: the background question only on coloured schemes, a
// failed printout reported, the picture on the clipboard also with double
// buffering off, the SVG beside its fallback image, the links of the about
// box, one full help whose text re-wraps only when the window gets wider,
// and the quick reference that toggles and confirms its dialog.
#include <QtTest>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include "dialogs/about_box.h"
#include "dialogs/help_window.h"
#include "platform/picture.h"
#include "session/commands.h"
#include "session/shell_state.h"
#include "shell/graph_widget.h"
#include "shell/main_window.h"
#include "shell/print_clipboard.h"

namespace kv {

namespace {

// Presses the button of the modal dialog that shows up next whose text is
// `button`, and records the dialog's name; nothing when no dialog comes.
void answer_next_dialog(const QString& button, QString* seen) {
  QTimer::singleShot(50, [button, seen] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    *seen = modal->objectName().isEmpty() ? modal->metaObject()->className() : modal->objectName();
    for (auto* b : modal->findChildren<QAbstractButton*>()) {
      if (b->text() == button) b->click();
    }
  });
}

}  // namespace

class PrintClipboardTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ShellState> state_;
  std::unique_ptr<MainWindow> window_;
  QTemporaryDir dir_;

  MainWindow& start() {
    state_ = std::make_unique<ShellState>();
    make_start_state(*state_);
    window_ = std::make_unique<MainWindow>(*state_, settings_without_file());
    window_->first_show();
    [[maybe_unused]] bool exposed = QTest::qWaitForWindowExposed(window_.get());
    return *window_;
  }

  void set_palette(int k) {
    window_->execute(palette_command(k));
    QCOMPARE(state_->current().options[kOptPalette], k);
  }

 private slots:
  void cleanup() {
    window_.reset();
    state_.reset();
  }

  void background_question_only_on_coloured_schemes() {
    MainWindow& w = start();
    const QString pdf = dir_.filePath(QStringLiteral("graph.pdf"));
    w.print_clipboard().set_print_file(pdf);

    QString seen;
    answer_next_dialog(QStringLiteral("Druckvorgang &abbrechen"), &seen);
    w.execute(Command::Print);
    QTest::qWait(100);  // the answer finds no question
    QCOMPARE(seen, QString());  // scheme 0: no question
    QVERIFY(QFile::exists(pdf));
    QFile::remove(pdf);

    set_palette(2);
    answer_next_dialog(QStringLiteral("Druckvorgang &abbrechen"), &seen);
    w.execute(Command::Print);
    QCOMPARE(seen, QStringLiteral("print_background_question"));
    QVERIFY(!QFile::exists(pdf));  // cancelled: nothing printed, nothing said

    seen.clear();
    answer_next_dialog(QStringLiteral("Hintergrund &nicht mitdrucken"), &seen);
    w.execute(Command::Print);
    QCOMPARE(seen, QStringLiteral("print_background_question"));
    QVERIFY(QFile::exists(pdf));
  }

  void a_failed_printout_says_so() {
    MainWindow& w = start();
    w.print_clipboard().set_print_file(dir_.filePath(QStringLiteral("missing/graph.pdf")));
    QString text;
    QTimer::singleShot(50, [&text] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        text = box->text();
        box->accept();
      }
    });
    w.execute(Command::Print);
    QCOMPARE(text, QStringLiteral("Fehler beim Drucken"));
  }

  void the_picture_goes_to_the_clipboard_even_without_double_buffering() {
    MainWindow& w = start();
    QGuiApplication::clipboard()->clear();
    // The first paint drew straight onto the window: the copy makes the
    // picture of what it showed.
    QTRY_VERIFY(w.graph()->picture().image().isNull() && state_->plot_width > 0);
    w.execute(Command::CopyBitmap);
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             paint_graph_image(state_->current(), state_->current_plot(),
                               state_->current_colours(), state_->layout));
    QGuiApplication::clipboard()->clear();
    w.execute(Command::DoubleBuffering);
    QVERIFY(!state_->double_buffering);
    QVERIFY(!w.graph()->picture().has_picture());
    w.execute(Command::CopyBitmap);
    QVERIFY(!state_->double_buffering);
    const QImage copied = QGuiApplication::clipboard()->image();
    const QImage shown = paint_graph_image(state_->current(), state_->current_plot(),
                                           state_->current_colours(), state_->layout);
    QVERIFY(!copied.isNull());
    QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), shown);

    // Without any picture nothing changes on the clipboard.
    QGuiApplication::clipboard()->setText(QStringLiteral("alt"));
    w.print_clipboard().copy_bitmap(QImage());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("alt"));
  }

  void the_vector_copy_carries_svg_and_an_image() {
    MainWindow& w = start();
    w.execute(Command::CopySvg);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data != nullptr);
    QVERIFY(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));
    QVERIFY(data->hasImage());
    const Rect& area = state_->layout.client;
    QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), QSize(area.width(), area.height()));
  }

  // The program has no home page or mail address: the box names none.
  void about_box_shows_name_and_version_and_no_links() {
    const auto state = std::make_unique<ShellState>();
    AboutBox box(nullptr, *state);
    auto* version = box.findChild<QLabel*>(QStringLiteral("1901"));
    QVERIFY(version != nullptr);
    QCOMPARE(version->text(), QStringLiteral("Version  0.94"));
    for (const QLabel* label : box.findChildren<QLabel*>()) {
      QVERIFY2(!label->text().contains(QLatin1Char('@')) && !label->text().contains(QStringLiteral(".org")),
               qPrintable(label->text()));
    }
  }

  void full_help_opens_once_rewraps_wider_and_closes_on_esc() {
    MainWindow& w = start();
    w.execute(Command::Help);
    HelpWindow* help = w.help_window();
    QVERIFY(help != nullptr);
    QCOMPARE(help->windowTitle(), QStringLiteral("Kurvaline Hilfe"));
    // Its print item reads and answers as the main window's does.
    const QList<QAction*> items = help->menuBar()->actions();
    QVERIFY(!items.isEmpty());
    QCOMPARE(items.front()->text(), QString::fromUtf8("&Drucken\tStrg+P"));
    QCOMPARE(items.front()->shortcuts(), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_P)});
    w.execute(Command::Help);
    QCOMPARE(w.help_window(), help);  // only focused

    HelpView* view = help->view();
    help->resize(900, 500);
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QTest::qWait(50);
    const int wide = view->viewport()->width();
    QVERIFY(wide > kFullHelpWidth);
    QCOMPARE(view->layout().canvas_width, wide);
    const int wide_height = view->layout().canvas_height;
    help->resize(300, 500);  // narrower: same wrapping, scrolled sideways
    QTest::qWait(50);
    QCOMPARE(view->layout().canvas_width, wide);
    QCOMPARE(view->layout().canvas_height, wide_height);
    QVERIFY(view->horizontalScrollBar()->maximum() > 0);
    QTest::keyClick(view, Qt::Key_End);
    QCOMPARE(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());

    QPointer<HelpWindow> alive = help;
    QTest::keyClick(view, Qt::Key_Escape);
    QTRY_VERIFY(alive.isNull());
  }

  void quick_reference_toggles_and_confirms_its_dialog() {
    const auto state = std::make_unique<ShellState>();
    QDialog dialog;
    dialog.setGeometry(100, 100, 400, 300);
    dialog.show();
    QList<int> commands;
    const auto run = [&commands](int id) { commands << id; };
    HelpWindow* quick = toggle_quick_reference(&dialog, *state, run);
    QVERIFY(quick != nullptr);
    QCOMPARE(quick->frameGeometry().top(), dialog.frameGeometry().bottom() + 1);
    QTest::keyClick(quick->view(), Qt::Key_Return);
    QCOMPARE(commands, QList<int>{1});
    QCOMPARE(toggle_quick_reference(&dialog, *state, run), nullptr);
    QVERIFY(!quick->isVisible());
    QVERIFY(toggle_quick_reference(&dialog, *state, run) != nullptr);  // and open again
  }
};

}  // namespace kv

QTEST_MAIN(kv::PrintClipboardTest)
#include "print_clipboard_test.moc"

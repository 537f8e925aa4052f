// The calculator windows as only widgets show them: the rows in the result
// box, the clipboard text with the locale's decimal comma, each error on its
// own field with the previous result kept, the hand-over to the drawing
// panels, gestures, placement and what closing keeps.
#include <QtTest>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTabWidget>
#include <functional>

#include "dialogs/calc_page.h"
#include "dialogs/calc_window.h"
#include "dialogs/discussion_window.h"
#include "expr/messages.h"
#include "fake_host.h"
#include "session/commands.h"
#include "session/dialog_controls.h"

namespace kv {

namespace {

QString message(int id) { return QString::fromUtf8(message_text(id)); }

// Runs action and answers the one message box it shows; returns its text.
QString box_text_of(const std::function<void()>& action) {
  QString text;
  QTimer::singleShot(0, [&text] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      text = box->text();
      box->accept();
    }
  });
  action();
  QCoreApplication::processEvents();
  return text;
}

}  // namespace

class CalcTest : public QObject {
  Q_OBJECT

 private:
  ShellState state_;
  std::unique_ptr<FakeHost> host_;
  std::unique_ptr<Calculators> calc_;

  CalcPage* table_page(int index) {
    calc_->show_table(nullptr);
    calc_->table_window()->tabs()->setCurrentIndex(index);
    return calc_->table_window()->page(index);
  }
  static QLineEdit* field(CalcPage* p, int id) { return qobject_cast<QLineEdit*>(p->control(id)); }
  static QComboBox* formula(CalcPage* p) { return qobject_cast<QComboBox*>(p->control(kCtlFormula)); }
  static QString rows(CalcPage* p) {
    return qobject_cast<QPlainTextEdit*>(p->control(kCtlResult))->toPlainText();
  }
  static void set_table(CalcPage* p, const char* f, const char* x0, const char* x1, const char* step) {
    formula(p)->setEditText(QString::fromUtf8(f));
    field(p, kCtlXMin)->setText(QString::fromUtf8(x0));
    field(p, range_control(kXMax))->setText(QString::fromUtf8(x1));
    field(p, kCtlXStep)->setText(QString::fromUtf8(step));
  }

 private slots:
  void init() {
    state_ = ShellState{};
    host_ = std::make_unique<FakeHost>(state_);
    start_ready(state_, *host_);
    calc_ = std::make_unique<Calculators>(state_, *host_);
    QLocale::setDefault(QLocale::c());
  }
  void cleanup() { calc_.reset(); }

  void tableRowsAreShownAndEnterCalculates() {
    CalcPage* p = table_page(0);
    QVERIFY(rows(p).isEmpty());  // a newly opened window shows no result
    set_table(p, "x^2", "0", "1", "0.3");
    QTest::keyClick(formula(p)->lineEdit(), Qt::Key_Return);
    QCOMPARE(qobject_cast<QPlainTextEdit*>(p->control(kCtlHeader))->toPlainText(),
             QStringLiteral("x\ty\ty'"));
    QCOMPARE(rows(p), QStringLiteral("0\t0\t0\n0.3\t0.09\t0.6\n0.6\t0.36\t1.2\n0.9\t0.81\t1.8\n1\t1\t2"));
    // The new formula heads the history.
    QCOMPARE(formula(p)->itemText(0), QStringLiteral("x^2"));
    // Polar: two columns, the plane point, the third column empty.
    set_table(p, "r(t)=2", "0", "pi/2", "pi/2");
    p->run(kCtlOk);
    QCOMPARE(qobject_cast<QPlainTextEdit*>(p->control(kCtlHeader))->toPlainText(),
             QStringLiteral("x\ty"));
    QCOMPARE(rows(p), QStringLiteral("2\t0\t\n0\t2\t"));
  }

  // Enter in a field after the focus has visited another button still
  // computes: "&Berechnen" stays the default button on every page.
  void enterComputesAfterTheFocusVisitedCopy() {
    for (int index : {0, 1}) {
      CalcPage* p = table_page(index);
      QVERIFY(QTest::qWaitForWindowActive(calc_->table_window()));
      set_table(p, "x", "0", "1", "0.5");
      if (index == 1) formula(p)->setEditText(QStringLiteral("y'=1"));
      QGuiApplication::clipboard()->setText(QStringLiteral("old"));
      p->control(kCtlCopy)->setFocus(Qt::TabFocusReason);
      QLineEdit* step = field(p, kCtlXStep);
      step->setFocus(Qt::BacktabFocusReason);
      QCOMPARE(QApplication::focusWidget(), step);
      QTest::keyClick(step, Qt::Key_Return);
      QVERIFY2(!rows(p).isEmpty(), "not computed");
      QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("old"));
    }
  }

  void clipboardUsesTheLocaleDecimalComma() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    CalcPage* p = table_page(0);
    QGuiApplication::clipboard()->setText(QStringLiteral("old"));
    p->run(kCtlCopy);  // nothing computed yet: nothing copied
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("old"));
    set_table(p, "0.5x", "0", "1", "1/2");
    p->run(kCtlOk);
    p->run(kCtlCopy);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("y=0.5x\r\n\r\nx\ty\ty'\r\n0\t0\t0,5\r\n0,5\t0,25\t0,5\r\n1\t0,5\t0,5\r\n"));
    // An equation: its start point as typed, in r for an equation in r.
    CalcPage* e = table_page(1);
    formula(e)->setEditText(QStringLiteral("r'=r"));
    field(e, kCtlStartX)->setText(QStringLiteral("0"));
    field(e, kCtlStartX + 1)->setText(QStringLiteral("1.5"));
    set_table(e, "r'=r", "0", "1", "1");
    e->run(kCtlOk);
    e->run(kCtlCopy);
    QVERIFY2(QGuiApplication::clipboard()->text().startsWith(
                 QStringLiteral("r'=r\r\n\r\nt0=0\r\nr(t0)=1.5\r\n\r\nx\ty\r\n")),
             qPrintable(QGuiApplication::clipboard()->text()));
  }

  void errorsGoToTheirFieldAndKeepTheResult() {
    CalcPage* p = table_page(0);
    set_table(p, "x", "0", "10000", "1");  // 10000 intervals: the largest table
    p->run(kCtlOk);
    QCOMPARE(rows(p).count(QLatin1Char('\n')), 10000);
    const QString before = rows(p);
    struct Case {
      const char *f, *x0, *x1, *step;
      int message, control;
    };
    const Case cases[] = {
        {"x", "0", "10000", "0.99", kMsgTableTooLong, kCtlXStep},
        {"x", "0", "1", "0", kMsgXStep, kCtlXStep},  // not the too-long message
        {"x", "1", "1", "1", kMsgXRange, kCtlXMin},
        {"x", "0", "1", "\xe2\x82\xac\xe2\x80\x94", kMsgInvalidExpression, kCtlXStep},  // no Windows-1252
        {"x;x^2", "0", "1", "1", kMsgSeveralFunctions, kCtlFormula},
        {"x+", "0", "1", "1", kMsgInvalidExpression, kCtlFormula},
    };
    for (const Case& c : cases) {
      set_table(p, c.f, c.x0, c.x1, c.step);
      const QString text = box_text_of([p] { p->run(kCtlOk); });
      QVERIFY2(!text.isEmpty(), c.f);
      if (c.message != kMsgInvalidExpression || c.control != kCtlFormula) QCOMPARE(text, message(c.message));
      QCOMPARE(p->window()->focusWidget() == p->control(c.control) ||
                   (c.control == kCtlFormula && p->window()->focusWidget() == formula(p)->lineEdit()),
               true);
      QCOMPARE(rows(p), before);
    }
    // The field at fault has its whole text selected.
    set_table(p, "x", "0", "1", "0");
    box_text_of([p] { p->run(kCtlOk); });
    QCOMPARE(field(p, kCtlXStep)->selectedText(), QStringLiteral("0"));
  }

  void handOverToTheDrawingPanels() {
    state_.panels[kPanelFunction].source = "x^2;  ";
    calc_->show_value(nullptr);
    CalcPage* v = calc_->value_window()->page(0);
    formula(v)->setEditText(QStringLiteral("sin(x)"));
    v->run(kCtlToGraph);
    QCOMPARE(state_.panels[kPanelFunction].source, std::string("x^2;  \r\nsin(x);"));
    QCOMPARE(host_->posted, std::vector<Command>{Command::FunctionDialog});

    // A refused field stays on the page and the drawing panel keeps its own.
    CalcPage* e = table_page(1);
    const std::string old = state_.panels[kPanelDiffEqu].source;
    set_table(e, "y'=y", "2", "1", "1");
    QCOMPARE(box_text_of([e] { e->run(kCtlToGraph); }), message(kMsgXRange));
    QCOMPARE(state_.panels[kPanelDiffEqu].source, old);
    set_table(e, "y'=y", "-1", "1", "1");
    e->run(kCtlToGraph);
    QCOMPARE(state_.panels[kPanelDiffEqu].source, std::string("y'=y"));
    QCOMPARE(state_.panels[kPanelDiffEqu].range[kXMin].value, -1.0);
    QCOMPARE(host_->posted.back(), Command::DiffEquDialog);
  }

  void gesturesRunTheirCommands() {
    calc_->show_value(nullptr);
    QPointer<CalcWindow> w = calc_->value_window();
    CalcPage* v = w->page(0);
    QWidget* box = v->control(kCtlResult);
    QWidget* viewport = qobject_cast<QPlainTextEdit*>(box)->viewport();
    const QPoint mid = viewport->rect().center();
    // Short: no gesture, nothing computed.
    QTest::mousePress(viewport, Qt::RightButton, {}, mid);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, mid + QPoint(3, 0));
    QCoreApplication::processEvents();
    QVERIFY(rows(v).isEmpty());
    // Right: "&Berechnen" (x*cos(x) at 7.2).
    QTest::mousePress(viewport, Qt::RightButton, {}, mid);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, mid + QPoint(40, 2));
    QCoreApplication::processEvents();
    QVERIFY(rows(v).startsWith(QStringLiteral("7.2\t4.3")));
    // Left: "&Schließen".
    QTest::mousePress(field(v, kCtlXMin), Qt::RightButton, {}, QPoint(60, 5));
    QTest::mouseRelease(field(v, kCtlXMin), Qt::RightButton, {}, QPoint(10, 8));
    QCoreApplication::processEvents();
    QTRY_VERIFY(w.isNull());
  }

  // The curve discussion window: start fields from the function panel, the
  // table, a selected row on the graph, errors on their fields, copying.
  void discussionWindowMarksTheSelectedPoint() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    state_.panels[kPanelFunction].source = "x^2-1;r(t)=3";
    calc_->show_discussion(nullptr);
    DiscussionWindow* w = calc_->discussion_window();
    QVERIFY(w != nullptr);
    auto* formula = qobject_cast<QLineEdit*>(w->control(kCtlFormula));
    QCOMPARE(formula->text(), QStringLiteral("x^2-1"));
    bool named = false;
    for (QLabel* l : w->findChildren<QLabel*>()) named |= l->text() == QStringLiteral("Nicht diskutiert (keine Funktion von x): r(t)=3");
    QVERIFY(named);
    qobject_cast<QLineEdit*>(w->control(kCtlXMin))->setText(QStringLiteral("-2"));
    qobject_cast<QLineEdit*>(w->control(range_control(kXMax)))->setText(QStringLiteral("2"));
    w->run_control(kCtlOk);
    QTableWidget* table = w->table();
    int minimum = -1;
    for (int r = 0; r < table->rowCount(); ++r) {
      if (table->item(r, 0)->text() == QStringLiteral("Tiefpunkt")) minimum = r;
    }
    QVERIFY(minimum >= 0);
    const int repaints = host_->repaints;
    table->setCurrentCell(minimum, 1);
    QVERIFY(state_.selected_point.has_value());
    QCOMPARE(state_.selected_point->y, -1.0);
    QVERIFY(host_->repaints > repaints);

    w->run_control(kCtlCopy);
    QVERIFY2(QGuiApplication::clipboard()->text().contains(QStringLiteral("Tiefpunkt\t0\t-1\tbewiesen\r\n")),
             qPrintable(QGuiApplication::clipboard()->text()));
    // A refused range keeps the table.
    const int rows = table->rowCount();
    qobject_cast<QLineEdit*>(w->control(kCtlXMin))->setText(QStringLiteral("3"));
    QCOMPARE(box_text_of([w] { w->run_control(kCtlOk); }), message(kMsgXRange));
    QCOMPARE(table->rowCount(), rows);
    // Closing, by the button or by Esc, takes the mark away.
    table->setCurrentCell(minimum, 0);
    QVERIFY(state_.selected_point.has_value());
    QTest::keyClick(table, Qt::Key_Escape);
    QVERIFY(!state_.selected_point.has_value());
  }

  void placementPageAndPanelSurviveClosing() {
    QWidget owner;
    owner.move(150, 40);
    owner.resize(200, 200);
    owner.show();
    calc_->show_table(&owner);
    CalcWindow* w = calc_->table_window();
    QCOMPARE(w->pos(), owner.pos() + QPoint(-80, 0));
    CalcPage* e = w->page(1);
    state_.panels[kPanelTableDiffEqu].option_flag = 1;
    w->tabs()->setCurrentIndex(1);
    set_table(e, "y'=y", "0", "1", "0.5");
    e->run(kCtlOk);
    QVERIFY(state_.panels[kPanelTableDiffEqu].count() == 1);
    formula(e)->setEditText(QStringLiteral("typed, not calculated"));
    w->move(owner.pos() + QPoint(30, 60));
    w->close();
    QTRY_VERIFY(calc_->table_window() == nullptr);
    const PanelRecord& panel = state_.panels[kPanelTableDiffEqu];
    QCOMPARE(panel.source, std::string("y'=y"));
    QCOMPARE(panel.count(), 0);  // compiled formulas are freed
    QCOMPARE(panel.dialog_values[kXStep].text, std::string("0.5"));

    calc_->show_table(&owner);
    w = calc_->table_window();
    QCOMPARE(w->pos(), owner.pos() + QPoint(30, 60));
    QCOMPARE(w->tabs()->currentIndex(), 1);
    QVERIFY(!qobject_cast<QCheckBox*>(w->page(1)->control(kCtlOption))->isChecked());
    QCOMPARE(formula(w->page(1))->currentText(), QStringLiteral("y'=y"));
    QVERIFY(rows(w->page(1)).isEmpty());
    // Opening again brings the same window.
    calc_->show_table(&owner);
    QCOMPARE(calc_->table_window(), w);
  }

  // The discussion window keeps its place through the same window base, and
  // its gestures run its commands.
  void discussionPlacementAndGestures() {
    QWidget owner;
    owner.move(150, 40);
    owner.resize(200, 200);
    owner.show();
    calc_->show_discussion(&owner);
    QPointer<DiscussionWindow> w = calc_->discussion_window();
    QCOMPARE(w->pos(), owner.pos() + QPoint(-80, 0));
    w->move(owner.pos() + QPoint(-100, 70));
    QWidget* x_min = w->control(kCtlXMin);
    QTest::mousePress(x_min, Qt::RightButton, {}, QPoint(60, 5));
    QTest::mouseRelease(x_min, Qt::RightButton, {}, QPoint(10, 8));
    QCoreApplication::processEvents();
    QTRY_VERIFY(w.isNull());
    calc_->show_discussion(&owner);
    QCOMPARE(calc_->discussion_window()->pos(), owner.pos() + QPoint(-100, 70));
  }

  // F1 in a field of every calculator asks the main window for its help.
  void f1AsksForTheHelpInEveryCalculator() {
    calc_->show_table(nullptr);
    calc_->show_value(nullptr);
    calc_->show_discussion(nullptr);
    QWidget* fields[] = {formula(table_page(1)), field(calc_->value_window()->page(0), kCtlXMin),
                         calc_->discussion_window()->control(range_control(kXMax))};
    for (QWidget* f : fields) {
      f->window()->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(f->window()));
      QTest::keyClick(f, Qt::Key_F1);
    }
    QCOMPARE(host_->posted, std::vector<Command>(3, Command::Help));
  }
};

}  // namespace kv

QTEST_MAIN(kv::CalcTest)
#include "calc_window_test.moc"

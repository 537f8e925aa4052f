// The formula dialogs as only widgets show them: texts between controls and
// panel, the deferred error display with the faulty field focused and
// selected, the start labels of an equation in r, the greyed quick
// reference, gestures over a control, and the remembered placement.
#include <QtTest>

#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QMimeData>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <numbers>

#include "dialogs/axis_title_dialog.h"
#include "dialogs/formula_dialog.h"
#include "dialogs/help_window.h"
#include "session/commands.h"
#include "expr/messages.h"
#include "fake_host.h"

namespace kv {

namespace {

// Records, with each message, which control had the focus and what of its
// text was selected at that moment.
class RecordingHost : public FakeHost {
 public:
  using FakeHost::FakeHost;
  void error_box(const std::string& text) override {
    FakeHost::error_box(text);
    QWidget* w = QApplication::focusWidget();
    focused_id = w ? w->property(kControlIdProperty).toInt() : 0;
    auto* edit = qobject_cast<QLineEdit*>(w);
    selected = edit ? edit->selectedText() : QString();
  }
  int focused_id = 0;
  QString selected;
};

template <typename W>
W* ctl(FormulaDialog& d, int id) {
  return qobject_cast<W*>(d.control(id));
}

}  // namespace

class FormulaDialogTest : public QObject {
  Q_OBJECT

  std::unique_ptr<ShellState> state_;
  std::unique_ptr<RecordingHost> host_;
  std::unique_ptr<QWidget> owner_;

  std::unique_ptr<FormulaDialog> open(int panel) {
    auto d = std::make_unique<FormulaDialog>(owner_.get(), *state_, *host_, panel);
    d->show();
    [[maybe_unused]] bool shown = QTest::qWaitForWindowExposed(d.get());
    return d;
  }

 private slots:
  void init() {
    state_ = std::make_unique<ShellState>();
    host_ = std::make_unique<RecordingHost>(*state_);
    start_ready(*state_, *host_);
    owner_ = std::make_unique<QWidget>();
    owner_->setGeometry(100, 100, 700, 500);
    owner_->show();
  }
  void cleanup() {
    owner_.reset();
    host_.reset();
    state_.reset();
  }

  void controls_of_each_dialog_and_enter() {
    struct Case {
      int panel;
      std::vector<int> present, absent;
    };
    const Case cases[] = {
        {kPanelFunction, {510, 514, 519, 512, 513, 1, 2, 507, 1011, 1012}, {505, 506, 520}},
        {kPanelIntegral, {510, 514, 517, 520, 505}, {518, 519, 521, 506}},
        {kPanelDiffEqu, {510, 518, 519, 520, 525, 526, 531, 505, 506}, {}},
    };
    for (const Case& c : cases) {
      auto d = open(c.panel);
      for (int id : c.present) QVERIFY2(d->control(id), qPrintable(QString::number(id)));
      for (int id : c.absent) QVERIFY2(!d->control(id), qPrintable(QString::number(id)));
      QVERIFY(d->control(kCtlHelp)->isEnabled());  // opens the quick reference
      QCOMPARE(d->minimumSize(), d->size());
    }
    auto igl = open(kPanelIntegral);
    QCOMPARE(ctl<QPushButton>(*igl, kCtlOk)->text(), QStringLiteral("&Integrieren"));
    // The one-line formula field makes only the width grow.
    QCOMPARE(igl->maximumHeight(), igl->minimumHeight());
    // Enter in the formula field commits, as anywhere else in the dialog.
    QTest::keyClick(ctl<QComboBox>(*igl, kCtlFormula)->lineEdit(), Qt::Key_Return);
    QCOMPARE(igl->result(), int(QDialog::Accepted));
  }

  // What is typed is the formula: the history does not complete a prefix.
  void typed_prefix_of_a_history_entry_stays_as_typed() {
    const struct {
      int panel;
      const char* entry;
      const char* typed;
    } cases[] = {{kPanelIntegral, "x^2+1", "x"}, {kPanelDiffEqu, "y'=x+y", "y'=x"}};
    for (const auto& c : cases) {
      state_->panels[static_cast<size_t>(c.panel)].history[0] = c.entry;
      auto d = open(c.panel);
      QLineEdit* edit = ctl<QComboBox>(*d, kCtlFormula)->lineEdit();
      edit->setFocus();
      edit->selectAll();
      QTest::keyClicks(edit, QString::fromUtf8(c.typed));
      QTest::keyClick(edit, Qt::Key_Return);
      QCOMPARE(d->result(), int(QDialog::Accepted));
      QCOMPARE(state_->panels[static_cast<size_t>(c.panel)].source, std::string(c.typed));
    }
  }

  // F1 asks the main window for its help: in the dialog, in its formula
  // field, in the axis titles and in the quick reference.
  void f1_opens_the_help_everywhere() {
    for (int panel : {kPanelFunction, kPanelIntegral, kPanelDiffEqu}) {
      host_->posted.clear();
      auto d = open(panel);
      QVERIFY(QTest::qWaitForWindowActive(d.get()));
      QTest::keyClick(d->control(kCtlFormula), Qt::Key_F1);
      QTest::keyClick(d->control(range_control(kXMin)), Qt::Key_F1);
      d->run_control(kCtlHelp);
      auto* quick = d->findChild<HelpWindow*>();
      QVERIFY(quick != nullptr);
      quick->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(quick));
      QTest::keyClick(quick->view(), Qt::Key_F1);
      QCOMPARE(host_->posted, (std::vector<Command>{Command::Help, Command::Help, Command::Help}));
    }
    host_->posted.clear();
    AxisTitleDialog titles(owner_.get(), *state_, *host_, state_->panels[kPanelFunction]);
    titles.show();
    QVERIFY(QTest::qWaitForWindowActive(&titles));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QCOMPARE(host_->posted, std::vector<Command>{Command::Help});
  }

  // Tab from the last range field reaches the checked angle unit; the
  // arrow keys then move to the other one and check it.
  void tab_into_the_angle_lands_on_the_checked_unit() {
    auto d = open(kPanelFunction);
    QVERIFY(QTest::qWaitForWindowActive(d.get()));
    auto* radians = ctl<QRadioButton>(*d, kCtlRadians);
    QVERIFY(radians->isChecked());
    d->control(range_control(kTMax))->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), radians);
    QTest::keyClick(radians, Qt::Key_Left);
    auto* degrees = ctl<QRadioButton>(*d, kCtlDegrees);
    QVERIFY(degrees->isChecked());
    d->control(range_control(kTMax))->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), degrees);
  }

  void texts_in_and_out() {
    auto d = open(kPanelFunction);
    // The panel's "\r\n" breaks show as lines and are stored as they were.
    auto* formula = ctl<QPlainTextEdit>(*d, kCtlFormula);
    QVERIFY(formula->toPlainText().startsWith(QStringLiteral("cos(pi*x) / (-LN2*x);\nr(t) = 3;")));
    formula->setPlainText(QString::fromUtf8("x^2;\nx°"));
    ctl<QLineEdit>(*d, range_control(kXMin))->setText(QStringLiteral(" -2pi"));
    ctl<QLineEdit>(*d, range_control(kYMax))->setText(QString());
    QTest::mouseClick(ctl<QPushButton>(*d, kCtlOk), Qt::LeftButton);
    QCOMPARE(d->result(), int(QDialog::Accepted));
    const PanelRecord& p = state_->panels[kPanelFunction];
    QCOMPARE(p.source, std::string("x^2;\r\nx\xB0"));  // Windows-1252 degree sign
    QCOMPARE(p.range[kXMin].text, std::string(" -2pi"));
    QCOMPARE(p.range[kXMin].value, -2 * std::numbers::pi);
    QVERIFY(p.range[kYMax].is_automatic());
    QVERIFY(!p.error.failed);

    // Reopened: the texts as typed, the automatic field empty.
    auto again = open(kPanelFunction);
    QCOMPARE(ctl<QLineEdit>(*again, range_control(kXMin))->text(), QStringLiteral(" -2pi"));
    QCOMPARE(ctl<QLineEdit>(*again, range_control(kYMax))->text(), QString());
    QCOMPARE(ctl<QPlainTextEdit>(*again, kCtlFormula)->toPlainText(), QString::fromUtf8("x^2;\nx°"));
  }

  // An empty clipboard (no program owns it, as after a fresh login) offers
  // data in no format at all; the toolkit's own paste would read the first
  // of none. Text and a picture without text in the same field for contrast.
  void paste_into_the_formula_lines() {
    auto d = open(kPanelFunction);
    auto* formula = ctl<QPlainTextEdit>(*d, kCtlFormula);
    formula->setPlainText(QStringLiteral("x"));
    formula->moveCursor(QTextCursor::End);
    formula->setFocus();
    const auto paste = [&](QMimeData* data) {
      QGuiApplication::clipboard()->setMimeData(data);
      QTest::keyClick(formula, Qt::Key_V, Qt::ControlModifier);
      return formula->toPlainText();
    };
    QCOMPARE(paste(new QMimeData), QStringLiteral("x"));
    auto* text = new QMimeData;
    text->setText(QStringLiteral("^2"));
    QCOMPARE(paste(text), QStringLiteral("x^2"));
    auto* picture = new QMimeData;
    picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QCOMPARE(paste(picture), QStringLiteral("x^2"));
  }

  void faulty_field_focused_and_selected_once() {
    {
      auto d = open(kPanelFunction);
      ctl<QLineEdit>(*d, range_control(kXMin))->setText(QStringLiteral("sqrt(4)"));
      ctl<QLineEdit>(*d, range_control(kXMax))->setText(QStringLiteral("2"));
      ctl<QLineEdit>(*d, range_control(kYMin))->setText(QStringLiteral("3"));  // also wrong
      ctl<QLineEdit>(*d, range_control(kYMax))->setText(QStringLiteral("2"));
      d->run_control(kCtlOk);
      QCOMPARE(d->result(), int(QDialog::Accepted));  // closes either way
      QVERIFY(host_->messages.empty());                 // nothing shown yet
    }
    auto d = open(kPanelFunction);
    QTRY_COMPARE(host_->messages.size(), size_t{1});
    QCOMPARE(host_->messages[0], std::string(message_text(kMsgXRange)));
    QCOMPARE(host_->focused_id, range_control(kXMin));
    QCOMPARE(host_->selected, QStringLiteral("sqrt(4)"));
    QVERIFY(!ctl<QPlainTextEdit>(*d, kCtlFormula)->textCursor().hasSelection());
    // Closed with "&Abbrechen" and opened again: the message is not repeated.
    d->run_control(kCtlCancel);
    auto again = open(kPanelFunction);
    QTest::qWait(3 * kErrorDisplayDelayMs);
    QCOMPARE(host_->messages.size(), size_t{1});
  }

  void compile_error_selects_the_formula() {
    PanelRecord& p = state_->panels[kPanelIntegral];
    p.source = "cos(x";
    p.error.report(kMsgBrackets, kCtlFormula);
    auto d = open(kPanelIntegral);
    QTRY_COMPARE(host_->messages.size(), size_t{1});
    QCOMPARE(host_->focused_id, kCtlFormula);
    // The faulty text reappears as typed and is not taken into the history.
    auto* combo = ctl<QComboBox>(*d, kCtlFormula);
    QCOMPARE(combo->currentText(), QStringLiteral("cos(x"));
    QCOMPARE(combo->lineEdit()->selectedText(), QStringLiteral("cos(x"));
    QCOMPARE(combo->findText(QStringLiteral("cos(x")), -1);
  }

  void start_labels_follow_an_equation_in_r() {
    auto d = open(kPanelDiffEqu);
    auto* combo = ctl<QComboBox>(*d, kCtlFormula);
    auto label = [&](int id) { return ctl<QLabel>(*d, id)->text(); };
    combo->setEditText(QStringLiteral("  R'' = -r"));
    QCOMPARE(label(kCtlStartXLabel), QStringLiteral("t"));
    QCOMPARE(label(kCtlStartYLabel), QStringLiteral("r"));
    QCOMPARE(label(kCtlStartYLabel + 4), QStringLiteral("r''''"));
    combo->setEditText(QStringLiteral("y' = r"));
    QCOMPARE(label(kCtlStartXLabel), QStringLiteral("x"));
    QCOMPARE(label(kCtlStartYLabel + 1), QStringLiteral("y'"));
  }

  void gestures_over_a_field() {
    auto d = open(kPanelFunction);
    QLineEdit* field = ctl<QLineEdit>(*d, range_control(kTMin));
    const QPoint at = field->rect().center();
    // Too short: an ordinary right click (the field's menu), the dialog stays.
    QTest::mousePress(field, Qt::RightButton, {}, at);
    QTest::mouseRelease(field, Qt::RightButton, {}, at + QPoint(3, 3));
    QCoreApplication::processEvents();
    QVERIFY(d->isVisible());
    // To the left: "&Abbrechen".
    QTest::mousePress(field, Qt::RightButton, {}, at);
    QTest::mouseRelease(field, Qt::RightButton, {}, at - QPoint(40, 0));
    QTRY_VERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Rejected));
    // With gestures off, the drag means nothing.
    state_->prefs.mouse_gestures = false;
    auto off = open(kPanelFunction);
    field = ctl<QLineEdit>(*off, range_control(kTMin));
    QTest::mousePress(field, Qt::RightButton, {}, at);
    QTest::mouseRelease(field, Qt::RightButton, {}, at + QPoint(40, 0));
    QCoreApplication::processEvents();
    QVERIFY(off->isVisible());
  }

  void silenced_default_question_stores_nothing_on_cancel() {
    host_->tick_do_not_ask = true;
    host_->answer = MessageResult::Cancel;
    const RangeValue before = state_->panels[kPanelDiffEqu].default_range[kXMin];
    auto d = open(kPanelDiffEqu);
    ctl<QLineEdit>(*d, range_control(kXMin))->setText(QStringLiteral("-7"));
    d->run_control(kCtlSetDefault);
    QCOMPARE(host_->messages.back(), std::string(default_range_question(kPanelDiffEqu)));
    QVERIFY(!state_->prefs.alert_set_def_range);
    QCOMPARE(state_->panels[kPanelDiffEqu].default_range[kXMin].value, before.value);
    // Silenced: no question, and a faulty pair is shown at once on its field.
    ctl<QLineEdit>(*d, range_control(kTMin))->setText(QStringLiteral("5"));
    ctl<QLineEdit>(*d, range_control(kTMax))->setText(QStringLiteral("5"));
    const size_t asked = host_->messages.size();
    d->run_control(kCtlSetDefault);
    QCOMPARE(host_->messages.size(), asked + 1);
    QCOMPARE(host_->messages.back(), std::string(message_text(kMsgTRange)));
    QCOMPARE(host_->focused_id, range_control(kTMin));
    QVERIFY(d->isVisible());
  }

  void axis_titles_apply_keeps_open_cancel_keeps_old() {
    PanelRecord& p = state_->panels[kPanelIntegral];
    AxisTitleDialog d(owner_.get(), *state_, *host_, p);
    d.show();
    auto* x = qobject_cast<QLineEdit*>(d.control(kCtlTitleX));
    auto* y = qobject_cast<QLineEdit*>(d.control(kCtlTitleY));
    x->setText(QString::fromUtf8("Zeit in µs"));
    y->clear();
    d.run_control(kCtlApply);
    QVERIFY(d.isVisible());
    QCOMPARE(p.title_x, std::string("Zeit in \xB5s"));
    QCOMPARE(p.title_y, std::string());  // an empty title is allowed
    x->setText(QStringLiteral("t"));
    d.run_control(kCtlCancel);
    QVERIFY(!d.isVisible());
    QCOMPARE(p.title_x, std::string("Zeit in \xB5s"));
  }

  void placement_is_relative_to_the_owner_and_remembered() {
    const QPoint corner = owner_->frameGeometry().topLeft();
    auto d = open(kPanelIntegral);
    QCOMPARE(d->pos(), corner + QPoint(40, 40));
    d->move(corner + QPoint(90, 70));
    d->run_control(kCtlCancel);
    const DialogRect& r = state_->panels[kPanelIntegral].dialog_pos;
    QCOMPARE(QPoint(r.left, r.top), QPoint(90, 70));
    auto again = open(kPanelIntegral);
    QCOMPARE(again->pos(), corner + QPoint(90, 70));
  }
};

}  // namespace kv

QTEST_MAIN(kv::FormulaDialogTest)
#include "formula_dialog_test.moc"

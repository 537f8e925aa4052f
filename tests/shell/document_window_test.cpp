// Documents and pictures as only the window shows them: the title after open
// and save, a refused file that changes nothing and says so, the save
// question with its check box when closing (also when another instance asks
// this one to end), drops, and picture files in the formats the name picks.
#include <QtTest>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <sys/stat.h>

#include "formats/byte_sink.h"
#include "formats/document.h"
#include "session/commands.h"
#include "session/refresh.h"
#include "session/shell_state.h"
#include "shell/main_window.h"

namespace kv {

namespace {

// Acts on the next modal widget of type T once it shows; gives up after 5 s.
template <class T>
void on_next_modal(std::function<void(T*)> act) {
  auto* timer = new QTimer;
  auto deadline = std::make_shared<QDeadlineTimer>(5000);
  QObject::connect(timer, &QTimer::timeout, [timer, act, deadline] {
    auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
    if (w != nullptr && w->isVisible()) {
      timer->deleteLater();
      timer->stop();
      act(w);
    } else if (deadline->hasExpired()) {
      timer->deleteLater();
      timer->stop();
    }
  });
  timer->start(10);
}

// Typed into the name field: a typed name replaces the dialog's selection
// in its list (selectFile would not, for a file that does not exist yet).
// The dialog lists its folder in the background and then selects the
// proposed file, which would replace a name typed before; so the name is
// typed once the folder is listed (an empty folder is waited for a second).
void choose_file(QFileDialog* dialog, const QString& path) {
  if (auto* model = dialog->findChild<QFileSystemModel*>()) {
    const QModelIndex folder = model->index(dialog->directory().absolutePath());
    [[maybe_unused]] const bool listed =
        QTest::qWaitFor([&] { return model->rowCount(folder) > 0; }, 1000);
    QTest::qWait(20);
  }
  if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) edit->setText(path);
  QMetaObject::invokeMethod(dialog, "accept");
}

}  // namespace

class DocumentWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ShellState> state_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<QTemporaryDir> dir_;
  int settings_saves_ = 0;

  QString file(const char* name) const { return dir_->filePath(QString::fromLatin1(name)); }
  std::string path(const char* name) const { return file(name).toStdString(); }

  MainWindow& start() {
    dir_ = std::make_unique<QTemporaryDir>();
    state_ = std::make_unique<ShellState>();
    make_start_state(*state_);
    SettingsAccess settings = settings_without_file();
    settings.save_all = [this](const ShellState&) { return ++settings_saves_ > 0; };
    settings_saves_ = 0;
    window_ = std::make_unique<MainWindow>(*state_, settings);
    window_->first_show();
    return *window_;
  }

  // An integral document with a formula of its own.
  std::string integral_document(const char* name) {
    DocumentData doc = capture_document(state_->panels[kPanelIntegral]);
    doc.formula = "sin(x)";
    const std::string p = path(name);
    const bool ok = write_file_replacing(p, [&](ByteSink& s) { return write_document(s, doc); });
    return ok ? p : std::string();
  }

 private slots:
  void cleanup() {
    window_.reset();
    state_.reset();
  }

  void title_follows_open_and_save() {
    MainWindow& w = start();
    w.execute(Command::Open, integral_document("igl.kvl"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Kurvaline - igl.kvl"));
    QCOMPARE(state_->surface(), int{kPanelIntegral});

    on_next_modal<QFileDialog>([this](QFileDialog* d) { choose_file(d, file("neu")); });
    w.execute(Command::SaveAs);
    QCOMPARE(w.windowTitle(), QStringLiteral("Kurvaline - neu.kvl"));
    QVERIFY(QFile::exists(file("neu.kvl")));
    switch_surface(*state_, w, kPanelFunction, true);  // a panel without a document
    QCOMPARE(w.windowTitle(), QStringLiteral("Kurvaline"));
  }

  void refused_file_changes_no_panel_and_says_so() {
    MainWindow& w = start();
    QFile bad(file("bad.kvl"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(3000, 'k'));
    bad.close();
    std::array<std::string, 3> sources;
    for (int i = 0; i < 3; ++i) sources[i] = state_->panels[i].source;
    const auto options = state_->panels[kPanelFunction].options;

    QString shown;
    on_next_modal<QFileDialog>([&](QFileDialog* d) {
      on_next_modal<QMessageBox>([&](QMessageBox* box) {
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
      });
      choose_file(d, file("bad.kvl"));
    });
    w.execute(Command::Open);
    QCOMPARE(shown, QStringLiteral("Datei konnte nicht geöffnet werden"));
    for (int i = 0; i < 3; ++i) QCOMPARE(state_->panels[i].source, sources[i]);
    QCOMPARE(state_->panels[kPanelFunction].options, options);
    QCOMPARE(state_->surface(), int{kPanelFunction});
    QCOMPARE(w.windowTitle(), QStringLiteral("Kurvaline"));
  }

  void save_question_tick_with_cancel_keeps_the_window_and_silences() {
    MainWindow& w = start();
    w.execute(Command::Open, integral_document("igl.kvl"));
    w.execute(Command::GridBoth);
    QVERIFY(state_->current().document.modified);
    QString asked;
    on_next_modal<QMessageBox>([&](QMessageBox* box) {
      asked = box->text();
      box->checkBox()->setChecked(true);
      box->button(QMessageBox::Cancel)->click();
    });
    QVERIFY(!w.close());
    QCOMPARE(asked, QStringLiteral("Datei speichern?"));
    QVERIFY(w.isVisible());
    QVERIFY(!state_->prefs.alert_save_file);
    QCOMPARE(settings_saves_, 0);
    QVERIFY(w.close());  // silenced: no question, and the modified document is let go
    QCOMPARE(settings_saves_, 1);
  }

  void closed_by_another_instance_asks_and_saves_no_settings() {
    MainWindow& w = start();
    w.execute(Command::Open, integral_document("igl.kvl"));
    w.execute(Command::GridBoth);
    on_next_modal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); });
    w.close_for_other_instance();
    QTest::qWait(200);
    QVERIFY(w.isVisible());  // the user kept the document
    on_next_modal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    w.close_for_other_instance();
    QTRY_VERIFY(!w.isVisible());
    QCOMPARE(settings_saves_, 0);
  }

  void dropped_file_opens_and_a_foreign_one_stays_quiet() {
    MainWindow& w = start();
    QVERIFY(w.acceptDrops());
    auto drop = [&w](const QString& name) {
      QMimeData mime;
      mime.setUrls({QUrl::fromLocalFile(name)});
      const QPoint at = w.rect().center();
      QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(&w, &enter);
      QDropEvent event(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(&w, &event);
      return enter.isAccepted() && event.isAccepted();
    };
    QFile other(file("notes.txt"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("no document");
    other.close();
    QVERIFY(drop(file("notes.txt")));
    QTest::qWait(100);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(w.windowTitle(), QStringLiteral("Kurvaline"));

    QVERIFY(drop(QString::fromStdString(integral_document("igl.kvl"))));
    QTRY_COMPARE(w.windowTitle(), QStringLiteral("Kurvaline - igl.kvl"));
  }

  void picture_format_by_name_and_failure_message() {
    MainWindow& w = start();
    state_->double_buffering = false;
    const struct {
      const char* name;
      QByteArray head;
    } cases[] = {{"p.png", "\x89PNG"}, {"p.svg", "<?xml"}, {"p.bmp", "BM"}, {"p.GIF", "GIF87a"}};
    for (const auto& c : cases) {
      on_next_modal<QFileDialog>([&](QFileDialog* d) { choose_file(d, file(c.name)); });
      w.execute(Command::SavePicture);
      QFile f(file(c.name));
      QVERIFY2(f.open(QIODevice::ReadOnly), c.name);
      QVERIFY2(f.read(c.head.size()) == c.head, c.name);
    }
    QVERIFY(!state_->double_buffering);  // forced on only while the picture was taken

    QString shown;
    on_next_modal<QFileDialog>([&](QFileDialog* d) {
      on_next_modal<QMessageBox>([&](QMessageBox* box) {
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
      });
      choose_file(d, file("gone/p.gif"));
    });
    w.execute(Command::SavePicture);
    QCOMPARE(shown, QStringLiteral("Fehler beim Speichern der Datei"));
  }

  // The window never waits for a reader: a FIFO nobody reads fails the save
  // at once, for documents and pictures alike, and the title keeps its name.
  void saving_onto_a_fifo_nobody_reads_fails_at_once() {
    MainWindow& w = start();
    for (const char* name : {"pipe.kvl", "pipe.gif"}) {
      QVERIFY(::mkfifo(path(name).c_str(), 0600) == 0);
      QString shown;
      // First "... ist bereits vorhanden ... ersetzen?", then the failure.
      std::function<void(QMessageBox*)> answer = [&](QMessageBox* box) {
        if (QAbstractButton* yes = box->button(QMessageBox::Yes)) {
          on_next_modal<QMessageBox>(answer);
          yes->click();
          return;
        }
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
      };
      on_next_modal<QFileDialog>([&](QFileDialog* d) {
        on_next_modal<QMessageBox>(answer);
        choose_file(d, file(name));
      });
      QElapsedTimer clock;
      clock.start();
      w.execute(name[5] == 'k' ? Command::SaveAs : Command::SavePicture);
      QVERIFY2(clock.elapsed() < 4000, name);
      QCOMPARE(shown, QStringLiteral("Fehler beim Speichern der Datei"));
      QCOMPARE(w.windowTitle(), QStringLiteral("Kurvaline"));
    }
  }
};

}  // namespace kv

QTEST_MAIN(kv::DocumentWindowTest)
#include "document_window_test.moc"

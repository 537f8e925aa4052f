// The window's side of documents and pictures: the file dialogs, the
// commands 4000 to 4003 as the main window runs them for run_command, and
// what a dropped file hands over. The rules live in session/document_commands.h;
// this file only moves names and pictures between them and the widgets.
//
// The file dialogs are the toolkit's own, with German texts whatever the
// locale. A save dialog appends the type's extension where the name lacks it
// and asks before replacing a file that exists, also when only the appended
// name exists.
//
// Pictures ("Als &Bild speichern..."): GIF or bitmap by the name as the
// encoders' rule says, and beyond it PNG and SVG. The raster picture is the
// one on the screen, taken from the graph's off-screen copy (run_command
// keeps double buffering on while it is taken); on a screen of another pixel
// density the same picture is painted once more at one pixel per unit, so the
// file always has the graph area's size. Failures say "Fehler beim Speichern
// der Datei", and an existing file stays as it was.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "session/document_commands.h"
#include "session/shell_host.h"
#include "session/shell_state.h"

class QMimeData;
class QWidget;

namespace kv {

class DocumentActions final : public DocumentDialogs {
 public:
  // shown_picture: the graph's off-screen picture (null when there is none);
  // rerun_open: runs command 4000 with the path again from the event loop.
  DocumentActions(ShellState& state, ShellHost& host, QWidget* owner,
                  std::function<QImage()> shown_picture,
                  std::function<void(const std::string& path)> rerun_open);

  // The commands this class carries out: 4000, 4001, 4002, 4003.
  static bool handles(Command id);
  // Returns whether the command succeeded (false also when cancelled).
  bool run(Command id, const std::string& path);

  // Before the window closes: every drawing panel with unsaved work.
  MessageResult ask_to_save_all();

  bool ask_open_path(const std::string& start_folder, std::string& path) override;
  bool ask_save_path(const std::string& proposal, std::string& path) override;

 private:
  bool open(const std::string& path);
  bool save_picture();
  bool write_picture(const std::string& path);
  // Shows a save dialog until the user names a file that may be written;
  // the answer has the extension appended by `complete`.
  bool ask_save_name(const QString& caption, const QStringList& filters, const QString& proposal,
                     const std::function<std::string(const std::string&)>& complete,
                     std::string& path);

  ShellState& state_;
  ShellHost& host_;
  QWidget* owner_;
  std::function<QImage()> shown_picture_;
  std::function<void(const std::string&)> rerun_open_;
  std::string picture_path_;  // the last picture's name, apart from the documents'
  int open_retries_ = 0;
};

// The local file of a drop: the first URL's, "" when the drop holds no local
// file.
std::string dropped_file(const QMimeData* data);

}  // namespace kv

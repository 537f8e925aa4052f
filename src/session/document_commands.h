// Opening and saving documents from the window: the commands 4000, 4001,
// 4002 and the save question asked before a document is replaced or the
// window closes. The file dialogs come from the window through
// DocumentDialogs; reading, writing and the name rules from formats/.
//
//   open_document     asks to save the current document first (Cancel ends
//       the open); with an empty path asks for a name (cancelling ends
//       quietly); reads the whole file before anything changes, so a refused
//       file leaves every panel as it was; shows "Datei konnte nicht geöffnet
//       werden" only when it asked for the name (a dropped or handed-over
//       file that is no document fails quietly); then applies the document
//       (apply_document) and remembers its name in the panel, unmodified.
//       The caller then runs the after-open refresh.
//   save_document     saves the current panel: without asking under its own
//       name, proposed with ".kvl" appended where missing; with ask or
//       without a name through the save dialog, which proposes "unbenannt.kvl"
//       for a new document. A failed write shows "Fehler beim Speichern der
//       Datei" and keeps the panel modified: the old file is untouched, and
//       the user is still asked before the work could be lost.
//   ask_to_save       "Datei speichern?" with Yes, No, Cancel and the check
//       box "Nicht mehr nachfragen", only while the current document is
//       modified and the question is not silenced; the tick is stored in
//       Alert SaveFile whatever the answer. Yes saves through the save dialog;
//       a save that fails or is cancelled turns the answer into Cancel.
//       Without the question the answer is Yes and nothing is saved.
//   ask_to_save_panel  the same for another drawing panel: it is made the
//       current one and drawn first, so the user sees what the question is
//       about. open_document asks it for the panel a document replaces.
//   ask_to_save_all   before the window closes: the current panel, then every
//       other modified drawing panel, so no panel's unsaved work is lost
//       unasked. Cancel at any question keeps the window.
#pragma once

#include <string>

#include "formats/document.h"
#include "formats/document_apply.h"
#include "session/command_ids.h"
#include "session/session_texts.h"
#include "session/shell_host.h"
#include "session/shell_state.h"

namespace kv {


// The window's file dialogs. Each returns false when the user cancelled.
class DocumentDialogs {
 public:
  virtual ~DocumentDialogs() = default;
  // start_folder: where the dialog opens ("" lets the toolkit choose).
  virtual bool ask_open_path(const std::string& start_folder, std::string& path) = 0;
  // proposal: the full name offered. The answer is the name to write, with
  // ".kvl" already appended where missing and overwriting confirmed.
  virtual bool ask_save_path(const std::string& proposal, std::string& path) = 0;
};

// Where the document dialogs start: the folder of the current panel's
// document, else of the last document of this run, else the folder kept in
// the settings ([File] Dir).
std::string document_dialog_folder(const ShellState& state);
// The name the save dialog offers: the current panel's name, or
// "unbenannt.kvl", in document_dialog_folder.
std::string save_dialog_proposal(const ShellState& state);

// The document becomes the current drawing panel's content: its panel is
// made current (without a refresh), the options that differ are switched by
// their menu commands through run_command while redrawing is suspended,
// then the values, texts and flags are copied.
void apply_document(ShellState& state, ShellHost& host, const DocumentData& doc);

// The menu command that makes one option change of an open (a toggle flips
// its option, which the change's value then has); Command::None for an
// option no command changes.
Command option_change_command(const OptionChange& change);

// The name goes into the current panel (path, title, unmodified) and becomes
// the last document of the run.
void remember_document(ShellState& state, const std::string& path);

bool open_document(ShellState& state, ShellHost& host, DocumentDialogs& dialogs,
                   const std::string& path);
bool save_document(ShellState& state, ShellHost& host, DocumentDialogs& dialogs, bool ask);
MessageResult ask_to_save(ShellState& state, ShellHost& host, DocumentDialogs& dialogs);
MessageResult ask_to_save_panel(ShellState& state, ShellHost& host, DocumentDialogs& dialogs,
                                int panel);
MessageResult ask_to_save_all(ShellState& state, ShellHost& host, DocumentDialogs& dialogs);

}  // namespace kv

// Opening and saving documents from the window; see the header.
#include "session/document_commands.h"

#include "formats/document_apply.h"
#include "formats/document_names.h"
#include "session/command_handlers.h"
#include "session/refresh.h"

namespace kv {

namespace {

std::string folder_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

std::string document_dialog_folder(const ShellState& state) {
  const std::string& own = state.current().document.path;
  if (!own.empty()) return folder_of(own);
  if (!state.document_path.empty()) return folder_of(state.document_path);
  return state.prefs.last_dir;
}

std::string save_dialog_proposal(const ShellState& state) {
  const std::string& own = state.current().document.path;
  return join(document_dialog_folder(state), file_title_of(propose_document_path(own)));
}

Command option_change_command(const OptionChange& change) {
  switch (change.option) {
    case kOptPalette: return palette_command(change.value);
    case kOptLineWidth: return line_width_command(change.value);
    case kOptBoxedStyle: return change.value != 0 ? Command::BoxedStyle : Command::CrossedStyle;
    case kOptYUnitsPi: return Command::YUnitsPi;
    case kOptXUnitsPi: return Command::XUnitsPi;
    case kOptSolverSwitch: return Command::SolverSwitch;
    case kOptBorder: return Command::Border;
    case kOptFunctionExpressions: return Command::FunctionExpressions;
    case kOptTickLabels: return Command::TickLabels;
    case kOptTickMarks: return Command::TickMarks;
    case kOptAxes: return Command::Axes;
    case kOptSubGrid: return Command::SubGrid;
    case kOptGrid: return Command::Grid;
    case kOptEqualScales: return Command::EqualScales;
    case kOptMarkPoints: return Command::MarkPoints;
    case kOptMarkDiscontinuities: return Command::MarkDiscontinuities;
    default: return Command::None;
  }
}

void apply_document(ShellState& state, ShellHost& host, const DocumentData& doc) {
  switch_surface(state, host, doc.panel_index, false);
  // The commands redraw nothing while the window counts as not ready; the
  // after-open refresh paints once at the end.
  const bool ready = state.ready;
  state.ready = false;
  for (const OptionChange& c : document_option_changes(doc, state.current()))
    run_command(state, host, option_change_command(c));
  state.ready = ready;
  apply_document_values(doc, state.current());
}

void remember_document(ShellState& state, const std::string& path) {
  DocumentPart& d = state.current().document;
  d.path = path;
  d.title = file_title_of(path);
  d.modified = false;
  state.document_path = path;
  state.prefs.last_dir = folder_of(path);
}

bool open_document(ShellState& state, ShellHost& host, DocumentDialogs& dialogs,
                   const std::string& path) {
  if (ask_to_save(state, host, dialogs) == MessageResult::Cancel) return false;
  const bool asking = path.empty();
  std::string chosen = path;
  if (asking && !dialogs.ask_open_path(document_dialog_folder(state), chosen)) return false;
  DocumentData doc;
  if (!read_document_file(chosen, doc)) {
    if (asking) host.error_box(kDocumentOpenFailed);
    return false;
  }
  // The document replaces the panel it was saved from, which need not be the
  // one shown: that panel's unsaved work is offered for saving too.
  if (doc.panel_index != state.surface() &&
      ask_to_save_panel(state, host, dialogs, doc.panel_index) == MessageResult::Cancel) {
    return false;
  }
  apply_document(state, host, doc);
  remember_document(state, chosen);
  return true;
}

bool save_document(ShellState& state, ShellHost& host, DocumentDialogs& dialogs, bool ask) {
  const std::string& own = state.current().document.path;
  std::string path = propose_document_path(own);
  if (own.empty() || ask) {
    std::string chosen;
    if (!dialogs.ask_save_path(save_dialog_proposal(state), chosen) || chosen.empty()) return false;
    path = propose_document_path(chosen);
  }
  if (!save_document_file(path, state.current())) {
    host.error_box(kDocumentSaveFailed);
    return false;
  }
  remember_document(state, path);
  return true;
}

MessageResult ask_to_save(ShellState& state, ShellHost& host, DocumentDialogs& dialogs) {
  if (!save_question_needed(state.current().document.modified, state.prefs.alert_save_file))
    return MessageResult::Yes;
  bool ask_again = true;
  MessageResult answer = host.message_box(kSaveQuestion, kCaption, MessageButtons::YesNoCancel,
                                          MessageIcon::Question, &ask_again);
  state.prefs.alert_save_file = ask_again;
  if (answer == MessageResult::Yes) {
    if (!save_document(state, host, dialogs, true)) return MessageResult::Cancel;
    update_title(state, host);
  }
  return answer;
}

MessageResult ask_to_save_panel(ShellState& state, ShellHost& host, DocumentDialogs& dialogs,
                                int panel) {
  if (panel == state.surface()) return ask_to_save(state, host, dialogs);
  if (!save_question_needed(state.panels[panel].document.modified, state.prefs.alert_save_file))
    return MessageResult::Yes;
  // The question names no file, so the user sees the graph it is about.
  switch_surface(state, host, panel, true);
  refresh_view(state, host, REFRESH_RECOMPUTE);
  return ask_to_save(state, host, dialogs);
}

MessageResult ask_to_save_all(ShellState& state, ShellHost& host, DocumentDialogs& dialogs) {
  const int shown = state.surface();
  if (ask_to_save(state, host, dialogs) == MessageResult::Cancel) return MessageResult::Cancel;
  for (int panel = kPanelFunction; panel <= kPanelDiffEqu; ++panel) {
    if (panel != shown && ask_to_save_panel(state, host, dialogs, panel) == MessageResult::Cancel) {
      return MessageResult::Cancel;
    }
  }
  return MessageResult::Yes;
}

}  // namespace kv

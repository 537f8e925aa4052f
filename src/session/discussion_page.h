// The curve discussion window without any widget: what its fields start
// with, the checks of "&Berechnen", the rows of its table (Art, x, y,
// Status), the clipboard text of "Tabelle &kopieren" and the point a
// selected row marks on the graph.
//
// The window works on a panel of its own, set up like the function panel
// (its limits, compiled for the function surface), so that the numbers agree
// with the graph. The function field starts with the function panel's
// Cartesian formulas; polar ones are left out and named in a note, and so
// are polar formulas typed into the field: they are not discussed.
//
// "&Berechnen" runs read_discussion_fields, then compute_discussion; when
// either fails the window shows the panel's PendingError at once and keeps
// its previous table, as the value table does.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "analysis/discussion.h"
#include "graph/point_marks.h"
#include "model/panel_record.h"
#include "session/formula_checks.h"
#include "session/session_texts.h"

namespace kv {

// Texts in Windows-1252, as the panels keep them.
struct DiscussionStart {
  std::string formulas;  // the Cartesian formulas joined by "; "
  std::string skipped;   // the note on the polar ones, or ""
  std::string x_min, x_max;  // the function panel's x range as its dialog shows it
  bool degrees = false;
};

// The fields of a newly opened window, from the function panel (compiled
// again here, so a panel that was never drawn works too).
DiscussionStart discussion_start(const PanelRecord& function_panel);

// The panel the window computes in: empty, set up like the function panel.
void reset_discussion_panel(PanelRecord& panel, const PanelRecord& function_panel);

// The note for polar formulas that are not discussed, "" when there are none.
std::string skipped_note(const std::vector<std::string>& polar_formulas);

// "&Berechnen", steps before the computation: clears the pending error,
// stores formula and angle factor, and reads x min and x max as the value
// table does (both required, x min < x max, else kMsgXRange on x min).
bool read_discussion_fields(PanelRecord& panel, const DialogTexts& texts, const CompileEnv& env);

struct DiscussionResult {
  std::vector<std::string> formulas;  // the discussed formulas as typed
  std::string skipped;                // skipped_note of the polar ones
  analysis::Discussion discussion;    // formula k is formulas[k]
  double max_magnitude = kMaxMagnitude;
};

// Compiles the panel's formula text and discusses its Cartesian formulas
// over the panel's x range. False with the compiler's message recorded on
// the formula field, or false without an error for an empty text; out is
// then unchanged. A text of polar formulas only gives a result without rows.
bool compute_discussion(PanelRecord& panel, DiscussionResult& out,
                        double budget_ms = analysis::kDefaultBudgetMs);

// The cells of one row: Art (with the formula's number, "(1,2)" for an
// intersection, when more than one formula was discussed), x, y, Status
// ("bewiesen" or "unsicher"). Numbers as the value table writes them, with
// "."; a range without a point ("Definitionslücke", "Unklar") shows as
// "[a; b]" in the x column. UTF-8, as the table widget takes it.
using DiscussionCells = std::array<std::string, 4>;
std::vector<DiscussionCells> discussion_rows(const DiscussionResult& result);


// "Tabelle &kopieren": one line "y=<formula>" per discussed formula, a blank
// line, the header and one tab-separated line per row, CR LF after each;
// with decimal_separator ',' every "." of header and rows becomes ",", the
// formulas keep theirs. Empty without any row. UTF-8.
std::string discussion_clipboard_text(const DiscussionResult& result, char decimal_separator);

// The point row `row` marks on the graph; false for a row without x and y
// (and for a row that does not exist).
bool discussion_row_point(const DiscussionResult& result, int row, MarkedPoint& out);

}  // namespace kv

// Value tables and single values of the calculator windows, without any
// widget: the checks of "&Berechnen", the computation of the rows, the text
// of the header line and the result box, the clipboard text, and what
// "&Graph hinzufügen" / "&Graph zeichnen" hand over to the drawing panels.
//
// A calculator window keeps the last TableResult it computed (a newly opened
// window has none) and shows its TableText. "&Berechnen" runs
// read_table_fields (or read_value_fields); when that fails, or
// compute_table (compute_value) fails with an error recorded, the window
// shows the panel's PendingError at once and keeps the previous result.
// After a successful computation it refreshes the formula history
// (session/formula_history.h).
//
// Grid: x_i = x min + i * step for i < n and x_n = x max, with
// n = ceil((x max - x min) / step) intervals, at most kMaxTableIntervals.
// Functions give y and y' at each point; a differential equation is solved
// from its start point outward through the same points, with
// (2000 / max(n, 1) + 4) sub-steps per interval, three times as many with
// "High Precision". A polar formula (in t, or an equation in r) gives the
// plane point r cos t, r sin t and no y'.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/panel_record.h"
#include "session/formula_checks.h"

namespace kv {

inline constexpr double kMaxTableIntervals = 10000.0;
// The smallest step a table accepts.
inline constexpr double kMinTableStep = 2.225073858507201e-303;

// "&Berechnen" of the function and equation table pages (told apart by panel.role),
// steps before the computation: clears the pending error, stores formula
// and angle factor, checks the x range, reads the x step (and its limits;
// a step beyond the range becomes the range), and on the equation page the
// "High Precision" box and the start values. Returns whether no error was
// recorded.
bool read_table_fields(PanelRecord& panel, const DialogTexts& texts, const CompileEnv& env);

// "&Berechnen" of the single-value window: formula, angle factor and the x of field 514,
// which the panel keeps as its start x.
bool read_value_fields(PanelRecord& panel, const DialogTexts& texts, const CompileEnv& env);

// Number of intervals of the grid, at least 1. A last interval shorter than
// a billionth of the step comes from rounding of the quotient, not from the
// range, and is left out, so that no row repeats x max.
int table_intervals(double x_min, double x_max, double step);

// Sub-steps of the equation solver per table interval.
int equation_table_substeps(int intervals, bool high_precision);

struct TableRow {
  double x = 0, y = 0, dy = 0;  // the three columns
  bool x_ok = true;  // false only for a polar point without value
  bool y_ok = false;
  bool dy_ok = false;
};

struct TableResult {
  bool polar = false;
  int order = 0;        // 0 for a function, else the order of the equation
  double max_magnitude = kMaxMagnitude;
  std::string formula;  // the panel's formula text as computed
  // Start x and start values y .. y'''' as typed, for the clipboard.
  std::array<std::string, kDialogValueCount - kStartX> start_texts;
  std::vector<TableRow> rows;
};

// Compiles the panel's formula and computes the table of the panel's fields,
// read before by read_table_fields. Returns false with the error recorded on
// 510 (compiler message, several formulas, an unusable formula, memory), or
// false without an error for an empty formula; out is then unchanged. env
// names the drawing panel the main window shows: the compiler and the
// evaluator follow it as they do for the drawing panels.
bool compute_table(PanelRecord& panel, TableResult& out, const CompileEnv& env);

// The single value at the panel's start x: one row.
bool compute_value(PanelRecord& panel, TableResult& out, const CompileEnv& env);

struct TableText {
  std::string header;  // 533: "x\ty\ty'\r\n", or "x\ty\r\n" for a polar formula
  std::string rows;    // 532: one line per row, TAB between columns, CR LF after each
  // Tab stop of 533 and 532 in dialog units: 4 * (longest x or y cell with
  // its separator, plus 2).
  int tab_stop = 0;
};

TableText table_text(const TableResult& result);

// "Tabelle &kopieren" / "Ergebnis &kopieren": "y=" or "r=" unless the formula
// has "=", the formula, for an equation its start point as typed, a blank
// line, header and rows. With decimal_separator ',' (the user's locale)
// every "." of header and rows becomes ","; the formula keeps its points.
// Empty (nothing to copy) while there is no formula or no row.
std::string table_clipboard_text(const TableResult& result, const TableText& text,
                                 char decimal_separator);

// "&Graph hinzufügen": appends text to the function panel's formula text,
// as one more formula on a line of its own ending with ";". Returns false
// and leaves the list as it is when text has nothing but blanks.
bool append_to_function_list(std::string& function_source, std::string_view text);

// "&Graph zeichnen": the equation table's fields, flags and formula text
// become those of the panel "DiffEqu". The caller has read the fields with
// read_table_fields (errors are not shown here) and then opens the equation dialog.
void hand_equation_to_graph(const PanelRecord& table, PanelRecord& diffequ);

}  // namespace kv

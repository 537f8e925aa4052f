// Checks and computation of value tables and single values; see the header.
#include "session/value_table.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "expr/compiler.h"
#include "graph/ode_solver.h"
#include "graph/probe.h"

namespace kv {

namespace {

// The quotient range / step is off by a few units in the last place at most,
// that is below 1e-11 for the 10000 intervals a table may have.
constexpr double kIntervalRounding = 1e-9;
// A start outside the table is carried to its nearer end in at most this
// many pieces per table interval, so that the cost stays bounded however far
// away the start lies.
constexpr int kApproachPiecesPerInterval = 4;

bool fail(PanelRecord& panel, int message) {
  panel.error.report(message, kCtlFormula);
  return false;
}

void function_rows(FormulaProbe& probe, bool polar, std::vector<TableRow>& rows) {
  for (TableRow& row : rows) {
    row.y_ok = probe.at(row.x, row.y);
    if (row.y_ok && !polar) row.dy_ok = probe.derivative(row.x, row.y, row.dy);
  }
}

// A parametric pair: x and y per t, as the polar rows show them; a row
// where either component is undefined has no point.
void pair_rows(FormulaProbe& x_probe, FormulaProbe& y_probe, std::vector<TableRow>& rows) {
  for (TableRow& row : rows) {
    const double t = row.x;
    double x = 0, y = 0;
    const bool ok = x_probe.at(t, x) & y_probe.at(t, y);
    row = TableRow{x, y, 0, ok, ok, false};
  }
}

// Index of the row nearest to x; rows are in increasing order of x.
int nearest_row(const std::vector<TableRow>& rows, double x) {
  const int n = static_cast<int>(rows.size()) - 1;
  if (!(x > rows[0].x)) return 0;
  if (x >= rows[n].x) return n;
  const auto above = std::upper_bound(rows.begin(), rows.end(), x,
                                      [](double v, const TableRow& r) { return v < r.x; });
  const int i = static_cast<int>(above - rows.begin());
  return x - rows[i - 1].x <= rows[i].x - x ? i - 1 : i;
}

// Unlike the graph, which plots a point wherever the first step stopped, a
// table row must hold the value at its own x: every step has to arrive.
bool carry(OdeStepper& stepper, OdeState& st, double target, double step, int n) {
  const double d = target - st[0];
  if (d == 0) return true;
  const double pieces = std::ceil(std::fabs(d) / step);
  const int count = static_cast<int>(
      std::clamp(pieces, 1.0, static_cast<double>(kApproachPiecesPerInterval) * std::max(n, 1)));
  const double x_start = st[0];
  for (int j = 1; j <= count; ++j) {
    const double to = j == count ? target : x_start + d * j / count;
    if (!stepper.advance(st, to - st[0], false)) return false;
    st[0] = to;
  }
  return true;
}

void store(OdeStepper& stepper, const OdeState& st, TableRow& row) {
  row.y = st[1];
  row.y_ok = true;
  row.dy_ok = stepper.derivative(st, row.dy) && row.dy == row.dy;
}

// From the start row towards one end; the rows after an undefined step keep
// no value.
void pass(OdeStepper& stepper, OdeState st, std::vector<TableRow>& rows, int k0, int dir) {
  const int n = static_cast<int>(rows.size()) - 1;
  for (int i = k0 + dir; i >= 0 && i <= n; i += dir) {
    if (!stepper.advance(st, rows[i].x - st[0], false)) return;
    st[0] = rows[i].x;
    store(stepper, st, rows[i]);
  }
}

void equation_rows(FormulaProbe& probe, const PanelRecord& panel, int order, double step,
                   std::vector<TableRow>& rows) {
  const int n = static_cast<int>(rows.size()) - 1;
  OdeSetup setup;
  setup.order = order;
  setup.substeps = equation_table_substeps(n, panel.option_flag != 0);
  setup.max_magnitude = panel.limits.max_magnitude;
  OdeStepper stepper(probe, setup);
  OdeState st = initial_state(panel, order);
  const int k0 = nearest_row(rows, st[0]);
  if (!carry(stepper, st, rows[k0].x, step, n)) return;
  store(stepper, st, rows[k0]);
  pass(stepper, st, rows, k0, -1);
  pass(stepper, st, rows, k0, +1);
}

void to_plane(std::vector<TableRow>& rows) {
  for (TableRow& row : rows) {
    row.x_ok = row.y_ok;
    row.dy_ok = false;
    if (!row.y_ok) continue;
    const double t = row.x, r = row.y;
    row.x = r * std::cos(t);
    row.y = r * std::sin(t);
  }
}

// Shared by tables and single values: n intervals from x_min to x_max, or
// (n = 0) the one point x_min.
bool compute(PanelRecord& panel, TableResult& out, const CompileEnv& env, double x_min,
             double x_max, double step, int n) {
  if (!compile_formulas(panel, env)) {
    return fail(panel, panel.error.message != kMsgNone ? panel.error.message
                                                       : kMsgInvalidExpression);
  }
  if (panel.count() > 1) return fail(panel, kMsgSeveralFunctions);
  if (panel.count() == 0) return false;
  panel.current = 0;
  CompiledFormula& f = *panel.formulas[0];

  TableResult r;
  r.polar = f.is_polar();
  r.order = f.order;
  r.max_magnitude = panel.limits.max_magnitude;
  r.formula = panel.source;
  for (size_t i = 0; i < r.start_texts.size(); ++i) {
    r.start_texts[i] = field_display_text(panel.dialog_values[kStartX + i]);
  }
  try {
    r.rows.resize(static_cast<size_t>(n) + 1);
  } catch (const std::bad_alloc&) {
    return fail(panel, kMsgOutOfMemory);
  }
  for (int i = 0; i < n; ++i) r.rows[i].x = x_min + i * step;
  r.rows[n].x = x_max;

  Evaluator ev(panel, env.surface);
  FormulaProbe probe(ev, f);
  if (f.is_parametric() && f.second) {
    FormulaProbe y_probe(ev, *f.second);
    pair_rows(probe, y_probe, r.rows);
    if (y_probe.fatal()) return fail(panel, y_probe.fatal_message());
  } else if (f.order > 0) {
    equation_rows(probe, panel, f.order, step, r.rows);
  } else {
    function_rows(probe, r.polar, r.rows);
  }
  if (probe.fatal()) return fail(panel, probe.fatal_message());
  if (r.polar && !f.is_parametric()) to_plane(r.rows);
  out = std::move(r);
  return true;
}

}  // namespace

bool read_table_fields(PanelRecord& panel, const DialogTexts& texts, const CompileEnv& env) {
  panel.error.clear();
  panel.source = texts.formula;
  panel.angle_mode = angle_factor(texts.degrees);
  const bool range_ok = check_range_pair(panel, kXMin, texts, kMsgXRange, true, env);
  RangeValue& step = panel.dialog_values[kXStep];
  if (read_field(panel, step, texts.values[kXStep], kCtlXStep, true, env)) {
    if (step.value <= 0.0) panel.error.report(kMsgXStep, kCtlXStep);
    if (range_ok) {
      const double width = panel.range[kXMax].value - panel.range[kXMin].value;
      if (step.value < kMinTableStep || width / step.value > kMaxTableIntervals) {
        panel.error.report(kMsgTableTooLong, kCtlXStep);
      }
      // Only the value: the field keeps showing what was typed.
      if (step.value > width) step.value = width;
    }
  }
  if (panel.role == kPanelTableDiffEqu) {
    panel.option_flag = texts.option ? 1 : 0;
    read_start_values(panel, texts, env);
  }
  return !panel.error.failed;
}

bool read_value_fields(PanelRecord& panel, const DialogTexts& texts, const CompileEnv& env) {
  panel.error.clear();
  panel.source = texts.formula;
  panel.angle_mode = angle_factor(texts.degrees);
  // The "x = " field is control 514, its value the panel's start x.
  read_field(panel, panel.dialog_values[kStartX], texts.values[kStartX], kCtlXMin, true, env);
  return !panel.error.failed;
}

int table_intervals(double x_min, double x_max, double step) {
  const double ratio = (x_max - x_min) / step;
  if (!(ratio > 1.0)) return 1;
  return static_cast<int>(std::min(std::ceil(ratio - kIntervalRounding), kMaxTableIntervals));
}

int equation_table_substeps(int intervals, bool high_precision) {
  return (2000 / std::max(intervals, 1) + 4) * (high_precision ? 3 : 1);
}

bool compute_table(PanelRecord& panel, TableResult& out, const CompileEnv& env) {
  const double x_min = panel.range[kXMin].value, x_max = panel.range[kXMax].value;
  const double step = panel.dialog_values[kXStep].value;
  return compute(panel, out, env, x_min, x_max, step, table_intervals(x_min, x_max, step));
}

bool compute_value(PanelRecord& panel, TableResult& out, const CompileEnv& env) {
  const double x = panel.dialog_values[kStartX].value;
  return compute(panel, out, env, x, x, 1.0, 0);
}

}  // namespace kv

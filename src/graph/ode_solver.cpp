// Fixed-step Cash-Karp integration of explicit differential equations.
#include "graph/ode_solver.h"

#include <algorithm>
#include <cmath>

#include "graph/sampling.h"
#include "graph/view.h"

namespace kv {

namespace {

constexpr int kMaxOrder = 5;
// A start far outside the sampled range is approached in at most this many
// sample distances per visible column, so that the approach stays bounded.
constexpr int kApproachColumnsPerColumn = 4;

// A NaN cannot come from the mathematical functions; should one appear it ends
// the solution like an undefined value instead of spreading silently.
bool clamp_component(double& v, double max) {
  if (v > max) {
    v = max;
  } else if (v < -max) {
    v = -max;
  }
  return v == v;
}

}  // namespace

OdeState initial_state(const PanelRecord& panel, int order) {
  OdeState st{};
  st[0] = panel.dialog_values[kStartX].value;
  const int n = std::clamp(order, 0, kMaxOrder);
  for (int k = 0; k < n; ++k) {
    const double v = panel.dialog_values[kStartY + k].value;
    st[k + 1] = std::isnan(v) ? 0.0 : std::clamp(v, -kRangeLimit, kRangeLimit);
  }
  return st;
}

int graph_substeps(const CompiledFormula& f, bool high_precision) {
  const int base = f.is_polar() ? 1 : std::max(f.subdivision, 1);
  return high_precision ? 3 * base : base;
}

// Cash-Karp tableau: stage offsets c, stage weights a and the fifth-order
// weights b (the fourth-order companion is not used: no step-size control).
// Written as quotients so that they read like the published table; they are
// folded at compile time.
constexpr double kC[6] = {0, 1.0 / 5, 3.0 / 10, 3.0 / 5, 1, 7.0 / 8};
constexpr double kA[6][5] = {
    {0, 0, 0, 0, 0},
    {1.0 / 5, 0, 0, 0, 0},
    {3.0 / 40, 9.0 / 40, 0, 0, 0},
    {3.0 / 10, -9.0 / 10, 6.0 / 5, 0, 0},
    {-11.0 / 54, 5.0 / 2, -70.0 / 27, 35.0 / 27, 0},
    {1631.0 / 55296, 175.0 / 512, 575.0 / 13824, 44275.0 / 110592, 253.0 / 4096},
};
constexpr double kB[6] = {37.0 / 378, 0, 250.0 / 621, 125.0 / 594, 0, 512.0 / 1771};

namespace {

// Y' = (y', .., y^(order-1), f(x, Y)): only the last component costs an
// evaluation.
template <int N>
bool slope(FormulaProbe& probe, double x, const double* y, double* k) {
  double vars[6] = {x, 0, 0, 0, 0, 0};
  for (int j = 0; j < N; ++j) vars[j + 1] = y[j];
  for (int j = 0; j + 1 < N; ++j) k[j] = y[j + 1];
  return probe.at_state(vars, k[N - 1]);
}

// One sub-step of length h for an equation of order N; the order is a
// template argument so that the stage sums unroll.
template <int N>
bool substep(FormulaProbe& probe, double max, double x, double* y, double h) {
  double k[6][N];
  double t[N];
  if (!slope<N>(probe, x, y, k[0])) return false;
  for (int stage = 1; stage < 6; ++stage) {
    for (int j = 0; j < N; ++j) {
      double sum = 0;
      for (int m = 0; m < stage; ++m) sum += kA[stage][m] * k[m][j];
      t[j] = y[j] + h * sum;
      if (!clamp_component(t[j], max)) return false;
    }
    if (!slope<N>(probe, x + kC[stage] * h, t, k[stage])) return false;
  }
  for (int j = 0; j < N; ++j) {
    t[j] = y[j] + h * (kB[0] * k[0][j] + kB[2] * k[2][j] + kB[3] * k[3][j] + kB[5] * k[5][j]);
    if (!clamp_component(t[j], max)) return false;
  }
  for (int j = 0; j < N; ++j) y[j] = t[j];
  return true;
}

template <int N>
bool advance_order(FormulaProbe& probe, double max, OdeState& st, double step, int s,
                   bool first_step) {
  const double h = step / s;
  const double x_start = st[0];
  for (int j = 0; j < s; ++j) {
    if (!substep<N>(probe, max, st[0], st.data() + 1, h)) return first_step;
    // Positions are recomputed from the start so that rounding does not add up.
    st[0] = x_start + (j + 1) * h;
  }
  return true;
}

}  // namespace

bool OdeStepper::advance(OdeState& st, double step, bool first_step) {
  const int s = std::max(setup_.substeps, 1);
  const double max = setup_.max_magnitude;
  switch (setup_.order) {
    case 1: return advance_order<1>(probe_, max, st, step, s, first_step);
    case 2: return advance_order<2>(probe_, max, st, step, s, first_step);
    case 3: return advance_order<3>(probe_, max, st, step, s, first_step);
    case 4: return advance_order<4>(probe_, max, st, step, s, first_step);
    default: return advance_order<5>(probe_, max, st, step, s, first_step);
  }
}

int OdeStepper::go_to_start_column(OdeState& st, const OdeState& initial, double a, double h,
                                   int n, bool& ok) {
  st = initial;
  const double x0 = initial[0];
  const int raw = h != 0 ? round_to_int((x0 - a) / h) : 0;
  const int k0 = std::clamp(raw, 0, n);
  const double target = a + k0 * h;
  const double d = target - x0;
  ok = true;
  if (d == 0) return k0;
  if (raw == k0) {
    ok = advance(st, d, true);
    return k0;
  }
  // The start lies outside the sampled range: carry the solution to the
  // nearest end in steps of about one sample distance, bounded in number.
  const double chunks = std::ceil(std::fabs(d / h));
  const int count = static_cast<int>(
      std::min(chunks, static_cast<double>(kApproachColumnsPerColumn) * std::max(n, 1)));
  const double piece = d / count;
  for (int j = 0; j < count && ok; ++j) ok = advance(st, piece, false);
  st[0] = target;
  return k0;
}

bool OdeStepper::derivative(const OdeState& st, double& out) {
  if (setup_.order >= 2) {
    out = st[2];
    return true;
  }
  return slope<1>(probe_, st[0], st.data() + 1, &out);
}

namespace {

class Solver {
 public:
  Solver(FormulaPlot& fp, OdeStepper& stepper, const SolveOptions& options)
      : s_(fp.slot[0].samples), d_(fp.slot[1].samples), stepper_(stepper), options_(options),
        n_(fp.slot[0].last), h_(fp.step), a_(fp.a) {
    options_.derivative = options_.derivative && d_.size() == s_.size();
    derivative_ok_.assign(static_cast<size_t>(n_) + 2, false);
  }

  void run(const OdeState& initial);

 private:
  void store(const OdeState& st, int column, bool defined) {
    s_[column] = Sample{st[0], st[1], static_cast<uint8_t>(defined ? kDefined : 0)};
  }
  void store_derivative(const OdeState& st, int column) {
    if (!options_.derivative) return;
    d_[column].t = st[0];
    derivative_ok_[column] = stepper_.derivative(st, d_[column].v);
  }
  void pass(OdeState st, int dir, int count, uint8_t bit);
  void finish_derivative();

  std::vector<Sample>& s_;
  std::vector<Sample>& d_;
  std::vector<bool> derivative_ok_;
  OdeStepper& stepper_;
  SolveOptions options_;
  int n_;
  double h_, a_;
  int k0_ = 0;
};

void Solver::run(const OdeState& initial) {
  OdeState start;
  bool ok;
  k0_ = stepper_.go_to_start_column(start, initial, a_, h_, n_, ok);
  store(start, k0_, ok);
  if (ok) {
    store_derivative(start, k0_);
    pass(start, -1, k0_, kPieceStart);
    pass(start, +1, n_ - k0_, kPieceEnd);
  }
  finish_derivative();
}

// One direction from the start column. The pole test looks at the last four
// samples, the newest first, so that the pole lies between the previous
// sample and the one before it.
void Solver::pass(OdeState st, int dir, int count, uint8_t bit) {
  int last = k0_;
  for (int j = 1; j <= count; ++j) {
    const int c = k0_ + dir * j;
    const bool ok = stepper_.advance(st, dir * h_, j == 1);
    store(st, c, ok);
    last = c;
    if (!ok) {
      s_[c - dir].flag |= bit;
      return;
    }
    if (!options_.pole_switch && j >= 3 &&
        pole_test(s_[c].v, s_[c - dir].v, s_[c - 2 * dir].v, s_[c - 3 * dir].v,
                  options_.jump_threshold) != 0) {
      s_[c - 2 * dir].flag |= bit;
      s_[c - dir].flag = 0;
      s_[c].flag = 0;
      return;
    }
    store_derivative(st, c);
  }
  if (is_defined(s_[last].flag)) s_[last].flag |= bit;
}

void Solver::finish_derivative() {
  if (!options_.derivative) return;
  for (int i = 0; i <= n_ + 1; ++i) {
    d_[i].flag = derivative_ok_[i] ? s_[i].flag : 0;
    if (!is_defined(d_[i].flag)) d_[i].v = kUndefined;
  }
}

}  // namespace

void solve_equation(FormulaPlot& fp, OdeStepper& stepper, const OdeState& initial,
                    const SolveOptions& options) {
  Solver(fp, stepper, options).run(initial);
}

}  // namespace kv

// Integral curves by composite Simpson integration.
#include "graph/integral.h"

#include <algorithm>
#include <cmath>

#include "graph/view.h"

namespace kv {

namespace {

double transform(const IntegralParams& p, double v) { return p.absolute ? std::fabs(v) : v; }

double clamp_sum(double v, double max) {
  if (v > max) return max;
  if (v < -max) return -max;
  return v;
}

// Number of columns the hidden stretch from x0 to the left edge covers; its
// Simpson pairs are multiplied by it, at most 4 W.
int hidden_columns(const IntegralParams& p) {
  if (p.x0 >= p.xmin) return 1;
  const int j = round_to_int((p.xmin - p.x0) / p.x_scale);
  return std::clamp(j, 1, 4 * p.width);
}

// Integral from x0 to the position xk of the first column: zero when x0 lies
// on the column, otherwise one Simpson interval in the direction x0 -> xk.
double partial_integral(FormulaProbe& probe, const IntegralParams& p, double xk,
                        const Sample& column) {
  if (std::fabs(p.x0 - xk) <= p.zero_tolerance) return 0;
  SimpsonPoint at_x0;
  at_x0.defined = probe.at(p.x0, at_x0.v);
  const SimpsonPoint at_xk{column.v, true};
  const int m = p.subdivision * hidden_columns(p);
  if (p.x0 < xk) return simpson_step(probe, p, 0, xk, xk - p.x0, m, at_x0, at_xk);
  return -simpson_step(probe, p, 0, p.x0, p.x0 - xk, m, at_xk, at_x0);
}

}  // namespace

double simpson_step(FormulaProbe& probe, const IntegralParams& p, double sum, double e, double h,
                    int m, SimpsonPoint start, SimpsonPoint end) {
  const int n = 2 * std::max(m, 1);
  const double hs = h / n;
  double odd = 0, even = 0;
  for (int k = n - 1; k >= 1; --k) {
    double v;
    if (!probe.at(e - k * hs, v)) continue;
    if (k & 1) {
      odd += transform(p, v);
    } else {
      even += transform(p, v);
    }
  }
  const double fa = start.defined ? transform(p, start.v) : 0;
  const double fb = end.defined ? transform(p, end.v) : 0;
  return clamp_sum(sum + (fa + 4 * odd + 2 * even + fb) * hs / 3, p.max_magnitude);
}

void compute_integral_curve(FormulaPlot& fp, FormulaProbe& probe, const IntegralParams& p) {
  const std::vector<Sample>& f = fp.slot[0].samples;
  std::vector<Sample>& F = fp.slot[1].samples;
  const int n = fp.slot[0].last;
  const int k0 = std::clamp(round_to_int((p.x0 - p.xmin) / p.x_scale), 0, std::min(p.width, n));
  for (int i = 0; i <= n + 1; ++i) F[i] = Sample{f[i].t, 0, 0};

  double sum = 0;
  F[k0].flag = f[k0].flag;
  if (is_defined(f[k0].flag)) {
    const double xk = p.xmin + k0 * p.x_scale;
    const double partial = partial_integral(probe, p, xk, f[k0]);
    sum = partial;
    F[k0].v = p.x0 < p.xmin ? partial : 0;
    F[k0].flag |= kPieceStart;
  }
  for (int i = k0 + 1; i <= n; ++i) {
    F[i].flag = f[i].flag;
    if (!is_defined(f[i].flag)) continue;
    const double v = f[i].v;
    if (v == p.max_magnitude || v == -p.max_magnitude) {
      sum = v;
    } else {
      const SimpsonPoint prev{f[i - 1].v, is_defined(f[i - 1].flag)};
      sum = simpson_step(probe, p, sum, p.xmin + i * p.x_scale, p.x_scale, p.subdivision, prev,
                         {v, true});
    }
    F[i].v = sum;
  }
}

IntegralParams integral_params(const PanelRecord& panel, const CompiledFormula& f, int width) {
  IntegralParams p;
  p.x0 = panel.dialog_values[kStartX].value;
  p.xmin = panel.range[kXMin].value;
  p.x_scale = panel.x_scale;
  p.width = width;
  p.subdivision = std::max(f.subdivision, 1);
  p.absolute = panel.option_flag != 0;
  p.zero_tolerance = panel.limits.zero_tolerance;
  p.max_magnitude = panel.limits.max_magnitude;
  return p;
}

}  // namespace kv

// The inclusion rule of the interval evaluation, checked against the double
// evaluator at points of an interval: shared by the interval fuzz target and
// the random-formula test.
//
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "expr/compiled_formula.h"
#include "expr/evaluator.h"
#include "expr/opcodes.h"
#include "interval/interval_eval.h"

namespace kv::interval::check {

inline constexpr double kFarFromClamping = 1e10;
inline constexpr double kFlushZone = 1e-290;

// The largest literal of the code, at least 1.
inline double literal_scale(const std::string& code) {
  double scale = 1;
  for (size_t i = 0; i < code.size();) {
    if (!op::is_literal_char(static_cast<uint8_t>(code[i]))) { ++i; continue; }
    size_t e = i;
    while (e < code.size() && op::is_literal_char(static_cast<uint8_t>(code[e]))) ++e;
    scale = std::max(scale, std::atof(code.substr(i, e - i).c_str()));
    i = e;
  }
  return scale;
}

inline bool uses_derivative(const std::string& code) {
  return code.find(static_cast<char>(op::kDeriv)) != std::string::npos;
}

// An empty string when the rule holds at x, else what broke. The value is
// compared where the interval evaluation of the point itself is defined:
// the double evaluator gives values at poles (+/-max_magnitude, computed
// on), which a later function such as sgn or atan can turn into ordinary
// numbers that belong to no true value.
inline std::string at_point(IntervalEvaluator& iv, const CompiledFormula& f, const Enclosure& e,
                            double x, double angle, double scale) {
  // The double evaluator flushes results below DBL_MIN to 0, so that x^1
  // at a subnormal x times a huge factor is 0 there.
  if (x != 0 && std::fabs(x) < kFlushZone) return "";
  Evaluator ev(angle, Limits{kMaxMagnitude, 0.0, 1e300}, kPanelFunction);
  double vars[6] = {x, 0, 0, 0, 0, 0};
  const double v = ev.evaluate(f, vars);
  if (ev.fatal() != kMsgNone || e.uncertain) return "";  // rand draws anew each time
  const Defined at_x = iv.evaluate(f, point(x), 0, angle).defined;
  if (ev.undefined()) {
    // The double evaluator also fails where an intermediate underflows to 0
    // and is divided by: only a point the interval rules leave undefined
    // themselves contradicts "defined everywhere" on X.
    return e.defined == Defined::kEverywhere && at_x != Defined::kEverywhere
               ? "defined everywhere, not at a point"
               : "";
  }
  if (!(std::fabs(v) < kFarFromClamping)) return "";
  if (at_x != Defined::kEverywhere) return "";
  if (e.defined == Defined::kNowhere) return "defined nowhere, defined at a point";
  const double tol = 1e-6 * (1 + std::fabs(v)) * scale;
  if (!(v >= e.f[0].lo - tol && v <= e.f[0].hi + tol)) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "value %.17g outside the enclosure [%.17g, %.17g]", v, e.f[0].lo,
                  e.f[0].hi);
    return buf;
  }
  return "";
}

}  // namespace kv::interval::check

// libFuzzer target for the expression language.
//
// Input: the first byte chooses the context, the rest is the source text.
//   bits 0-1  surface: Function, Integral, DiffEqu (3 counts as Function)
//   bits 2-4  panel role (modulo 7); the role also chooses the limits
//   bit 5     length limit off
//   bit 6     degrees instead of radians
//   bit 7     y and its derivatives nonzero
// Whatever compiles is evaluated formula by formula at a few points with
// evaluate, derivative and evaluate_many. Any crash or sanitizer report is a
// finding; so is a broken contract, which aborts:
//   - a defined value is finite and within +/-max_magnitude; an undefined one
//     is exactly kUndefined;
//   - a formula without rand gives the same value point by point, block by
//     block and on a second evaluation;
//   - a failed compilation leaves no formula and names a message;
//   - once an evaluator reports a fatal fault, everything after is undefined;
//   - equations and inequalities carry their relation, parametric pairs their
//     second component (evaluated like the first).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "expr/compiler.h"
#include "expr/evaluator.h"
#include "expr/messages.h"
#include "expr/opcodes.h"

namespace {

using namespace kv;

constexpr double kPoints[] = {0.0, 1.0, -1.5, 0.5, 3.7, 1e-20, -2.5e10, 1e13, 1.5707963267948966};
constexpr int kPointCount = static_cast<int>(std::size(kPoints));
constexpr int kBlockPoints = 70;  // one full block of the block evaluation and a partial one

[[noreturn]] void broken(const char* what, const std::string& source, int formula, double x,
                         double v) {
  std::fprintf(stderr, "contract broken: %s\nformula %d of: %s\nx = %.17g, value = %.17g\n", what,
               formula, source.c_str(), x, v);
  std::abort();
}

void check_value(const Limits& limits, double v, bool undefined, const char* what,
                 const std::string& source, int formula, double x) {
  if (undefined) {
    if (v != kUndefined) broken(what, source, formula, x, v);
  } else if (!(std::fabs(v) <= limits.max_magnitude)) {
    broken(what, source, formula, x, v);
  }
}

bool fine_limits(PanelIndex role) {
  return role == kPanelDiffEqu || role == kPanelValue || role == kPanelTable ||
         role == kPanelTableDiffEqu;
}

void evaluate_formula_everywhere(const ExprPanel& panel, PanelIndex surface, int index,
                                 const double* others, const CompiledFormula& f) {
  const std::string& src = panel.source;
  const bool uses_rand = f.code.find(static_cast<char>(op::kRand)) != std::string::npos;
  Evaluator ev(panel, surface);
  double point_values[kPointCount];
  bool point_undefined[kPointCount];
  for (int i = 0; i < kPointCount; ++i) {
    double vars[6] = {kPoints[i], others[1], others[2], others[3], others[4], others[5]};
    const double v = ev.evaluate(f, vars);
    point_values[i] = v;
    point_undefined[i] = ev.undefined();
    if (ev.fatal() != kMsgNone) {
      if (!ev.undefined() || v != kUndefined) broken("fatal but defined", src, index, kPoints[i], v);
      if (message_text(ev.fatal()) == nullptr) broken("fatal without text", src, index, kPoints[i], v);
      double again = ev.evaluate(f, vars);
      if (!ev.undefined() || again != kUndefined) broken("defined after fatal", src, index, kPoints[i], again);
      return;
    }
    check_value(panel.limits, v, ev.undefined(), "evaluate", src, index, kPoints[i]);
    if (!ev.undefined()) {
      const double d = ev.derivative(f, kPoints[i], v);
      check_value(panel.limits, d, ev.undefined(), "derivative", src, index, kPoints[i]);
      if (ev.fatal() != kMsgNone) broken("fatal only in derivative", src, index, kPoints[i], d);
    }
  }

  // The first points again, then a ramp, all in one block call.
  double xs[kBlockPoints], out[kBlockPoints];
  bool undefined[kBlockPoints];
  for (int i = 0; i < kBlockPoints; ++i) {
    xs[i] = i < kPointCount ? kPoints[i] : -7.0 + 0.21 * i;
  }
  Evaluator block(panel, surface);
  block.evaluate_many(f, xs, kBlockPoints, others, out, undefined);
  if (block.fatal() != kMsgNone) broken("fatal only in evaluate_many", src, index, 0, 0);
  for (int i = 0; i < kBlockPoints; ++i) {
    check_value(panel.limits, out[i], undefined[i], "evaluate_many", src, index, xs[i]);
  }
  if (uses_rand) return;  // rand draws its numbers in another order
  for (int i = 0; i < kPointCount; ++i) {
    if (undefined[i] != point_undefined[i] || (!undefined[i] && out[i] != point_values[i])) {
      broken("evaluate_many differs from evaluate", src, index, xs[i], out[i]);
    }
  }
  double vars[6] = {kPoints[0], others[1], others[2], others[3], others[4], others[5]};
  const double again = ev.evaluate(f, vars);
  if (ev.undefined() != point_undefined[0] || (!ev.undefined() && again != point_values[0])) {
    broken("second evaluation differs", src, index, kPoints[0], again);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t mode = data[0];
  static constexpr PanelIndex kSurfaces[] = {kPanelFunction, kPanelIntegral, kPanelDiffEqu,
                                          kPanelFunction};
  const PanelIndex surface = kSurfaces[mode & 3];
  const PanelIndex role = static_cast<PanelIndex>(((mode >> 2) & 7) % 7);

  ExprPanel panel;
  panel.role = role;
  panel.angle_mode = (mode & 0x40) ? kDegrees : kRadians;
  if (fine_limits(role)) panel.set_limits(kMaxMagnitude, kZeroToleranceFine, kLiteralLimitFine);
  panel.source.assign(reinterpret_cast<const char*>(data + 1), size - 1);
  CompileEnv env;
  env.surface = surface;
  env.length_limit = !(mode & 0x20);

  if (!compile_formulas(panel, env)) {
    if (panel.count() != 0 || message_text(panel.error.message) == nullptr) {
      broken("failed compilation leaves formulas or no message", panel.source, -1, 0, 0);
    }
    return 0;
  }
  const double others[6] = {0, (mode & 0x80) ? 1.25 : 0.0, (mode & 0x80) ? -0.5 : 0.0,
                            (mode & 0x80) ? 2.0 : 0.0, 0, (mode & 0x80) ? 3.0 : 0.0};
  for (int i = 0; i < panel.count(); ++i) {
    const CompiledFormula& f = *panel.formulas[i];
    // An equation or inequality has its relation, a parametric pair its
    // second component, and nothing else does.
    if (f.is_implicit() != (f.relation != kRelNone) || f.is_parametric() != (f.second != nullptr)) {
      broken("plane form without its parts", panel.source, i, 0, 0);
    }
    evaluate_formula_everywhere(panel, surface, i, others, f);
    if (f.second) evaluate_formula_everywhere(panel, surface, i, others, *f.second);
  }

  // The panel entry points with their first-error record.
  if (panel.count() > 0) {
    panel.current = 0;
    double vars[6] = {0.75, others[1], others[2], others[3], others[4], others[5]};
    const double v = evaluate_formula(panel, vars, surface);
    if (!panel.error.failed) {
      if (!panel.formulas[0]->eval_error) evaluate_derivative(panel, 0.75, v, surface);
    } else if (panel.error.control_id != kExpressionControlId) {
      broken("fatal without control id", panel.source, 0, 0.75, v);
    }
  }
  return 0;
}

// The evaluator: one tight loop over the flat postfix program, plus the
// numerical derivative of d( ).
//
// Undefined intermediate values set the error flag; results computed after it
// are discarded at the end instead of being tested on every operation.
#include "expr/evaluator.h"

#include <algorithm>
#include <cmath>

#include "expr/opcodes.h"

namespace kv {
namespace {

constexpr double kDerivativeBaseStep = 5e-8;
constexpr double kDerivativeStepExponent = 0.3703703703703703;
constexpr double kNestedStepFactor = 1000.0;
constexpr double kSteepThreshold = 5000.0;
constexpr double kSteepThresholdOneSided = 500.0;

enum class Steep { None, Left, Right, Both };

}  // namespace

Evaluator::Evaluator(const ExprPanel& panel, Surface surface)
    : Evaluator(panel.angle_mode, panel.limits, surface) {}

Evaluator::Evaluator(double angle, const Limits& limits, Surface surface)
    : env_{angle, limits.zero_tolerance, limits.max_magnitude, surface == Surface::DiffEqu},
      literal_limit_(limits.literal_limit) {}

const Program* Evaluator::prepare(const CompiledFormula& f) {
  const Program& p = f.program;
  if (p.built && p.angle == env_.angle && p.zero_tolerance == env_.eps &&
      p.max_magnitude == env_.max_mag && p.literal_limit == literal_limit_ &&
      p.diffequ_surface == env_.diffequ_surface) {
    return &p;
  }
  if (rebuilt_for_ != &f || rebuilt_source_ != f.code) {
    CompiledFormula copy;
    copy.code = f.code;
    build_program(copy, env_, literal_limit_);
    rebuilt_ = std::move(copy.program);
    rebuilt_for_ = &f;
    rebuilt_source_ = f.code;
  }
  return &rebuilt_;
}

double* Evaluator::stack_for(const Program& p) {
  // A d( ) runs its operand again above the current stack top, at most three
  // levels deep.
  size_t need = static_cast<size_t>(p.max_stack) * 5 + 8;
  if (stack_.size() < need) stack_.resize(need);
  return stack_.data();
}

double Evaluator::evaluate(const CompiledFormula& f, const double* vars) {
  err_ = false;
  if (fatal_ != kMsgNone) {
    err_ = true;
    return kUndefined;
  }
  const Program* p = prepare(f);
  if (p->fatal >= 0) {
    fatal_ = p->fatal;
    err_ = true;
    return kUndefined;
  }
  depth_ = 0;
  double v[6];
  std::copy(vars, vars + 6, v);
  double r = run(*p, 0, static_cast<int>(p->code.size()), v, stack_for(*p));
  return err_ ? kUndefined : r;
}

double Evaluator::derivative(const CompiledFormula& f, double x, double fx) {
  err_ = false;
  if (fatal_ != kMsgNone) {
    err_ = true;
    return kUndefined;
  }
  const Program* p = prepare(f);
  if (p->fatal >= 0) {
    fatal_ = p->fatal;
    err_ = true;
    return kUndefined;
  }
  depth_ = 0;
  double v[6] = {x, fx, 0, 0, 0, 0};
  double r = derivative_step(*p, 0, static_cast<int>(p->code.size()), v, stack_for(*p), fx);
  return err_ ? kUndefined : r;
}

double Evaluator::run(const Program& p, int begin, int end, double* vars, double* st) {
  const Instr* code = p.code.data();
  const double* consts = p.consts.data();
  const MathEnv& m = env_;
  bool& e = err_;
  int sp = 0;
  for (int i = begin; i < end; ++i) {
    const Instr in = code[i];
    double* t = st + sp;  // one past the top of the stack
    switch (in.op) {
      case Program::kConst: st[sp++] = consts[in.arg]; break;
      case Program::kVar: st[sp++] = vars[in.arg]; break;
      case Program::kRandLeaf: st[sp++] = rand_.next() / 32767.0; break;
      case Program::kUndef: e = true; st[sp++] = kUndefined; break;
      case Program::kPowInt: t[-1] = fn::powi(m, e, t[-1], in.arg); break;
      case op::kAdd: --sp; t[-2] = fn::add(m, e, t[-2], t[-1]); break;
      case op::kSub: --sp; t[-2] = fn::sub(m, e, t[-2], t[-1]); break;
      case op::kMul: --sp; t[-2] = fn::mul(m, e, t[-2], t[-1]); break;
      case op::kDiv: --sp; t[-2] = fn::div(m, e, t[-2], t[-1]); break;
      case op::kPow: --sp; t[-2] = fn::pow(m, e, t[-2], t[-1]); break;
      case op::kRoot: --sp; t[-2] = fn::root(m, e, t[-2], t[-1]); break;
      case op::kAtan2: --sp; t[-2] = fn::atan2(m, e, t[-2], t[-1]); break;
      case op::kIEll1: --sp; t[-2] = fn::i_ell1(m, e, t[-2], t[-1]); break;
      case op::kIEll2: --sp; t[-2] = fn::i_ell2(m, e, t[-2], t[-1]); break;
      case op::kLogn: --sp; t[-2] = fn::logn(m, e, t[-2], t[-1]); break;
      case op::kMax: --sp; t[-2] = fn::max(m, e, t[-2], t[-1]); break;
      case op::kMin: --sp; t[-2] = fn::min(m, e, t[-2], t[-1]); break;
      case op::kGaussd: sp -= 2; t[-3] = fn::gaussd(m, e, t[-3], t[-2], t[-1]); break;
      case op::kAbs: t[-1] = fn::abs(m, e, t[-1]); break;
      case op::kSqrt: t[-1] = fn::sqrt(m, e, t[-1]); break;
      case op::kSqr: t[-1] = fn::sqr(m, e, t[-1]); break;
      case op::kCbrt: t[-1] = fn::cbrt(m, e, t[-1]); break;
      case op::kExp: t[-1] = fn::exp(m, e, t[-1]); break;
      case op::kLn: t[-1] = fn::ln(m, e, t[-1]); break;
      case op::kLb: t[-1] = fn::lb(m, e, t[-1]); break;
      case op::kLg: t[-1] = fn::lg(m, e, t[-1]); break;
      case op::kSin: t[-1] = fn::sin(m, e, t[-1]); break;
      case op::kCos: t[-1] = fn::cos(m, e, t[-1]); break;
      case op::kTan: t[-1] = fn::tan(m, e, t[-1]); break;
      case op::kCot: t[-1] = fn::cot(m, e, t[-1]); break;
      case op::kSec: t[-1] = fn::sec(m, e, t[-1]); break;
      case op::kCsc: t[-1] = fn::csc(m, e, t[-1]); break;
      case op::kAsin: t[-1] = fn::asin(m, e, t[-1]); break;
      case op::kAcos: t[-1] = fn::acos(m, e, t[-1]); break;
      case op::kAtan: t[-1] = fn::atan(m, e, t[-1]); break;
      case op::kAcot: t[-1] = fn::acot(m, e, t[-1]); break;
      case op::kAsec: t[-1] = fn::asec(m, e, t[-1]); break;
      case op::kAcsc: t[-1] = fn::acsc(m, e, t[-1]); break;
      case op::kSinh: t[-1] = fn::sinh(m, e, t[-1]); break;
      case op::kCosh: t[-1] = fn::cosh(m, e, t[-1]); break;
      case op::kTanh: t[-1] = fn::tanh(m, e, t[-1]); break;
      case op::kCoth: t[-1] = fn::coth(m, e, t[-1]); break;
      case op::kSech: t[-1] = fn::sech(m, e, t[-1]); break;
      case op::kCsch: t[-1] = fn::csch(m, e, t[-1]); break;
      case op::kAsinh: t[-1] = fn::asinh(m, e, t[-1]); break;
      case op::kAcosh: t[-1] = fn::acosh(m, e, t[-1]); break;
      case op::kAtanh: t[-1] = fn::atanh(m, e, t[-1]); break;
      case op::kAcoth: t[-1] = fn::acoth(m, e, t[-1]); break;
      case op::kAsech: t[-1] = fn::asech(m, e, t[-1]); break;
      case op::kAcsch: t[-1] = fn::acsch(m, e, t[-1]); break;
      case op::kGamma: t[-1] = fn::gamma(m, e, t[-1]); break;
      case op::kFac: t[-1] = fn::fac(m, e, t[-1]); break;
      case op::kIEllc1: t[-1] = fn::i_ellc1(m, e, t[-1]); break;
      case op::kIEllc2: t[-1] = fn::i_ellc2(m, e, t[-1]); break;
      case op::kSgn: t[-1] = fn::sgn(m, e, t[-1]); break;
      case op::kFloor: t[-1] = fn::floor(m, e, t[-1]); break;
      case op::kCeil: t[-1] = fn::ceil(m, e, t[-1]); break;
      case op::kRound: t[-1] = fn::round(m, e, t[-1]); break;
      case op::kFrac: t[-1] = fn::frac(m, e, t[-1]); break;
      case op::kDeriv:
        ++depth_;
        t[-1] = derivative_step(p, in.arg, i, vars, st + sp, t[-1]);
        --depth_;
        break;
      default: e = true; break;
    }
  }
  return sp > 0 ? st[sp - 1] : kUndefined;
}

double Evaluator::safe_quotient(double n, double d) {
  const double m = env_.max_mag;
  if (n > m * d - 2) { clamped_ = true; return m; }
  if (n < -(m * d - 2)) { clamped_ = true; return -m; }
  if (std::fabs(n) < env_.eps * d) return 0.0;
  return n / d;
}

// Numerical first derivative of the code [begin, end) at vars[0], given f0,
// from four neighbouring values; one-sided formulas where neighbours are
// undefined, and a test for a vertical asymptote next to x.
double Evaluator::derivative_step(const Program& p, int begin, int end, double* vars,
                                  double* st, double f0) {
  const double m = env_.max_mag;
  if (err_) return kUndefined;
  if (std::fabs(f0) >= m) {
    err_ = true;
    return kUndefined;
  }
  const double x = vars[0];
  double h = kDerivativeBaseStep * std::pow((std::fabs(x) + std::fabs(f0)) / 2, kDerivativeStepExponent);
  if (depth_ > 0) h *= kNestedStepFactor;
  if (h < kDerivativeBaseStep) h = kDerivativeBaseStep;

  double f[5];
  bool ok[5];
  const double at[5] = {0, x + 2 * h, x + h, x - h, x - 2 * h};
  for (int k = 1; k <= 4; ++k) {
    vars[0] = at[k];
    f[k] = run(p, begin, end, vars, st);
    ok[k] = !err_;
    err_ = false;
  }
  vars[0] = x;
  const double f1 = f[1], f2 = f[2], f3 = f[3], f4 = f[4];

  clamped_ = false;
  double d = 0;
  Steep steep = Steep::None;
  double threshold = kSteepThresholdOneSided;
  if (ok[1] && ok[2] && ok[3] && ok[4]) {
    d = safe_quotient(f4 - 8 * f3 + 8 * f2 - f1, 12 * h);
    steep = Steep::Both;
    threshold = kSteepThreshold;
  } else if (!ok[2]) {
    if (!ok[3]) {
      err_ = true;
      return kUndefined;
    }
    if (!ok[4]) {
      d = safe_quotient(f0 - f3, h);
    } else {
      d = safe_quotient(3 * f0 - 4 * f3 + f4, 2 * h);
      steep = Steep::Left;
    }
  } else if (!ok[1]) {
    if (!ok[3]) d = safe_quotient(f2 - f0, h);
    else if (ok[4]) d = safe_quotient(3 * f0 - 4 * f3 + f4, 2 * h);
    else d = safe_quotient(f2 - f3, 2 * h);
  } else if (!ok[3]) {
    d = safe_quotient(4 * f2 - 3 * f0 - f1, 2 * h);
    steep = Steep::Right;
  } else {
    d = safe_quotient(4 * f2 - 3 * f0 - f1, 2 * h);
  }

  if (steep != Steep::None && depth_ <= 1 && !clamped_ && std::fabs(d) > threshold) {
    bool left = std::fabs(f0 - f3) > std::fabs(f3 - f4);
    bool right = std::fabs(f2 - f0) > std::fabs(f1 - f2);
    bool holds = steep == Steep::Left ? left : steep == Steep::Right ? right : left && right;
    if (holds) d = d >= 0 ? m : -m;
  }
  return d;
}

double evaluate_formula(ExprPanel& panel, const double* vars, Surface surface) {
  CompiledFormula* f = panel.current_formula();
  if (panel.error.failed) return kUndefined;
  if (!f) return kUndefined;
  Evaluator ev(panel, surface);
  double v = ev.evaluate(*f, vars);
  f->eval_error = ev.undefined();
  if (ev.fatal() != kMsgNone) panel.error.report(ev.fatal(), kExpressionControlId);
  return v;
}

double evaluate_derivative(ExprPanel& panel, double x, double fx, Surface surface) {
  CompiledFormula* f = panel.current_formula();
  if (panel.error.failed) return kUndefined;
  if (!f) return kUndefined;
  Evaluator ev(panel, surface);
  double v = ev.derivative(*f, x, fx);
  f->eval_error = ev.undefined();
  if (ev.fatal() != kMsgNone) panel.error.report(ev.fatal(), kExpressionControlId);
  return v;
}

}  // namespace kv

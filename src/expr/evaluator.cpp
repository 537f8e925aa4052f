// The evaluator: one tight loop over the flat postfix program, plus the
// numerical derivative of d( ).
//
// Undefined intermediate values set the error flag; results computed after it
// are discarded at the end instead of being tested on every operation.
#include "expr/evaluator.h"

#include <algorithm>
#include <cmath>

#include "expr/derivative_rule.h"
#include "expr/op_table.h"
#include "expr/opcodes.h"

namespace kv {
Evaluator::Evaluator(const ExprPanel& panel, PanelIndex surface)
    : Evaluator(panel.angle_mode, panel.limits, surface) {
  shared_rand_ = panel.random;
}

Evaluator::Evaluator(double angle, const Limits& limits, PanelIndex surface)
    : env_{angle, limits.zero_tolerance, limits.max_magnitude, surface == kPanelDiffEqu},
      literal_limit_(limits.literal_limit),
      key_{angle, limits.zero_tolerance, limits.max_magnitude, limits.literal_limit,
           surface == kPanelDiffEqu},
      stack_(64) {}

const Program* Evaluator::prepare(const CompiledFormula& f) {
  const Program& p = f.program;
  if (p.built && p.key == key_) return &p;
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

const Program* Evaluator::enter(const CompiledFormula& f) {
  err_ = false;
  depth_ = 0;
  if (fatal_ == kMsgNone) {
    const Program* p = prepare(f);
    if (p->fatal < 0) return p;
    fatal_ = p->fatal;
  }
  err_ = true;
  return nullptr;
}

double Evaluator::evaluate_general(const CompiledFormula& f, const double* vars) {
  const Program* p = enter(f);
  if (!p) return kUndefined;
  double v[6];
  std::copy(vars, vars + 6, v);
  double r = run(*p, 0, static_cast<int>(p->code.size()), v, stack_for(*p));
  return err_ ? kUndefined : r;
}

double Evaluator::derivative(const CompiledFormula& f, double x, double fx) {
  const Program* p = enter(f);
  if (!p) return kUndefined;
  double v[6] = {x, fx, 0, 0, 0, 0};
  double r = derivative_step(*p, 0, static_cast<int>(p->code.size()), v, stack_for(*p), fx);
  return err_ ? kUndefined : r;
}

// Two-argument operation: the second argument comes from the stack, a
// constant or a variable, the first is on the stack (or in acc when the
// second was fused in).
#define KV_KEY(code, mode) (((code) << 2) | (mode))
#define KV_BINARY(code, name)                                                 \
  case KV_KEY(code, kFromStack): acc = fn::name(m, e, st[--sp], acc); break;  \
  case KV_KEY(code, kFromConst): acc = fn::name(m, e, acc, consts[in.arg]); break; \
  case KV_KEY(code, kFromVar): acc = fn::name(m, e, acc, vars[in.arg]); break; \
  case KV_KEY(code, kVarConst):                                               \
    st[sp++] = acc;                                                           \
    acc = fn::name(m, e, vars[in.var], consts[in.arg]);                    \
    break;
#define KV_UNARY(code, name) \
  case KV_KEY(code, 0): acc = fn::name(m, e, acc); break;

double Evaluator::run(const Program& p, int begin, int end, double* vars, double* st) {
  const Instr* code = p.code.data();
  const double* consts = p.consts.data();
  // Local copies: stores into the stack could otherwise alias the limits and
  // the flag and force reloads after every operation.
  const MathEnv m = env_;
  bool e = err_;
  int sp = 0;
  double acc = kUndefined;  // the top of the stack
  for (int i = begin; i < end; ++i) {
    const Instr in = code[i];
    // One dispatch on operation and argument mode together.
    switch (KV_KEY(in.op, in.mode)) {
      case KV_KEY(Program::kConst, 0): st[sp++] = acc; acc = consts[in.arg]; break;
      case KV_KEY(Program::kVar, 0): st[sp++] = acc; acc = vars[in.arg]; break;
      case KV_KEY(Program::kRandLeaf, 0): st[sp++] = acc; acc = draw_random(); break;
      case KV_KEY(Program::kUndef, 0): st[sp++] = acc; e = true; acc = kUndefined; break;
      case KV_KEY(Program::kPowInt, 0):
        // Squares and cubes of ordinary numbers need no range checks.
        if (in.arg == 2 && std::fabs(acc) < 1e150 && std::fabs(acc) > 1e-150) {
          acc = acc * acc;
        } else if (in.arg == 3 && std::fabs(acc) < 1e100 && std::fabs(acc) > 1e-100) {
          acc = acc * (acc * acc);
        } else {
          acc = fn::powi(m, e, acc, in.arg);
        }
        break;
      KV_ARITHMETIC_OPERATIONS(KV_BINARY)
      KV_OTHER_BINARY_OPERATIONS(KV_BINARY)
      case KV_KEY(op::kGaussd, 0):
        sp -= 2;
        acc = fn::gaussd(m, e, st[sp], st[sp + 1], acc);
        break;
      KV_UNARY_OPERATIONS(KV_UNARY)
      case KV_KEY(op::kDeriv, 0):
        ++depth_;
        err_ = e;
        acc = derivative_step(p, in.arg, i, vars, st + sp, acc);
        e = err_;
        --depth_;
        break;
      default: e = true; break;
    }
  }
  err_ = e;
  return acc;
}

#undef KV_BINARY
#undef KV_KEY
#undef KV_UNARY

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
  const double h = derivative_rule::step(x, f0, depth_);
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
  return derivative_rule::combine(env_, depth_, f0, h, f, ok, err_);
}

double evaluate_formula(ExprPanel& panel, const double* vars, PanelIndex surface) {
  CompiledFormula* f = panel.current_formula();
  if (panel.error.failed) return kUndefined;
  if (!f) return kUndefined;
  Evaluator ev(panel, surface);
  double v = ev.evaluate(*f, vars);
  f->eval_error = ev.undefined();
  if (ev.fatal() != kMsgNone) panel.error.report(ev.fatal(), kExpressionControlId);
  return v;
}

double evaluate_derivative(ExprPanel& panel, double x, double fx, PanelIndex surface) {
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

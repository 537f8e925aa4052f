// Runs of the interval program over an interval of x: the Taylor series
// where derivatives are asked, the value alone through run_value otherwise.
#include "interval/interval_eval.h"

#include <cmath>

#include "expr/limits.h"
#include "expr/opcodes.h"
#include "interval/interval_fn.h"
#include "interval/ops.h"
#include "interval/program.h"

namespace kv::interval {

using Program = IntervalEvaluator::Program;

Local apply_operation(uint8_t code, const Series* a, Series& w, const Ctx& cx) {
  switch (code) {
#define KV_IV_CASE(c, name) \
  case c:                   \
    return iv_##name(a, w, cx);
    KV_UNARY_OPERATIONS(KV_IV_CASE)
    KV_ARITHMETIC_OPERATIONS(KV_IV_CASE)
    KV_OTHER_BINARY_OPERATIONS(KV_IV_CASE)
    KV_TERNARY_OPERATIONS(KV_IV_CASE)
#undef KV_IV_CASE
    default:
      return unknown(w, cx);
  }
}

namespace {

Defined meet(Defined a, Defined b) { return a < b ? a : b; }

void leaf(Series& s, Interval v, int n) {
  s.c[0] = v;
  t_fill(s.c, n, point(0));
  s.def = Defined::kEverywhere;
  s.cont = s.smooth = true;
}

// The operation's result from its operands' flags and its own.
void combine(const Series* a, int arity, Series& w, Local l, int n) {
  Defined d = l.dom;
  bool cont = l.cont, smooth = l.smooth;
  for (int i = 0; i < arity; ++i) {
    d = meet(d, a[i].def);
    cont &= a[i].cont;
    smooth &= a[i].smooth;
  }
  if (is_empty(w.c[0])) d = Defined::kNowhere;
  if (d == Defined::kNowhere) {
    for (int k = 0; k < n; ++k) w.c[k] = empty();
  }
  w.def = d;
  w.cont = cont && d == Defined::kEverywhere;
  w.smooth = smooth && w.cont;
}

void store(const Series& w, Series& to, int n) {
  to.def = w.def;
  to.cont = w.cont;
  to.smooth = w.smooth;
  to.c[0] = w.c[0];
  for (int i = 1; i < n; ++i) to.c[i] = w.c[i];
}

Interval sane(Interval a) {
  if (is_empty(a)) return a.lo == a.lo && a.hi == a.hi ? empty() : whole();
  return a;
}

}  // namespace

IntervalEvaluator::IntervalEvaluator() : program_(new Program) {}
IntervalEvaluator::~IntervalEvaluator() { delete program_; }

void IntervalEvaluator::build(const std::string& code, double angle) {
  build_program(code, angle, *program_);
  stack_.resize(static_cast<size_t>(program_->max_stack) + 1);
  values_.resize(stack_.size());
}

Enclosure IntervalEvaluator::evaluate(const CompiledFormula& f, Interval x, int order, double angle) {
  return run(f, x, nullptr, order, angle);
}

Enclosure IntervalEvaluator::evaluate_plane(const CompiledFormula& f, Interval x, Interval y,
                                            double angle) {
  return run(f, x, &y, 0, angle);
}

namespace {

// The binary operation s with the constant c as one operand and the series
// t as the other, into t. Sums, differences, products and quotients by a
// constant without 0 take the rules of a constant series directly, in
// place, as each coefficient depends on its own alone; the others see it
// as a series of its own.
void constant_operand(const Program::Step& s, Interval c, Series& t, Series& w, const Ctx& cx) {
  const int n = cx.n;
  const bool right = s.kind == Program::kOpConstRight;
  if (s.op == op::kAdd) {
    t.c[0] = add(t.c[0], c);
  } else if (s.op == op::kSub) {
    t.c[0] = right ? sub(t.c[0], c) : sub(c, t.c[0]);
    if (!right) {
      for (int k = 1; k < n; ++k) t.c[k] = neg(t.c[k]);
    }
  } else if (s.op == op::kMul) {
    for (int k = 0; k < n; ++k) t.c[k] = mul(t.c[k], c);
  } else if (s.op == op::kDiv && right && !contains(c, 0)) {
    for (int k = 0; k < n; ++k) t.c[k] = div(t.c[k], c);
  } else {
    Series pair[2];
    leaf(pair[right ? 1 : 0], c, n);
    pair[right ? 0 : 1] = t;
    const Local l = apply_operation(s.op, pair, w, cx);
    combine(pair, 2, w, l, n);
    store(w, t, n);
    return;
  }
  combine(&t, 1, t, Local{}, n);
}

Enclosure finish(const Series& r, int order, bool uncertain) {
  Enclosure e;
  double factorial = 1;
  for (int k = 0; k <= kMaxOrder; ++k) {
    if (k > 1) factorial *= k;
    e.f[k] = k > order ? whole() : sane(k < 2 ? r.c[k] : scale(r.c[k], factorial));
  }
  e.defined = r.def;
  e.continuous = r.cont;
  e.smooth = r.smooth;
  e.uncertain = uncertain;
  return e;
}

// The run with Taylor series of cx.n coefficients per slot.
Enclosure run_series(const Program& p, Interval x, const Interval* y, int order, const Ctx& cx,
                     Series* st) {
  const int n = cx.n;
  Series w;
  int sp = 0;
  for (const Program::Step& s : p.steps) {
    switch (s.kind) {
      case Program::kConst: leaf(st[sp++], p.consts[s.arg], n); break;
      case Program::kX:
        leaf(st[sp], x, n);
        st[sp].c[1] = point(1);
        ++sp;
        break;
      case Program::kY:
        if (y) {
          leaf(st[sp++], *y, n);  // y does not move with x: its x-derivatives are 0
        } else {
          Series& t = st[sp++];
          for (int k = 0; k < n; ++k) t.c[k] = whole();
          t.def = Defined::kMaybe;
          t.cont = t.smooth = false;
        }
        break;
      case Program::kRand:
        leaf(st[sp], {0, 1}, n);
        t_fill(st[sp].c, n, whole());
        st[sp].cont = st[sp].smooth = false;
        ++sp;
        break;
      case Program::kWhole:
      case Program::kUndef: {
        Series& t = st[sp++];
        const bool undef = s.kind == Program::kUndef;
        for (int k = 0; k < n; ++k) t.c[k] = undef ? empty() : whole();
        t.def = undef ? Defined::kNowhere : Defined::kMaybe;
        t.cont = t.smooth = false;
        break;
      }
      case Program::kDeriv: {
        Series& t = st[sp - 1];
        t_derive(t.c, w.c, n);
        for (int k = 0; k + 1 < n; ++k) t.c[k] = w.c[k];
        t.c[n - 1] = whole();
        if (!t.smooth && t.def != Defined::kNowhere) t.def = Defined::kMaybe;
        t.cont = t.smooth;
        break;
      }
      case Program::kOp: {
        const int k = op::arity(s.op);
        Series* a = st + sp - k;
        bool nowhere = false;
        for (int i = 0; i < k; ++i) nowhere |= a[i].def == Defined::kNowhere;
        Local l{Defined::kNowhere, false, false};
        sp -= k - 1;
        if (!nowhere && (s.op == op::kAdd || s.op == op::kSub)) {  // term by term, in place
          for (int i = 0; i < n; ++i) {
            a[0].c[i] = s.op == op::kAdd ? add(a[0].c[i], a[1].c[i]) : sub(a[0].c[i], a[1].c[i]);
          }
          combine(a, 2, a[0], Local{}, n);
          break;
        }
        if (nowhere) {
          w.c[0] = empty();
        } else {
          l = apply_operation(s.op, a, w, cx);
        }
        combine(a, k, w, l, n);
        store(w, a[0], n);
        break;
      }
      case Program::kOpConstRight:
      case Program::kOpConstLeft:
        if (st[sp - 1].def != Defined::kNowhere) constant_operand(s, p.consts[s.arg], st[sp - 1], w, cx);
        break;
      case Program::kPowWhole: {
        Series& t = st[sp - 1];
        if (t.def != Defined::kNowhere) {
          const Local l = whole_power(t, s.arg, w, cx);
          combine(&t, 1, w, l, n);
          store(w, t, n);
        }
        break;
      }
    }
  }
  return finish(st[0], order, p.draws_rand);
}

}  // namespace

Enclosure IntervalEvaluator::run(const CompiledFormula& f, Interval x, const Interval* y, int order,
                                 double angle) {
  if (!program_->built || program_->angle != angle || program_->code != f.code) build(f.code, angle);
  const Program& p = *program_;
  order = std::clamp(order, 0, kMaxOrder);
  const Ctx cx{order + p.depth + 1, angle == kDegrees};
  if (cx.n == 1) return run_value(p, x, y, values_.data());
  return run_series(p, x, y, order, cx, stack_.data());
}

Enclosure evaluate_interval(const CompiledFormula& f, Interval x, int order, double angle) {
  IntervalEvaluator ev;
  return ev.evaluate(f, x, order, angle);
}

}  // namespace kv::interval

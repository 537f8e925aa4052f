// The run of the interval program for the value alone: one interval and its
// flags per stack slot instead of a series, the arithmetic operators inline,
// one step kind each. The other operations get their series rule with one
// coefficient, so both runs agree on every value and flag.
#include <cmath>

#include "expr/limits.h"
#include "expr/opcodes.h"
#include "interval/interval_fn.h"
#include "interval/ops.h"
#include "interval/program.h"

namespace kv::interval {
namespace {

using Program = IntervalEvaluator::Program;
using Value = IntervalEvaluator::Value;
using Step = Program::ValueStep;

// Defined nowhere is 0, maybe kSome, everywhere kSome | kAll: the "and" of
// two is their meet. A slot's bits are settled: kCont only with kAll,
// kSmooth only with kCont; the "and" of settled bits is settled. A slot
// without kSome holds the empty set, and an empty slot has no bits.
enum : uint8_t { kSome = 1, kAll = 2, kCont = 4, kSmooth = 8, kKnown = 15 };

// The kinds of value steps; "C" marks the constant operand of a binary one.
enum Kind : uint8_t {
  kPush, kPushX, kPushY, kUnknownTop, kAdd, kSub, kMul, kDiv, kAddC, kSubC, kCSub, kMulC, kDivC,
  kCDiv, kRule, kRuleC, kCRule, kPowWhole, kAbs, kSqrt, kExp, kLn, kSin, kCos,
  // x pushed and at once taken by the step: x + c, x - c, c x, x^n
  kXAddC, kXSubC, kXMulC, kXPowWhole,
  // one of those four at once added to, subtracted from or multiplied with
  // the top: products of linear factors, sums of powers
  kOnto  // to kOnto + 11: kOnto + 4 b + (x step - kXAddC), b indexing kOntoBinary
};

// The binary kinds that take an x step onto the top, in the order of kOnto.
constexpr uint8_t kOntoBinary[] = {kAdd, kSub, kMul};

// The kind of the x step xk followed by the binary step b, or kPush for none.
uint8_t onto(uint8_t xk, uint8_t b) {
  if (xk < kXAddC || xk > kXPowWhole) return kPush;
  for (int i = 0; i < 3; ++i) {
    if (kOntoBinary[i] == b) return static_cast<uint8_t>(kOnto + 4 * i + (xk - kXAddC));
  }
  return kPush;
}

// The kind that x followed by a step of kind k becomes, or kPush for none.
Kind on_x(uint8_t k) {
  switch (k) {
    case kAddC: return kXAddC;
    case kSubC: return kXSubC;
    case kMulC: return kXMulC;
    case kPowWhole: return kXPowWhole;
    default: return kPush;
  }
}

constexpr Value kNowhere{{kInf, -kInf}, 0};
constexpr Value kUnknown{{-kInf, kInf}, kSome};

uint8_t bits(Local l) {
  uint8_t f = l.dom == Defined::kEverywhere ? kSome | kAll : l.dom == Defined::kMaybe ? kSome : 0;
  if (l.cont) f |= kCont;
  if (l.smooth) f |= kSmooth;
  return f;
}

uint8_t settle(uint8_t f) {
  if (!(f & kAll)) f &= kSome;
  if (!(f & kCont)) f &= kSome | kAll;
  return f;
}

Defined defined(uint8_t f) {
  return f & kAll ? Defined::kEverywhere : f & kSome ? Defined::kMaybe : Defined::kNowhere;
}

// The flags that a divisor d leaves: 0 has no quotient.
uint8_t divisor_mask(Interval d) {
  if (!contains(d, 0)) return kKnown;
  return is_point(d) ? 0 : kSome;
}

// An operation without an inline rule: its series rule with one coefficient.
Value by_rule(uint8_t op, const Value* a, int k, bool degrees) {
  uint8_t f = kKnown;
  for (int i = 0; i < k; ++i) f &= a[i].flags;
  if (!(f & kSome)) return kNowhere;
  Series args[3], w;
  for (int i = 0; i < k; ++i) args[i].c[0] = a[i].v;
  f = settle(f & bits(apply_operation(op, args, w, Ctx{1, degrees})));
  if (is_empty(w.c[0]) || !(f & kSome)) return kNowhere;
  return {w.c[0], f};
}

// x^n for a whole n, in place.
void whole_power_value(Value& t, int n) {
  if (!(t.flags & kSome)) return;
  const Interval u = t.v;
  t.v = powi(u, n);
  if (n <= 0 && contains(u, 0)) t.flags &= is_point(u) ? 0 : kSome;
  if (is_empty(t.v)) t.flags = 0;
}

// A function with a value rule of its own on t, in place.
template <class F>
void unary(Value& t, F rule) {
  if (!(t.flags & kSome)) return;
  Interval w;
  t.flags = settle(t.flags & bits(rule(t.v, w)));
  t.v = w;
  if (is_empty(w) || !(t.flags & kSome)) t = kNowhere;
}

// After an operation on t: an empty result is defined nowhere.
void settle_empty(Value& t) {
  if (is_empty(t.v)) t.flags = 0;
}

// The value of the x step of kind xk (kXAddC ... kXPowWhole).
inline Value x_value(int xk, const Step& s, Interval x) {
  Value r{x, kKnown};
  switch (xk) {
    case kXAddC: r.v = add(x, s.c); break;
    case kXSubC: r.v = sub(x, s.c); break;
    case kXMulC: r.v = mul(x, s.c); break;
    default: whole_power_value(r, s.arg); return r;
  }
  settle_empty(r);
  return r;
}

// The top t combined with the value of an x step, as the binary step b
// would after pushing it. K is the kind kOnto + 4 b + x step.
template <int K>
void onto_top(Value& t, const Step& s, Interval x) {
  constexpr int b = (K - kOnto) / 4;
  const Value r = x_value(kXAddC + (K - kOnto) % 4, s, x);
  t.v = b == 0 ? add(t.v, r.v) : b == 1 ? sub(t.v, r.v) : mul(t.v, r.v);
  t.flags &= r.flags;
  settle_empty(t);
}

Interval sane(Interval a) {
  if (is_empty(a)) return a.lo == a.lo && a.hi == a.hi ? empty() : whole();
  return a;
}

Step leaf(Interval c, uint8_t flags) { return {kPush, 0, flags, 0, c}; }

// The value step of a binary step s with a constant c (right: the second
// operand). Sums and products are the same either way round.
Step with_constant(const Program::Step& s, Interval c, bool right) {
  switch (s.op) {
    case op::kAdd: return {kAddC, s.op, 0, 0, c};
    case op::kMul: return {kMulC, s.op, 0, 0, c};
    case op::kSub: return {right ? kSubC : kCSub, s.op, 0, 0, c};
    case op::kDiv: return right ? Step{kDivC, s.op, divisor_mask(c), 0, c} : Step{kCDiv, s.op, 0, 0, c};
    default: return {right ? kRuleC : kCRule, s.op, 0, 0, c};
  }
}

Step lower(const Program& p, const Program::Step& s) {
  switch (s.kind) {
    case Program::kConst: return leaf(p.consts[s.arg], kKnown);
    case Program::kX: return {kPushX};
    case Program::kY: return {kPushY};
    case Program::kRand: return leaf({0, 1}, kSome | kAll);
    case Program::kWhole: return leaf(whole(), kSome);
    case Program::kUndef: return leaf(empty(), 0);
    case Program::kDeriv: return {kUnknownTop};  // d( ) runs with series; not reached
    case Program::kOp:
      switch (s.op) {
        case op::kAdd: return {kAdd, s.op};
        case op::kSub: return {kSub, s.op};
        case op::kMul: return {kMul, s.op};
        case op::kDiv: return {kDiv, s.op};
        case op::kAbs: return {kAbs, s.op};
        case op::kSqrt: return {kSqrt, s.op};
        case op::kExp: return {kExp, s.op};
        case op::kLn: return {kLn, s.op};
        case op::kSin: return {kSin, s.op};
        case op::kCos: return {kCos, s.op};
        default: return {kRule, s.op};
      }
    case Program::kOpConstRight: return with_constant(s, p.consts[s.arg], true);
    case Program::kOpConstLeft: return with_constant(s, p.consts[s.arg], false);
    case Program::kPowWhole: return {kPowWhole, 0, 0, s.arg};
  }
  return {kUnknownTop};
}

}  // namespace

void lower_values(Program& p) {
  p.value_steps.clear();
  for (const Program::Step& s : p.steps) {
    Step v = lower(p, s);
    if (!p.value_steps.empty() && p.value_steps.back().kind == kPushX && on_x(v.kind) != kPush) {
      v.kind = on_x(v.kind);
      p.value_steps.back() = v;
    } else if (p.value_steps.size() > 1 && onto(p.value_steps.back().kind, v.kind) != kPush) {
      p.value_steps.back().kind = onto(p.value_steps.back().kind, v.kind);
    } else {
      p.value_steps.push_back(v);
    }
  }
}

Enclosure run_value(const Program& p, Interval x, const Interval* y, Value* st) {
  const bool degrees = p.angle == kDegrees;
  Value* t = st - 1;  // the top of the stack
  for (const Step& s : p.value_steps) {
    switch (s.kind) {
      case kPush: *++t = {s.c, s.mask}; break;
      case kPushX: *++t = {x, kKnown}; break;
      case kPushY: *++t = y ? Value{*y, kKnown} : kUnknown; break;
      case kUnknownTop: *t = kUnknown; break;
      case kAdd: --t; t->v = add(t->v, t[1].v); t->flags &= t[1].flags; settle_empty(*t); break;
      case kSub: --t; t->v = sub(t->v, t[1].v); t->flags &= t[1].flags; settle_empty(*t); break;
      case kMul: --t; t->v = mul(t->v, t[1].v); t->flags &= t[1].flags; settle_empty(*t); break;
      case kDiv:
        --t;
        t->flags &= t[1].flags & divisor_mask(t[1].v);
        t->v = div(t->v, t[1].v);
        settle_empty(*t);
        break;
      case kAddC: t->v = add(t->v, s.c); settle_empty(*t); break;
      case kSubC: t->v = sub(t->v, s.c); settle_empty(*t); break;
      case kCSub: t->v = sub(s.c, t->v); settle_empty(*t); break;
      case kMulC: t->v = mul(t->v, s.c); settle_empty(*t); break;
      case kDivC: t->v = div(t->v, s.c); t->flags &= s.mask; settle_empty(*t); break;
      case kCDiv: t->flags &= divisor_mask(t->v); t->v = div(s.c, t->v); settle_empty(*t); break;
      case kRule: {
        const int k = op::arity(s.op);
        t -= k - 1;
        *t = by_rule(s.op, t, k, degrees);
        break;
      }
      case kRuleC:
      case kCRule: {
        const bool right = s.kind == kRuleC;
        Value pair[2];
        pair[right ? 0 : 1] = *t;
        pair[right ? 1 : 0] = {s.c, kKnown};
        *t = by_rule(s.op, pair, 2, degrees);
        break;
      }
      case kPowWhole: whole_power_value(*t, s.arg); break;
      case kXAddC: *++t = {add(x, s.c), kKnown}; settle_empty(*t); break;
      case kXSubC: *++t = {sub(x, s.c), kKnown}; settle_empty(*t); break;
      case kXMulC: *++t = {mul(x, s.c), kKnown}; settle_empty(*t); break;
      case kXPowWhole: *++t = {x, kKnown}; whole_power_value(*t, s.arg); break;
#define KV_ONTO(i) \
  case kOnto + i: onto_top<kOnto + i>(*t, s, x); break;
      KV_ONTO(0) KV_ONTO(1) KV_ONTO(2) KV_ONTO(3) KV_ONTO(4) KV_ONTO(5)
      KV_ONTO(6) KV_ONTO(7) KV_ONTO(8) KV_ONTO(9) KV_ONTO(10) KV_ONTO(11)
#undef KV_ONTO
      case kAbs: unary(*t, value_abs); break;
      case kSqrt: unary(*t, value_sqrt); break;
      case kExp: unary(*t, value_exp); break;
      case kLn: unary(*t, value_ln); break;
      case kSin: unary(*t, [degrees](Interval u, Interval& w) { return value_sin(u, w, degrees); }); break;
      case kCos: unary(*t, [degrees](Interval u, Interval& w) { return value_cos(u, w, degrees); }); break;
    }
  }
  Enclosure e;
  const Value& r = st[0];
  e.f[0] = sane(r.v);
  for (int k = 1; k <= kMaxOrder; ++k) e.f[k] = whole();
  e.defined = defined(r.flags);
  e.continuous = (r.flags & kCont) != 0;
  e.smooth = (r.flags & kSmooth) != 0;
  e.uncertain = p.draws_rand;
  return e;
}

}  // namespace kv::interval

// The run of the interval program for the value alone: one interval and its
// flags per stack slot instead of a series, the arithmetic operators inline,
// one step kind each. The other operations get their series rule with one
// coefficient, so both runs agree on every value and flag.
#include <cmath>

#include "expr/limits.h"
#include "expr/opcodes.h"
#include "interval/interval_fn.h"
#include "interval/ops.h"
#include "interval/pair.h"
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
// A difference with a constant is the sum with its negation (sub is add of
// neg, so the very same interval). kEnd closes the list.
enum Kind : uint8_t {
  kEnd, kPush, kPushX, kPushY, kUnknownTop, kAdd, kSub, kMul, kDiv, kAddC, kCSub, kMulC, kDivC,
  kCDiv, kRule, kRuleC, kCRule, kPowWhole, kAbs, kSqrt, kExp, kLn, kSin, kCos,
  // x pushed and at once taken by the step: x + c, c x, x^n
  kXAddC, kXMulC, kXPowWhole,
  // one of those three at once added to, subtracted from or multiplied with
  // the top: products of linear factors, sums of powers
  kOnto  // to kOnto + 8: kOnto + 3 b + (x step - kXAddC), b indexing kOntoBinary
};

// The binary kinds that take an x step onto the top, in the order of kOnto.
constexpr uint8_t kOntoBinary[] = {kAdd, kSub, kMul};

// The kind of the x step xk followed by the binary step b, or kPush for none.
uint8_t onto(uint8_t xk, uint8_t b) {
  if (xk < kXAddC || xk > kXPowWhole) return kPush;
  for (int i = 0; i < 3; ++i) {
    if (kOntoBinary[i] == b) return static_cast<uint8_t>(kOnto + 3 * i + (xk - kXAddC));
  }
  return kPush;
}

// The kind that x followed by a step of kind k becomes, or kPush for none.
Kind on_x(uint8_t k) {
  switch (k) {
    case kAddC: return kXAddC;
    case kMulC: return kXMulC;
    case kPowWhole: return kXPowWhole;
    default: return kPush;
  }
}

constexpr Value kNowhere{{kInf, -kInf}, 0};

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

// The flags of a leaf that is defined everywhere, unless it is empty.
uint8_t leaf_flags(Interval v) { return is_empty(v) ? 0 : kKnown; }

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

// powi(u, n) of a u that is not empty, the squares with both ends at once.
[[gnu::always_inline]] inline Interval power(Interval u, int n) {
  switch (n) {
    case 1: return u;
    case 2: return sqr_both(u);
    case 3: return cube_both(u);
    case 4: return sqr_both(sqr_both(u));
    default: return powi(u, n);
  }
}

// v^n for a whole n, in place, with its flags f.
[[gnu::always_inline]] inline void whole_power_value(Interval& v, uint8_t& f, int n) {
  if (!(f & kSome)) return;
  const Interval u = v;
  v = power(u, n);
  if (n <= 0 && contains(u, 0)) f &= is_point(u) ? 0 : kSome;
  if (is_empty(v)) f = 0;
}

// A function with a value rule of its own on the top (v, f), in place.
template <class F>
void unary(Interval& v, uint8_t& f, F rule) {
  if (!(f & kSome)) return;
  Interval w;
  f = settle(f & bits(rule(v, w)));
  v = w;
  if (is_empty(w) || !(f & kSome)) {
    v = kNowhere.v;
    f = 0;
  }
}

// The value of the x step of kind XK (kXAddC ... kXPowWhole); f enters as
// the flags of x.
template <int XK>
[[gnu::always_inline]] inline Interval x_value(const Step& s, Interval x, uint8_t& f) {
  if constexpr (XK == kXAddC) return add_both(x, s.c);
  if constexpr (XK == kXMulC) return mul_both(x, s.c);
  Interval v = x;
  whole_power_value(v, f, s.arg);
  return v;
}

// The top (v, f) combined with the value of an x step, as the binary step
// would after pushing it, for the step s and each following one of the
// same kind K = kOnto + 3 b + x step: a product of linear factors runs
// with the top out of memory and one dispatch. Returns the last step taken.
template <int K>
[[gnu::always_inline]] inline const Step* onto_top(Interval& v, uint8_t& f, const Step* s, Interval x,
                                                   uint8_t xf) {
  constexpr int b = (K - kOnto) / 3;
  do {
    uint8_t rf = xf;
    const Interval r = x_value<kXAddC + (K - kOnto) % 3>(*s, x, rf);
    v = b == 0 ? add_both(v, r) : b == 1 ? sub_both(v, r) : mul_both(v, r);
    f &= rf;
  } while ((++s)->kind == K);
  return s - 1;
}

// div_both once, out of the run: inline in each of the three quotient
// steps it crowded the run's registers more than its call costs.
[[gnu::noinline]] Interval quotient(Interval a, Interval b) { return div_both(a, b); }

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
    case op::kSub: return right ? Step{kAddC, s.op, 0, 0, neg(c)} : Step{kCSub, s.op, 0, 0, c};
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

// The result of a run from its top.
Enclosure finish(Interval v, uint8_t f, bool uncertain) {
  Enclosure e;
  e.f[0] = sane(v);
  for (int k = 1; k <= kMaxOrder; ++k) e.f[k] = whole();
  e.defined = defined(f);
  e.continuous = (f & kCont) != 0;
  e.smooth = (f & kSmooth) != 0;
  e.uncertain = uncertain;
  return e;
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
  p.value_steps.push_back({kEnd});
}

// The top of the stack lives in (v, f), out of memory; the slots below it
// from st on. A slot holds no bits exactly when its interval is empty, so
// sums, differences and products of two slots, never empty themselves,
// meet the flags and need no test of the result.
Enclosure run_value(const Program& p, Interval x, const Interval* y, Value* st) {
  const bool degrees = p.angle == kDegrees;
  const uint8_t xf = leaf_flags(x);
  Value* b = st - 1;  // the slot below the top
  Interval v = empty();
  uint8_t f = 0;
  const auto push = [&](Interval w, uint8_t wf) {
    *++b = {v, f};
    v = w;
    f = wf;
  };
  for (const Step* s = p.value_steps.data();; ++s) {
    switch (s->kind) {
      case kEnd: return finish(v, f, p.draws_rand);
      case kPush: push(s->c, s->mask); break;
      case kPushX: push(x, xf); break;
      case kPushY: y ? push(*y, leaf_flags(*y)) : push(whole(), kSome); break;
      case kUnknownTop: v = whole(); f = kSome; break;
      case kAdd: v = add_both(b->v, v); f &= b->flags; --b; break;
      case kSub: v = sub_both(b->v, v); f &= b->flags; --b; break;
      case kMul: v = mul_both(b->v, v); f &= b->flags; --b; break;
      case kDiv:
        f &= b->flags & divisor_mask(v);
        v = quotient(b->v, v);
        --b;
        if (is_empty(v)) f = 0;
        break;
      case kAddC: v = add_both(v, s->c); break;
      case kCSub: v = sub_both(s->c, v); break;
      case kMulC: v = mul_both(v, s->c); break;
      case kDivC: v = quotient(v, s->c); f &= s->mask; if (is_empty(v)) f = 0; break;
      case kCDiv: f &= divisor_mask(v); v = quotient(s->c, v); if (is_empty(v)) f = 0; break;
      case kRule: {
        const int k = op::arity(s->op);
        b[1] = {v, f};
        Value* a = b + 2 - k;
        const Value r = by_rule(s->op, a, k, degrees);
        b = a - 1;
        v = r.v;
        f = r.flags;
        break;
      }
      case kRuleC:
      case kCRule: {
        const bool right = s->kind == kRuleC;
        Value pair[2];
        pair[right ? 0 : 1] = {v, f};
        pair[right ? 1 : 0] = {s->c, kKnown};
        const Value r = by_rule(s->op, pair, 2, degrees);
        v = r.v;
        f = r.flags;
        break;
      }
      case kPowWhole: whole_power_value(v, f, s->arg); break;
      case kXAddC: push(add_both(x, s->c), xf); break;
      case kXMulC: push(mul_both(x, s->c), xf); break;
      case kXPowWhole: push(x, xf); whole_power_value(v, f, s->arg); break;
#define KV_ONTO(i) \
  case kOnto + i: s = onto_top<kOnto + i>(v, f, s, x, xf); break;
      KV_ONTO(0) KV_ONTO(1) KV_ONTO(2) KV_ONTO(3) KV_ONTO(4) KV_ONTO(5) KV_ONTO(6) KV_ONTO(7) KV_ONTO(8)
#undef KV_ONTO
      case kAbs: unary(v, f, [](Interval u, Interval& w) { return value_abs(u, w); }); break;
      case kSqrt: unary(v, f, [](Interval u, Interval& w) { return value_sqrt(u, w); }); break;
      case kExp: unary(v, f, [](Interval u, Interval& w) { return value_exp(u, w); }); break;
      case kLn: unary(v, f, [](Interval u, Interval& w) { return value_ln(u, w); }); break;
      case kSin: unary(v, f, [degrees](Interval u, Interval& w) { return value_sin(u, w, degrees); }); break;
      case kCos: unary(v, f, [degrees](Interval u, Interval& w) { return value_cos(u, w, degrees); }); break;
      default: __builtin_unreachable();
    }
  }
}

}  // namespace kv::interval

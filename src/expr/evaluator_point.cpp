// The single-point evaluation of plain programs: the solver of differential
// equations and the value tables call it once per point, so entering and
// dispatching cost as much as the arithmetic itself.
//
// The arithmetic operators run optimistically, as plain IEEE operations. They
// agree with the full rules of mathfn.h whenever every operand and result is
// a number below max_mag in magnitude and no factor or divisor lies within
// eps of zero. Instead of testing that at every operation, the run keeps the
// largest magnitude of the values it produced and the smallest magnitude of
// the factors and divisors, notes any NaN a function returns, and tests them
// once at the end. A point that left the common case anywhere (or whose
// value is undefined) is evaluated again by the general path, so every
// result is exactly what the full rules give.
//
// Why the end test suffices: the variables are tested on entry and the
// constants when the steps are made; every other value an operator takes is
// the result of an earlier step and so was tracked. Take the first operator
// that left the common case: its operands were numbers, so it either had an
// operand or result of magnitude max_mag or more, which the largest
// magnitude keeps, or a factor or divisor within eps of zero, which the
// smallest keeps. NaN arises only after that, and the trackers ignore it, so
// a later value cannot overwrite the record.
//
// A point that draws random numbers and is evaluated again first steps the
// generator back, so that the second evaluation draws the same numbers and
// the sequence goes on as if the point had been evaluated once.
// The dispatch jumps straight from one step's code to the next through a
// table of label addresses, a GCC and Clang extension that every compiler we
// build with has and that the speed of this path rests on.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"

#include "expr/evaluator_point.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "expr/evaluator.h"
#include "expr/op_table.h"
#include "expr/opcodes.h"

namespace kv {
namespace {

// Step kinds, in the order of the handler table of run_point: the leaves,
// powers and fused pairs first, then four kinds (one per operand mode) for
// every two-argument operation, gaussd, and one kind for every one-argument
// operation.
enum : uint8_t {
  kStepEnd,
  kStepConst,
  kStepVar,
  kStepRand,
  kStepSquare,
  kStepCube,
  kStepPower,
  kStepVarSquare,  // a variable, squared
  kStepVarCube,    // a variable, cubed
  // An operator whose second argument is another operator applied to a
  // variable and a constant, as in (x+1)*(x-1): the pair saves a push, a pop
  // and a dispatch.
  kStepFused,
  kFirstBinaryStep = kStepFused + 16,
};

#define KV_CODE(code, name) code,
constexpr uint8_t kBinaryCodes[] = {KV_ARITHMETIC_OPERATIONS(KV_CODE)
                                        KV_OTHER_BINARY_OPERATIONS(KV_CODE)};
constexpr uint8_t kUnaryCodes[] = {KV_UNARY_OPERATIONS(KV_CODE)};
#undef KV_CODE
constexpr int kBinaryCount = static_cast<int>(sizeof kBinaryCodes);
constexpr int kUnaryCount = static_cast<int>(sizeof kUnaryCodes);
constexpr int kGaussdStep = kFirstBinaryStep + 4 * kBinaryCount;
constexpr int kFirstUnaryStep = kGaussdStep + 1;
constexpr int kStepKinds = kFirstUnaryStep + kUnaryCount;
static_assert(kStepKinds <= 256, "step kinds fit a byte");

constexpr int index_in(const uint8_t* codes, int n, uint8_t code) {
  for (int i = 0; i < n; ++i) {
    if (codes[i] == code) return i;
  }
  return -1;
}

constexpr int arithmetic_index(uint8_t code) {
  return code == op::kAdd ? 0 : code == op::kSub ? 1 : code == op::kMul ? 2 : code == op::kDiv ? 3 : -1;
}

// The kind of an operation with the given operand mode, or -1.
constexpr int step_kind(uint8_t code, uint8_t mode) {
  const int binary = index_in(kBinaryCodes, kBinaryCount, code);
  if (binary >= 0) return kFirstBinaryStep + 4 * binary + mode;
  if (mode != kFromStack) return -1;
  if (code == op::kGaussd) return kGaussdStep;
  const int unary = index_in(kUnaryCodes, kUnaryCount, code);
  return unary >= 0 ? kFirstUnaryStep + unary : -1;
}

constexpr uint8_t fused_kind(uint8_t outer, uint8_t inner) {
  return static_cast<uint8_t>(kStepFused + arithmetic_index(outer) * 4 + arithmetic_index(inner));
}

// Merges step pairs into the fused kinds above.
void fuse_steps(std::vector<PointStep>& steps) {
  std::vector<PointStep> out;
  out.reserve(steps.size());
  for (size_t i = 0; i < steps.size(); ++i) {
    PointStep s = steps[i];
    const uint8_t next = i + 1 < steps.size() ? steps[i + 1].kind : uint8_t{kStepEnd};
    if (s.kind == kStepVar && (next == kStepSquare || next == kStepCube)) {
      s.kind = next == kStepSquare ? kStepVarSquare : kStepVarCube;
      ++i;
    }
    for (uint8_t inner : {op::kAdd, op::kSub, op::kMul, op::kDiv}) {
      for (uint8_t outer : {op::kAdd, op::kSub, op::kMul, op::kDiv}) {
        if (s.kind == step_kind(inner, kVarConst) && next == step_kind(outer, kFromStack)) {
          s.kind = fused_kind(outer, inner);
          ++i;
        }
      }
    }
    out.push_back(s);
  }
  steps = std::move(out);
}

}  // namespace

bool build_point_steps(Program& p) {
  p.steps.clear();
  p.point_vars = 0;
  int draws = 0;
  const double eps = p.key.zero_tolerance, max_mag = p.key.max_magnitude;
  // Squares and cubes taken without range checks stay below 1e300, and
  // run_point takes them for known values.
  if (p.fatal >= 0 || p.has_derivative || p.max_stack >= kPointStack || !(max_mag > 1e300)) {
    return false;
  }
  p.steps.reserve(p.code.size() + 1);
  for (const Instr& in : p.code) {
    PointStep s;
    switch (in.op) {
      case Program::kConst: s.kind = kStepConst; s.c = p.consts[in.arg]; break;
      case Program::kVar: s.kind = kStepVar; s.var = static_cast<uint8_t>(in.arg); break;
      case Program::kRandLeaf: s.kind = kStepRand; ++draws; break;
      case Program::kPowInt:
        s.kind = in.arg == 2 ? kStepSquare : in.arg == 3 ? kStepCube : kStepPower;
        s.n = static_cast<int16_t>(in.arg);
        break;
      default: {
        // The empty code and d( ) stay with the general path.
        const int kind = step_kind(in.op, in.mode);
        if (kind < 0) {
          p.steps.clear();
          return false;
        }
        s.kind = static_cast<uint8_t>(kind);
        if (in.mode == kFromVar) s.var = static_cast<uint8_t>(in.arg);
        if (in.mode == kVarConst) s.var = static_cast<uint8_t>(in.var);
        if (in.mode == kFromConst || in.mode == kVarConst) {
          s.c = p.consts[in.arg];
          // A constant operand of an operator is not among the tracked values.
          const bool ordinary = std::fabs(s.c) > eps && std::fabs(s.c) < max_mag;
          if (arithmetic_index(in.op) >= 0 && !ordinary) {
            p.steps.clear();
            return false;
          }
        }
      }
    }
    // Pushed constants are taken for known values (see run_point).
    if (s.kind == kStepConst && !(std::fabs(s.c) < max_mag)) {
      p.steps.clear();
      return false;
    }
    if (s.kind == kStepVar || in.mode == kFromVar || in.mode == kVarConst) {
      p.point_vars |= static_cast<uint8_t>(1u << s.var);
    }
    p.steps.push_back(s);
  }
  if (draws > INT16_MAX) {
    p.steps.clear();
    return false;
  }
  fuse_steps(p.steps);
  PointStep end;  // kStepEnd
  end.n = static_cast<int16_t>(draws);
  p.steps.push_back(end);
  return true;
}

namespace {

// The optimistic operators. `small` collects the magnitudes of factors and
// divisors; sums need nothing beyond the tracking of every value.
struct Tracked {
  double small = std::numeric_limits<double>::infinity();

  // Written so that a NaN leaves `small` as it is (see the end test).
  void factor(double v) {
    const double f = std::fabs(v);
    small = f < small ? f : small;
  }

  template <uint8_t Code>
  double apply(double a, double b) {
    if constexpr (Code == op::kAdd) return a + b;
    if constexpr (Code == op::kSub) return a - b;
    if constexpr (Code == op::kMul) {
      factor(a);
      factor(b);
      return a * b;
    }
    if constexpr (Code == op::kDiv) {
      factor(b);
      return a / b;
    }
  }
  // b is a constant that was found ordinary when the steps were made.
  template <uint8_t Code>
  double apply_const(double a, double b) {
    if constexpr (Code == op::kMul) factor(a);
    if constexpr (Code == op::kMul || Code == op::kDiv) return Code == op::kMul ? a * b : a / b;
    return apply<Code>(a, b);
  }
};

// Squares and cubes of ordinary numbers need no range checks.
inline bool squares_plainly(double a) { return std::fabs(a) < 1e150 && std::fabs(a) > 1e-150; }
inline bool cubes_plainly(double a) { return std::fabs(a) < 1e100 && std::fabs(a) > 1e-100; }

}  // namespace

// Handlers. Each ends by tracking its value and jumping straight to the
// handler of the next step: a jump through the table from every handler
// instead of one shared switch costs fewer instructions per step and gives
// the branch predictor one jump per handler to learn. Values known to be
// numbers below max_mag in magnitude need no tracking: the variables (tested
// on entry), the constants (tested when the steps are made), random numbers
// and squares and cubes taken without range checks.
#define KV_NEXT_KNOWN goto* kHandlers[(++s)->kind]
#define KV_NEXT \
  track(acc);   \
  KV_NEXT_KNOWN

// The second argument of a two-argument operation comes from the stack, the
// step's constant or a variable; with kVarConst both arguments are leaves and
// the value before it is pushed.
#define KV_POINT_ARITHMETIC(code, name)                   \
  name##_stack : --top;                                   \
  acc = t.apply<code>(*top, acc);                         \
  KV_NEXT;                                                \
  name##_const : acc = t.apply_const<code>(acc, s->c);    \
  KV_NEXT;                                                \
  name##_var : acc = t.apply<code>(acc, vars[s->var]);    \
  KV_NEXT;                                                \
  name##_var_const : *top++ = acc;                        \
  acc = t.apply_const<code>(vars[s->var], s->c);          \
  KV_NEXT;
// The other functions keep their full rules; a NaN they return against their
// contract is noted all the same, so that no value escapes the end test.
#define KV_POINT_BINARY(code, name)                       \
  name##_stack : --top;                                   \
  acc = number(fn::name(m, e, *top, acc));                \
  KV_NEXT;                                                \
  name##_const : acc = number(fn::name(m, e, acc, s->c)); \
  KV_NEXT;                                                \
  name##_var : acc = number(fn::name(m, e, acc, vars[s->var])); \
  KV_NEXT;                                                \
  name##_var_const : *top++ = acc;                        \
  acc = number(fn::name(m, e, vars[s->var], s->c));       \
  KV_NEXT;
#define KV_POINT_UNARY(code, name)         \
  name##_stack : acc = number(fn::name(m, e, acc)); \
  KV_NEXT;
// The inner result is an operand that no step leaves behind: tracked here.
#define KV_POINT_FUSED(outer, outer_name, inner, inner_name)   \
  outer_name##_##inner_name : {                                \
    const double b = t.apply_const<inner>(vars[s->var], s->c); \
    track(b);                                                  \
    acc = t.apply<outer>(acc, b);                              \
  }                                                            \
  KV_NEXT;
#define KV_FUSED_INTO(X, outer, outer_name)                         \
  X(outer, outer_name, op::kAdd, add) X(outer, outer_name, op::kSub, sub) \
  X(outer, outer_name, op::kMul, mul) X(outer, outer_name, op::kDiv, div)
#define KV_FUSED(X)                                                  \
  KV_FUSED_INTO(X, op::kAdd, add) KV_FUSED_INTO(X, op::kSub, sub)    \
  KV_FUSED_INTO(X, op::kMul, mul) KV_FUSED_INTO(X, op::kDiv, div)

// Entries of the handler table, in the order of the step kinds.
#define KV_FUSED_LABEL(outer, outer_name, inner, inner_name) &&outer_name##_##inner_name,
#define KV_BINARY_LABELS(code, name) &&name##_stack, &&name##_const, &&name##_var, &&name##_var_const,
#define KV_UNARY_LABEL(code, name) &&name##_stack,

double Evaluator::run_point(const Program& p, const double* vars) {
  static const void* const kHandlers[] = {
      &&end, &&push_const, &&push_var, &&push_rand, &&square_top, &&cube_top, &&power_top,
      &&square_var, &&cube_var,
      KV_FUSED(KV_FUSED_LABEL)
      KV_ARITHMETIC_OPERATIONS(KV_BINARY_LABELS)
      KV_OTHER_BINARY_OPERATIONS(KV_BINARY_LABELS)
      &&gaussd_stack,
      KV_UNARY_OPERATIONS(KV_UNARY_LABEL)
  };
  static_assert(sizeof kHandlers / sizeof kHandlers[0] == kStepKinds);

  constexpr double kLeft = std::numeric_limits<double>::quiet_NaN();
  const MathEnv& m = env_;
  // A stack of its own in the frame: stores into it cannot alias the
  // limits or the variables, so these stay in registers.
  double stack[kPointStack];
  double* top = stack;
  bool e = false;
  Tracked t;
  // Stays 0 while every function result is a number.
  double not_number = 0.0;
  auto number = [&not_number](double v) {
    not_number += v - v;
    return v;
  };
  // The largest magnitude so far. A NaN that comes later leaves it as it is:
  // were it taken in, the next value would replace it and the record would
  // be lost. The variables are its first values: x always, as the steps
  // nearly always read it, and a NaN there stays, since no comparison with
  // it holds.
  double big = std::fabs(vars[0]);
  auto track = [&big](double v) {
    const double f = std::fabs(v);
    big = f > big ? f : big;
  };
  if (p.point_vars > 1) [[unlikely]] {
    for (unsigned used = p.point_vars >> 1, i = 1; used != 0; used >>= 1, ++i) {
      if (used & 1u) track(number(vars[i]));
    }
  }
  // The bottom of the stack is never an operand, so 0 stands for it.
  double acc = 0.0;
  const PointStep* s = p.steps.data();
  goto* kHandlers[s->kind];

end:
  if (!(big + not_number < m.max_mag && t.small > m.eps && !e)) [[unlikely]] {
    // Every step ran once, so the run drew as many numbers as the end step
    // says.
    for (int i = 0; i < s->n; ++i) random_state().back();
    return kLeft;
  }
  return acc;
push_const:
  *top++ = acc;
  acc = s->c;
  KV_NEXT_KNOWN;
push_var:
  *top++ = acc;
  acc = vars[s->var];
  KV_NEXT_KNOWN;
push_rand:
  *top++ = acc;
  acc = draw_random();
  KV_NEXT_KNOWN;
square_top:
  if (squares_plainly(acc)) {
    acc = acc * acc;
    KV_NEXT_KNOWN;
  }
  acc = number(fn::powi(m, e, acc, 2));
  KV_NEXT;
cube_top:
  if (cubes_plainly(acc)) {
    acc = acc * (acc * acc);
    KV_NEXT_KNOWN;
  }
  acc = number(fn::powi(m, e, acc, 3));
  KV_NEXT;
power_top:
  acc = number(fn::powi(m, e, acc, s->n));
  KV_NEXT;
square_var:
  *top++ = acc;
  acc = vars[s->var];
  if (squares_plainly(acc)) {
    acc = acc * acc;
    KV_NEXT_KNOWN;
  }
  acc = number(fn::powi(m, e, acc, 2));
  KV_NEXT;
cube_var:
  *top++ = acc;
  acc = vars[s->var];
  if (cubes_plainly(acc)) {
    acc = acc * (acc * acc);
    KV_NEXT_KNOWN;
  }
  acc = number(fn::powi(m, e, acc, 3));
  KV_NEXT;
  KV_FUSED(KV_POINT_FUSED)
  KV_ARITHMETIC_OPERATIONS(KV_POINT_ARITHMETIC)
  KV_OTHER_BINARY_OPERATIONS(KV_POINT_BINARY)
gaussd_stack:
  top -= 2;
  acc = number(fn::gaussd(m, e, top[0], top[1], acc));
  KV_NEXT;
  KV_UNARY_OPERATIONS(KV_POINT_UNARY)
}

#undef KV_NEXT
#undef KV_NEXT_KNOWN
#undef KV_POINT_ARITHMETIC
#undef KV_POINT_BINARY
#undef KV_POINT_UNARY
#undef KV_POINT_FUSED
#undef KV_FUSED_INTO
#undef KV_FUSED
#undef KV_FUSED_LABEL
#undef KV_BINARY_LABELS
#undef KV_UNARY_LABEL

}  // namespace kv

#pragma GCC diagnostic pop

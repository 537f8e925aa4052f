// Evaluation of one formula at a block of points: every operation of the
// program runs over the whole block before the next one, so the dispatch
// costs once per block instead of once per point.
#include <algorithm>
#include <cmath>

#include "expr/evaluator.h"
#include "expr/op_table.h"
#include "expr/opcodes.h"

namespace kv {
namespace {

constexpr int kBlock = 64;  // points per block

// The common case of the arithmetic operators without branches, so that the
// compiler can vectorise it; the points that leave the common case (infinite
// operands, divisors near zero, products near zero) are redone with the full
// rules.
struct AddFast {
  static bool ok(const MathEnv& m, double a, double b) {
    return std::fabs(a) < m.max_mag && std::fabs(b) < m.max_mag;
  }
  static double value(const MathEnv& m, double a, double b) {
    return std::min(std::max(a + b, -m.max_mag), m.max_mag);
  }
  static double full(const MathEnv& m, bool& e, double a, double b) { return fn::add(m, e, a, b); }
};
struct SubFast {
  static bool ok(const MathEnv& m, double a, double b) { return AddFast::ok(m, a, b); }
  static double value(const MathEnv& m, double a, double b) {
    return std::min(std::max(a - b, -m.max_mag), m.max_mag);
  }
  static double full(const MathEnv& m, bool& e, double a, double b) { return fn::sub(m, e, a, b); }
};
struct MulFast {
  static bool ok(const MathEnv& m, double a, double b) {
    return std::fabs(a) < m.max_mag && std::fabs(b) < m.max_mag;
  }
  static double value(const MathEnv& m, double a, double b) {
    double v = std::min(std::max(a * b, -m.max_mag), m.max_mag);
    return (std::fabs(a) <= m.eps || std::fabs(b) <= m.eps) ? 0.0 : v;
  }
  static double full(const MathEnv& m, bool& e, double a, double b) { return fn::mul(m, e, a, b); }
};
struct DivFast {
  static bool ok(const MathEnv& m, double a, double b) {
    return std::fabs(b) >= m.eps && std::fabs(b) < m.max_mag && std::fabs(a) < m.max_mag;
  }
  static double value(const MathEnv& m, double a, double b) {
    return std::min(std::max(a / b, -m.max_mag), m.max_mag);
  }
  static double full(const MathEnv& m, bool& e, double a, double b) { return fn::div(m, e, a, b); }
};

template <class Op, class A, class B>
void block_arith(const MathEnv& m, int n, double* acc, bool* e, A first, B second) {
  double r[kBlock];
  bool rare = false;
  for (int l = 0; l < n; ++l) {
    const double a = first(l), b = second(l);
    const bool ok = Op::ok(m, a, b);
    r[l] = ok ? Op::value(m, a, b) : 0.0;
    rare |= !ok;
  }
  if (rare) {
    for (int l = 0; l < n; ++l) {
      const double a = first(l), b = second(l);
      if (!Op::ok(m, a, b)) r[l] = Op::full(m, e[l], a, b);
    }
  }
  std::copy(r, r + n, acc);
}

// Positive whole powers by the same repeated squaring as fn::powi, run bit by
// bit over the block, for bases whose powers stay well inside the normal range.
void block_power(const MathEnv& m, int n, double* acc, bool* e, int exponent) {
  const double hi = std::pow(10.0, 300.0 / exponent), lo = 1.0 / hi;
  double r[kBlock], b[kBlock];
  bool rare = false;
  for (int l = 0; l < n; ++l) {
    const double fa = std::fabs(acc[l]);
    rare |= !(fa < hi && (fa > lo || acc[l] == 0.0));
    r[l] = 1.0;
    b[l] = acc[l];
  }
  for (unsigned k = static_cast<unsigned>(exponent);;) {
    if (k & 1u) for (int l = 0; l < n; ++l) r[l] *= b[l];
    k >>= 1;
    if (k == 0) break;
    for (int l = 0; l < n; ++l) b[l] *= b[l];
  }
  if (rare) {
    for (int l = 0; l < n; ++l) {
      const double fa = std::fabs(acc[l]);
      if (!(fa < hi && (fa > lo || acc[l] == 0.0))) r[l] = fn::powi(m, e[l], acc[l], exponent);
    }
  }
  std::copy(r, r + n, acc);
}

}  // namespace

#define KV_BLOCK_BINARY(code, name)                                                         \
  case code:                                                                               \
    if (in.mode == kVarConst) {                                                            \
      push();                                                                              \
      const double c = consts[in.arg];                                                     \
      for (int l = 0; l < n; ++l) {                                                        \
        acc[l] = fn::name(m, e[l], in.unused == 0 ? x[l] : vars[in.unused], c);            \
      }                                                                                    \
    } else if (in.mode == kFromConst) {                                                    \
      const double c = consts[in.arg];                                                     \
      for (int l = 0; l < n; ++l) acc[l] = fn::name(m, e[l], acc[l], c);                   \
    } else if (in.mode == kFromVar) {                                                      \
      if (in.arg == 0) {                                                                   \
        for (int l = 0; l < n; ++l) acc[l] = fn::name(m, e[l], acc[l], x[l]);              \
      } else {                                                                             \
        const double v = vars[in.arg];                                                     \
        for (int l = 0; l < n; ++l) acc[l] = fn::name(m, e[l], acc[l], v);                 \
      }                                                                                    \
    } else {                                                                               \
      const double* a = st + (--sp) * kBlock;                                              \
      for (int l = 0; l < n; ++l) acc[l] = fn::name(m, e[l], a[l], acc[l]);                \
    }                                                                                      \
    break;
#define KV_BLOCK_UNARY(code, name) \
  case code:                       \
    for (int l = 0; l < n; ++l) acc[l] = fn::name(m, e[l], acc[l]); \
    break;

#define KV_BLOCK_ARITH(code, Op)                                                            \
  case code:                                                                               \
    if (in.mode == kFromConst) {                                                           \
      const double c = consts[in.arg];                                                     \
      block_arith<Op>(m, n, acc, e, [&](int l) { return acc[l]; }, [c](int) { return c; }); \
    } else if (in.mode == kVarConst) {                                                     \
      push();                                                                              \
      const double c = consts[in.arg];                                                     \
      if (in.unused == 0) {                                                                \
        block_arith<Op>(m, n, acc, e, [x](int l) { return x[l]; }, [c](int) { return c; }); \
      } else {                                                                             \
        const double v = vars[in.unused];                                                  \
        block_arith<Op>(m, n, acc, e, [v](int) { return v; }, [c](int) { return c; });    \
      }                                                                                    \
    } else if (in.mode == kFromVar && in.arg == 0) {                                       \
      block_arith<Op>(m, n, acc, e, [&](int l) { return acc[l]; }, [x](int l) { return x[l]; }); \
    } else if (in.mode == kFromVar) {                                                      \
      const double v = vars[in.arg];                                                       \
      block_arith<Op>(m, n, acc, e, [&](int l) { return acc[l]; }, [v](int) { return v; }); \
    } else {                                                                               \
      const double* a = st + (--sp) * kBlock;                                              \
      block_arith<Op>(m, n, acc, e, [a](int l) { return a[l]; }, [&](int l) { return acc[l]; }); \
    }                                                                                      \
    break;

void Evaluator::run_block(const Program& p, const double* x, int n, const double* vars,
                          double* out, bool* undefined) {
  const Instr* code = p.code.data();
  const double* consts = p.consts.data();
  const MathEnv m = env_;
  double acc[kBlock];
  bool e[kBlock] = {};
  double* st = block_stack_.data();
  int sp = 0;
  auto push = [&]() {
    std::copy(acc, acc + n, st + sp * kBlock);
    ++sp;
  };
  const int size = static_cast<int>(p.code.size());
  for (int i = 0; i < size; ++i) {
    const Instr in = code[i];
    switch (in.op) {
      case Program::kConst: push(); std::fill(acc, acc + n, consts[in.arg]); break;
      case Program::kVar:
        push();
        if (in.arg == 0) std::copy(x, x + n, acc); else std::fill(acc, acc + n, vars[in.arg]);
        break;
      case Program::kRandLeaf:
        push();
        for (int l = 0; l < n; ++l) acc[l] = rand_.next() / 32767.0;
        break;
      case Program::kUndef: push(); std::fill(e, e + n, true); break;
      case Program::kPowInt:
        if (in.arg > 0) block_power(m, n, acc, e, in.arg);
        else for (int l = 0; l < n; ++l) acc[l] = fn::powi(m, e[l], acc[l], in.arg);
        break;
      KV_BLOCK_ARITH(op::kAdd, AddFast)
      KV_BLOCK_ARITH(op::kSub, SubFast)
      KV_BLOCK_ARITH(op::kMul, MulFast)
      KV_BLOCK_ARITH(op::kDiv, DivFast)
      KV_OTHER_BINARY_OPERATIONS(KV_BLOCK_BINARY)
      case op::kGaussd: {
        sp -= 2;
        const double* a = st + sp * kBlock;
        const double* b = a + kBlock;
        for (int l = 0; l < n; ++l) acc[l] = fn::gaussd(m, e[l], a[l], b[l], acc[l]);
        break;
      }
      KV_UNARY_OPERATIONS(KV_BLOCK_UNARY)
      default: std::fill(e, e + n, true); break;  // d( ) never reaches here
    }
  }
  for (int l = 0; l < n; ++l) {
    undefined[l] = e[l];
    out[l] = e[l] ? kUndefined : acc[l];
  }
}

#undef KV_BLOCK_BINARY
#undef KV_BLOCK_UNARY
#undef KV_BLOCK_ARITH

void Evaluator::evaluate_many(const CompiledFormula& f, const double* x, int n,
                              const double* vars, double* out, bool* undefined) {
  const Program* p = fatal_ == kMsgNone ? prepare(f) : nullptr;
  if (!p || p->fatal >= 0 || p->has_derivative) {
    // d( ) moves the variables point by point; faults are found on the way.
    double v[6];
    std::copy(vars, vars + 6, v);
    for (int i = 0; i < n; ++i) {
      v[0] = x[i];
      out[i] = evaluate(f, v);
      undefined[i] = err_;
      if (fatal_ != kMsgNone) {
        std::fill(out + i, out + n, kUndefined);
        std::fill(undefined + i, undefined + n, true);
        return;
      }
    }
    return;
  }
  const size_t need = static_cast<size_t>(p->max_stack + 1) * kBlock;
  if (block_stack_.size() < need) block_stack_.resize(need);
  for (int i = 0; i < n; i += kBlock) {
    run_block(*p, x + i, std::min(kBlock, n - i), vars, out + i, undefined + i);
  }
  err_ = n > 0 && undefined[n - 1];
}

}  // namespace kv

// Evaluation of one formula at a block of points: every operation of the
// program runs over the whole block before the next one, so the dispatch
// costs once per block instead of once per point.
#include <algorithm>
#include <cmath>

#include "expr/evaluator.h"
#include "expr/derivative_rule.h"
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

void block_power(const MathEnv& m, int n, double* acc, bool* e, int exponent) {
  const double hi = std::ldexp(1.0, 1000 / exponent), lo = 1.0 / hi;
  auto ordinary = [hi, lo](double a) {
    const double fa = std::fabs(a);
    return fa < hi && (fa >= lo || a == 0.0);
  };
  double r[kBlock], b[kBlock];
  bool rare = false;
  for (int l = 0; l < n; ++l) {
    rare |= !ordinary(acc[l]);
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
      if (!ordinary(acc[l])) r[l] = fn::powi(m, e[l], acc[l], exponent);
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
        acc[l] = fn::name(m, e[l], in.var == 0 ? x[l] : vars[in.var], c);            \
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
      if (in.var == 0) {                                                                \
        block_arith<Op>(m, n, acc, e, [x](int l) { return x[l]; }, [c](int) { return c; }); \
      } else {                                                                             \
        const double v = vars[in.var];                                                  \
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

void Evaluator::run_block(const Program& p, int begin, int end, const double* x, int n,
                          const double* vars, double* acc_out, bool* e_out, double* st,
                          int depth) {
  // Local arrays: the compiler then knows that they alias nothing, which
  // keeps the per-point loops tight.
  double acc[kBlock];
  bool e[kBlock];
  std::copy(acc_out, acc_out + n, acc);
  std::copy(e_out, e_out + n, e);
  const Instr* code = p.code.data();
  const double* consts = p.consts.data();
  const MathEnv m = env_;
  int sp = 0;
  auto push = [&]() {
    std::copy(acc, acc + n, st + sp * kBlock);
    ++sp;
  };
  for (int i = begin; i < end; ++i) {
    const Instr in = code[i];
    switch (in.op) {
      case Program::kConst: push(); std::fill(acc, acc + n, consts[in.arg]); break;
      case Program::kVar:
        push();
        if (in.arg == 0) std::copy(x, x + n, acc); else std::fill(acc, acc + n, vars[in.arg]);
        break;
      case Program::kRandLeaf:
        push();
        for (int l = 0; l < n; ++l) acc[l] = draw_random();
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
      case op::kDeriv:
        block_derivative(p, in.arg, i, x, n, vars, acc, e, st + sp * kBlock, depth + 1);
        break;
      default: std::fill(e, e + n, true); break;
    }
  }
  std::copy(acc, acc + n, acc_out);
  std::copy(e, e + n, e_out);
}

// d( ) over a block: the operand [begin, end) has been evaluated into acc
// (f0); it is evaluated again at the four neighbours of every point, one
// level deeper, in the stack space above the current top.
void Evaluator::block_derivative(const Program& p, int begin, int end, const double* x, int n,
                                 const double* vars, double* acc, bool* e, double* st,
                                 int depth) {
  double h[kBlock], at[kBlock], f[5][kBlock];
  bool ok[5][kBlock];
  for (int l = 0; l < n; ++l) h[l] = derivative_rule::step(x[l], acc[l], depth);
  const double shift[5] = {0, 2, 1, -1, -2};
  for (int k = 1; k <= 4; ++k) {
    for (int l = 0; l < n; ++l) at[l] = x[l] + shift[k] * h[l];
    bool err[kBlock] = {};
    run_block(p, begin, end, at, n, vars, f[k], err, st, depth);
    for (int l = 0; l < n; ++l) ok[k][l] = !err[l];
  }
  for (int l = 0; l < n; ++l) {
    if (e[l]) continue;
    if (std::fabs(acc[l]) >= env_.max_mag) {
      e[l] = true;
      continue;
    }
    const double fl[5] = {0, f[1][l], f[2][l], f[3][l], f[4][l]};
    const bool okl[5] = {false, ok[1][l], ok[2][l], ok[3][l], ok[4][l]};
    acc[l] = derivative_rule::combine(env_, depth, acc[l], h[l], fl, okl, e[l]);
  }
}

#undef KV_BLOCK_BINARY
#undef KV_BLOCK_UNARY
#undef KV_BLOCK_ARITH

void Evaluator::evaluate_many(const CompiledFormula& f, const double* x, int n,
                              const double* vars, double* out, bool* undefined) {
  const Program* p = enter(f);
  if (!p) {
    std::fill(out, out + n, kUndefined);
    std::fill(undefined, undefined + n, true);
    return;
  }
  // Each d( ) level runs its operand above the stack top of the level before.
  const size_t need = static_cast<size_t>(p->max_stack + 1) * kBlock * 5;
  if (block_stack_.size() < need) block_stack_.resize(need);
  const int size = static_cast<int>(p->code.size());
  for (int i = 0; i < n; i += kBlock) {
    const int m = std::min(kBlock, n - i);
    double acc[kBlock];
    bool e[kBlock] = {};
    run_block(*p, 0, size, x + i, m, vars, acc, e, block_stack_.data(), 0);
    for (int l = 0; l < m; ++l) {
      undefined[i + l] = e[l];
      out[i + l] = e[l] ? kUndefined : acc[l];
    }
  }
  err_ = n > 0 && undefined[n - 1];
}

}  // namespace kv

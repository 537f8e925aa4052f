// The operations by kind, as lists of (operation code, function of mathfn.h),
// so that every evaluation loop dispatches the same set. This is the one list
// of the operations: adding one means a row here and its implementation in
// every evaluator (mathfn.h for doubles, interval/ops.h for intervals), and
// the check at the end refuses a code left out or listed twice. d( ) is no
// function of its arguments' values and is not listed.
#pragma once

#include "expr/opcodes.h"

#define KV_UNARY_OPERATIONS(X)                                                          \
  X(::kv::op::kAbs, abs) X(::kv::op::kSqrt, sqrt) X(::kv::op::kSqr, sqr)                \
  X(::kv::op::kCbrt, cbrt) X(::kv::op::kExp, exp) X(::kv::op::kLn, ln)                  \
  X(::kv::op::kLb, lb) X(::kv::op::kLg, lg) X(::kv::op::kSin, sin)                      \
  X(::kv::op::kCos, cos) X(::kv::op::kTan, tan) X(::kv::op::kCot, cot)                  \
  X(::kv::op::kSec, sec) X(::kv::op::kCsc, csc) X(::kv::op::kAsin, asin)                \
  X(::kv::op::kAcos, acos) X(::kv::op::kAtan, atan) X(::kv::op::kAcot, acot)            \
  X(::kv::op::kAsec, asec) X(::kv::op::kAcsc, acsc) X(::kv::op::kSinh, sinh)            \
  X(::kv::op::kCosh, cosh) X(::kv::op::kTanh, tanh) X(::kv::op::kCoth, coth)            \
  X(::kv::op::kSech, sech) X(::kv::op::kCsch, csch) X(::kv::op::kAsinh, asinh)          \
  X(::kv::op::kAcosh, acosh) X(::kv::op::kAtanh, atanh) X(::kv::op::kAcoth, acoth)      \
  X(::kv::op::kAsech, asech) X(::kv::op::kAcsch, acsch) X(::kv::op::kGamma, gamma)      \
  X(::kv::op::kFac, fac) X(::kv::op::kIEllc1, i_ellc1) X(::kv::op::kIEllc2, i_ellc2)    \
  X(::kv::op::kSgn, sgn) X(::kv::op::kFloor, floor) X(::kv::op::kCeil, ceil)            \
  X(::kv::op::kRound, round) X(::kv::op::kFrac, frac)

// The four arithmetic operators, which the block loop treats specially.
#define KV_ARITHMETIC_OPERATIONS(X) \
  X(::kv::op::kAdd, add) X(::kv::op::kSub, sub) X(::kv::op::kMul, mul) X(::kv::op::kDiv, div)

#define KV_OTHER_BINARY_OPERATIONS(X)                                                 \
  X(::kv::op::kPow, pow) X(::kv::op::kRoot, root) X(::kv::op::kAtan2, atan2)          \
  X(::kv::op::kIEll1, i_ell1) X(::kv::op::kIEll2, i_ell2) X(::kv::op::kLogn, logn)    \
  X(::kv::op::kMax, max) X(::kv::op::kMin, min)

// The three-argument operation, which each loop calls with its own operands.
#define KV_TERNARY_OPERATIONS(X) X(::kv::op::kGaussd, gaussd)

namespace kv::op::table_check {

#define KV_TABLE_CODE(code, name) code,
inline constexpr uint8_t kUnary[] = {KV_UNARY_OPERATIONS(KV_TABLE_CODE)};
inline constexpr uint8_t kBinary[] = {KV_ARITHMETIC_OPERATIONS(KV_TABLE_CODE)
                                          KV_OTHER_BINARY_OPERATIONS(KV_TABLE_CODE)};
inline constexpr uint8_t kTernary[] = {KV_TERNARY_OPERATIONS(KV_TABLE_CODE)};
#undef KV_TABLE_CODE

// Every operation code but d( ) stands exactly once in the list of its arity.
constexpr bool covers_every_operation() {
  for (int c = kAbs; c <= kTanh; ++c) {
    int found = 0;
    for (uint8_t u : kUnary) found += (u == c) * (arity(u) == 1 ? 1 : 100);
    for (uint8_t b : kBinary) found += (b == c) * (arity(b) == 2 ? 1 : 100);
    for (uint8_t t : kTernary) found += (t == c) * (arity(t) == 3 ? 1 : 100);
    if (found != (c == kDeriv ? 0 : 1)) return false;
  }
  return true;
}
static_assert(covers_every_operation(), "an operation code is missing from the table, or listed twice");

}  // namespace kv::op::table_check

// The operations by kind, as lists of (operation code, function of mathfn.h),
// so that every evaluation loop dispatches the same set.
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

// Truncated Taylor series with interval coefficients: the arithmetic behind
// the derivatives of the interval evaluation.
//
// A series u of length n holds u[k] = g^(k)(x) / k! for k < n, each an
// interval that encloses that coefficient for every x in X. The recurrences
// are the usual ones of forward-mode automatic differentiation; evaluated in
// interval arithmetic over X they enclose the coefficients pointwise. Every
// function writes its result w of length n, which must not alias an operand;
// w[0] comes from the function's own interval range where one is passed in,
// so it is as tight as the value alone.
#pragma once

#include "interval/interval.h"

namespace kv::interval {

// Highest derivative order asked for plus three levels of d( ).
inline constexpr int kMaxTerms = 4 + 3 + 1;

using Coeffs = Interval[kMaxTerms];

void t_add(const Interval* u, const Interval* v, Interval* w, int n);
void t_sub(const Interval* u, const Interval* v, Interval* w, int n);
void t_mul(const Interval* u, const Interval* v, Interval* w, int n);
void t_sqr(const Interval* u, Interval* w, int n);
// w = u / v with w[0] given.
void t_div(const Interval* u, const Interval* v, Interval* w, int n, Interval w0);
void t_exp(const Interval* u, Interval* w, int n, Interval w0);
void t_ln(const Interval* u, Interval* w, int n, Interval w0);
void t_sqrt(const Interval* u, Interval* w, int n, Interval w0);
// s = sin u, c = cos u (sign -1), or s = sinh u, c = cosh u (sign +1).
void t_sincos(const Interval* u, Interval* s, Interval* c, int n, Interval s0, Interval c0,
              double sign);
// w with w' = g u' given the series g of length n - 1 and w[0]: the rule of
// every function whose derivative is known as a series.
void t_chain(const Interval* u, const Interval* g, Interval* w, int n, Interval w0);
// w with w' = (alpha + beta w^2) u' (tan, cot, tanh, coth), given w[0].
void t_riccati(const Interval* u, Interval* w, int n, Interval w0, double alpha, double beta);
// The series of the derivative, of length n - 1.
void t_derive(const Interval* u, Interval* w, int n);
// The index of the last coefficient that is not exactly 0 (0 if all are).
int last_nonzero(const Interval* u, int n);
// Whether u (n > 1) is a + t: the series of x and of x plus or minus a
// constant.
bool unit_slope(const Interval* u, int n);
// All coefficients from 1 on set to v.
inline void t_fill(Interval* w, int n, Interval v) {
  for (int k = 1; k < n; ++k) w[k] = v;
}

}  // namespace kv::interval

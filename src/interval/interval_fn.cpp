// Ranges of the elementary functions: each is split at its monotone pieces
// and poles, each end computed by the library and widened outward.
#include "interval/interval_fn.h"

namespace kv::interval {
namespace {

double dn(double v) { return widen_dn(v, kLibUlps); }
double up(double v) { return widen_up(v, kLibUlps); }

// Range of an increasing library function on a (already inside its domain).
template <class F>
Interval increasing(Interval a, F f) {
  if (is_empty(a)) return a;
  return {dn(f(a.lo)), up(f(a.hi))};
}
template <class F>
Interval decreasing(Interval a, F f) {
  if (is_empty(a)) return a;
  return {dn(f(a.hi)), up(f(a.lo))};
}

Interval clip(Interval a, double lo, double hi) { return intersect(a, {lo, hi}); }

// Below this width an interval holds at most one critical point of sin and
// cos (they lie pi apart); the computed width errs by far less than pi - 3.
constexpr double kNarrow = 3.0;

// Range of a function g in {sin, cos} on an interval with derivative g' whose values
// at the ends are da, db: at most one critical point lies in a narrow a, and
// the library's sine and cosine are accurate to an ulp for every argument,
// so the signs of da and db tell whether it does and which kind it is.
Interval trig_range(double ga, double gb, double da, double db) {
  double lo = std::min(ga, gb), hi = std::max(ga, gb);
  lo = dn(lo);
  hi = up(hi);
  if (!(da > 0 && db > 0) && !(da < 0 && db < 0)) {
    if (da >= 0 && db <= 0) hi = 1;  // rises, then falls: a maximum
    if (da <= 0 && db >= 0) lo = -1;
  }
  return clip({lo, hi}, -1, 1);
}

bool narrow(Interval a) { return std::isfinite(a.lo) && std::isfinite(a.hi) && a.hi - a.lo < kNarrow; }

}  // namespace

// Exact at the points where the function's value is a small whole number
// (exp(0), cos(0), ln(1)): a hole such as (exp(x) - 1) / x at 0 is proven
// through Taylor terms that vanish exactly there, which a widened 1 spoils.
Interval exp(Interval a) {
  if (is_empty(a)) return a;
  if (a.lo == 0 && a.hi == 0) return point(1);
  return {std::max(0.0, dn(std::exp(a.lo))), up(std::exp(a.hi))};
}

namespace {

// The logarithms to every base: increasing on (0, inf), -inf at 0, exact 0 at 1.
template <class F>
Interval logarithm(Interval a, F log) {
  a = intersect(a, {0, kInf});
  if (is_empty(a) || a.hi == 0) return empty();
  if (a.lo == 1 && a.hi == 1) return point(0);
  return {a.lo == 0 ? -kInf : dn(log(a.lo)), up(log(a.hi))};
}

}  // namespace

Interval ln(Interval a) { return logarithm(a, [](double v) { return std::log(v); }); }
Interval log2(Interval a) { return logarithm(a, [](double v) { return std::log2(v); }); }
Interval log10(Interval a) { return logarithm(a, [](double v) { return std::log10(v); }); }

// sqrt is correctly rounded, so one step outward suffices.
Interval sqrt(Interval a) {
  a = intersect(a, {0, kInf});
  if (is_empty(a)) return a;
  return {std::max(0.0, next_down(std::sqrt(a.lo))), next_up(std::sqrt(a.hi))};
}

Interval cbrt(Interval a) { return increasing(a, [](double v) { return std::cbrt(v); }); }

Interval powi_beyond(Interval a, double n) {
  if (is_empty(a)) return a;
  if (n == 0) return (a.lo == 0 && a.hi == 0) ? empty() : point(1);
  const bool odd = is_odd(n);
  if (n < 0) {
    const Interval p = powi(a, -n);
    if (a.lo < 0 && a.hi > 0) return odd ? whole() : Interval{div_dn(1, p.hi), kInf};
    return recip(p);
  }
  // |v|^n by repeated squaring for small n: exact for a whole v while below
  // 2^53, else within n - 1 roundings of at most half an ulp each, unless
  // it leaves the normal range (then one chain is rounded down, one up);
  // through exp and ln beyond.
  auto mag = [n](double v) -> Interval {
    v = std::fabs(v);
    if (n <= 64) {
      const unsigned m = static_cast<unsigned>(n);
      double r = 1, b = v;
      for (unsigned k = m;;) {
        if (k & 1u) r *= b;
        k >>= 1;
        if (k == 0) break;
        b *= b;
      }
      if (v < 0x1p53 && v == static_cast<double>(static_cast<int64_t>(v)) && r < 0x1p53) return point(r);
      if (r >= 0x1p-900 && r <= 0x1p1000) return {widen_dn(r, n), widen_up(r, n)};
      double lo = 1, hi = 1, blo = v, bhi = v;
      for (unsigned k = m;;) {
        if (k & 1u) {
          lo = mul_dn(lo, blo);
          hi = mul_up(hi, bhi);
        }
        k >>= 1;
        if (k == 0) break;
        blo = mul_dn(blo, blo);
        bhi = mul_up(bhi, bhi);
      }
      return {std::max(lo, 0.0), hi};
    }
    if (v == 0) return point(0);
    return exp(scale(ln(point(v)), n));
  };
  const Interval ml = mag(a.lo), mh = mag(a.hi);
  if (a.lo >= 0) return {ml.lo, mh.hi};
  if (odd) return {-ml.hi, a.hi >= 0 ? mh.hi : -mh.lo};
  if (a.hi <= 0) return {mh.lo, ml.hi};
  return {0, std::max(ml.hi, mh.hi)};
}

// Sine and cosine of the ends, each pair in one call of glibc's sincos (a
// GNU extension of <math.h>), of the same accuracy as sin and cos.
struct Ends {
  double sl, cl, sh, ch;
};
Ends sin_cos(Interval a) {
  Ends e;
  ::sincos(a.lo, &e.sl, &e.cl);
  ::sincos(a.hi, &e.sh, &e.ch);
  return e;
}

Interval sin(Interval a) {
  if (is_empty(a)) return a;
  if (!narrow(a)) return {-1, 1};
  // At a single point where the slope is 0 both turning tests would hold;
  // sin(0) is exactly 0.
  if (a.lo == 0 && a.hi == 0) return point(0);
  if (a.lo == a.hi) return clip({dn(std::sin(a.lo)), up(std::sin(a.lo))}, -1, 1);
  const Ends e = sin_cos(a);
  return trig_range(e.sl, e.sh, e.cl, e.ch);
}

Interval cos(Interval a) {
  if (is_empty(a)) return a;
  if (!narrow(a)) return {-1, 1};
  if (a.lo == 0 && a.hi == 0) return point(1);
  if (a.lo == a.hi) return clip({dn(std::cos(a.lo)), up(std::cos(a.lo))}, -1, 1);
  const Ends e = sin_cos(a);
  return trig_range(e.cl, e.ch, -e.sl, -e.sh);
}

// Increasing between its poles, where the cosine changes sign.
Interval tan(Interval a) {
  if (is_empty(a)) return a;
  if (!narrow(a)) return whole();
  const double cl = std::cos(a.lo), ch = std::cos(a.hi);
  if (!((cl > 0 && ch > 0) || (cl < 0 && ch < 0))) return whole();
  return {dn(std::tan(a.lo)), up(std::tan(a.hi))};
}

// Decreasing between its poles, where the sine changes sign; cos / sin errs
// by at most the two library errors and one rounding.
Interval cot(Interval a) {
  if (is_empty(a)) return a;
  if (!narrow(a)) return whole();
  const double sl = std::sin(a.lo), sh = std::sin(a.hi);
  if (!((sl > 0 && sh > 0) || (sl < 0 && sh < 0))) return whole();
  return {widen_dn(std::cos(a.hi) / sh, 2 * kLibUlps), widen_up(std::cos(a.lo) / sl, 2 * kLibUlps)};
}

Interval asin(Interval a) {
  return clip(increasing(clip(a, -1, 1), [](double v) { return std::asin(v); }), -kHalfPiI.hi,
              kHalfPiI.hi);
}
Interval acos(Interval a) {
  return clip(decreasing(clip(a, -1, 1), [](double v) { return std::acos(v); }), 0, kPiI.hi);
}
Interval atan(Interval a) {
  return clip(increasing(a, [](double v) { return std::atan(v); }), -kHalfPiI.hi, kHalfPiI.hi);
}

Interval sinh(Interval a) { return increasing(a, [](double v) { return std::sinh(v); }); }
Interval cosh(Interval a) {
  if (is_empty(a)) return a;
  const Interval m = abs(a);
  if (m.hi == 0) return point(1);
  return {std::max(1.0, dn(std::cosh(m.lo))), up(std::cosh(m.hi))};
}
Interval tanh(Interval a) { return clip(increasing(a, [](double v) { return std::tanh(v); }), -1, 1); }
Interval asinh(Interval a) { return increasing(a, [](double v) { return std::asinh(v); }); }
Interval acosh(Interval a) {
  return clip(increasing(clip(a, 1, kInf), [](double v) { return std::acosh(v); }), 0, kInf);
}
// The poles at -1 and 1 belong to no value.
Interval atanh(Interval a) {
  a = clip(a, -1, 1);
  if (is_empty(a) || a.lo == 1 || a.hi == -1) return empty();
  return {a.lo == -1 ? -kInf : dn(std::atanh(a.lo)), a.hi == 1 ? kInf : up(std::atanh(a.hi))};
}

}  // namespace kv::interval

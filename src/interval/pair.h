// Sums, products, quotients and small powers of intervals with both ends
// rounded at once, in the two lanes of one SSE2 register: the lower end as
// it is, the upper one negated, so that rounding the upper end up is
// rounding its negation down, the same operation in both lanes. Each gives
// the very interval of its one-end-at-a-time twin in interval.h (add, sub,
// mul, div, sqr, the cube of powi), bit for bit: the same operations on
// each end, and the twin itself wherever an end leaves the range where the
// lanes' shortcut holds (unbounded, overflowing, tiny). The value-only run
// takes them for its arithmetic; the series run keeps the twins.
#pragma once

#include "interval/interval.h"
#include "interval/interval_fn.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kv::interval {

#if defined(__SSE2__)

namespace lanes {

// [lo, -hi] and back.
[[gnu::always_inline]] inline __m128d pack(double lo, double neg_hi) { return _mm_set_pd(neg_hi, lo); }
[[gnu::always_inline]] inline Interval unpack(__m128d v) {
  return {_mm_cvtsd_f64(v), -_mm_cvtsd_f64(_mm_unpackhi_pd(v, v))};
}
[[gnu::always_inline]] inline __m128d magnitude(__m128d v) {
  return _mm_andnot_pd(_mm_set1_pd(-0.0), v);
}

// One unit of the last place toward -inf in the lanes of v where step is
// all ones, for finite nonzero v (or any v where step is 0): down is -1 on
// the bits of a positive double, +1 on those of a negative one.
[[gnu::always_inline]] inline __m128d step_down_where(__m128d v, __m128d step) {
  const __m128i sign = _mm_castpd_si128(_mm_cmplt_pd(v, _mm_setzero_pd()));
  const __m128i s = _mm_castpd_si128(step);
  const __m128i delta = _mm_sub_epi64(_mm_xor_si128(s, sign), sign);  // -1, +1 or 0
  return _mm_castsi128_pd(_mm_add_epi64(_mm_castpd_si128(v), delta));
}

}  // namespace lanes

// add(a, b): add_dn in both lanes, its error by the operand of larger
// magnitude first, as there.
[[gnu::always_inline]] inline Interval add_both(Interval a, Interval b) {
  if (is_empty(a) || is_empty(b)) return empty();
  const __m128d x = lanes::pack(a.lo, -a.hi), y = lanes::pack(b.lo, -b.hi);
  const __m128d s = _mm_add_pd(x, y);
  const __m128d finite = _mm_cmple_pd(lanes::magnitude(s), _mm_set1_pd(DBL_MAX));
  if (_mm_movemask_pd(finite) != 3) return add(a, b);
  const __m128d swap = _mm_cmplt_pd(lanes::magnitude(x), lanes::magnitude(y));
  const __m128d big = _mm_or_pd(_mm_and_pd(swap, y), _mm_andnot_pd(swap, x));
  const __m128d small = _mm_xor_pd(_mm_xor_pd(x, y), big);
  const __m128d e = _mm_sub_pd(small, _mm_sub_pd(s, big));
  return lanes::unpack(lanes::step_down_where(s, _mm_cmplt_pd(e, _mm_setzero_pd())));
}

// mul_dn in both lanes where each product lies in the range where its
// exactness can be told; ok says whether both did (else the result is
// not to be used).
[[gnu::always_inline]] inline __m128d mul_dn_lanes(__m128d x, __m128d y, bool& ok) {
  const __m128d p = _mm_mul_pd(x, y);
  const __m128d m = lanes::magnitude(p);
  ok = _mm_movemask_pd(_mm_and_pd(_mm_cmpge_pd(m, _mm_set1_pd(kExactnessFloor)),
                                  _mm_cmple_pd(m, _mm_set1_pd(DBL_MAX)))) == 3;
  // Exact where both operands are short: their low 27 bits, in the low
  // half of each lane, are 0; spread that half's verdict over the lane.
  const __m128i low = _mm_and_si128(_mm_or_si128(_mm_castpd_si128(x), _mm_castpd_si128(y)),
                                    _mm_set1_epi64x(0x7FFFFFF));
  const __m128i exact = _mm_shuffle_epi32(_mm_cmpeq_epi32(low, _mm_setzero_si128()), _MM_SHUFFLE(2, 2, 0, 0));
  const __m128i inexact = _mm_xor_si128(exact, _mm_set1_epi32(-1));
  return lanes::step_down_where(p, _mm_castsi128_pd(inexact));
}

// {mul_dn(x1, y1), mul_up(x2, y2)}: mul_up is mul_dn of the negated first
// operand, so the upper lane takes -x2.
[[gnu::always_inline]] inline Interval mul_ends(double x1, double y1, double x2, double y2) {
  bool ok;
  const __m128d p = mul_dn_lanes(lanes::pack(x1, -x2), lanes::pack(y1, y2), ok);
  if (!ok) return {mul_dn(x1, y1), mul_up(x2, y2)};
  return lanes::unpack(p);
}

// {div_dn(x1, y1), div_up(x2, y2)}, div_up being div_dn of the negated
// dividend: exact where a short quotient times a short divisor gives the
// dividend back.
[[gnu::always_inline]] inline Interval div_ends(double x1, double y1, double x2, double y2) {
  const __m128d x = lanes::pack(x1, -x2), y = lanes::pack(y1, y2);
  const __m128d q = _mm_div_pd(x, y);
  const __m128d floor = _mm_set1_pd(kExactnessFloor);
  const __m128d m = lanes::magnitude(q);
  const __m128d ok = _mm_and_pd(_mm_and_pd(_mm_cmpge_pd(m, floor), _mm_cmple_pd(m, _mm_set1_pd(DBL_MAX))),
                                _mm_cmpge_pd(lanes::magnitude(x), floor));
  if (_mm_movemask_pd(ok) != 3) return {div_dn(x1, y1), div_up(x2, y2)};
  const __m128i low = _mm_and_si128(_mm_or_si128(_mm_castpd_si128(q), _mm_castpd_si128(y)),
                                    _mm_set1_epi64x(0x7FFFFFF));
  const __m128i short_ = _mm_shuffle_epi32(_mm_cmpeq_epi32(low, _mm_setzero_si128()), _MM_SHUFFLE(2, 2, 0, 0));
  const __m128i exact = _mm_and_si128(short_, _mm_castpd_si128(_mm_cmpeq_pd(_mm_mul_pd(q, y), x)));
  const __m128i inexact = _mm_xor_si128(exact, _mm_set1_epi32(-1));
  return lanes::unpack(lanes::step_down_where(q, _mm_castsi128_pd(inexact)));
}

// mul(a, b), case by case as there.
[[gnu::always_inline]] inline Interval mul_both(Interval a, Interval b) {
  if (is_empty(a) || is_empty(b)) return empty();
  if (b.lo == b.hi) {
    if (b.lo == 1) return a;
    return b.lo >= 0 ? mul_ends(a.lo, b.lo, a.hi, b.lo) : mul_ends(a.hi, b.lo, a.lo, b.lo);
  }
  if (a.lo == a.hi) {
    if (a.lo == 1) return b;
    return a.lo >= 0 ? mul_ends(b.lo, a.lo, b.hi, a.lo) : mul_ends(b.hi, a.lo, b.lo, a.lo);
  }
  if (a.lo >= 0) {
    if (b.lo >= 0) return mul_ends(a.lo, b.lo, a.hi, b.hi);
    if (b.hi <= 0) return mul_ends(a.hi, b.lo, a.lo, b.hi);
    return mul_ends(a.hi, b.lo, a.hi, b.hi);
  }
  if (a.hi <= 0) {
    if (b.lo >= 0) return mul_ends(a.lo, b.hi, a.hi, b.lo);
    if (b.hi <= 0) return mul_ends(a.hi, b.hi, a.lo, b.lo);
    return mul_ends(a.lo, b.hi, a.lo, b.lo);
  }
  if (b.lo >= 0) return mul_ends(a.lo, b.hi, a.hi, b.hi);
  if (b.hi <= 0) return mul_ends(a.hi, b.lo, a.lo, b.lo);
  return mul(a, b);
}

// div(a, b) for a divisor without 0, case by case as there; the others
// by div itself.
[[gnu::always_inline]] inline Interval div_both(Interval a, Interval b) {
  if (is_empty(a) || is_empty(b)) return empty();
  if (b.lo > 0) {
    if (a.lo >= 0) return div_ends(a.lo, b.hi, a.hi, b.lo);
    if (a.hi <= 0) return div_ends(a.lo, b.lo, a.hi, b.hi);
    return div_ends(a.lo, b.lo, a.hi, b.lo);
  }
  if (b.hi < 0) {
    if (a.lo >= 0) return div_ends(a.hi, b.hi, a.lo, b.lo);
    if (a.hi <= 0) return div_ends(a.hi, b.lo, a.lo, b.hi);
    return div_ends(a.hi, b.hi, a.lo, b.hi);
  }
  return div(a, b);
}

// The cube {cube_dn(a.lo), -cube_dn(-a.hi)} of powi: in each lane v, the
// square rounded toward the side that makes the product with v smaller
// (mul_up(v, v) is -mul_dn(-v, v)), then the product rounded down.
[[gnu::always_inline]] inline Interval cube_both(Interval a) {
  const __m128d v = lanes::pack(a.lo, -a.hi);
  const __m128d negative = _mm_cmplt_pd(v, _mm_setzero_pd());
  const __m128d flip = _mm_and_pd(negative, _mm_set1_pd(-0.0));
  bool ok1, ok2;
  const __m128d q = _mm_xor_pd(mul_dn_lanes(_mm_xor_pd(v, flip), v, ok1), flip);
  const __m128d r = mul_dn_lanes(v, q, ok2);
  if (!(ok1 && ok2)) return {cube_dn(a.lo), -cube_dn(-a.hi)};
  return lanes::unpack(r);
}

// sqr(a), case by case as there.
[[gnu::always_inline]] inline Interval sqr_both(Interval a) {
  if (is_empty(a)) return a;
  if (a.lo >= 0) return mul_ends(a.lo, a.lo, a.hi, a.hi);
  if (a.hi <= 0) return mul_ends(a.hi, a.hi, a.lo, a.lo);
  return sqr(a);
}

#else

[[gnu::always_inline]] inline Interval add_both(Interval a, Interval b) { return add(a, b); }
[[gnu::always_inline]] inline Interval mul_both(Interval a, Interval b) { return mul(a, b); }
[[gnu::always_inline]] inline Interval sqr_both(Interval a) { return sqr(a); }
[[gnu::always_inline]] inline Interval div_both(Interval a, Interval b) { return div(a, b); }
[[gnu::always_inline]] inline Interval cube_both(Interval a) { return {cube_dn(a.lo), -cube_dn(-a.hi)}; }

#endif

[[gnu::always_inline]] inline Interval sub_both(Interval a, Interval b) { return add_both(a, neg(b)); }

}  // namespace kv::interval

// Proofs that a formula has a pole, a removable hole or a jump at one place,
// from the structure of its code and interval evaluations on a small
// neighbourhood N of the place, and the one naming of such places that the
// curve discussion and the honest curves share.
//
// What a proof rests on, for a place c inside N:
// - a quotient p/q: p and q continuous on N and q smooth; either q has a
//   zero of order m at the double c (q(c) .. q^(m-1)(c) exactly zero,
//   q^(m) free of zero on N, so q != 0 on N \ {c}), or q' is free of zero
//   on N and q changes sign across it (one simple zero in N, enclosed by
//   bisection). Then p^(j) free of zero on N for some j < m, with the lower
//   derivatives exactly zero at c, makes a pole; p(c) .. p^(m-1)(c) exactly
//   zero makes a hole with the limit p^(m)(c) / q^(m)(c) (Taylor's theorem,
//   l'Hospital's rule for m = 1). tan, cot, sec and csc are such quotients;
// - floor, ceil, round, frac and sgn of an argument u that is continuous
//   and strictly monotone on N, exactly at a breakpoint at c and clear of
//   the neighbouring ones on N: a jump with the one-sided limits of the step;
// - ln of an argument with a simple exact zero at c: a pole on the side where
//   the argument is positive, undefined on the other;
// - a quotient whose denominator u has a simple zero at no double, in a
//   formula that depends on x only through u: the formula is g(u), and g's
//   place at the double 0 is proven as above, on the range of u over N;
// - sums, differences and products of these with parts continuous on N, and
//   exp, sinh, cosh, tanh, sqr, abs, cbrt, atan, sin and cos of them, which
//   are continuous on the whole line: one-sided limits carried through.
// Anything else is not proven; naming it is left to the evidence the
// caller collected beside the place (probes, neighbouring pieces).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "expr/compiled_formula.h"
#include "interval/interval.h"
#include "interval/interval_eval.h"

namespace kv::analysis {

enum class PlaceKind : uint8_t { kNone, kPole, kHole, kJump, kOpen };

struct Place {
  PlaceKind kind = PlaceKind::kOpen;
  bool proven = false;
  double x = 0;
  interval::Interval where{0, 0};  // encloses the place; proven: exactly one of its kind there
  // One-sided limits: of a hole both are the limit; of a pole the sides
  // that grow without bound are flagged.
  interval::Interval left{0, 0}, right{0, 0};
  bool pole_left = false, pole_right = false;
  bool value_defined = false;  // the formula is defined at x
  interval::Interval value{0, 0};
};

// Interval evaluators kept per piece of code, so that the programs of the
// pieces a proof looks at are built once per curve or discussion.
class PieceEvaluators {
 public:
  interval::Enclosure evaluate(const std::string& code, interval::Interval x, int order,
                               double angle);

 private:
  std::unordered_map<std::string, std::unique_ptr<interval::IntervalEvaluator>> entries_;
};

// Tries to prove a pole, hole or jump of f inside [lo, hi] (a narrow
// interval the caller found f not proven continuous on). kind is kNone when
// f is proven continuous at the place after all, kOpen when nothing is proven.
Place prove_place(const CompiledFormula& f, double angle, double lo, double hi,
                  PieceEvaluators& evaluators);

// An enclosure of f on [a, b] beside a proven hole inside where. A quotient
// p / q whose parts vanish there to some order m is, by Cauchy's mean value
// theorem applied m times, p^(m)(xi) / q^(m)(xi) for some xi between the
// hole and x, so the quotient of their enclosures on the hull of [a, b] and
// where holds it on [a, b]: tight where the plain enclosure is not, beside
// the place (sin(x)/x on [1e-9, 2e-9]). Sums, products and functions
// continuous on the whole line of such parts are enclosed part by part. At
// a place that is no double, p must depend on x only through q (the proof
// of such holes). Empty when some part is not enclosed.
interval::Interval enclosure_beside_hole(const CompiledFormula& f, double angle, interval::Interval where,
                                         double a, double b, PieceEvaluators& evaluators);

// What a caller saw beside a place: on each side unbounded growth or a
// value the function settles at, and how far apart two values may be and
// still count as one.
struct PlaceEvidence {
  bool left_unbounded = false, right_unbounded = false;
  bool left_known = false, right_known = false;
  double left = 0, right = 0;
  double tolerance = 0;
  // The values beside the place are too restless to name a limit from.
  bool restless = false;
};

// The one naming of a place: the proof where there is one, otherwise the
// evidence (unproven): a pole where a side grows, a jump where the settled
// values differ, kNone where they agree and f is defined with that value, a
// hole where they agree otherwise (value_defined tells whether f has some
// other value there), kOpen where the evidence names nothing.
Place classify_place(const CompiledFormula& f, double angle, double lo, double hi,
                     const PlaceEvidence& evidence, PieceEvaluators& evaluators);

}  // namespace kv::analysis

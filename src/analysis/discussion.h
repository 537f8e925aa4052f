// Curve discussion: the notable points of Cartesian functions over a closed
// x range, each either proven or marked uncertain, with the parts of the
// range that could not be decided reported as "Unklar".
//
// Contract of discuss():
// - formulas are indices into panel.formulas; polar formulas and equations
//   are skipped (the caller says which). The panel's angle mode applies.
// - every feature whose proven flag is set lies in [x_lo, x_hi], and that
//   interval provably holds exactly one feature of that kind; a proven
//   kDomainGap is proven undefined on [x_lo, x_hi] except for pieces at
//   its ends about as narrow as the double grid allows there, where the
//   domain begins; a proven kPole, kHole or kJump is proven by the structure
//   of the formula (analysis/place_proof.h) to be the one place of its kind
//   in [x_lo, x_hi], with the limits of a hole or jump inside the enclosures
//   y, y_left and y_right were taken from; the others were found by probing
//   beside the place;
// - every part of [x_min, x_max] is proven free of each kind, holds a listed
//   feature, or lies inside a listed kUnclear range: the list is complete
//   in that sense;
// - the work stops after about budget_ms of wall time; what is left then is
//   reported as kUnclear, never dropped;
// - features come sorted by x (by x_lo where there is no x).
// It never throws and returns in time bounded by the budget for any input.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "expr/expr_panel.h"

namespace kv::analysis {

enum class FeatureKind : uint8_t {
  kZero,          // f = 0
  kMaximum,       // strict local maximum, corners included
  kMinimum,       // strict local minimum, corners included
  kInflection,    // f'' changes sign
  kSaddle,        // f' = 0 with an inflection (listed instead of kInflection)
  kYIntercept,    // x = 0 inside the range
  kPole,          // |f| grows without bound from one or both sides
  kHole,          // undefined at one point with a finite limit (y is the limit)
  kJump,          // finite one-sided limits that differ
  kDomainGap,     // an interval of positive length where f is undefined
  kIntersection,  // f_formula = f_other
  kUnclear,       // could not be decided within the budget
};

struct Feature {
  FeatureKind kind = FeatureKind::kUnclear;
  int formula = 0;   // position in the formulas argument, 0-based
  int other = -1;    // second formula of a kIntersection
  bool has_x = false, has_y = false;
  double x = 0, y = 0;
  double x_lo = 0, x_hi = 0;  // enclosure of x; the interval itself for gaps and unclear ranges
  bool proven = false;
  // The one-sided limits of a Lücke or Sprung (of a proven one, points of
  // their enclosures), and the sides a Polstelle grows on.
  bool has_limits = false;
  double y_left = 0, y_right = 0;
  bool pole_left = false, pole_right = false;
};

struct Discussion {
  std::vector<Feature> features;
  bool budget_exhausted = false;
};

inline constexpr double kDefaultBudgetMs = 300.0;

Discussion discuss(const ExprPanel& panel, const std::vector<int>& formulas, double x_min,
                   double x_max, double budget_ms = kDefaultBudgetMs);

// The German name of a kind as the window and the command line show it (UTF-8).
std::string_view feature_name(FeatureKind kind);

}  // namespace kv::analysis

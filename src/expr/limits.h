// Numeric limits of an evaluation context and the value conventions of the
// expression language.
//
// A computation without a value yields kUndefined (the largest double) and sets
// the evaluation error flag; callers decide by the flag, never by the value
// alone. Plus and minus max_magnitude stand for infinite values.
#pragma once

#include <limits>

namespace kv {

inline constexpr double kUndefined = std::numeric_limits<double>::max();
inline constexpr double kMaxMagnitude = 1.797693134862316e+303;
inline constexpr double kRadians = 1.0;
inline constexpr double kDegrees = 57.29577951308232;

// Limits of the panels "Function" and "Integral" and of numeric fields.
inline constexpr double kZeroToleranceDrawing = 1e-17;
inline constexpr double kLiteralLimitDrawing = 1e13;
// Limits of the panel "DiffEqu", the single-value calculator and the value tables.
inline constexpr double kZeroToleranceFine = 2.225073858507201e-303;
inline constexpr double kLiteralLimitFine = 1e200;

struct Limits {
  double max_magnitude = kMaxMagnitude;
  double zero_tolerance = kZeroToleranceDrawing;
  double literal_limit = kLiteralLimitDrawing;
};

// The six panels of a run, by their fixed index. 0..2 are the drawing panels
// (the surfaces): the compiler and the division rule read which one is shown.
// A numeric input field compiles in a temporary panel of its own kind.
enum PanelIndex : int {
  kPanelFunction = 0,
  kPanelIntegral = 1,
  kPanelDiffEqu = 2,
  kPanelValue = 3,
  kPanelTable = 4,
  kPanelTableDiffEqu = 5,
  kPanelCount = 6,
  kPanelNumericField = kPanelCount,
};

inline bool is_drawing_panel(int index) { return index >= kPanelFunction && index <= kPanelDiffEqu; }

// The surface a panel's formulas are evaluated for: a drawing panel is its own,
// the calculators and numeric fields count as the "Function" surface.
inline PanelIndex surface_of(int index) {
  return is_drawing_panel(index) ? static_cast<PanelIndex>(index) : kPanelFunction;
}

}  // namespace kv

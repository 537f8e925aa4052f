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

// The drawing surface the shell currently shows. The compiler and the division
// rule read it.
enum class Surface { Function, Integral, DiffEqu };

// What the panel is, for the few rules that recognise a panel by identity.
enum class PanelRole { Function, Integral, DiffEqu, SingleValue, Table, TableDiffEqu, NumericField };

}  // namespace kv

// The record of one panel: everything a user creates in one input dialog, and
// at the same time the context in which its formulas are compiled and
// evaluated.
#pragma once

#include <array>
#include <string>

#include "expr/expr_panel.h"
#include "model/range_value.h"

namespace kv {

enum RangeIndex : int { kXMin = 0, kXMax, kYMin, kYMax, kTMin, kTMax, kRangeCount };

// Dialog values: x step of a value table, start x, then the start values of y
// and its derivatives y' .. y''''.
enum DialogValueIndex : int { kXStep = 0, kStartX, kStartY, kStartY1, kStartY2, kStartY3, kStartY4,
                              kDialogValueCount };

// The fifteen options of the fixed block in their stored order, then the
// later ones.
enum OptionIndex : int {
  kOptLineWidth = 0,
  kOptEqualScales,
  kOptGrid,
  kOptSubGrid,
  kOptAxes,
  kOptTickLabels,
  kOptFunctionExpressions,
  kOptPalette,
  kOptTickMarks,
  kOptBorder,
  kOptFillIntegralArea,
  kOptXUnitsPi,
  kOptYUnitsPi,
  kOptSolverSwitch,
  kOptBoxedStyle,
  kOptionCount,  // the options of a document's fixed block
  // Options added later: a document keeps them after the axis titles.
  kOptMarkPoints = kOptionCount,  // "Markante &Punkte"
  kOptMarkDiscontinuities,        // "&Unstetigkeiten zeigen"
  kPanelOptionCount,
};

inline constexpr int kHistorySize = 50;

// A window's place on the screen as the settings and documents keep it
// (screen coordinates, frame included); empty means "not placed yet". Not the
// drawing layer's Rect: the records sit below the drawing layer, and a
// rectangle of the screen is never painted.
struct DialogRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
};

struct DocumentPart {
  std::string path;
  std::string title;
  bool modified = false;
};

struct PanelRecord : ExprPanel {
  double x_scale = 1.0;  // units per pixel column
  double y_scale = 1.0;  // units per pixel row
  double jump_threshold = 3.0;  // 3 x x_scale
  std::array<RangeValue, kRangeCount> range;
  std::array<RangeValue, kDialogValueCount> dialog_values;
  int option_flag = 0;  // absolute integral, or "High Precision" in the ODE panels
  bool ymin_fixed = true;
  bool ymax_fixed = true;
  bool derivative = false;  // "1. Ableitung zeichnen"
  // The formula text is ExprPanel::source.
  std::array<std::string, kHistorySize> history;
  std::string title_x = "X";
  std::string title_y = "Y";
  std::array<RangeValue, kRangeCount> default_range;
  std::array<int, kPanelOptionCount> options{};
  DialogRect dialog_pos;
  DocumentPart document;

  int option(OptionIndex i) const { return options[i]; }
};

}  // namespace kv

// "Markante Punkte": the proven notable points of the Cartesian curves of the
// function panel, drawn on the graph as small dots in the curve's colour and
// labelled in school notation, and the one point the curve discussion window
// has selected.
//
// Letters: N Nullstelle, H Hochpunkt, T Tiefpunkt, W Wendepunkt, SP
// Sattelpunkt, Sy y-Achsenabschnitt, S Schnittpunkt (the letters German
// schools write; SP and Sy keep the saddle and the y intercept apart from S),
// P Polstelle, L Lücke, Sp Sprung. Gaps and undecided ranges are not drawn;
// neither is a point that is not proven.
//
// A pole is a short vertical stroke across the x axis (across the nearer
// edge of the plot when the axis is out of view) labelled "P(1,571)"; a hole
// an open ring at its limit, "L(1|2)"; a jump a filled dot at the value the
// formula takes there and an open ring at each one-sided limit it does not
// take, labelled at the value ("Sp(1|1)"). Rings are drawn as the honest
// curves draw them: the curve colour with the background inside.
//
// A label reads "H(-1,225|3,674)": x and y rounded to three decimals with the
// decimal comma, trailing zeros dropped, magnitudes from 1e6 upwards with four
// significant digits and an exponent ("1,235E+7"), the minus as the dash of
// the graph's text encoding (Windows-1252 0x96), and "0" for anything that
// rounds to zero. A label stands above right of its dot, else below right,
// above left or below left, whichever first lies inside the plot and clear of
// the labels and dots already drawn; a point without room keeps its dot and
// loses its label. Dots and labels are drawn in the order of the points.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/discussion.h"
#include "graph/coord_system.h"
#include "graph/device.h"
#include "graph/samples.h"
#include "model/panel_record.h"

namespace kv {

// Time the graph gives the discussion in one recomputation: it runs on every
// change of the view, so well below the window's default.
inline constexpr double kMarkBudgetMs = 100.0;

// The letter of a kind, or nullptr for a kind that is not drawn.
const char* point_mark_letter(analysis::FeatureKind kind);

// The label of a point in Windows-1252, or "" for a kind that is not drawn.
std::string point_mark_label(analysis::FeatureKind kind, double x, double y);

// The coordinate as a label writes it.
std::string point_mark_number(double v);

// The drawn points of a discussion of the formulas at positions `formulas` of
// panel.formulas (the discussion's formula k is panel.formulas[formulas[k]]).
std::vector<PointMark> point_marks_from(const analysis::Discussion& discussion,
                                        const std::vector<int>& formulas);

// Discusses the Cartesian explicit curves of the panel over its x range and
// keeps what is drawn; empty for any panel but "Function" or with the option
// off.
std::vector<PointMark> find_point_marks(const PanelRecord& panel, double budget_ms = kMarkBudgetMs);

// Draws the marks with the context of the picture being painted.
void paint_point_marks(Device& d, const std::vector<PointMark>& marks, const CoordContext& c);

// The point selected in the curve discussion window: a ring in the marker
// colour with its label beside it, drawn whether or not the option is on.
struct MarkedPoint {
  analysis::FeatureKind kind = analysis::FeatureKind::kZero;
  double x = 0, y = 0;
};
void paint_selected_point(Device& d, const MarkedPoint& point, const CoordContext& c);

}  // namespace kv

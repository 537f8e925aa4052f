// Sample arrays of the graph engine: the points of every curve of a drawing
// panel, from evaluation to pixels.
//
// A PanelPlot belongs to the shell next to its panel record and holds one
// FormulaPlot per compiled formula, indexed like panel.formulas. Each
// FormulaPlot has two curve slots: slot 0 the formula's own curve, slot 1 its
// integral curve (panel "Integral") or its derivative curve (panel "DiffEqu").
// Every slot has n + 2 samples: 0..n are visible, n + 1 lies one step beyond
// the right end. Pixel arrays are index-aligned with the samples for Cartesian
// curves; polar curves are compacted, so pixel_last may be below last.
//
// The arrays are rebuilt by every recomputation; panel.generation tells a
// PanelPlot made for formulas that have been compiled again since.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

#include "analysis/curve_classification.h"
#include "analysis/discussion.h"
#include "analysis/implicit_curve.h"
#include "analysis/plane_classification.h"
#include "graph/device.h"

namespace kv {

enum SampleFlag : uint8_t {
  kDefined = 1,
  kPieceEnd = 2,     // rightmost point of a drawn piece
  kPieceStart = 4,   // leftmost point of a drawn piece
  kIsolated = 7,     // defined, start and end
  kPassThrough = 8,  // pixel flag only: full-height vertical line at the column
};

inline bool is_defined(uint8_t f) { return (f & kDefined) != 0; }
inline bool is_isolated(uint8_t f) { return (f & (kPieceStart | kPieceEnd)) == (kPieceStart | kPieceEnd); }

struct Sample {
  double t = 0;  // parameter: x, or t of a polar curve
  double v = 0;  // value: y, or r
  uint8_t flag = 0;
};

// A polar sample in the plane: (r cos t, r sin t).
struct PlanePoint {
  double x = 0, y = 0;
};

struct CurveSamples {
  std::vector<Sample> samples;       // last + 2 elements
  std::vector<PlanePoint> plane;     // polar curves: samples in the plane, 0..last
  std::vector<Point> pixels;         // plot-local column and row
  std::vector<uint8_t> pixel_flags;  // SampleFlag bits, with kPassThrough
  int last = -1;        // index of the last visible sample
  int pixel_last = -1;  // index of the last pixel point; -1 before projection
  bool used = false;    // the slot carries a curve in this recomputation
  // Every sample lies on its grid position, except perhaps those listed in
  // moved (the explicit sampler's refined samples and its right end); false
  // for solver samples, which may lie anywhere.
  bool on_grid = false;
  std::vector<int> moved;

  // Sizes all three arrays for samples 0..last+1 and clears them; with
  // overwrite they keep old contents, for an explicit curve: its sampler
  // writes every sample, and its projection every pixel flag and the pixel
  // of every defined sample. False when memory runs out.
  bool reset(int last_index, bool overwrite = false);
  void clear();
};

struct FormulaPlot {
  double a = 0;     // parameter of sample 0
  double b = 0;     // parameter of sample last
  double step = 0;  // distance between samples; negative for a reversed t range
  bool polar = false;
  bool discontinuous = false;  // no refinement of piece ends
  bool failed = false;         // the formula is unusable (fatal evaluation error)
  // An equation or inequality: classified pixels instead of samples.
  bool implicit = false;
  analysis::ImplicitPixels pixels;
  // The walk that goes on refining pixels in the window; its pixels live in
  // pixels between two pieces of the walk (graph/recompute.h).
  analysis::ImplicitRefinement work;
  bool refining = false;
  std::array<CurveSamples, 2> slot;
  // "Unstetigkeiten zeigen": per slot, set when the slot was classified
  // (graph/honest_curves.h).
  std::array<bool, 2> classified{};
  std::array<analysis::CurveClassification, 2> honest;
  // The same for a polar curve or a parametric pair (graph/honest_plane.h).
  bool plane_classified = false;
  analysis::PlaneClassification plane_honest;
};

// A proven notable point of a curve, drawn with "Markante Punkte"
// (graph/point_marks.h).
struct PointMark {
  analysis::FeatureKind kind = analysis::FeatureKind::kZero;
  int formula = 0;  // index into panel.formulas: the curve whose colour it takes
  double x = 0, y = 0;
  // A jump: its one-sided limits, and whether the formula has the value y
  // at x (otherwise y is the left limit); a hole's limit is y.
  double y_left = 0, y_right = 0;
  bool has_value = true;
};

struct PanelPlot {
  unsigned generation = 0;  // panel.generation the arrays were made for
  int width = 0, height = 0;
  bool valid = false;       // a recomputation completed without error
  std::vector<FormulaPlot> formulas;
  std::vector<PointMark> marks;  // empty unless the option is on
  // Device pixels per unit the equations and inequalities were classified
  // at: their pixel arrays have pixel_scale * (width + 1) columns.
  int pixel_scale = 1;
  // Wall time the refinement of the window has taken so far.
  std::chrono::nanoseconds implicit_spent{0};
};

}  // namespace kv

// Inside the curve discussion: what the box search, the root isolation and
// the classification of singular places share. Not for use outside
// src/analysis.
//
// A job is one function the search runs on: a formula (zeros, extrema,
// inflections and singular places), or the difference of two formulas
// (intersections only). Boxes of [a, b] are taken widest first; each box
// keeps the kinds still undecided on it as bits. A box is split until it is
// tiny (no longer worth splitting at the double grid); a tiny box still
// undecided becomes a candidate, classified at once by probes beside it.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "analysis/discussion.h"
#include "analysis/interval_ops.h"
#include "analysis/place_proof.h"
#include "interval/interval_eval.h"

namespace kv::analysis {

using interval::Enclosure;
using Clock = std::chrono::steady_clock;

// Kinds a box may still hold: a zero of f (or of f - g), of f', of f''.
enum KindBit : uint8_t { kBitRoot = 1, kBitSlope = 2, kBitCurve = 4 };
inline constexpr uint8_t kAllKinds = kBitRoot | kBitSlope | kBitCurve;
inline constexpr int kSearchOrder = 3;  // f''' decides whether f'' is monotone

// The function a job evaluates: formula f, minus formula g for a pair. Each
// formula has an evaluator of its own, so that its program is built once.
struct Target {
  const CompiledFormula* f = nullptr;
  const CompiledFormula* g = nullptr;  // subtracted, for intersections
  double angle = 1.0;
  interval::IntervalEvaluator* ef = nullptr;
  interval::IntervalEvaluator* eg = nullptr;
  // f alone, for the y of a Schnittpunkt.
  Target first() const { return {f, nullptr, angle, ef, nullptr}; }
};

// Enclosure of the target and its derivatives up to order over x.
Enclosure evaluate_target(const Target& t, Interval x, int order);

// The k-th derivative at the point x, when it is certainly defined there.
struct PointValue {
  bool defined = false;
  Interval v{0, 0};
};
PointValue point_value(const Target& t, double x, int k);

struct Job {
  Target target;
  int formula = 0;
  int other = -1;
  uint8_t kinds = kAllKinds;
  bool uncertain = false;  // draws rand: nothing of it is proven
};

struct Box {
  double lo = 0, hi = 0;
  int job = 0;
  uint8_t kinds = 0;
  // Cut from a box where f was not proven continuous: narrowing down to a
  // pole, hole or jump takes few boxes, so these go before wider ones.
  bool urgent = false;
};

struct Candidate {
  double lo = 0, hi = 0;
  int job = 0;
  uint8_t kinds = 0;       // kinds still open
  bool singular = false;   // f not proven continuous there
  bool undefined = false;  // f proven undefined on the whole box
};

struct Search {
  double a = 0, b = 0;
  double floor_width = 0;  // boxes this narrow are not split any more
  int urgent_left = 0;     // urgent boxes still to take before wider ones
  bool exhausted = false;  // boxes were left waiting at the deadline
  Clock::time_point deadline;
  std::vector<Job> jobs;
  std::vector<Feature> features;
  std::vector<Box> unclear;  // left at the deadline, or not classified
  // Pieces of domain gaps; kinds is 1 where f is proven undefined on the
  // whole piece, 0 for the edge of a gap.
  std::vector<Box> gaps;
  // Points of a kind that probes did not confirm; unclear unless another
  // listed feature covers them.
  std::vector<Box> weak;
  PieceEvaluators pieces;  // for the proofs at singular places
  bool out_of_time() const { return Clock::now() >= deadline; }
  bool tiny(double lo, double hi) const;
};

// Runs the box search of every job until all boxes are decided or the
// deadline passes; fills features, gaps, weak and unclear.
void run_search(Search& s);

// Result of trying to isolate one zero of the k-th derivative on x, where
// the (k+1)-th is proven nonzero and f is continuous.
enum class Isolation : uint8_t { kNone, kProven, kOpen };
// On kProven, x is narrowed to a tight enclosure holding exactly that zero.
Isolation isolate_zero(const Search& s, const Target& t, int k, Interval& x, Interval slope);

// Turns a candidate into features (poles, holes, jumps, gaps, corners,
// unproven points) or an unclear range, as soon as the search finds it:
// what is found before the deadline is also named before it.
void classify_candidate(Search& s, const Candidate& c);

// Feature of a proven zero of the k-th derivative of job j in x.
void add_proven(Search& s, int j, int k, Interval x, int slope_sign);

}  // namespace kv::analysis

// Classifying the tiny boxes the search could not decide, by probing the
// function at growing distances beside them (2w, 8w, 32w, ... for a box
// of width w):
// - |f| growing towards the place by steps that do not shrink: a Polstelle;
// - defined on neither side, or proven undefined on the box: part of a
//   Definitionslücke; defined on one side only: its boundary;
// - finite one-sided limits that differ: a Sprung; that agree, with f
//   undefined at the place itself: a Lücke; with f defined there: a corner
//   (Hoch- or Tiefpunkt where f' changes sign) or nothing at all;
// - a continuous box still undecided: an unproven point of the kind by the
//   signs beside it, or left for the covering check.
// Probes at points show what happens near the place, not that it holds for
// every x: poles, holes and jumps are named by classify_place, which proves
// them from the formula where it can and otherwise goes by the probes; the
// rest is never called proven. What fits no pattern stays Unklar.
#include <algorithm>
#include <cmath>

#include "analysis/search.h"
#include "analysis/simple_point.h"
#include "expr/evaluator.h"

namespace kv::analysis {

namespace {

// Probes at 2w, 16w, 128w, ...: far enough out to reach distances where
// cancellation (as in (x^2-1)/(x-1) next to 1) no longer blurs the values.
constexpr int kProbes = 8;
constexpr double kProbeFactor = 8;

struct Side {
  bool present = false;  // the first probe lies inside the range
  bool defined = false;  // every probe inside the range is defined
  bool unbounded = false;  // some probe is defined without a finite bound
  int count = 0;
  double d[kProbes] = {}, v[kProbes] = {}, u[kProbes] = {};  // distance, value, its blur
};

// Where the interval enclosure of a value is loose (gamma away from its
// poles), the double evaluator's value stands in for it: probes only
// suggest what happens beside a place, they prove nothing.
void sharpen(const Target& t, double x, Interval& v) {
  if (v.hi - v.lo <= 1e-9 * (1 + std::fabs(mid(v)))) return;
  Evaluator ev(t.angle, Limits{}, kPanelFunction);
  const double vars[6] = {x, 0, 0, 0, 0, 0};
  double value = ev.evaluate(*t.f, vars);
  if (ev.undefined()) return;
  if (t.g) {
    value -= ev.evaluate(*t.g, vars);
    if (ev.undefined()) return;
  }
  if (std::isfinite(value) && std::fabs(value) < kMaxMagnitude) v = {value, value};
}

Side probe(const Search& s, const Target& t, double edge, double dir, double w, int k) {
  Side side;
  side.defined = true;
  double d = 2 * w;
  for (int j = 0; j < kProbes; ++j, d *= kProbeFactor) {
    const double p = edge + dir * d;
    if (!(p >= s.a && p <= s.b)) break;
    PointValue pv = point_value(t, p, k);
    if (k == 0 && pv.defined) sharpen(t, p, pv.v);
    const bool ok = pv.defined && std::isfinite(pv.v.lo) && std::isfinite(pv.v.hi);
    if (!ok) side.defined = false;
    if (pv.defined && !ok) side.unbounded = true;
    side.d[j] = d;
    side.v[j] = ok ? mid(pv.v) : 0;
    side.u[j] = ok ? pv.v.hi - pv.v.lo : 0;
    side.count = j + 1;
  }
  side.present = side.count > 0;
  side.defined = side.defined && side.count >= 3;
  return side;
}

double step(const Side& p, int j) { return std::fabs(p.v[j] - p.v[j + 1]); }
// Steps smaller than this are blur, not the function.
double blur(const Side& p, int j) { return 4 * (p.u[j] + p.u[j + 1]); }

// |f| rising towards the place by steps that do not shrink as the probes
// close in (a continuous f has steps falling eightfold each time): 1/x and
// ln(x) alike. Values only, so that it holds where no derivative is known.
// Probes whose steps drown in blur are left out.
bool grows(const Side& p) {
  if (!p.defined) return false;
  int clear = 0;
  for (int j = 0; j + 2 < p.count; ++j) {
    if (!(step(p, j) > blur(p, j) && step(p, j + 1) > blur(p, j + 1))) continue;
    if (!(std::fabs(p.v[j]) > std::fabs(p.v[j + 1]) && std::fabs(p.v[j + 1]) > std::fabs(p.v[j + 2])))
      return false;
    if (!(step(p, j) >= 0.9 * step(p, j + 1))) return false;
    ++clear;
  }
  return clear >= 2;
}

// The one-sided limit and how far off it may be: taken at the probe where
// the steps shrink as they do towards a finite limit and the estimate is
// least blurred, with the value extrapolated linearly in the distance.
bool limit(const Side& p, double& out, double& error) {
  if (!p.defined) return false;
  bool found = false;
  for (int j = 0; j + 2 < p.count; ++j) {
    const double scale = 1 + std::fabs(p.v[j]);
    const double noise = blur(p, j) + blur(p, j + 1) + 1e-13 * scale;
    if (step(p, j) <= 0.5 * step(p, j + 1) + noise && step(p, j) <= 1e-6 * scale + noise &&
        (!found || step(p, j) + noise < error)) {
      out = p.v[j] - (p.v[j + 1] - p.v[j]) / (kProbeFactor - 1);
      error = step(p, j) + noise;
      found = true;
    }
  }
  return found;
}

// The slope beside the place from the two nearest probes that are not
// blurred, dir -1 on the left side and 1 on the right.
double side_slope(const Side& p, double dir) {
  for (int j = 0; j + 1 < p.count; ++j) {
    if (step(p, j) > blur(p, j)) return dir * (p.v[j + 1] - p.v[j]) / (p.d[j + 1] - p.d[j]);
  }
  return 0;
}

Feature feature_at(const Job& job, FeatureKind kind, const Candidate& c, double x) {
  Feature f;
  f.kind = kind;
  f.formula = job.formula;
  f.other = job.other;
  f.has_x = true;
  f.x = x;
  f.x_lo = c.lo;
  f.x_hi = c.hi;
  return f;
}

bool value_at(const Target& t, double x, double& y) {
  const PointValue p = point_value(t, x, 0);
  if (p.defined) y = simple_point(p.v.lo, p.v.hi);
  return p.defined;
}

void add_unclear(Search& s, const Candidate& c) { s.unclear.push_back({c.lo, c.hi, c.job, c.kinds}); }

// A corner or a zero at a place where f is continuous but not smooth.
void continuous_place(Search& s, const Candidate& c, const Side& l, const Side& r, double x) {
  const Job& job = s.jobs[c.job];
  double y = 0;
  const bool has_y = value_at(job.target, x, y);
  const double sl = side_slope(l, -1), sr = side_slope(r, 1);
  if ((c.kinds & kBitSlope) && sl != 0 && sr != 0 && (sl > 0) == (sr < 0)) {
    Feature f = feature_at(job, sr > 0 ? FeatureKind::kMinimum : FeatureKind::kMaximum, c, x);
    f.has_y = has_y;
    f.y = y;
    s.features.push_back(f);
  }
  if ((c.kinds & kBitRoot) && ((l.v[0] > 0) != (r.v[0] > 0) || (has_y && y == 0))) {
    Feature f = feature_at(job, FeatureKind::kZero, c, x);
    f.has_y = true;
    s.features.push_back(f);
  }
}

// A pole, hole or jump as classify_place names it, proven where it says so.
void add_place(Search& s, const Candidate& c, const Place& p) {
  const Job& job = s.jobs[c.job];
  FeatureKind kind = FeatureKind::kPole;
  if (p.kind == PlaceKind::kHole) kind = FeatureKind::kHole;
  if (p.kind == PlaceKind::kJump) kind = FeatureKind::kJump;
  Feature f = feature_at(job, kind, c, p.x);
  f.proven = p.proven && !job.uncertain;
  if (p.proven) {
    // The proof covers the neighbourhood of the place, the box included.
    f.x_lo = std::min(c.lo, p.where.lo);
    f.x_hi = std::max(c.hi, p.where.hi);
  }
  f.pole_left = p.pole_left;
  f.pole_right = p.pole_right;
  if (kind != FeatureKind::kPole) {
    f.has_limits = true;
    f.y_left = simple_point(p.left.lo, p.left.hi);
    f.y_right = simple_point(p.right.lo, p.right.hi);
    f.has_y = kind == FeatureKind::kHole || p.value_defined;
    f.y = kind == FeatureKind::kHole ? f.y_left : simple_point(p.value.lo, p.value.hi);
  }
  s.features.push_back(f);
  if (kind == FeatureKind::kJump && f.has_y && f.y == 0 && (c.kinds & kBitRoot)) {
    Feature z = feature_at(job, FeatureKind::kZero, c, p.x);
    z.has_y = true;
    s.features.push_back(z);
  }
}

// Of a formula's own job only: a pair's places are its formulas' places.
Place classify(Search& s, const Candidate& c, const PlaceEvidence& ev) {
  const Target& t = s.jobs[c.job].target;
  if (t.g != nullptr) return {};
  return classify_place(*t.f, t.angle, c.lo, c.hi, ev, s.pieces);
}

void two_sided_place(Search& s, const Candidate& c, const Side& l, const Side& r, double x) {
  PlaceEvidence ev;
  ev.left_unbounded = grows(l);
  ev.right_unbounded = grows(r);
  double el = 0, er = 0;
  ev.left_known = limit(l, ev.left, el);
  ev.right_known = limit(r, ev.right, er);
  ev.tolerance = 1e-9 * (1 + std::max(std::fabs(ev.left), std::fabs(ev.right))) + 8 * (el + er);
  const Place p = classify(s, c, ev);
  if (p.kind == PlaceKind::kOpen) return add_unclear(s, c);
  // f defined at the place: not a Lücke, whatever the sides say.
  if (p.kind == PlaceKind::kNone || (p.kind == PlaceKind::kHole && p.value_defined)) {
    return continuous_place(s, c, l, r, x);
  }
  add_place(s, c, p);
}

// A pole where f is undefined on one side or at an end of the range: proven
// by the formula's structure, or seen growing on the side it is defined.
bool edge_pole(Search& s, const Candidate& c, bool grows_left, bool grows_right) {
  PlaceEvidence ev;
  ev.left_unbounded = grows_left;
  ev.right_unbounded = grows_right;
  const Place p = classify(s, c, ev);
  if (p.kind != PlaceKind::kPole) return false;
  add_place(s, c, p);
  return true;
}

// Where f is undefined on one side: the box joins the domain gap, and f
// may grow without bound or reach zero at the edge of its domain.
void gap_edge(Search& s, const Candidate& c, const Side& l, const Side& r, double x) {
  const Job& job = s.jobs[c.job];
  s.gaps.push_back({c.lo, c.hi, c.job, 0});
  if (edge_pole(s, c, l.defined && grows(l), r.defined && grows(r))) return;
  double y = 1;
  if ((c.kinds & kBitRoot) && value_at(job.target, x, y) && y == 0) {
    Feature z = feature_at(job, FeatureKind::kZero, c, x);
    z.has_y = true;
    s.features.push_back(z);
  }
}

void singular_place(Search& s, const Candidate& c) {
  const Job& job = s.jobs[c.job];
  if (c.undefined) {
    s.gaps.push_back({c.lo, c.hi, c.job, 1});
    return;
  }
  const double w = std::max(c.hi - c.lo, s.floor_width);
  const Side l = probe(s, job.target, c.lo, -1, w, 0), r = probe(s, job.target, c.hi, 1, w, 0);
  const double x = simple_point(c.lo, c.hi);
  if (l.unbounded || r.unbounded) {
    // Probes beyond every bound (exp(1/x) right of 0) name nothing; a proof may.
    const Place p = classify(s, c, PlaceEvidence{});
    if (p.proven && p.kind != PlaceKind::kNone && p.kind != PlaceKind::kOpen) return add_place(s, c, p);
    return add_unclear(s, c);
  }
  const bool l_undef = l.present && !l.defined, r_undef = r.present && !r.defined;
  if (job.other >= 0) {
    // A pair meets at a singular place only where f - g changes sign
    // without growing beyond bounds; the formulas' own lists name the place.
    if (l.defined && r.defined && !grows(l) && !grows(r) && (l.v[0] > 0) != (r.v[0] > 0)) {
      Feature f = feature_at(job, FeatureKind::kIntersection, c, x);
      f.has_y = value_at(job.target.first(), x, f.y);
      s.features.push_back(f);
    }
    return;
  }
  if ((l_undef || !l.present) && (r_undef || !r.present)) {
    if (l.present || r.present) s.gaps.push_back({c.lo, c.hi, c.job, 0});
    else add_unclear(s, c);
    return;
  }
  if (l_undef || r_undef || !l.present || !r.present) {
    const Side& def = l.defined ? l : r;
    if (l_undef || r_undef) return gap_edge(s, c, l, r, x);
    // At an end of the range: a pole, or nothing where f settles.
    if (edge_pole(s, c, l.defined && grows(l), r.defined && grows(r))) return;
    double lim = 0, error = 0, y = 1;
    if (!limit(def, lim, error)) return add_unclear(s, c);
    if ((c.kinds & kBitRoot) && value_at(job.target, x, y) && y == 0) {
      Feature z = feature_at(job, FeatureKind::kZero, c, x);
      z.has_y = true;
      s.features.push_back(z);
    }
    return;
  }
  two_sided_place(s, c, l, r, x);
}

// A continuous box still open for some kinds: a point found by the signs
// beside it, or a weak candidate that another listed point may cover.
void smooth_place(Search& s, const Candidate& c) {
  const Job& job = s.jobs[c.job];
  const double w = std::max(c.hi - c.lo, s.floor_width);
  const double x = simple_point(c.lo, c.hi);
  for (int k = 0; k < 3; ++k) {
    if (!(c.kinds & (1 << k))) continue;
    if (k == 0) {
      Feature f = feature_at(job, job.other >= 0 ? FeatureKind::kIntersection : FeatureKind::kZero, c, x);
      f.has_y = job.other < 0 || value_at(job.target.first(), x, f.y);
      s.features.push_back(f);
      continue;
    }
    const Side l = probe(s, job.target, c.lo, -1, w, k), r = probe(s, job.target, c.hi, 1, w, k);
    const bool change = l.defined && r.defined && l.v[0] != 0 && r.v[0] != 0 &&
                        (l.v[0] > 0) != (r.v[0] > 0);
    if (!change) {
      s.weak.push_back({c.lo, c.hi, c.job, static_cast<uint8_t>(1 << k)});
      continue;
    }
    FeatureKind kind = FeatureKind::kInflection;
    if (k == 1) kind = r.v[0] > 0 ? FeatureKind::kMinimum : FeatureKind::kMaximum;
    Feature f = feature_at(job, kind, c, x);
    f.has_y = value_at(job.target, x, f.y);
    s.features.push_back(f);
  }
}

}  // namespace

void classify_candidate(Search& s, const Candidate& c) {
  if (s.out_of_time()) {
    add_unclear(s, c);
  } else if (c.singular) {
    singular_place(s, c);
  } else {
    smooth_place(s, c);
  }
}

}  // namespace kv::analysis

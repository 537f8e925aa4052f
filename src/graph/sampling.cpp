// Sampling and classification of explicit functions.
#include "graph/sampling.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kv {

bool CurveSamples::reset(int last_index, bool overwrite) {
  const size_t size = static_cast<size_t>(last_index) + 2;
  plane.clear();
  last = -1;
  pixel_last = -1;
  on_grid = false;
  moved.clear();
  // Arrays are the only allocations of a recomputation that grow with the
  // plot size; their failure is reported as a panel error, not thrown on.
  try {
    if (overwrite) {
      samples.resize(size);
      pixels.resize(size);
      pixel_flags.resize(size);
    } else {
      samples.assign(size, Sample{});
      pixels.assign(size, Point{});
      pixel_flags.assign(size, 0);
    }
  } catch (...) {
    clear();
    return false;
  }
  last = last_index;
  used = true;
  return true;
}

void CurveSamples::clear() {
  samples.clear();
  plane.clear();
  pixels.clear();
  pixel_flags.clear();
  last = -1;
  pixel_last = -1;
  used = false;
  on_grid = false;
  moved.clear();
}

bool layout_formula_plot(FormulaPlot& fp, const CompiledFormula& f, const PanelRecord& panel,
                         int width, int height, bool with_slot1) {
  fp.polar = f.is_polar();
  fp.discontinuous = f.discontinuous || f.order > 0;
  fp.failed = false;
  int n;
  if (fp.polar) {
    n = 8 * std::max(width, height);
    fp.a = panel.range[kTMin].value;
    fp.b = panel.range[kTMax].value;
  } else {
    n = width;
    fp.a = panel.range[kXMin].value;
    fp.b = panel.range[kXMax].value;
  }
  n = std::max(n, 1);
  fp.step = (fp.b - fp.a) / n;
  // The explicit sampler writes every sample; the solver leaves the columns
  // it cannot reach untouched, and they must read as undefined.
  if (!fp.slot[0].reset(n, f.order == 0)) return false;
  if (with_slot1) return fp.slot[1].reset(n);
  fp.slot[1].clear();
  return true;
}

int pole_test(double yl, double y, double yr, double yrr, double jump) {
  if (yr - jump > y && yl >= y && yr >= yrr) return -1;
  if (yr + jump < y && yl <= y && yr <= yrr) return 1;
  return 0;
}

namespace {

// A refinement halves its sub-step by a factor of eight at most nine times;
// a function that keeps moving in the wanted direction past points where it
// did not could otherwise walk a whole column in the finest sub-steps.
constexpr int kRefineBudget = 512;
constexpr int kMaxDivisor = 1 << 30;

class Classifier {
 public:
  Classifier(FormulaPlot& fp, FormulaProbe& probe, const SamplingLimits& limits)
      : s_(fp.slot[0].samples), moved_(fp.slot[0].moved), probe_(probe), a_(fp.a),
        step_(fp.step), n_(fp.slot[0].last), polar_(fp.polar), discontinuous_(fp.discontinuous),
        jump_(limits.jump_threshold), max_(limits.max_magnitude) {}

  void run(double b);

 private:
  void evaluate(int i, double t) {
    Sample& s = s_[i];
    s.t = t;
    s.flag = probe_.at(t, s.v) ? kDefined : 0;
  }
  bool defined(int i) const { return is_defined(s_[i].flag); }
  // Sample i + 1 begins a piece of its own although it is defined: the
  // refined start of the piece on its right was snapped into what was an
  // undefined column, so the piece through i ends at i.
  bool snapped_start_right(int i) const {
    return (s_[i + 1].flag & kPieceStart) && !(s_[i].flag & kPieceEnd);
  }
  double v(int i) const { return s_[i].v; }
  bool spike(int i) const;
  void classify(int i);
  void classify_all();
  void classify_right_edge();
  void classify_left_edge();
  void refine(int i, int k, int d, bool snap);

  std::vector<Sample>& s_;
  std::vector<int>& moved_;  // samples whose parameter may be off the grid
  FormulaProbe& probe_;
  double a_, step_;
  int n_;
  bool polar_, discontinuous_;
  double jump_, max_;
};

void Classifier::run(double b) {
  evaluate(n_ + 1, b + step_);
  evaluate(n_, b);
  moved_.push_back(n_);  // b itself, which a + n * step need not hit
  // The grid values are computed chunk by chunk into buffers that stay in
  // the cache, and all are stored before the classification walks back from
  // the right: a refinement may move a sample onto its left neighbour.
  // Chunks are whole evaluation blocks, so the evaluation order is that of one
  // call over the whole grid.
  constexpr int kChunk = 256;
  double t[kChunk], value[kChunk];
  bool undefined[kChunk];
  for (int i0 = 0; i0 < n_; i0 += kChunk) {
    const int m = std::min(kChunk, n_ - i0);
    for (int j = 0; j < m; ++j) t[j] = a_ + (i0 + j) * step_;
    probe_.at_many(t, m, value, undefined);
    Sample* out = s_.data() + i0;
    for (int j = 0; j < m; ++j) {
      const bool ok = !undefined[j] & (value[j] == value[j]);
      out[j] = Sample{t[j], value[j], static_cast<uint8_t>(ok ? kDefined : 0)};
    }
  }
  classify_all();
}

// Classifies samples n..0 in this order, each as classify() does. Inner
// samples whose three neighbours to the left and right are all defined only
// need the pole test (unless the right one is a snapped piece start, which
// ends the piece), and the window of four samples it reads moves along in
// locals; whatever else happens may rewrite samples and reloads the window.
void Classifier::classify_all() {
  int i = n_;
  for (; i >= n_ - 1 && i >= 0; --i) {
    if (defined(i)) classify(i);
  }
  if (i < 1) {
    if (i == 0 && defined(0)) classify(0);
    return;
  }
  const Sample* s = s_.data();
  // The window: samples i - 1, i, i + 1, i + 2.
  auto load = [&](int k, uint8_t& f, double& y) {
    f = s[k].flag;
    y = s[k].v;
  };
  uint8_t fl, f, fr, frr;
  double yl, y, yr, yrr;
  load(i - 1, fl, yl);
  load(i, f, y);
  load(i + 1, fr, yr);
  load(i + 2, frr, yrr);
  for (; i >= 1; --i) {
    if ((fl & f & fr & frr & kDefined) && !(fr & kPieceStart)) {
      const int d = pole_test(yl, y, yr, yrr, jump_);
      if (d != 0) {
        refine(i, +1, d, false);
        refine(i + 1, -1, -d, false);
        load(i, f, y);
        load(i + 1, fr, yr);
      }
    } else if (is_defined(f)) {
      classify(i);
      load(i - 1, fl, yl);
      load(i, f, y);
      load(i + 1, fr, yr);
    }
    frr = fr;
    yrr = yr;
    fr = f;
    yr = y;
    f = fl;
    y = yl;
    if (i >= 2) load(i - 2, fl, yl);
  }
  if (defined(0)) classify(0);
}

// An isolated spike: a jump of more than two thresholds from the left
// neighbour, with both neighbours on the same side.
bool Classifier::spike(int i) const {
  if (polar_) return false;
  const double y = v(i), yl = v(i - 1), yr = v(i + 1);
  if (!(std::fabs(y - yl) > 2 * jump_)) return false;
  return (yl > y && yr > y) || (yl <= y && yr <= y);
}

void Classifier::classify_right_edge() {
  const int i = n_;
  if (!defined(i - 1)) {
    s_[i].flag |= kIsolated;
  } else if (!defined(i + 1)) {
    s_[i].flag |= kPieceEnd;
  } else if (spike(i)) {
    s_[i].flag |= kIsolated;
    s_[i - 1].flag |= kPieceEnd;
  } else {
    s_[i].flag |= kPieceEnd;
  }
}

void Classifier::classify_left_edge() {
  if (!defined(1) || snapped_start_right(0)) {
    s_[0].flag |= kIsolated;
  } else if (defined(2) && spike(1)) {
    s_[0].flag |= kIsolated;
    s_[1].flag |= kPieceStart;
  } else {
    s_[0].flag |= kPieceStart;
  }
}

void Classifier::classify(int i) {
  if (i == n_) return classify_right_edge();
  if (i == 0) return classify_left_edge();
  const bool left = defined(i - 1), right = defined(i + 1) && !snapped_start_right(i);
  if (i < n_ - 1 && left && right && defined(i + 2)) {
    const int d = pole_test(v(i - 1), v(i), v(i + 1), v(i + 2), jump_);
    if (d != 0) {
      refine(i, +1, d, false);
      refine(i + 1, -1, -d, false);
    }
    return;
  }
  if (!left && !right) {
    s_[i].flag |= kIsolated;
  } else if (!right) {
    refine(i, +1, v(i) > v(i - 1) ? 1 : -1, true);
  } else if (!left) {
    refine(i, -1, v(i) > v(i + 1) ? 1 : -1, true);
  }
}

// Walks from sample i towards its neighbour i + k in sub-steps of step / 8,
// shrinking the sub-step by 8 whenever the next point is undefined or does not
// move in direction d, and keeps the last point that did.
void Classifier::refine(int i, int k, int d, bool snap) {
  const uint8_t bit = k > 0 ? kPieceEnd : kPieceStart;
  double y = v(i);
  if (discontinuous_ || std::fabs(y) >= max_) {
    s_[i].flag |= kDefined | bit;
    return;
  }
  const double h = step_ / 8;
  const double target = a_ + (i + k) * step_;
  const double toward = k * step_;  // (target - p) * toward > 0 while short of the target
  // The walk starts where the sample is: on the grid, unless an earlier
  // refinement moved it there (a snapped neighbour classified in its turn).
  double p = s_[i].t;
  double best_p = p, best_v = y;
  double sub = h;
  int m = 1;
  for (int budget = kRefineBudget; budget > 0 && m < kMaxDivisor && (target - p) * toward > 0;
       --budget) {
    p += k * sub;
    double value;
    const bool ok = probe_.at(p, value);
    if (ok && (d >= 0 ? value > best_v : value < best_v)) {
      best_p = p;
      best_v = value;
      if (d * value >= max_) {
        best_v = d * max_;
        break;
      }
    } else {
      p -= k * sub;
      m *= 8;
      sub = h / m;
    }
  }
  // Only an undefined neighbour's slot is free: a snapped start may hold it.
  int slot = i;
  if (snap && !defined(i + k) && std::fabs(best_p - target) <= std::fabs(step_) / 2) slot = i + k;
  Sample& out = s_[slot];
  out.t = best_p;
  out.v = best_v;
  out.flag |= kDefined | bit;
  moved_.push_back(slot);
}

}  // namespace

void sample_explicit(FormulaPlot& fp, FormulaProbe& probe, const SamplingLimits& limits) {
  Classifier(fp, probe, limits).run(fp.b);
  fp.slot[0].on_grid = true;
}

void sample_derivative_curve(FormulaPlot& fp, FormulaProbe& probe) {
  const CurveSamples& src = fp.slot[0];
  CurveSamples& dst = fp.slot[1];
  dst.samples[src.last + 1] = Sample{src.samples[src.last + 1].t, kUndefined, 0};
  for (int i = src.last; i >= 0; --i) {
    const Sample& s = src.samples[i];
    Sample& d = dst.samples[i];
    d.t = s.t;
    d.flag = s.flag;
    d.v = kUndefined;
    if (is_defined(s.flag) && !probe.derivative(s.t, s.v, d.v)) d.flag = 0;
  }
}

}  // namespace kv

// A column proven filled by intermediate values; see the header.
#include "analysis/column_fill.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kv::analysis {

namespace {

constexpr int kApproachSteps = 12;

using interval::Defined;
using interval::Enclosure;
using interval::Interval;

class Filler {
 public:
  Filler(interval::IntervalEvaluator& ev, const CompiledFormula& f, const FillInput& in)
      : ev_(ev), f_(f), in_(in) {}

  // Walks [a, b]; true as soon as the column is filled.
  bool walk(double a, double b, int depth);
  int evaluations = 0;

 private:
  Enclosure eval(double a, double b) {
    ++evaluations;
    return ev_.evaluate(f_, {a, b}, in_.derivative, in_.angle);
  }
  bool continuous(const Enclosure& e) const {
    return e.defined == Defined::kEverywhere && (in_.derivative == 0 ? e.continuous : e.smooth);
  }
  Interval at(double x) {
    const Enclosure e = eval(x, x);
    if (e.defined != Defined::kEverywhere) return interval::empty();
    return e.f[in_.derivative];
  }
  // A point of the open chain: the values between its least upper end and
  // its greatest lower end are proven taken.
  void take(double x, Interval v) {
    lo_ = std::min(lo_, v.hi);
    hi_ = std::max(hi_, v.lo);
    prev_ = last_;
    last_ = {x, v.lo / 2 + v.hi / 2, true};
  }
  void open(double x, Interval v) {
    open_ = true;
    lo_ = interval::kInf;
    hi_ = -interval::kInf;
    last_ = {};
    take(x, v);
    prev_ = {};
  }
  bool beyond(double y) const { return y > in_.view_hi + in_.tol || y < in_.view_lo - in_.tol; }
  void approach(double pole_lo, double pole_hi, bool from_left);
  void close() {
    if (open_ && lo_ <= hi_) spans_.push_back({lo_, hi_});
    open_ = false;
  }
  bool filled() const;

  interval::IntervalEvaluator& ev_;
  const CompiledFormula& f_;
  const FillInput& in_;
  bool open_ = false;
  double end_ = 0;  // right end of the open chain
  double lo_ = 0, hi_ = 0;
  struct Point {
    double x = 0, y = 0;
    bool known = false;
  };
  Point prev_, last_;  // the two points of the open chain nearest its moving end
  std::vector<Interval> spans_;  // of the closed chains
};

bool Filler::filled() const {
  std::vector<Interval> all = spans_;
  if (open_ && lo_ <= hi_) all.push_back({lo_, hi_});
  std::sort(all.begin(), all.end(), [](Interval x, Interval y) { return x.lo < y.lo; });
  double reach = in_.view_lo;
  for (const Interval& s : all) {
    if (s.lo <= reach + in_.tol) reach = std::max(reach, s.hi);
  }
  return reach >= in_.view_hi - in_.tol;
}

// Carries a chain towards a pole in [lo, hi] until its values leave the
// plot: from the left the open chain ending at lo, from the right a new one
// from hi, left open for the pieces after hi. The next point is guessed where
// 1/f, nearly linear beside a pole, reaches a value beyond the plot; every
// guess is proven (continuity from the chain's end) before it is taken, and a
// guess past the pole is halved back.
void Filler::approach(double lo, double hi, bool from_left) {
  if (!from_left) {
    const double far = std::min(in_.b, hi + (hi - lo));
    if (!(far > hi) || !continuous(eval(hi, far))) return;
    const Interval f_far = at(far), f_hi = at(hi);
    if (interval::is_empty(f_far) || interval::is_empty(f_hi)) return;
    open(far, f_far);
    take(hi, f_hi);
    end_ = hi;
  }
  const double span = in_.view_hi - in_.view_lo;
  for (int step = 0; step < kApproachSteps && last_.known && !beyond(last_.y); ++step) {
    const double g1 = prev_.known ? 1 / prev_.y : 0, g2 = 1 / last_.y;
    const double goal = last_.y > 0 ? in_.view_hi + span : in_.view_lo - span;
    double x = from_left ? last_.x + (hi - last_.x) / 2 : last_.x - (last_.x - lo) / 2;
    if (prev_.known && std::isfinite(g1) && std::isfinite(g2) && g1 != g2) {
      const double guess = last_.x + (1 / goal - g2) * (last_.x - prev_.x) / (g2 - g1);
      if (from_left ? guess > last_.x && guess < hi : guess < last_.x && guess > lo) x = guess;
    }
    const Enclosure e = from_left ? eval(last_.x, x) : eval(x, last_.x);
    const Interval v = continuous(e) ? at(x) : interval::empty();
    if (interval::is_empty(v)) {
      (from_left ? hi : lo) = x;  // past the pole: the pole lies nearer
      continue;
    }
    take(x, v);
  }
  if (!from_left) end_ = hi;
}

bool Filler::walk(double a, double b, int depth) {
  const Enclosure e = eval(a, b);
  if (continuous(e)) {
    if (!open_ || end_ != a) {
      close();
      const Interval fa = at(a);
      if (interval::is_empty(fa)) return false;
      open(a, fa);
    }
    const Interval fb = at(b);
    if (interval::is_empty(fb)) {
      close();
      return false;
    }
    take(b, fb);
    end_ = b;
    return filled();
  }
  const double m = a + (b - a) / 2;
  if (e.defined == Defined::kNowhere || !(m > a && m < b)) {
    close();
    return filled();
  }
  if (depth >= in_.max_depth) {
    // A pole, perhaps: the chains beside it are carried on towards it.
    if (open_ && end_ == a) approach(a, b, true);
    close();
    if (filled()) return true;
    approach(a, b, false);
    return filled();
  }
  return walk(a, m, depth + 1) || walk(m, b, depth + 1);
}

}  // namespace

FillResult fill_column(interval::IntervalEvaluator& ev, const CompiledFormula& f,
                       const FillInput& in) {
  FillResult r;
  if (!(in.b > in.a) || !(in.view_hi > in.view_lo)) return r;
  Filler filler(ev, f, in);
  r.filled = filler.walk(in.a, in.b, 0);
  r.evaluations = filler.evaluations;
  return r;
}

}  // namespace kv::analysis

// Which segments of a sampled curve are proven; see the header.
#include "analysis/curve_classification.h"

#include <algorithm>
#include <chrono>
#include <cfloat>
#include <cmath>
#include <utility>

#include "analysis/column_fill.h"
#include "analysis/place_proof.h"
#include "analysis/simple_point.h"
#include "interval/interval_eval.h"

namespace kv::analysis {

namespace {

using interval::Defined;
using interval::Enclosure;
using interval::Interval;
using Clock = std::chrono::steady_clock;

constexpr int kSplitDepth = 6;             // singular pieces down to a 64th of a segment
constexpr int kBandDepth = 12;             // continuous ones down to a 4096th
constexpr int kNarrowSteps = 64;           // halvings of a singular piece
constexpr size_t kRun = 16;                // segments proven monotone at once
constexpr long kCurveEvaluations = 120;    // per segment on average, for the whole curve
constexpr int kSegmentEvaluations = 600;   // per segment, then the rest is undecided
constexpr int kFillDepth = 3;              // poles in a column looked for down to an 8th

struct Value {
  double y = 0;
  bool known = false;
};

// kFilled: a column proven to take every value from fa to fb (column_fill.h).
enum class PieceKind : uint8_t { kProven, kBand, kGap, kSingular, kUndecided, kFilled };

struct Piece {
  double a = 0, b = 0;
  PieceKind kind = PieceKind::kUndecided;
  bool drawn = false;  // a whole segment drawn as it is: no spans
  Interval fa{0, 0}, fb{0, 0}, range{0, 0};
  Interval fm = interval::empty();
};

// A value inside r; an unbounded end counts as the largest double.
double mid(Interval r) {
  const double lo = std::max(r.lo, -DBL_MAX), hi = std::min(r.hi, DBL_MAX);
  return lo / 2 + hi / 2;
}

class Classifier {
 public:
  Classifier(const ExprPanel& panel, const CompiledFormula& f, const CurveInput& in,
             CurveClassification& out)
      : f_(f), in_(in), out_(out), k_(in.derivative), angle_(panel.angle_mode) {
    view_lo_ = in.rows.ymin;
    view_hi_ = in.rows.ymin + in.rows.height * in.rows.y_scale;
    tol_ = std::fabs(in.rows.y_scale);
  }

  void segment(size_t i);
  // Segments i .. i + n - 1 at once, where the curve is proven monotone: the
  // value of each then lies between the values at its ends.
  bool monotone_run(size_t i, size_t n);
  // Names what the segments left, with the pieces beside each other.
  void finish() {
    emit(pieces_);
    settle_beside_holes();
  }
  // Room for a piece per segment, the usual count: no reallocation on the way.
  void reserve(size_t samples) { pieces_.reserve(samples); }

 private:
  // With order k_ the curve's own continuity (continuous(), below) is known;
  // one more derivative serves the mean-value form.
  Enclosure eval(double a, double b, int extra = 0) {
    ++evaluations_;
    ++total_;
    return ev_.evaluate(f_, {a, b}, k_ + extra, angle_);
  }
  bool continuous(const Enclosure& e) const {
    return e.defined == Defined::kEverywhere && (k_ == 0 ? e.continuous : e.smooth);
  }
  Interval at(double x) {
    const Enclosure e = eval(x, x);
    if (e.defined != Defined::kEverywhere) return interval::empty();
    return e.f[k_];
  }
  Interval narrowed(Interval r, double a, double b, Interval& fm);
  void split(double a, double b, std::vector<Piece>& pieces);
  bool fill_columns(double u, double w);
  Piece piece(double a, double b, Interval fa, Interval fb, int depth, bool& split_it);
  struct Cover {
    long column;
    double reach;  // the values from the plot's bottom up to here are taken
    std::vector<Interval> spans;
  };
  long column(double x) const;
  bool covered(double x) const;
  void cover(const Piece& p);
  void emit(const std::vector<Piece>& pieces);
  void singular(const Piece& p, Value left, Value right, bool steady);
  void name(double centre, double found, Interval whole, Value left, Value right, bool steady);
  void name_by_sides(double centre, double found, Interval whole, Value left, Value right,
                     bool steady);
  bool steady(const Piece& q, double near) const {
    return std::fabs(mid(q.fa) - mid(q.fb)) <= tol_ && std::fabs(mid(q.fa) - near) <= 2 * tol_;
  }
  bool beyond(Value v) const {
    return v.known && (v.y < view_lo_ - (view_hi_ - view_lo_) || v.y > view_hi_ + (view_hi_ - view_lo_));
  }
  void undecided(double x, Interval r) { out_.spans.push_back({x, r.lo, r.hi, false}); }
  void settle_beside_holes();
  // The doubles beside a place may be lost to cancellation or underflow
  // ((1 - cos x) / x^2 at 0, a place at no double) where the proof at the
  // place still holds; the sides then keep the neighbouring pieces' values.
  bool proven_at(double s) { return k_ == 0 && prove_place(f_, angle_, s, s, proofs_).proven; }

  const CompiledFormula& f_;
  const CurveInput& in_;
  CurveClassification& out_;
  interval::IntervalEvaluator ev_;
  PieceEvaluators proofs_;  // for the proofs at singular places
  int k_;
  double angle_;
  double view_lo_ = 0, view_hi_ = 0, tol_ = 0;
  int evaluations_ = 0;

 public:
  long total_ = 0;  // evaluations of the whole curve

 private:
  std::vector<Piece> pieces_;  // of all segments, in order of x
  // The undecided spans of bands, with their pieces, and the proven holes
  // at doubles: beside a hole the bands may be proven after all.
  std::vector<std::pair<size_t, Piece>> bands_;
  std::vector<Interval> holes_;
  std::vector<Cover> cover_;   // of the segment being split
};

// The enclosure r of a continuous piece, narrowed by the mean-value form
// about the midpoint where the curve is smooth; fm gets the midpoint's value.
Interval Classifier::narrowed(Interval r, double a, double b, Interval& fm) {
  if (!(b > a)) return r;
  const Enclosure e = eval(a, b, 1);
  if (!e.smooth) return r;
  const double m = a + (b - a) / 2;
  fm = at(m);
  if (interval::is_empty(fm)) return r;
  const Interval mv = interval::add(fm, interval::mul(e.f[k_ + 1], interval::sub({a, b}, {m, m})));
  const Interval both = interval::intersect(r, mv);
  return interval::is_empty(both) ? r : both;
}

// fa and fb are the values at the ends, when known; the midpoint's value is
// left in p.fm for the halves.
Piece Classifier::piece(double a, double b, Interval fa, Interval fb, int depth, bool& split_it) {
  split_it = false;
  Piece p{a, b, PieceKind::kUndecided, false, fa, fb, {0, 0}};
  const Enclosure e = eval(a, b);
  p.range = e.f[k_];
  if (e.defined == Defined::kNowhere) {
    p.kind = PieceKind::kGap;
    return p;
  }
  const bool spent = evaluations_ >= kSegmentEvaluations;
  if (!continuous(e)) {
    p.kind = PieceKind::kSingular;
    split_it = !spent && depth < kSplitDepth;
    return p;
  }
  const bool leaf = spent || depth >= kBandDepth;
  if (interval::is_empty(p.fa)) p.fa = at(a);
  if (interval::is_empty(p.fb)) p.fb = at(b);
  if (interval::is_empty(p.fa) || interval::is_empty(p.fb)) {
    split_it = !leaf;
    return p;
  }
  const Interval chord = interval::hull(p.fa, p.fb);
  const auto tight = [&](Interval r) { return r.lo >= chord.lo - tol_ && r.hi <= chord.hi + tol_; };
  // The mean-value form only where it may make the piece tight: not over a
  // band many times the height of its ends.
  const double over = (p.range.hi - p.range.lo) - (chord.hi - chord.lo);
  if (!tight(p.range) && over <= 8 * (chord.hi - chord.lo + tol_)) {
    p.range = narrowed(p.range, a, b, p.fm);
  }
  if (tight(p.range)) {
    p.kind = PieceKind::kProven;
    return p;
  }
  p.kind = PieceKind::kBand;
  split_it = !leaf;
  return p;
}

// Breadth first, so that a segment's budget is spread over all of it; the
// pieces are then put in order of x. A piece in columns that proven values
// already fill over the plot height is dropped: nothing else could show.
void Classifier::split(double a, double b, std::vector<Piece>& pieces) {
  struct Job {
    double a, b;
    Interval fa, fb;
    int depth;
  };
  std::vector<Job> queue{{a, b, interval::empty(), interval::empty(), 0}};
  const size_t first = pieces.size();
  for (size_t head = 0; head < queue.size(); ++head) {
    const Job j = queue[head];
    if (covered(j.a) && covered(j.b)) continue;
    bool split_it = false;
    Piece p = piece(j.a, j.b, j.fa, j.fb, j.depth, split_it);
    const double m = j.a + (j.b - j.a) / 2;
    if (split_it && m > j.a && m < j.b) {
      Interval fm = p.fm;
      if (interval::is_empty(fm) && p.kind != PieceKind::kSingular) fm = at(m);
      queue.push_back({j.a, m, p.fa, fm, j.depth + 1});
      queue.push_back({m, j.b, fm, p.fb, j.depth + 1});
      continue;
    }
    if (p.kind == PieceKind::kProven || p.kind == PieceKind::kBand) cover(p);
    pieces.push_back(p);
  }
  // A pole inside a filled column is not drawn either.
  pieces.erase(std::remove_if(pieces.begin() + static_cast<std::ptrdiff_t>(first), pieces.end(),
                              [this](const Piece& x) {
                                return x.kind == PieceKind::kSingular && covered(x.a) && covered(x.b);
                              }),
               pieces.end());
  std::sort(pieces.begin() + static_cast<std::ptrdiff_t>(first), pieces.end(),
            [](const Piece& x, const Piece& y) { return x.a < y.a; });
}

long Classifier::column(double x) const {
  return in_.x_scale > 0 ? std::lround((x - in_.x0) / in_.x_scale) : 0;
}

bool Classifier::covered(double x) const {
  if (!(in_.x_scale > 0)) return false;
  const long c = column(x);
  for (const Cover& k : cover_) {
    if (k.column == c) return k.reach >= view_hi_;
  }
  return false;
}

// Joins the values a piece proves it takes into its column's cover.
void Classifier::cover(const Piece& p) {
  if (!(in_.x_scale > 0)) return;
  const long c = column(p.a + (p.b - p.a) / 2);
  if (column(p.a) != c || column(p.b) != c) return;
  double lo = std::min(p.fa.hi, p.fb.hi), hi = std::max(p.fa.lo, p.fb.lo);
  if (p.kind == PieceKind::kProven) {
    lo = std::min(mid(p.fa), mid(p.fb));
    hi = std::max(mid(p.fa), mid(p.fb));
  }
  if (!(lo <= hi)) return;
  Cover* k = nullptr;
  for (Cover& x : cover_) {
    if (x.column == c) k = &x;
  }
  if (k == nullptr) {
    cover_.push_back({c, view_lo_, {}});
    k = &cover_.back();
  }
  k->spans.push_back({lo, hi});
  std::sort(k->spans.begin(), k->spans.end(),
            [](const Interval& x, const Interval& y) { return x.lo < y.lo; });
  k->reach = view_lo_;
  for (const Interval& s : k->spans) {
    if (s.lo <= k->reach + tol_) k->reach = std::max(k->reach, s.hi);
  }
}

void Classifier::emit(const std::vector<Piece>& pieces) {
  for (size_t n = 0; n < pieces.size(); ++n) {
    Piece p = pieces[n];
    const double x = p.a + (p.b - p.a) / 2;
    if (p.drawn) continue;
    switch (p.kind) {
      case PieceKind::kProven: {
        const Interval c = interval::hull(p.fa, p.fb);
        out_.spans.push_back({x, c.lo, c.hi, true});
        break;
      }
      case PieceKind::kBand: {
        // Intermediate values: every value between f(a) and f(b) is taken.
        const double lo = std::min(p.fa.hi, p.fb.hi), hi = std::max(p.fa.lo, p.fb.lo);
        if (lo <= hi) out_.spans.push_back({x, lo, hi, true});
        bands_.emplace_back(out_.spans.size(), p);
        undecided(x, p.range);
        break;
      }
      case PieceKind::kGap: break;
      case PieceKind::kFilled: out_.spans.push_back({x, p.fa.lo, p.fb.hi, true}); break;
      case PieceKind::kUndecided: undecided(x, p.range); break;
      case PieceKind::kSingular: {
        // A discontinuity on a sample lies at the end of two singular pieces.
        const size_t first = n;
        while (n + 1 < pieces.size() && pieces[n + 1].kind == PieceKind::kSingular &&
               pieces[n + 1].a <= p.b) {
          p.b = pieces[++n].b;
        }
        Value left, right;
        const Piece* lp = nullptr;
        const Piece* rp = nullptr;
        if (first > 0 && pieces[first - 1].b >= p.a && !interval::is_empty(pieces[first - 1].fb) &&
            (pieces[first - 1].kind == PieceKind::kProven ||
             pieces[first - 1].kind == PieceKind::kBand)) {
          left = {mid(pieces[first - 1].fb), true};
          lp = &pieces[first - 1];
        }
        if (n + 1 < pieces.size() && pieces[n + 1].a <= p.b && !interval::is_empty(pieces[n + 1].fa) &&
            (pieces[n + 1].kind == PieceKind::kProven || pieces[n + 1].kind == PieceKind::kBand)) {
          right = {mid(pieces[n + 1].fa), true};
          rp = &pieces[n + 1];
        }
        const size_t before = out_.marks.size();
        const bool calm = lp != nullptr && rp != nullptr && steady(*lp, left.y) && steady(*rp, right.y);
        singular(p, left, right, calm);
        // Refined samples may lie on both sides of one place: name it once.
        if (out_.marks.size() == before + 1 && before > 0) {
          const CurveMark &prev = out_.marks[before - 1], &now = out_.marks[before];
          if (prev.kind == now.kind && std::fabs(prev.x - now.x) <= p.b - p.a) out_.marks.pop_back();
        }
        break;
      }
    }
  }
}

// Narrows a singular piece to the point it sits at and names it.
void Classifier::singular(const Piece& p, Value left, Value right, bool steady) {
  double a = p.a, b = p.b, found = NAN;
  double tried = NAN;
  for (int step = 0; step < kNarrowSteps && std::isnan(found); ++step) {
    // Most discontinuities of formulas sit at short numbers: try the
    // shortest one inside first, with the pieces beside it.
    // Every few steps only: finding it costs a few conversions.
    const double s = step % 8 == 0 ? simple_point(a, b) : tried;
    if ((s == a || s == b) && s != tried) {
      // At an end: the piece beside it on the other side was not singular.
      tried = s;
      const bool at_a = s == a;
      const double n1 = std::nextafter(s, at_a ? b : a);
      if (n1 != (at_a ? b : a) && continuous(at_a ? eval(n1, b) : eval(a, n1))) {
        const Interval r = at(n1);
        (at_a ? right : left) = {mid(r), !interval::is_empty(r)};
        found = s;
        break;
      }
      if (proven_at(s)) {
        found = s;
        break;
      }
    }
    if (s > a && s < b && s != tried) {
      tried = s;
      const double ps = std::nextafter(s, a), ns = std::nextafter(s, b);
      if (continuous(eval(a, ps)) && continuous(eval(ns, b))) {
        const Interval l = at(ps), r = at(ns);
        left = {mid(l), !interval::is_empty(l)};
        right = {mid(r), !interval::is_empty(r)};
        found = s;
        break;
      }
      if (proven_at(s)) {
        found = s;
        break;
      }
    }
    const double m = a + (b - a) / 2;
    if (!(m > a && m < b)) {
      found = simple_point(a, b);
      break;
    }
    const Enclosure e1 = eval(a, m), e2 = eval(m, b);
    const bool c1 = continuous(e1) || e1.defined == Defined::kNowhere;
    const bool c2 = continuous(e2) || e2.defined == Defined::kNowhere;
    if (c1 && c2) return;  // no discontinuity: the enclosure was only wide
    if (c1 == c2) break;   // two places, or one the halves cannot separate
    const Interval fm = at(m);
    const Value vm{mid(fm), !interval::is_empty(fm)};
    if (c1) {
      left = e1.defined == Defined::kNowhere ? Value{} : vm;
      a = m;
    } else {
      right = e2.defined == Defined::kNowhere ? Value{} : vm;
      b = m;
    }
  }
  const Interval whole = eval(a, b).f[k_];
  if (std::isnan(found)) {
    undecided(p.a + (p.b - p.a) / 2, whole);
    return;
  }
  name(p.a + (p.b - p.a) / 2, found, whole, left, right, steady);
}

// Names the place found inside a singular piece as the curve discussion
// does (analysis/place_proof.h), with the values beside it as the evidence.
void Classifier::name(double centre, double found, Interval whole, Value left, Value right,
                      bool steady) {
  if (k_ != 0) return name_by_sides(centre, found, whole, left, right, steady);
  const bool unbounded = std::isinf(whole.lo) || std::isinf(whole.hi);
  PlaceEvidence ev;
  ev.left_unbounded = unbounded && beyond(left);
  ev.right_unbounded = unbounded && beyond(right);
  ev.left_known = left.known && !beyond(left);
  ev.right_known = right.known && !beyond(right);
  ev.left = left.y;
  ev.right = right.y;
  ev.tolerance = tol_;
  ev.restless = !steady;
  const Place p = classify_place(f_, angle_, found, found, ev, proofs_);
  const double y_left = p.proven ? mid(p.left) : left.y, y_right = p.proven ? mid(p.right) : right.y;
  // A hole or jump at the end of what is drawn (the plot's edge) has no
  // curve on one side to show it by. A proven one has finite limits on both
  // sides, whatever the values beside it lost to cancellation.
  const bool domain_end = !left.known || !right.known || (!p.proven && (beyond(left) || beyond(right)));
  if (domain_end && (p.kind == PlaceKind::kHole || p.kind == PlaceKind::kJump)) return;
  switch (p.kind) {
    case PlaceKind::kPole: out_.marks.push_back({MarkKind::kPole, p.x, left.y, right.y, 0, false}); return;
    case PlaceKind::kHole:
      if (p.proven) holes_.push_back(p.where);
      out_.marks.push_back({MarkKind::kHole, p.x, y_left, y_right, 0, false});
      return;
    case PlaceKind::kJump:
      out_.marks.push_back({MarkKind::kJump, p.x, y_left, y_right, p.value_defined ? mid(p.value) : 0,
                            p.value_defined});
      return;
    case PlaceKind::kNone: return;
    case PlaceKind::kOpen: break;
  }
  if (!domain_end) undecided(centre, whole);
}

// The derivative curve's places, named by the values beside them alone.
void Classifier::name_by_sides(double centre, double found, Interval whole, Value left,
                               Value right, bool steady) {
  const bool unbounded = std::isinf(whole.lo) || std::isinf(whole.hi);
  if (unbounded && (beyond(left) || beyond(right))) {
    out_.marks.push_back({MarkKind::kPole, found, left.y, right.y, 0, false});
    return;
  }
  if (!left.known || !right.known || beyond(left) || beyond(right)) return;  // an end of the domain
  // Limits only where the pieces beside the place are steady (not sin(1/x)).
  if (!steady) {
    undecided(centre, whole);
    return;
  }
  const Interval value = at(found);
  const bool defined = !interval::is_empty(value);
  if (std::fabs(left.y - right.y) <= tol_) {
    // Defined with the same value: continuous after all.
    if (defined && std::fabs(mid(value) - left.y) <= tol_) return;
    out_.marks.push_back({MarkKind::kHole, found, left.y, right.y, 0, false});
    return;
  }
  out_.marks.push_back({MarkKind::kJump, found, left.y, right.y, defined ? mid(value) : 0, defined});
}

// The cancellation beside a hole (sin(x)/x near 0) leaves the pieces there
// as bands that no halving makes tight; the quotient of the derivatives at
// the hole's order encloses them tightly (place_proof.h). A band within two
// columns of a proven hole is proven where that enclosure lies within a
// row of the values at its ends (or is a row high itself, where those are
// lost to the same cancellation), and drawn over them.
void Classifier::settle_beside_holes() {
  for (const auto& [index, p] : bands_) {
    const double reach = in_.x_scale > 0 ? 2 * in_.x_scale : 512 * (p.b - p.a);
    const bool ends_known = p.fa.hi - p.fa.lo <= tol_ && p.fb.hi - p.fb.lo <= tol_;
    const double ya = mid(p.fa), yb = mid(p.fb);
    for (const Interval& c : holes_) {
      if (c.hi < p.a - reach || c.lo > p.b + reach) continue;
      const Interval r = enclosure_beside_hole(f_, angle_, c, p.a, p.b, proofs_);
      if (interval::is_empty(r)) continue;
      Interval span = r;
      if (ends_known && r.lo >= std::min(ya, yb) - tol_ && r.hi <= std::max(ya, yb) + tol_) {
        span = {std::min(ya, yb), std::max(ya, yb)};
      } else if (!(r.hi - r.lo <= tol_)) {
        continue;
      }
      out_.spans[index] = {out_.spans[index].x, span.lo, span.hi, true};
      break;
    }
  }
}

bool Classifier::monotone_run(size_t i, size_t n) {
  for (size_t j = i; j <= i + n; ++j) {
    if (!std::isfinite(in_.v[j]) || (j > i && !(in_.t[j] > in_.t[j - 1]))) return false;
  }
  const Enclosure e = eval(in_.t[i], in_.t[i + n], 1);
  if (!continuous(e) || !e.smooth || !(e.f[k_ + 1].lo > 0 || e.f[k_ + 1].hi < 0)) return false;
  for (size_t j = i; j < i + n; ++j) {
    out_.drawn[j] = 1;
    const double yu = in_.v[j], yw = in_.v[j + 1];
    pieces_.push_back({in_.t[j], in_.t[j + 1], PieceKind::kProven, true, {yu, yu}, {yw, yw},
                       interval::hull({yu, yu}, {yw, yw})});
  }
  return true;
}

void Classifier::segment(size_t i) {
  const double u = in_.t[i], w = in_.t[i + 1];
  if (!(u < w) || !std::isfinite(u) || !std::isfinite(w)) return;
  evaluations_ = 0;
  const double yu = in_.v[i], yw = in_.v[i + 1];
  const Enclosure e = eval(u, w);
  if (std::isfinite(yu) && std::isfinite(yw)) {
    if (continuous(e)) {
      const auto tight = [&](Interval r) {
        return r.lo >= std::min(yu, yw) - tol_ && r.hi <= std::max(yu, yw) + tol_;
      };
      Interval fm = interval::empty();
      Interval r = e.f[k_];
      if (!tight(r)) r = narrowed(r, u, w, fm);
      if (tight(r)) {
        out_.drawn[i] = 1;
        Piece p{u, w, PieceKind::kProven, true, {yu, yu}, {yw, yw}, r};
        pieces_.push_back(p);
        return;
      }
    }
  }
  out_.all_drawn = false;
  cover_.clear();
  const size_t first = pieces_.size();
  // Only a segment whose enclosure spans the plot height can fill a column.
  if (!continuous(e) && e.f[k_].lo <= view_lo_ && e.f[k_].hi >= view_hi_ && fill_columns(u, w)) {
    return;
  }
  split(u, w, pieces_);
  std::sort(pieces_.begin() + static_cast<std::ptrdiff_t>(first), pieces_.end(),
            [](const Piece& x, const Piece& y) { return x.a < y.a; });
}

// The columns of segment [u, w] that its branches prove filled over the plot
// height (tan(10x) far out) are not split: nothing else could show there.
// True when that holds for all of them.
bool Classifier::fill_columns(double u, double w) {
  if (!(in_.x_scale > 0)) return false;
  const long first = column(u), last = column(w);
  if (last - first > 3) return false;
  bool all = true;
  for (long c = first; c <= last; ++c) {
    const double a = std::max(u, in_.x0 + (static_cast<double>(c) - 0.5) * in_.x_scale);
    const double b = std::min(w, in_.x0 + (static_cast<double>(c) + 0.5) * in_.x_scale);
    if (!(b > a)) continue;
    const FillInput fill{a, b, k_, angle_, view_lo_, view_hi_, tol_, kFillDepth};
    const FillResult r = fill_column(ev_, f_, fill);
    evaluations_ += r.evaluations;
    total_ += r.evaluations;
    if (!r.filled) {
      all = false;
      continue;
    }
    cover_.push_back({c, view_hi_, {{view_lo_, view_hi_}}});
    pieces_.push_back({a, b, PieceKind::kFilled, false, {view_lo_, view_lo_}, {view_hi_, view_hi_},
                       {view_lo_, view_hi_}});
  }
  return all;
}

}  // namespace

CurveClassification classify_curve(const ExprPanel& panel, const CompiledFormula& f,
                                   const CurveInput& in) {
  CurveClassification out;
  if (in.count < 2 || in.t == nullptr || in.v == nullptr) return out;
  out.drawn.assign(in.count - 1, 0);
  Classifier c(panel, f, in, out);
  c.reserve(in.count);
  const auto deadline = Clock::now() + std::chrono::duration<double, std::milli>(in.budget_ms);
  for (size_t i = 0; i + 1 < in.count; ++i) {
    const bool spent = c.total_ > kCurveEvaluations * static_cast<long>(in.count);
    if (spent || ((i & 15) == 0 && Clock::now() > deadline)) {
      // What is left is shown as undecided over the plot.
      out.budget_exhausted = true;
      out.all_drawn = false;
      for (size_t j = i; j + 1 < in.count; ++j) {
        out.spans.push_back({in.t[j] + (in.t[j + 1] - in.t[j]) / 2, -interval::kInf,
                             interval::kInf, false});
      }
      break;
    }
    if (i % kRun == 0 && i + kRun < in.count && c.monotone_run(i, kRun)) {
      i += kRun - 1;
      continue;
    }
    c.segment(i);
  }
  c.finish();
  return out;
}

}  // namespace kv::analysis

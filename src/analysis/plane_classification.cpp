// Which segments of a curve in the plane are proven; see the header.
#include "analysis/plane_classification.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "analysis/interval_ops.h"
#include "analysis/simple_point.h"
#include "interval/interval_eval.h"
#include "interval/interval_fn.h"

namespace kv::analysis {

namespace {

using interval::Defined;
using interval::Enclosure;
using Clock = std::chrono::steady_clock;

constexpr int kSplitDepth = 10;            // pieces down to a 1024th of a segment
constexpr int kNarrowSteps = 64;           // halvings of a singular piece
constexpr size_t kLongRun = 128, kRun = 16;  // samples proven monotone at once
constexpr long kCurveEvaluations = 6;      // per sample on average, for the whole curve
constexpr int kSegmentEvaluations = 400;   // per segment, then the rest is undecided
// An asymptote is enclosed on neighbourhoods of a 1024th of their distance
// from the pole, at these binary orders below the pole's magnitude.
constexpr int kAsymptoteOrders[] = {20, 28, 36};
constexpr int kAsymptoteThinness = 10;

struct Box {
  Interval x{0, 0}, y{0, 0};
  bool continuous = false;
  Defined defined = Defined::kMaybe;
  bool monotone = false;  // both coordinates proven strictly monotone (order 1 only)
};

struct Point {
  PlaneSpot at;
  bool known = false;
};

enum class Kind : uint8_t { kProven, kOutside, kGap, kSingular, kUndecided };

struct Piece {
  double a = 0, b = 0;
  Kind kind = Kind::kUndecided;
  Point pa, pb;
  Box box;
};

double mid(Interval r) { return r.lo / 2 + r.hi / 2; }

Defined both(Defined a, Defined b) {
  if (a == Defined::kNowhere || b == Defined::kNowhere) return Defined::kNowhere;
  if (a == Defined::kEverywhere && b == Defined::kEverywhere) return Defined::kEverywhere;
  return Defined::kMaybe;
}

class PlaneClassifier {
 public:
  PlaneClassifier(const ExprPanel& panel, const CompiledFormula& f, const CompiledFormula* g,
                  const PlaneCurveInput& in, PlaneClassification& out)
      : f_(f), g_(g), in_(in), out_(out), angle_(panel.angle_mode) {
    view_ = {in.xmin, in.xmin + in.width * in.x_scale, in.ymin, in.ymin + in.height * in.y_scale};
    tol_x_ = std::fabs(in.x_scale);
    tol_y_ = std::fabs(in.y_scale);
  }

  bool run(size_t i, size_t n);
  bool gap(size_t i, size_t n);
  void segment(size_t i);
  long total = 0;

 private:
  Box enclose(double a, double b, int order);
  PlaneSpot spot(size_t i) const {
    if (in_.p != nullptr) return in_.p[i];
    return {in_.r[i] * std::cos(in_.t[i]), in_.r[i] * std::sin(in_.t[i])};
  }
  Point at(double t) {
    const Box e = enclose(t, t, 0);
    if (e.defined != Defined::kEverywhere) return {};
    return {{mid(e.x), mid(e.y)}, true};
  }
  bool tight(const Box& e, PlaneSpot p, PlaneSpot q) const {
    return e.x.lo >= std::min(p.x, q.x) - tol_x_ && e.x.hi <= std::max(p.x, q.x) + tol_x_ &&
           e.y.lo >= std::min(p.y, q.y) - tol_y_ && e.y.hi <= std::max(p.y, q.y) + tol_y_;
  }
  bool outside(const Box& e) const {
    return e.x.hi < view_.x_lo - tol_x_ || e.x.lo > view_.x_hi + tol_x_ ||
           e.y.hi < view_.y_lo - tol_y_ || e.y.lo > view_.y_hi + tol_y_;
  }
  bool beyond(const Point& p) const {
    const double w = view_.x_hi - view_.x_lo, h = view_.y_hi - view_.y_lo;
    return p.known && (p.at.x < view_.x_lo - w || p.at.x > view_.x_hi + w ||
                       p.at.y < view_.y_lo - h || p.at.y > view_.y_hi + h);
  }
  bool near(PlaneSpot p, PlaneSpot q) const {
    return std::fabs(p.x - q.x) <= tol_x_ && std::fabs(p.y - q.y) <= tol_y_;
  }
  // Samples may lie on both sides of one place: it is named once.
  void mark(const PlaneMark& m, double width) {
    if (!out_.marks.empty() && out_.marks.back().kind == m.kind &&
        std::fabs(out_.marks.back().t - m.t) <= width) {
      return;
    }
    out_.marks.push_back(m);
  }
  void undecided(const Box& e) { out_.undecided.push_back({e.x.lo, e.x.hi, e.y.lo, e.y.hi}); }
  Piece piece(double a, double b, Point pa, Point pb, int depth, bool& split_it);
  void split(double u, double w);
  void emit(const std::vector<Piece>& pieces);
  void singular(const Piece& p, Point left, Point right);
  bool asymptote(double a, double b, PlaneMark& m);
  bool constant_at(double u, double w, PlaneSpot p);
  bool at_simplest(double& a, double& b, Point& left, Point& right);

  const CompiledFormula& f_;
  const CompiledFormula* g_;
  const PlaneCurveInput& in_;
  PlaneClassification& out_;
  interval::IntervalEvaluator ev_, ev_y_;  // one each: a program is rebuilt per formula
  double angle_;
  PlaneBox view_;
  double tol_x_ = 0, tol_y_ = 0;
  int evaluations_ = 0;
};

// The points of [a, b] in the plane; with order 1 also whether both
// coordinates are strictly monotone there.
Box PlaneClassifier::enclose(double a, double b, int order) {
  ++evaluations_;
  ++total;
  const Interval t{a, b};
  const Enclosure e = ev_.evaluate(f_, t, order, angle_);
  Box box;
  if (g_ != nullptr) {
    const Enclosure ey = ev_y_.evaluate(*g_, t, order, angle_);
    box.x = e.f[0];
    box.y = ey.f[0];
    box.defined = both(e.defined, ey.defined);
    box.continuous = e.continuous && ey.continuous && box.defined == Defined::kEverywhere;
    box.monotone = order > 0 && e.smooth && ey.smooth && !has_zero(e.f[1]) &&
                   !has_zero(ey.f[1]);
    return box;
  }
  // (r cos t, r sin t), with t in radians whatever the angle mode: the
  // plane's angle.
  const Interval c = interval::cos(t), s = interval::sin(t);
  box.x = interval::mul(e.f[0], c);
  box.y = interval::mul(e.f[0], s);
  box.defined = e.defined;
  box.continuous = e.continuous && e.defined == Defined::kEverywhere;
  if (order > 0 && e.smooth) {
    const Interval dx = interval::sub(interval::mul(e.f[1], c), interval::mul(e.f[0], s));
    const Interval dy = interval::add(interval::mul(e.f[1], s), interval::mul(e.f[0], c));
    box.monotone = !has_zero(dx) && !has_zero(dy);
  }
  return box;
}

bool PlaneClassifier::run(size_t i, size_t n) {
  for (size_t j = i; j < i + n; ++j) {
    if (!in_.joined[j] || !(in_.t[j + 1] > in_.t[j])) return false;
  }
  const Box e = enclose(in_.t[i], in_.t[i + n], 1);
  if (!e.continuous || !e.monotone) return false;
  std::fill(out_.drawn.begin() + static_cast<std::ptrdiff_t>(i),
            out_.drawn.begin() + static_cast<std::ptrdiff_t>(i + n), uint8_t{1});
  return true;
}

// Samples the sampler left apart over a place proven undefined: nothing to
// draw, nothing to name.
bool PlaneClassifier::gap(size_t i, size_t n) {
  for (size_t j = i; j < i + n; ++j) {
    if (in_.joined[j] || !(in_.t[j + 1] > in_.t[j])) return false;
  }
  return enclose(in_.t[i], in_.t[i + n], 0).defined == Defined::kNowhere;
}

void PlaneClassifier::segment(size_t i) {
  const double u = in_.t[i], w = in_.t[i + 1];
  if (!(u < w) || !std::isfinite(u) || !std::isfinite(w)) return;
  evaluations_ = 0;
  if (in_.joined[i]) {
    const Box e = enclose(u, w, 0);
    if (e.continuous && (tight(e, spot(i), spot(i + 1)) || outside(e))) {
      out_.drawn[i] = 1;
      return;
    }
  }
  out_.all_drawn = false;
  split(u, w);
}

Piece PlaneClassifier::piece(double a, double b, Point pa, Point pb, int depth, bool& split_it) {
  split_it = false;
  Piece p{a, b, Kind::kUndecided, pa, pb, enclose(a, b, 0)};
  const bool open = evaluations_ < kSegmentEvaluations && depth < kSplitDepth;
  if (p.box.defined == Defined::kNowhere) {
    p.kind = Kind::kGap;
    return p;
  }
  if (!p.box.continuous) {
    p.kind = Kind::kSingular;
    split_it = open;
    return p;
  }
  if (outside(p.box)) {
    p.kind = Kind::kOutside;
    return p;
  }
  if (!p.pa.known) p.pa = at(a);
  if (!p.pb.known) p.pb = at(b);
  if (p.pa.known && p.pb.known && tight(p.box, p.pa.at, p.pb.at)) {
    p.kind = Kind::kProven;
    return p;
  }
  split_it = open;
  return p;
}

// Breadth first, so that a segment's budget is spread over all of it.
void PlaneClassifier::split(double u, double w) {
  struct Job {
    double a, b;
    Point pa, pb;
    int depth;
  };
  std::vector<Job> queue{{u, w, {}, {}, 0}};
  std::vector<Piece> pieces;
  for (size_t head = 0; head < queue.size(); ++head) {
    const Job j = queue[head];
    bool split_it = false;
    const Piece p = piece(j.a, j.b, j.pa, j.pb, j.depth, split_it);
    const double m = j.a + (j.b - j.a) / 2;
    if (split_it && m > j.a && m < j.b) {
      const Point pm = p.kind == Kind::kSingular ? Point{} : at(m);
      queue.push_back({j.a, m, p.pa, pm, j.depth + 1});
      queue.push_back({m, j.b, pm, p.pb, j.depth + 1});
      continue;
    }
    pieces.push_back(p);
  }
  std::sort(pieces.begin(), pieces.end(), [](const Piece& x, const Piece& y) { return x.a < y.a; });
  emit(pieces);
}

void PlaneClassifier::emit(const std::vector<Piece>& pieces) {
  for (size_t n = 0; n < pieces.size(); ++n) {
    Piece p = pieces[n];
    switch (p.kind) {
      case Kind::kProven: out_.lines.push_back({p.pa.at, p.pb.at}); break;
      case Kind::kOutside:
      case Kind::kGap: break;
      case Kind::kUndecided: undecided(p.box); break;
      case Kind::kSingular: {
        // A discontinuity on a piece boundary lies at the end of two singular pieces.
        const size_t first = n;
        while (n + 1 < pieces.size() && pieces[n + 1].kind == Kind::kSingular) p.b = pieces[++n].b;
        const auto side = [](const Piece& q) {
          return q.kind == Kind::kProven || q.kind == Kind::kOutside || q.kind == Kind::kUndecided;
        };
        Point left, right;
        if (first > 0 && side(pieces[first - 1])) left = pieces[first - 1].pb;
        if (n + 1 < pieces.size() && side(pieces[n + 1])) right = pieces[n + 1].pa;
        singular(p, left, right);
        break;
      }
    }
  }
}

// Whether the place in [a, b] is the shortest number s there: the formula
// is proven continuous from a up to the double before s and from the double
// after s up to b. Then [a, b] is narrowed to those doubles, with their points.
bool PlaneClassifier::at_simplest(double& a, double& b, Point& left, Point& right) {
  const double s = simple_point(a, b);
  const double ps = s > a ? std::nextafter(s, a) : s, ns = s < b ? std::nextafter(s, b) : s;
  if ((s > a && !(ps >= a)) || (s < b && !(ns <= b))) return false;
  if (s > a && !enclose(a, ps, 0).continuous) return false;
  if (s < b && !enclose(ns, b, 0).continuous) return false;
  if (s > a) {
    left = at(ps);
    a = ps;
  }
  if (s < b) {
    right = at(ns);
    b = ns;
  }
  return true;
}

// Narrows a singular piece to the place it sits at and names it.
void PlaneClassifier::singular(const Piece& p, Point left, Point right) {
  double a = p.a, b = p.b;
  bool found = false;
  for (int step = 0; step < kNarrowSteps && !found; ++step) {
    // Most discontinuities of formulas sit at short numbers: every few steps
    // the shortest one inside is tried, with the doubles beside it.
    if (step % 8 == 0) found = at_simplest(a, b, left, right);
    if (found) break;
    const double m = a + (b - a) / 2;
    if (!(m > a && m < b)) {
      found = true;
      break;
    }
    const Box e1 = enclose(a, m, 0), e2 = enclose(m, b, 0);
    const bool c1 = e1.continuous || e1.defined == Defined::kNowhere;
    const bool c2 = e2.continuous || e2.defined == Defined::kNowhere;
    if (c1 && c2) {
      // No discontinuity: the enclosure was only wide. The two sides meet.
      if (left.known && right.known && near(left.at, right.at)) out_.lines.push_back({left.at, right.at});
      return;
    }
    if (c1 == c2) break;  // two places, or one the halves cannot separate
    const Point pm = at(m);
    if (c1) {
      left = e1.defined == Defined::kNowhere ? Point{} : pm;
      a = m;
    } else {
      right = e2.defined == Defined::kNowhere ? Point{} : pm;
      b = m;
    }
  }
  const Box whole = enclose(a, b, 0);
  if (!found) {
    undecided(p.box);
    return;
  }
  // A side the segment's pieces did not reach: the points just beyond the
  // place, where the formula is proven continuous up to it.
  const double h = std::max(b - a, std::fabs(b) * 0x1p-40);
  if (!left.known && enclose(a - h, a, 0).continuous) left = at(a - h);
  if (!right.known && enclose(b, b + h, 0).continuous) right = at(b + h);
  const bool unbounded = std::isinf(whole.x.lo) || std::isinf(whole.x.hi) ||
                         std::isinf(whole.y.lo) || std::isinf(whole.y.hi);
  const double t = simple_point(a, b);
  if (unbounded && (beyond(left) || beyond(right))) {
    PlaneMark m{MarkKind::kPole, t, left.at, right.at, {}, false};
    m.asymptote = asymptote(a, b, m);
    mark(m, p.b - p.a);
    return;
  }
  if (!left.known || !right.known || beyond(left) || beyond(right)) return;  // an end of the domain
  const Point value = at(t);
  if (near(left.at, right.at)) {
    if (value.known && near(value.at, left.at)) {
      out_.lines.push_back({left.at, right.at});  // continuous after all
      return;
    }
    mark({MarkKind::kHole, t, left.at, right.at, {}, false}, p.b - p.a);
    return;
  }
  PlaneMark m{MarkKind::kJump, t, left.at, right.at, value.at, value.known};
  m.left_taken = constant_at(a - (p.b - p.a), a, left.at);
  m.right_taken = constant_at(b, b + (p.b - p.a), right.at);
  mark(m, p.b - p.a);
}

// The line a pole at [a, b] runs off along, where it is shown: the formula
// is proven continuous from the place out to the farthest neighbourhood on
// either side, and the points' distance from the line through the origin in
// the pole's direction (polar: r(t) sin(t - t0), with t0 enclosed by [a, b])
// or one coordinate of a pair is enclosed within a pixel on all six
// neighbourhoods together. A parabolic branch (1/t^2 at 0) or sides that
// part give no line.
bool PlaneClassifier::asymptote(double a, double b, PlaneMark& m) {
  const double scale = std::max({1.0, std::fabs(a), std::fabs(b)});
  const double reach = std::ldexp(scale, -kAsymptoteOrders[0]);
  const double thin = std::ldexp(reach, -kAsymptoteThinness);
  if (!enclose(a - reach - thin, a, 0).continuous || !enclose(b, b + reach + thin, 0).continuous) {
    return false;
  }
  const Interval t0{a, b};
  Interval across = interval::empty(), x = across, y = across;
  for (const int order : kAsymptoteOrders) {
    const double h = std::ldexp(scale, -order), w = std::ldexp(h, -kAsymptoteThinness);
    for (const double u : {a - h - w, b + h}) {
      const Interval t{u, u + w};
      if (g_ != nullptr) {
        const Box e = enclose(u, u + w, 0);
        x = interval::hull(x, e.x);
        y = interval::hull(y, e.y);
        continue;
      }
      ++evaluations_;
      ++total;
      const Interval r = ev_.evaluate(f_, t, 0, angle_).f[0];
      const Interval d = interval::mul(r, interval::sin(interval::sub(t, t0)));
      if (interval::is_empty(d)) return false;
      across = interval::hull(across, d);
    }
  }
  // An empty hull (a coordinate that is not a number) is no line either.
  const auto within = [](Interval v, double tol) {
    return !interval::is_empty(v) && v.hi - v.lo <= tol;
  };
  if (g_ == nullptr) {
    if (!within(across, std::min(tol_x_, tol_y_))) return false;
    m.direction = m.t;
    m.offset = mid(across);
    return true;
  }
  if (within(x, tol_x_)) {
    m.direction = std::acos(0.0);  // upwards, at offset -x
    m.offset = -mid(x);
    return true;
  }
  if (!within(y, tol_y_)) return false;
  m.direction = 0;
  m.offset = mid(y);
  return true;
}

// Whether the curve is the point p all over [u, w], so that it takes p.
bool PlaneClassifier::constant_at(double u, double w, PlaneSpot p) {
  if (!(u < w)) return false;
  const Box e = enclose(u, w, 0);
  return e.continuous && e.x.lo == p.x && e.x.hi == p.x && e.y.lo == p.y && e.y.hi == p.y;
}

}  // namespace

PlaneClassification classify_plane_curve(const ExprPanel& panel, const CompiledFormula& f,
                                         const CompiledFormula* y_of, const PlaneCurveInput& in) {
  PlaneClassification out;
  if (in.count < 2 || in.t == nullptr || in.joined == nullptr) return out;
  if (in.p == nullptr && (in.r == nullptr || y_of != nullptr)) return out;
  out.drawn.assign(in.count - 1, 0);
  PlaneClassifier c(panel, f, y_of, in, out);
  const auto deadline = Clock::now() + std::chrono::duration<double, std::milli>(in.budget_ms);
  const long budget = kCurveEvaluations * static_cast<long>(in.count) + 4 * kSegmentEvaluations;
  for (size_t i = 0; i + 1 < in.count; ++i) {
    if (c.total > budget || ((i & 15) == 0 && Clock::now() > deadline)) {
      // What is left is shown as undecided over the plot.
      out.budget_exhausted = true;
      out.all_drawn = false;
      out.undecided.push_back({-interval::kInf, interval::kInf, -interval::kInf, interval::kInf});
      break;
    }
    bool done = false;
    for (size_t n : {kLongRun, kRun}) {
      if (i % n == 0 && i + n < in.count && (c.run(i, n) || c.gap(i, n))) {
        i += n - 1;
        done = true;
        break;
      }
    }
    if (!done) c.segment(i);
  }
  return out;
}

}  // namespace kv::analysis

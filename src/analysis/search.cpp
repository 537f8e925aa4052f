// The box search: every job's range is cut into boxes, widest first, until
// each kind is proven absent from a box, isolated in it, or the box is too
// narrow to cut; at the deadline the boxes still waiting are left unclear.
#include "analysis/search.h"

#include <algorithm>

namespace kv::analysis {

namespace {

using interval::Defined;

// Cut a little off the middle, so that the cuts of a symmetric range do not
// fall on the round numbers where zeros like to sit.
constexpr double kCut = 0.4629150262;
// More waiting boxes than this count as running out of time: sorting them
// into Unklar ranges must fit into what is left of the budget.
constexpr size_t kMaxBoxes = size_t{1} << 16;
// Urgent boxes go before all others, up to this many: a formula that is
// nowhere proven continuous must not be searched depth first.
constexpr int kMaxUrgent = 8192;

struct Wider {
  bool operator()(const Box& p, const Box& q) const {
    if (p.urgent != q.urgent) return q.urgent;
    return p.hi - p.lo < q.hi - q.lo;
  }
};
// A heap of boxes whose storage can be handed over whole at the deadline.
struct BoxQueue {
  std::vector<Box> heap;
  void push(const Box& b) {
    heap.push_back(b);
    std::push_heap(heap.begin(), heap.end(), Wider{});
  }
  Box pop() {
    std::pop_heap(heap.begin(), heap.end(), Wider{});
    const Box b = heap.back();
    heap.pop_back();
    return b;
  }
};

Defined meet(Defined p, Defined q) {
  if (p == Defined::kNowhere || q == Defined::kNowhere) return Defined::kNowhere;
  if (p == Defined::kEverywhere && q == Defined::kEverywhere) return Defined::kEverywhere;
  return Defined::kMaybe;
}

bool split(const Search& s, const Box& box, BoxQueue& queue, bool urgent) {
  if (s.tiny(box.lo, box.hi)) return false;
  double m = box.lo * (1 - kCut) + box.hi * kCut;
  if (!(m > box.lo && m < box.hi)) m = mid({box.lo, box.hi});
  if (!(m > box.lo && m < box.hi)) return false;
  queue.push({box.lo, m, box.job, box.kinds, urgent});
  queue.push({m, box.hi, box.job, box.kinds, urgent});
  return true;
}

// An interval where f is zero throughout: listed once as a stretch of zeros.
void add_zero_stretch(Search& s, const Job& job, const Box& box) {
  Feature f;
  f.kind = job.other >= 0 ? FeatureKind::kIntersection : FeatureKind::kZero;
  f.formula = job.formula;
  f.other = job.other;
  f.has_y = job.other < 0;
  f.x_lo = box.lo;
  f.x_hi = box.hi;
  s.features.push_back(f);
}

// The mean-value form g(X) in g(m) + g'(X) (X - m) for f, f' and f'':
// where plain interval arithmetic loses the cancellation of its terms (as in
// sin(x)/x near 0) this one shrinks with the square of the width.
Enclosure centred(const Target& t, const Box& box, const Enclosure& e) {
  const double m = mid({box.lo, box.hi});
  const Enclosure at = evaluate_target(t, {m, m}, kSearchOrder);
  if (at.defined != Defined::kEverywhere || !at.smooth) return e;
  Enclosure c = e;
  const Interval offset = interval::sub({box.lo, box.hi}, {m, m});
  for (int k = 0; k < kSearchOrder; ++k) {
    const Interval form = interval::add(at.f[k], interval::mul(e.f[k + 1], offset));
    const Interval both = interval::intersect(e.f[k], form);
    if (!interval::is_empty(both)) c.f[k] = both;
  }
  return c;
}

// Decides the kinds of one box where f is continuous; returns the kinds left.
// Where f is not smooth the enclosures of f' and f'' still hold wherever
// those exist, which is enough to rule a kind out but not to isolate one.
uint8_t decide_kinds(Search& s, const Box& box, const Enclosure& e) {
  const Job& job = s.jobs[box.job];
  uint8_t left = box.kinds;
  for (int k = 0; k < 3; ++k) {
    const uint8_t bit = static_cast<uint8_t>(1 << k);
    if (!(left & bit)) continue;
    const Interval g = e.f[k], slope = e.f[k + 1];
    if (!has_zero(g)) {
      left &= ~bit;
    } else if (is_exact_zero(g)) {
      // A constant has no strict extremum and no inflection; f itself is
      // zero on the whole box.
      if (k == 0) add_zero_stretch(s, job, box);
      left &= ~bit;
    } else if (e.smooth && (positive(slope) || negative(slope))) {
      Interval x{box.lo, box.hi};
      const Isolation r = isolate_zero(s, job.target, k, x, slope);
      if (r == Isolation::kProven) add_proven(s, box.job, k, x, positive(slope) ? 1 : -1);
      if (r != Isolation::kOpen) left &= ~bit;
    }
  }
  return left;
}

void process_box(Search& s, const Box& box, BoxQueue& queue) {
  const Job& job = s.jobs[box.job];
  const Enclosure e = evaluate_target(job.target, {box.lo, box.hi}, kSearchOrder);
  const bool pair = job.other >= 0;
  if (e.defined == Defined::kNowhere) {
    if (!pair) classify_candidate(s, {box.lo, box.hi, box.job, box.kinds, true, true});
    return;
  }
  if (!e.continuous) {
    if (!split(s, box, queue, s.urgent_left > 0)) {
      classify_candidate(s, {box.lo, box.hi, box.job, box.kinds, true, false});
    }
    return;
  }
  Box rest = box;
  rest.kinds = decide_kinds(s, box, e);
  if (rest.kinds != 0 && e.smooth) rest.kinds = decide_kinds(s, rest, centred(job.target, box, e));
  if (rest.kinds == 0) return;
  if (!split(s, rest, queue, false)) {
    classify_candidate(s, {box.lo, box.hi, box.job, rest.kinds, false, false});
  }
}

}  // namespace

bool Search::tiny(double lo, double hi) const {
  return !(hi - lo > floor_width) || up(up(up(up(lo)))) >= hi;
}

Enclosure evaluate_target(const Target& t, Interval x, int order) {
  Enclosure e = t.ef->evaluate(*t.f, x, order, t.angle);
  if (!t.g) return e;
  const Enclosure o = t.eg->evaluate(*t.g, x, order, t.angle);
  for (int k = 0; k <= order; ++k) e.f[k] = interval::sub(e.f[k], o.f[k]);
  e.defined = meet(e.defined, o.defined);
  e.continuous = e.continuous && o.continuous;
  e.smooth = e.smooth && o.smooth;
  e.uncertain = e.uncertain || o.uncertain;
  return e;
}

PointValue point_value(const Target& t, double x, int k) {
  const Enclosure e = evaluate_target(t, {x, x}, k);
  PointValue p;
  p.defined = e.defined == Defined::kEverywhere && (k == 0 || e.smooth) && is_number(e.f[k]);
  p.v = e.f[k];
  return p;
}

void run_search(Search& s) {
  BoxQueue queue;
  s.urgent_left = kMaxUrgent;
  for (int j = 0; j < static_cast<int>(s.jobs.size()); ++j) {
    queue.push({s.a, s.b, j, s.jobs[j].kinds});
  }
  while (!queue.heap.empty() && !s.out_of_time() && queue.heap.size() < kMaxBoxes) {
    const Box box = queue.pop();
    if (box.urgent) --s.urgent_left;
    process_box(s, box, queue);
  }
  s.exhausted = !queue.heap.empty();
  s.unclear.insert(s.unclear.end(), queue.heap.begin(), queue.heap.end());
}

}  // namespace kv::analysis

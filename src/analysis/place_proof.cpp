// Proofs of poles, holes and jumps; see the header.
#include "analysis/place_proof.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/interval_ops.h"
#include "analysis/simple_point.h"
#include "expr/opcodes.h"

namespace kv::analysis {

namespace {

using interval::Defined;
using interval::Enclosure;

constexpr int kMaxDepth = 24;      // nesting the proof follows
constexpr int kMaxZeroOrder = 4;   // of a denominator's zero at an exact place
constexpr int kBisections = 80;    // narrowing a simple zero

// One node of the prefix code: its operation and the code of its arguments.
struct Node {
  uint8_t op = 0;
  std::string_view code;
  std::string_view args[3];
  int count = 0;
};

uint8_t byte(std::string_view s, size_t i) { return static_cast<uint8_t>(s[i]); }

// The position of the bracket closing the one opened at open, or npos.
size_t closing(std::string_view s, size_t open) {
  int depth = 0;
  for (size_t i = open; i < s.size(); ++i) {
    if (byte(s, i) == op::kOpen) ++depth;
    if (byte(s, i) == op::kClose && --depth == 0) return i;
  }
  return std::string_view::npos;
}

Node parse(std::string_view s) {
  while (s.size() >= 2 && byte(s, 0) == op::kOpen && closing(s, 0) == s.size() - 1) {
    s = s.substr(1, s.size() - 2);
  }
  Node n;
  n.code = s;
  if (s.size() < 3 || !op::is_operation(byte(s, 0)) || byte(s, 1) != op::kOpen ||
      closing(s, 1) != s.size() - 1) {
    return n;
  }
  n.op = byte(s, 0);
  const std::string_view inner = s.substr(2, s.size() - 3);
  size_t start = 0;
  while (n.count < 3) {
    const size_t next = op::next_argument(inner, start);
    const size_t end = next == std::string_view::npos ? inner.size() : next - 1;
    n.args[n.count++] = inner.substr(start, end - start);
    if (next == std::string_view::npos) break;
    start = next;
  }
  if (n.count != op::arity(n.op)) n.op = 0;
  return n;
}

std::string wrap(uint8_t f, std::string_view arg) {
  std::string s(1, static_cast<char>(f));
  s += static_cast<char>(op::kOpen);
  s += arg;
  s += static_cast<char>(op::kClose);
  return s;
}

// One side of the place: a finite limit enclosed by lim, growth beyond all
// bounds, or no value at all on that side of the neighbourhood.
enum class State : uint8_t { kFinite, kPlus, kMinus, kUndefined };
struct Side {
  State state = State::kFinite;
  Interval lim{0, 0};
};
// Limits from both sides; same: proven to be one and the same limit.
struct Limits {
  Side l, r;
  bool same = false;
};

struct Ctx {
  PieceEvaluators& ev;
  double angle;
  Interval n;   // the neighbourhood
  Interval at;  // the place: one double, or the enclosure of a simple zero
  bool exact;
  // Without an exact place: the one denominator whose simple zero at is the
  // place; a second quotient with a zero could hold a second pole in at.
  std::string zero_of;
  Enclosure eval(std::string_view code, Interval x, int order) const {
    return ev.evaluate(std::string(code), x, order, angle);
  }
};

bool continuous_on(const Enclosure& e) { return e.defined == Defined::kEverywhere && e.continuous; }
bool nonzero(Interval v) { return positive(v) || negative(v); }
int sign(Interval v) { return positive(v) ? 1 : -1; }
Side infinite(int s) { return {s > 0 ? State::kPlus : State::kMinus, {0, 0}}; }

std::optional<Limits> analyse(const Node& node, const Ctx& cx, int depth);

// p / q, see the header.
std::optional<Limits> quotient(std::string_view p, std::string_view q, const Ctx& cx) {
  const Enclosure pn = cx.eval(p, cx.n, 0);
  if (!continuous_on(pn)) return std::nullopt;
  if (!cx.exact) {
    if (q != cx.zero_of) return std::nullopt;
    const Enclosure qn = cx.eval(q, cx.n, 1);
    const Enclosure ql = cx.eval(q, {cx.at.lo, cx.at.lo}, 0), qh = cx.eval(q, {cx.at.hi, cx.at.hi}, 0);
    const bool crosses = (positive(ql.f[0]) && negative(qh.f[0])) || (negative(ql.f[0]) && positive(qh.f[0]));
    if (!continuous_on(qn) || !qn.smooth || !nonzero(qn.f[1]) || !crosses || !nonzero(pn.f[0])) {
      return std::nullopt;
    }
    const int s = sign(pn.f[0]) * sign(qn.f[1]);
    return Limits{infinite(-s), infinite(s), false};
  }
  const Enclosure qc = cx.eval(q, cx.at, kMaxZeroOrder);
  if (qc.defined != Defined::kEverywhere || !qc.smooth) return std::nullopt;
  int m = 0;
  Enclosure qn;
  for (int k = 1; k <= kMaxZeroOrder && m == 0; ++k) {
    if (!is_exact_zero(qc.f[k - 1])) return std::nullopt;
    qn = cx.eval(q, cx.n, k);
    if (!continuous_on(qn) || !qn.smooth) return std::nullopt;
    if (nonzero(qn.f[k])) m = k;
  }
  if (m == 0) return std::nullopt;
  const Enclosure pc = cx.eval(p, cx.at, m);
  if (pc.defined != Defined::kEverywhere) return std::nullopt;
  int j = 0;
  while (j < m && pc.smooth && is_exact_zero(pc.f[j])) ++j;
  if (j == m) {
    // Taylor to order m on both: the limit is the ratio of the m-th terms.
    const Enclosure pm = cx.eval(p, cx.n, m);
    if (!pm.smooth || !pc.smooth) return std::nullopt;
    const Interval lim = interval::div(pc.f[m], qc.f[m]);
    if (!is_number(lim) || std::isinf(lim.lo) || std::isinf(lim.hi)) return std::nullopt;
    return Limits{{State::kFinite, lim}, {State::kFinite, lim}, true};
  }
  const Enclosure pj = cx.eval(p, cx.n, j);
  if (!pj.smooth && j > 0) return std::nullopt;
  if (!nonzero(pj.f[j])) return std::nullopt;
  // f = (m! / j!) p^(j)(xi) / q^(m)(eta) (x - c)^(j - m) on N \ {c}.
  const int right = sign(pj.f[j]) * sign(qn.f[m]);
  const int left = (m - j) % 2 == 0 ? right : -right;
  return Limits{infinite(left), infinite(right), false};
}

Side combine(uint8_t f, Side a, Side b, bool& ok) {
  if (a.state == State::kUndefined || b.state == State::kUndefined) return {State::kUndefined, {0, 0}};
  const bool fa = a.state == State::kFinite, fb = b.state == State::kFinite;
  if (f == op::kSub) {
    b = fb ? Side{State::kFinite, interval::neg(b.lim)} : infinite(b.state == State::kPlus ? -1 : 1);
    f = op::kAdd;
  }
  const int sa = a.state == State::kPlus ? 1 : -1, sb = b.state == State::kPlus ? 1 : -1;
  if (fa && fb) {
    return {State::kFinite, f == op::kAdd ? interval::add(a.lim, b.lim) : interval::mul(a.lim, b.lim)};
  }
  if (f == op::kAdd) {
    if (fa) return b;
    if (fb || sa == sb) return a;
  } else {
    if (!fa && !fb) return infinite(sa * sb);
    const Interval other = fa ? a.lim : b.lim;
    if (nonzero(other)) return infinite((fa ? sb : sa) * sign(other));
  }
  ok = false;
  return {};
}

// What an outer function continuous on the whole line makes of a side.
Side outer(uint8_t f, Side s, const Ctx& cx, bool& ok) {
  if (s.state == State::kUndefined) return s;
  if (s.state == State::kFinite) {
    const std::string code = wrap(f, std::string(1, static_cast<char>(op::kX)));
    const Enclosure e = cx.eval(code, s.lim, 0);
    if (!continuous_on(e)) ok = false;
    return {State::kFinite, e.f[0]};
  }
  const bool plus = s.state == State::kPlus;
  switch (f) {
    case op::kExp: return plus ? s : Side{State::kFinite, {0, 0}};
    case op::kSinh: case op::kCbrt: return s;
    case op::kCosh: case op::kSqr: case op::kAbs: return infinite(1);
    case op::kTanh: return {State::kFinite, plus ? Interval{1, 1} : Interval{-1, -1}};
    default: ok = false; return s;
  }
}

// ln, lg, lb of an argument with a simple exact zero at the place.
std::optional<Limits> log_edge(std::string_view u, const Ctx& cx) {
  if (!cx.exact) return std::nullopt;
  const Enclosure un = cx.eval(u, cx.n, 1), uc = cx.eval(u, cx.at, 0);
  if (!continuous_on(un) || !un.smooth || !nonzero(un.f[1]) || !is_exact_zero(uc.f[0])) {
    return std::nullopt;
  }
  const Side gone{State::kUndefined, {0, 0}};
  return positive(un.f[1]) ? Limits{gone, infinite(-1), false} : Limits{infinite(-1), gone, false};
}

// The one-sided limits of a step function at its breakpoint b, from below
// and from above; false when b is none.
bool step_limits(uint8_t f, double b, Interval& below, Interval& above) {
  const auto pt = [](double v) { return Interval{v, v}; };
  switch (f) {
    case op::kSgn: below = pt(-1), above = pt(1); return b == 0;
    case op::kFloor: below = pt(b - 1), above = pt(b); return std::floor(b) == b;
    case op::kCeil: below = pt(b), above = pt(b + 1); return std::floor(b) == b;
    // Half away from zero: from b - 1/2 to b + 1/2, both whole.
    case op::kRound: below = pt(b - 0.5), above = pt(b + 0.5); return std::floor(b) != b && std::floor(b + 0.5) == b + 0.5;
    // x - trunc(x): 1 to 0 at a positive whole number, 0 to -1 at a negative one.
    case op::kFrac:
      below = pt(b > 0 ? 1 : 0), above = pt(b > 0 ? 0 : -1);
      return std::floor(b) == b && b != 0;
    default: return false;
  }
}

std::optional<Limits> step(uint8_t f, std::string_view u, const Ctx& cx) {
  if (!cx.exact) return std::nullopt;
  const Enclosure un = cx.eval(u, cx.n, 1), uc = cx.eval(u, cx.at, 0);
  if (!continuous_on(un) || !un.smooth || !nonzero(un.f[1]) || uc.defined != Defined::kEverywhere ||
      !interval::is_point(uc.f[0])) {
    return std::nullopt;
  }
  const double b = uc.f[0].lo;
  // Beyond 2^52 the neighbouring whole numbers are no longer all doubles.
  if (!(std::fabs(b) < 0x1p52)) return std::nullopt;
  Interval below, above;
  if (!step_limits(f, b, below, above)) return std::nullopt;
  // Clear of the neighbouring breakpoints, which lie a whole unit away.
  if (f != op::kSgn && !(un.f[0].lo > b - 1 && un.f[0].hi < b + 1)) return std::nullopt;
  const bool rising = positive(un.f[1]);
  return Limits{{State::kFinite, rising ? below : above}, {State::kFinite, rising ? above : below}, false};
}

// gamma of an argument strictly monotone through -n (n = 0, 1, ...), clear
// of -n - 1 and -n + 1: gamma has the sign (-1)^n right of -n and the
// opposite left of it, and grows beyond all bounds towards -n.
std::optional<Limits> gamma_pole(std::string_view u, const Ctx& cx) {
  if (!cx.exact) return std::nullopt;
  const Enclosure un = cx.eval(u, cx.n, 1), uc = cx.eval(u, cx.at, 0);
  if (!continuous_on(un) || !un.smooth || !nonzero(un.f[1]) || !interval::is_point(uc.f[0])) {
    return std::nullopt;
  }
  const double b = uc.f[0].lo;
  if (!(b <= 0 && b > -0x1p52 && std::floor(b) == b)) return std::nullopt;
  if (!(un.f[0].lo > b - 1 && un.f[0].hi < b + 1)) return std::nullopt;
  const int above = interval::is_odd(b) ? -1 : 1;
  const bool rising = positive(un.f[1]);
  return Limits{infinite(rising ? -above : above), infinite(rising ? above : -above), false};
}

// u^e with e a negative whole number everywhere: 1 / u^-e.
std::optional<Limits> negative_power(const Node& node, const Ctx& cx) {
  const Enclosure e = cx.eval(node.args[1], cx.n, 1);
  if (!continuous_on(e) || !interval::is_point(e.f[0]) || !is_exact_zero(e.f[1])) return std::nullopt;
  const double n = e.f[0].lo;
  if (!(n < 0 && n > -64 && std::floor(n) == n)) return std::nullopt;
  std::string q(1, static_cast<char>(op::kPow));
  q += static_cast<char>(op::kOpen);
  q += node.args[0];
  q += static_cast<char>(op::kComma);
  q += std::to_string(static_cast<int>(-n));
  q += static_cast<char>(op::kClose);
  return quotient("1", q, cx);
}

std::optional<Limits> unary(const Node& node, const Ctx& cx, int depth) {
  switch (node.op) {
    case op::kTan: return quotient(wrap(op::kSin, node.args[0]), wrap(op::kCos, node.args[0]), cx);
    case op::kCot: return quotient(wrap(op::kCos, node.args[0]), wrap(op::kSin, node.args[0]), cx);
    case op::kSec: return quotient("1", wrap(op::kCos, node.args[0]), cx);
    case op::kCsc: return quotient("1", wrap(op::kSin, node.args[0]), cx);
    case op::kLn: case op::kLg: case op::kLb: return log_edge(node.args[0], cx);
    case op::kGamma: return gamma_pole(node.args[0], cx);
    case op::kFloor: case op::kCeil: case op::kRound: case op::kSgn: case op::kFrac:
      return step(node.op, node.args[0], cx);
    case op::kExp: case op::kSinh: case op::kCosh: case op::kTanh: case op::kSqr: case op::kAbs:
    case op::kCbrt: case op::kSin: case op::kCos: {
      std::optional<Limits> a = analyse(parse(node.args[0]), cx, depth + 1);
      if (!a) return a;
      bool ok = true;
      a->l = outer(node.op, a->l, cx, ok);
      a->r = outer(node.op, a->r, cx, ok);
      if (!ok) return std::nullopt;
      return a;
    }
    default: return std::nullopt;
  }
}

std::optional<Limits> analyse(const Node& node, const Ctx& cx, int depth) {
  if (depth > kMaxDepth) return std::nullopt;
  if (continuous_on(cx.eval(node.code, cx.n, 0))) {
    const Enclosure v = cx.eval(node.code, cx.at, 0);
    if (v.defined != Defined::kEverywhere) return std::nullopt;
    return Limits{{State::kFinite, v.f[0]}, {State::kFinite, v.f[0]}, true};
  }
  if (node.op == op::kDiv) return quotient(node.args[0], node.args[1], cx);
  if (node.op == op::kPow) return negative_power(node, cx);
  if (node.op == op::kAdd || node.op == op::kSub || node.op == op::kMul) {
    const std::optional<Limits> a = analyse(parse(node.args[0]), cx, depth + 1);
    if (!a) return a;
    const std::optional<Limits> b = analyse(parse(node.args[1]), cx, depth + 1);
    if (!b) return b;
    bool ok = true;
    const Limits r{combine(node.op, a->l, b->l, ok), combine(node.op, a->r, b->r, ok), a->same && b->same};
    if (!ok) return std::nullopt;
    return r;
  }
  if (op::arity(node.op) == 1 && node.op != 0) return unary(node, cx, depth);
  return std::nullopt;
}

// Narrows the simple zero of q in n (q' free of zero there) by bisection.
std::optional<Interval> simple_zero(std::string_view q, const Ctx& cx) {
  if (!cx.exact) return std::nullopt;
  const Enclosure qn = cx.eval(q, cx.n, 1);
  if (!continuous_on(qn) || !qn.smooth || !nonzero(qn.f[1])) return std::nullopt;
  const auto sign_at = [&](double x) { return certain_sign(cx.eval(q, {x, x}, 0).f[0]); };
  double a = cx.n.lo, b = cx.n.hi;
  const int sa = sign_at(a), sb = sign_at(b);
  if (!((sa == 1 && sb == -1) || (sa == -1 && sb == 1))) return std::nullopt;
  for (int i = 0; i < kBisections; ++i) {
    const double m = mid({a, b});
    if (!(m > a && m < b)) break;
    const int s = sign_at(m);
    if (s == 2 || s == 0) break;
    (s == sa ? a : b) = m;
  }
  return Interval{a, b};
}

// The first quotient (tan, cot, sec, csc alike) whose denominator has a
// simple zero in the neighbourhood: where a pole at no double sits.
std::optional<Interval> find_simple_zero(const Node& node, const Ctx& cx, int depth,
                                         std::string& zero_of) {
  if (depth > kMaxDepth || node.op == 0) return std::nullopt;
  std::string q;
  if (node.op == op::kDiv) q = std::string(node.args[1]);
  if (node.op == op::kTan || node.op == op::kSec) q = wrap(op::kCos, node.args[0]);
  if (node.op == op::kCot || node.op == op::kCsc) q = wrap(op::kSin, node.args[0]);
  if (!q.empty()) {
    if (const std::optional<Interval> x = simple_zero(q, cx)) {
      zero_of = q;
      return x;
    }
  }
  for (int i = 0; i < node.count; ++i) {
    const std::optional<Interval> x = find_simple_zero(parse(node.args[i]), cx, depth + 1, zero_of);
    if (x) return x;
  }
  return std::nullopt;
}

bool disjoint(Interval a, Interval b) { return a.hi < b.lo || b.hi < a.lo; }

// Names what the limits prove at the place.
Place conclude(const Limits& lim, const CompiledFormula& f, const Ctx& cx) {
  Place p;
  p.where = cx.at;
  p.x = cx.exact ? cx.at.lo : simple_point(cx.at.lo, cx.at.hi);
  const Enclosure v = cx.eval(f.code, {p.x, p.x}, 0);
  p.value_defined = v.defined == Defined::kEverywhere && is_number(v.f[0]);
  p.value = v.f[0];
  p.left = lim.l.lim;
  p.right = lim.r.lim;
  const auto inf = [](const Side& s) { return s.state == State::kPlus || s.state == State::kMinus; };
  p.pole_left = inf(lim.l);
  p.pole_right = inf(lim.r);
  const bool finite = lim.l.state == State::kFinite && lim.r.state == State::kFinite;
  if (p.pole_left || p.pole_right) {
    p.kind = PlaceKind::kPole;
  } else if (finite && disjoint(lim.l.lim, lim.r.lim)) {
    p.kind = PlaceKind::kJump;
  } else if (finite && lim.same && cx.exact && v.defined == Defined::kNowhere) {
    p.kind = PlaceKind::kHole;
    p.left = p.right = interval::intersect(lim.l.lim, lim.r.lim);
  } else {
    return {};
  }
  p.proven = true;
  return p;
}

// The code of node with every occurrence of u replaced by x; false when x
// is left outside u, or when d() would differentiate by the new x.
bool substitute(const Node& node, std::string_view u, int depth, std::string& out) {
  if (depth > kMaxDepth) return false;
  if (node.code == u) {
    out += static_cast<char>(op::kX);
    return true;
  }
  if (node.op == 0) {
    if (node.code.find(static_cast<char>(op::kX)) != std::string_view::npos) return false;
    out += node.code;
    return true;
  }
  if (node.op == op::kDeriv) return false;
  out += static_cast<char>(node.op);
  out += static_cast<char>(op::kOpen);
  for (int i = 0; i < node.count; ++i) {
    if (i > 0) out += static_cast<char>(op::kComma);
    if (!substitute(parse(node.args[i]), u, depth + 1, out)) return false;
  }
  out += static_cast<char>(op::kClose);
  return true;
}

// A place at no double, where the denominator u of a quotient vanishes, in
// a formula that depends on x only through u (sin(x - 0.1) / (x - 0.1)): u
// runs strictly monotone through 0 on the neighbourhood, so the formula is
// g(u) there, g the code with u replaced by x, and g's place at the double 0
// names the formula's place; its sides swap where u falls.
std::optional<Place> through_zero(const Node& root, const CompiledFormula& f, const Ctx& cx) {
  std::string g;
  if (!substitute(root, parse(cx.zero_of).code, 0, g)) return std::nullopt;
  const Enclosure un = cx.eval(cx.zero_of, cx.n, 1);
  if (!continuous_on(un) || !un.smooth || !nonzero(un.f[1])) return std::nullopt;
  const Ctx cv{cx.ev, cx.angle, un.f[0], {0, 0}, true, {}};
  if (!(cv.n.lo < 0 && cv.n.hi > 0)) return std::nullopt;
  CompiledFormula gf;
  gf.code = g;
  const std::optional<Limits> l = analyse(parse(g), cv, 0);
  if (!l) return std::nullopt;
  Place p = conclude(*l, gf, cv);
  if (!p.proven) return std::nullopt;
  if (negative(un.f[1])) {
    std::swap(p.left, p.right);
    std::swap(p.pole_left, p.pole_right);
  }
  p.where = cx.at;
  p.x = simple_point(cx.at.lo, cx.at.hi);
  const Enclosure v = cx.eval(f.code, {p.x, p.x}, 0);
  p.value_defined = v.defined == Defined::kEverywhere && is_number(v.f[0]);
  p.value = v.f[0];
  return p;
}

}  // namespace

interval::Enclosure PieceEvaluators::evaluate(const std::string& code, Interval x, int order,
                                              double angle) {
  std::unique_ptr<interval::IntervalEvaluator>& ev = entries_[code];
  if (!ev) ev = std::make_unique<interval::IntervalEvaluator>();
  CompiledFormula f;
  f.code = code;
  return ev->evaluate(f, x, order, angle);
}

Place prove_place(const CompiledFormula& f, double angle, double lo, double hi,
                  PieceEvaluators& evaluators) {
  if (!(lo <= hi) || !std::isfinite(lo) || !std::isfinite(hi)) return {};
  const Node root = parse(f.code);
  const double c = simple_point(lo, hi);
  const double ulp = up(std::fabs(c)) - std::fabs(c);
  double w = std::max(hi - lo, 4 * ulp);
  for (int attempt = 0; attempt < 3; ++attempt, w *= 1024) {
    const Interval n{lo - w, hi + w};
    if (!std::isfinite(n.lo) || !std::isfinite(n.hi)) break;
    Ctx cx{evaluators, angle, n, {c, c}, true, {}};
    const Enclosure whole = cx.eval(f.code, n, 0);
    if (whole.uncertain) return {};
    if (continuous_on(whole)) {
      Place none;
      none.kind = PlaceKind::kNone;
      return none;
    }
    if (const std::optional<Limits> l = analyse(root, cx, 0)) {
      const Place p = conclude(*l, f, cx);
      if (p.proven) return p;
    }
    std::string zero_of;
    if (const std::optional<Interval> x = find_simple_zero(root, cx, 0, zero_of)) {
      cx.zero_of = zero_of;
      cx.at = *x;
      cx.exact = false;
      if (const std::optional<Limits> l = analyse(root, cx, 0)) {
        const Place p = conclude(*l, f, cx);
        if (p.proven) return p;
      }
      if (const std::optional<Place> p = through_zero(root, f, cx)) return *p;
    }
  }
  return {};
}

namespace {

// The Cauchy enclosure of the quotient p / q on [a, b] (see the header), or
// empty where p and q are not proven to vanish together inside where.
Interval cauchy_quotient(std::string_view pv, std::string_view qv, Interval where, Interval piece,
                         double angle, PieceEvaluators& evaluators) {
  const std::string p(pv), q(qv);
  int m = 0;
  if (where.lo == where.hi) {
    const Enclosure pc = evaluators.evaluate(p, where, kMaxZeroOrder, angle);
    const Enclosure qc = evaluators.evaluate(q, where, kMaxZeroOrder, angle);
    if (!continuous_on(pc) || !pc.smooth || !continuous_on(qc) || !qc.smooth) return interval::empty();
    while (m < kMaxZeroOrder && is_exact_zero(pc.f[m]) && is_exact_zero(qc.f[m])) ++m;
  } else {
    // q changes sign across where, so vanishes inside; p = g(q) with g(0) = 0
    // vanishes there too.
    const auto sign_at = [&](double x) {
      return certain_sign(evaluators.evaluate(q, {x, x}, 0, angle).f[0]);
    };
    const int sl = sign_at(where.lo), sh = sign_at(where.hi);
    if (!((sl == 1 && sh == -1) || (sl == -1 && sh == 1))) return interval::empty();
    std::string g;
    if (!substitute(parse(p), parse(q).code, 0, g)) return interval::empty();
    const Enclosure g0 = evaluators.evaluate(g, {0, 0}, 0, angle);
    if (g0.defined == Defined::kEverywhere && is_exact_zero(g0.f[0])) m = 1;
  }
  if (m == 0) return interval::empty();
  // q^(m) free of zero on the hull keeps q, q', ... q^(m-1) free of zero
  // beside the hole, which each step of the mean value theorem divides by.
  const Interval h = interval::hull(piece, where);
  const Enclosure ph = evaluators.evaluate(p, h, m, angle), qh = evaluators.evaluate(q, h, m, angle);
  if (!continuous_on(ph) || !ph.smooth || !continuous_on(qh) || !qh.smooth || !nonzero(qh.f[m])) {
    return interval::empty();
  }
  return interval::div(ph.f[m], qh.f[m]);
}

// The enclosure of node on the piece with each quotient that vanishes over
// vanishing inside where taken by Cauchy's form: through sums, products and
// the functions continuous on the whole line.
Interval beside_hole(const Node& node, Interval where, Interval piece, double angle,
                     PieceEvaluators& evaluators, int depth) {
  if (depth > kMaxDepth) return interval::empty();
  const auto plain = [&](std::string_view code) {
    const Enclosure e = evaluators.evaluate(std::string(code), piece, 0, angle);
    return continuous_on(e) ? e.f[0] : interval::empty();
  };
  switch (node.op) {
    case op::kDiv: {
      const Interval c = cauchy_quotient(node.args[0], node.args[1], where, piece, angle, evaluators);
      return interval::is_empty(c) ? plain(node.code) : c;
    }
    case op::kAdd: case op::kSub: case op::kMul: {
      const Interval l = beside_hole(parse(node.args[0]), where, piece, angle, evaluators, depth + 1);
      const Interval r = beside_hole(parse(node.args[1]), where, piece, angle, evaluators, depth + 1);
      if (interval::is_empty(l) || interval::is_empty(r)) return interval::empty();
      if (node.op == op::kAdd) return interval::add(l, r);
      return node.op == op::kSub ? interval::sub(l, r) : interval::mul(l, r);
    }
    case op::kExp: case op::kSinh: case op::kCosh: case op::kTanh: case op::kSqr: case op::kAbs:
    case op::kCbrt: case op::kSin: case op::kCos: {
      const Interval u = beside_hole(parse(node.args[0]), where, piece, angle, evaluators, depth + 1);
      if (interval::is_empty(u)) return u;
      const Enclosure e =
          evaluators.evaluate(wrap(node.op, std::string(1, static_cast<char>(op::kX))), u, 0, angle);
      return continuous_on(e) ? e.f[0] : interval::empty();
    }
    default: return plain(node.code);
  }
}

}  // namespace

Interval enclosure_beside_hole(const CompiledFormula& f, double angle, Interval where, double a, double b,
                              PieceEvaluators& evaluators) {
  if (!(a <= b) || !(where.lo <= where.hi)) return interval::empty();
  return beside_hole(parse(f.code), where, {a, b}, angle, evaluators, 0);
}

Place classify_place(const CompiledFormula& f, double angle, double lo, double hi,
                     const PlaceEvidence& evidence, PieceEvaluators& evaluators) {
  Place p = prove_place(f, angle, lo, hi, evaluators);
  if (p.kind != PlaceKind::kOpen) return p;
  p.x = simple_point(lo, hi);
  p.where = {lo, hi};
  const Enclosure v = evaluators.evaluate(f.code, {p.x, p.x}, 0, angle);
  p.value_defined = v.defined == Defined::kEverywhere && is_number(v.f[0]);
  p.value = v.f[0];
  p.left = {evidence.left, evidence.left};
  p.right = {evidence.right, evidence.right};
  if (evidence.left_unbounded || evidence.right_unbounded) {
    p.kind = PlaceKind::kPole;
    p.pole_left = evidence.left_unbounded;
    p.pole_right = evidence.right_unbounded;
  } else if (!evidence.left_known || !evidence.right_known || evidence.restless) {
    p.kind = PlaceKind::kOpen;
  } else if (std::fabs(evidence.left - evidence.right) > evidence.tolerance) {
    p.kind = PlaceKind::kJump;
  } else {
    const double mean = (evidence.left + evidence.right) / 2;
    // Defined with the value of both sides: continuous after all.
    const bool same = p.value_defined && std::fabs(mid(p.value) - mean) <= evidence.tolerance;
    p.kind = same ? PlaceKind::kNone : PlaceKind::kHole;
    p.left = p.right = Interval{mean, mean};
  }
  return p;
}

}  // namespace kv::analysis

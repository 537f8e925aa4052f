// The interval program: derived from the prefix code once per formula and
// angle factor, then run over any number of intervals.
//
// The walk of the code follows the double evaluator's (expr/lower.cpp): the
// first operand of an operation, then the arguments found by the comma at
// bracket depth 0. It reads the code itself rather than the double program,
// whose folded constants and clamped literals are doubles; sub-expressions
// without x or rand are folded here too, as intervals.
#include "interval/interval_eval.h"

#include <charconv>
#include <cmath>

#include "expr/limits.h"
#include "expr/opcodes.h"
#include "interval/interval_fn.h"
#include "interval/ops.h"

namespace kv::interval {

struct IntervalEvaluator::Program {
  enum Kind : uint8_t { kConst, kX, kY, kRand, kWhole, kUndef, kOp, kDeriv, kPowWhole };
  struct Step {
    Kind kind;
    uint8_t op = 0;
    int32_t arg = 0;  // constant index; the exponent of kPowWhole
  };
  std::string code;
  double angle = 0;
  bool built = false;
  bool fatal = false;      // a fault in the code's structure
  bool draws_rand = false;
  int depth = 0;           // deepest nesting of d( )
  int max_stack = 0;
  std::vector<Step> steps;
  std::vector<Interval> consts;
};

namespace {

using Program = IntervalEvaluator::Program;

constexpr int kMaxDerivativeDepth = 3;  // as the double evaluator allows
constexpr size_t kMaxExactDigits = 15;  // 10^15 < 2^53

constexpr Interval kConstants[] = {kEI,    kLn2I,    kLn10I, kLog2eI,
                                   kLog10eI, kPiI,   kSqrt2I, kSqrt1_2I};

// The exact value of the decimal literal at code[pos], as the digits, one
// "." and the digits after it: a point where the decimal is a double, else
// the neighbours of the nearest double.
Interval read_literal(const std::string& code, size_t pos) {
  size_t e = pos;
  while (e < code.size() && op::is_digit(static_cast<uint8_t>(code[e]))) ++e;
  const bool int_digits = e > pos;
  size_t frac_end = e;
  if (e < code.size() && code[e] == '.') {
    frac_end = e + 1;
    while (frac_end < code.size() && op::is_digit(static_cast<uint8_t>(code[frac_end]))) ++frac_end;
  }
  const bool frac_digits = frac_end > e + 1;
  if (!int_digits && !frac_digits) return point(0);
  std::string digits = int_digits ? code.substr(pos, e - pos) : std::string();
  const std::string frac = frac_digits ? code.substr(e + 1, frac_end - e - 1) : std::string();
  std::string text = (int_digits ? digits : std::string("0")) + (frac_digits ? "." + frac : "");
  double v = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  (void)ptr;
  if (ec == std::errc::result_out_of_range) {
    const bool nonzero = text.find_first_of("123456789") != std::string::npos;
    return nonzero ? Interval{DBL_MAX, kInf} : point(0);
  }
  // Exact when digits.frac / 10^k is a whole number over 2^k: the digits,
  // without trailing zeros of the fraction, divisible by 5^k.
  std::string all = digits + frac;
  size_t k = frac.size();
  while (k > 0 && all.back() == '0') { all.pop_back(); --k; }
  const size_t lead = all.find_first_not_of('0');
  all = lead == std::string::npos ? "0" : all.substr(lead);
  if (all.size() <= kMaxExactDigits) {
    uint64_t n = 0;
    for (char c : all) n = n * 10 + static_cast<uint64_t>(c - '0');
    uint64_t p5 = 1;
    for (size_t i = 0; i < k && p5 <= n; ++i) p5 *= 5;
    if (k == 0 || (p5 <= n && n % p5 == 0) || n == 0) return point(v);
  }
  return {next_down(v), next_up(v)};
}

}  // namespace

Local apply_operation(uint8_t code, const Series* a, Series& w, const Ctx& cx) {
  switch (code) {
#define KV_IV_CASE(c, name) \
  case c:                   \
    return iv_##name(a, w, cx);
    KV_UNARY_OPERATIONS(KV_IV_CASE)
    KV_ARITHMETIC_OPERATIONS(KV_IV_CASE)
    KV_OTHER_BINARY_OPERATIONS(KV_IV_CASE)
    KV_TERNARY_OPERATIONS(KV_IV_CASE)
#undef KV_IV_CASE
    default:
      return unknown(w, cx);
  }
}

namespace {

class Builder {
 public:
  Builder(const std::string& code, Program& p) : code_(code), p_(p) {}

  void run() {
    if (code_.empty()) {
      emit({Program::kUndef});
    } else {
      operation(0, 0);
    }
    if (p_.fatal) {
      p_.steps.assign(1, {Program::kUndef});
      p_.consts.clear();
    }
    int sp = 0;
    for (const Program::Step& s : p_.steps) {
      if (s.kind == Program::kOp) sp -= op::arity(s.op) - 1;
      else if (s.kind != Program::kDeriv && s.kind != Program::kPowWhole) ++sp;
      p_.max_stack = std::max(p_.max_stack, sp);
    }
  }

 private:
  uint8_t at(size_t i) const { return i < code_.size() ? static_cast<uint8_t>(code_[i]) : 0; }
  size_t skip_open(size_t i) const {
    while (at(i) == op::kOpen) ++i;
    return i;
  }
  void emit(Program::Step s) { p_.steps.push_back(s); }
  void push_const(Interval v) {
    p_.consts.push_back(v);
    emit({Program::kConst, 0, static_cast<int32_t>(p_.consts.size() - 1)});
  }

  size_t next_argument(size_t pos) const { return op::next_argument(code_, pos); }

  void operand(size_t pos, int d) {
    const uint8_t c = at(pos);
    if (op::is_literal_char(c)) {
      push_const(read_literal(code_, pos));
    } else if (c >= op::kE && c <= op::kSqrt1_2) {
      push_const(kConstants[c - op::kE]);
    } else if (c == op::kRand) {
      p_.draws_rand = true;
      emit({Program::kRand});
    } else if (c >= op::kY && c <= op::kY4) {
      if (d > 0) p_.fatal = true;
      emit({c == op::kY ? Program::kY : Program::kWhole});
    } else if (c == op::kX) {
      emit({Program::kX});
    } else if (op::is_operation(c)) {
      operation(pos, d);
    } else {
      p_.fatal = true;
    }
  }

  void operation(size_t pos, int d) {
    if (p_.fatal) return;
    pos = skip_open(pos);
    const uint8_t c = at(pos);
    if (c == op::kEnd) {
      emit({Program::kUndef});
      return;
    }
    if (!op::is_operation(c)) {
      operand(pos, d);
      return;
    }
    const size_t first = skip_open(pos + 1);
    if (c == op::kDeriv) {
      if (d + 1 > kMaxDerivativeDepth) {
        p_.fatal = true;
        return;
      }
      p_.depth = std::max(p_.depth, d + 1);
      operand(first, d + 1);
      emit({Program::kDeriv});
      return;
    }
    const size_t begin = p_.steps.size();
    operand(first, d);
    const int n = op::arity(c);
    size_t arg = at(pos + 1) == op::kOpen ? pos + 2 : pos + 1;
    for (int k = 1; k < n && !p_.fatal; ++k) {
      arg = next_argument(arg);
      if (arg == std::string::npos) {
        p_.fatal = true;
        return;
      }
      operation(arg, d);
    }
    if (p_.fatal) return;
    emit({Program::kOp, c});
    if (!fold(begin, n) && c == op::kPow) whole_exponent();
  }

  // x^n with a constant whole n up to this becomes one step.
  static constexpr double kMaxStepExponent = 64;

  void whole_exponent() {
    const size_t e = p_.steps.size() - 2;
    if (p_.steps[e].kind != Program::kConst) return;
    const Interval v = p_.consts[p_.steps[e].arg];
    if (!is_point(v) || v.lo != std::floor(v.lo) || std::fabs(v.lo) > kMaxStepExponent) return;
    p_.steps.resize(e);
    emit({Program::kPowWhole, 0, static_cast<int32_t>(v.lo)});
  }

  // An operation on constants that is defined and continuous there becomes
  // the constant of its value.
  bool fold(size_t begin, int n) {
    if (p_.steps.size() - begin != static_cast<size_t>(n) + 1) return false;
    Series args[3];
    for (int i = 0; i < n; ++i) {
      const Program::Step& s = p_.steps[begin + i];
      if (s.kind != Program::kConst) return false;
      args[i].c[0] = p_.consts[s.arg];
    }
    Series w;
    const Ctx cx{1, p_.angle == kDegrees};
    const Local l = apply_operation(p_.steps.back().op, args, w, cx);
    if (l.dom != Defined::kEverywhere || !l.cont || is_empty(w.c[0])) return false;
    p_.consts.resize(p_.consts.size() - static_cast<size_t>(n));
    p_.steps.resize(begin);
    push_const(w.c[0]);
    return true;
  }

 private:
  const std::string& code_;
  Program& p_;
};

Defined meet(Defined a, Defined b) { return a < b ? a : b; }

void leaf(Series& s, Interval v, int n) {
  s.c[0] = v;
  t_fill(s.c, n, point(0));
  s.def = Defined::kEverywhere;
  s.cont = s.smooth = true;
}

// The operation's result from its operands' flags and its own.
void combine(const Series* a, int arity, Series& w, Local l, int n) {
  Defined d = l.dom;
  bool cont = l.cont, smooth = l.smooth;
  for (int i = 0; i < arity; ++i) {
    d = meet(d, a[i].def);
    cont &= a[i].cont;
    smooth &= a[i].smooth;
  }
  if (is_empty(w.c[0])) d = Defined::kNowhere;
  if (d == Defined::kNowhere) {
    for (int k = 0; k < n; ++k) w.c[k] = empty();
  }
  w.def = d;
  w.cont = cont && d == Defined::kEverywhere;
  w.smooth = smooth && w.cont;
}

void store(const Series& w, Series& to, int n) {
  to.def = w.def;
  to.cont = w.cont;
  to.smooth = w.smooth;
  to.c[0] = w.c[0];
  for (int i = 1; i < n; ++i) to.c[i] = w.c[i];
}

Interval sane(Interval a) {
  if (is_empty(a)) return a.lo == a.lo && a.hi == a.hi ? empty() : whole();
  return a;
}

}  // namespace

IntervalEvaluator::IntervalEvaluator() : program_(new Program) {}
IntervalEvaluator::~IntervalEvaluator() { delete program_; }

void IntervalEvaluator::build(const std::string& code, double angle) {
  *program_ = Program{};
  program_->code = code;
  program_->angle = angle;
  Builder(code, *program_).run();
  program_->built = true;
  stack_.resize(static_cast<size_t>(program_->max_stack) + 1);
}

Enclosure IntervalEvaluator::evaluate(const CompiledFormula& f, Interval x, int order, double angle) {
  return run(f, x, nullptr, order, angle);
}

Enclosure IntervalEvaluator::evaluate_plane(const CompiledFormula& f, Interval x, Interval y,
                                            double angle) {
  return run(f, x, &y, 0, angle);
}

Enclosure IntervalEvaluator::run(const CompiledFormula& f, Interval x, const Interval* y, int order,
                                 double angle) {
  if (!program_->built || program_->angle != angle || program_->code != f.code) build(f.code, angle);
  const Program& p = *program_;
  order = std::clamp(order, 0, kMaxOrder);
  const Ctx cx{order + p.depth + 1, angle == kDegrees};
  const int n = cx.n;
  Series* st = stack_.data();
  Series w;
  int sp = 0;
  for (const Program::Step& s : p.steps) {
    switch (s.kind) {
      case Program::kConst: leaf(st[sp++], p.consts[s.arg], n); break;
      case Program::kX:
        leaf(st[sp], x, n);
        if (n > 1) st[sp].c[1] = point(1);
        ++sp;
        break;
      case Program::kY:
        if (y) {
          leaf(st[sp++], *y, n);  // y does not move with x: its x-derivatives are 0
        } else {
          Series& t = st[sp++];
          for (int k = 0; k < n; ++k) t.c[k] = whole();
          t.def = Defined::kMaybe;
          t.cont = t.smooth = false;
        }
        break;
      case Program::kRand:
        leaf(st[sp], {0, 1}, n);
        t_fill(st[sp].c, n, whole());
        st[sp].cont = st[sp].smooth = false;
        ++sp;
        break;
      case Program::kWhole:
      case Program::kUndef: {
        Series& t = st[sp++];
        const bool undef = s.kind == Program::kUndef;
        for (int k = 0; k < n; ++k) t.c[k] = undef ? empty() : whole();
        t.def = undef ? Defined::kNowhere : Defined::kMaybe;
        t.cont = t.smooth = false;
        break;
      }
      case Program::kDeriv: {
        Series& t = st[sp - 1];
        t_derive(t.c, w.c, n);
        for (int k = 0; k + 1 < n; ++k) t.c[k] = w.c[k];
        t.c[n - 1] = whole();
        if (!t.smooth && t.def != Defined::kNowhere) t.def = Defined::kMaybe;
        t.cont = t.smooth;
        break;
      }
      case Program::kOp: {
        const int k = op::arity(s.op);
        Series* a = st + sp - k;
        bool nowhere = false;
        for (int i = 0; i < k; ++i) nowhere |= a[i].def == Defined::kNowhere;
        Local l{Defined::kNowhere, false, false};
        if (nowhere) {
          w.c[0] = empty();
        } else if (n == 1 && s.op == op::kAdd) {  // the value alone: the common operators inline
          w.c[0] = add(a[0].c[0], a[1].c[0]);
          l = {};
        } else if (n == 1 && s.op == op::kSub) {
          w.c[0] = sub(a[0].c[0], a[1].c[0]);
          l = {};
        } else if (n == 1 && s.op == op::kMul) {
          w.c[0] = mul(a[0].c[0], a[1].c[0]);
          l = {};
        } else {
          l = apply_operation(s.op, a, w, cx);
        }
        combine(a, k, w, l, n);
        store(w, a[0], n);
        sp -= k - 1;
        break;
      }
      case Program::kPowWhole: {
        Series& t = st[sp - 1];
        if (t.def != Defined::kNowhere && n == 1) {  // the value alone: no series
          const Interval u = t.c[0];
          t.c[0] = powi(u, s.arg);
          if (s.arg <= 0 && contains(u, 0)) {
            t.def = is_point(u) ? Defined::kNowhere : Defined::kMaybe;
            t.cont = t.smooth = false;
          }
          if (is_empty(t.c[0])) t.def = Defined::kNowhere;
        } else if (t.def != Defined::kNowhere) {
          const Local l = whole_power(t, s.arg, w, cx);
          combine(&t, 1, w, l, n);
          store(w, t, n);
        }
        break;
      }
    }
  }
  Enclosure e;
  const Series& r = st[0];
  double factorial = 1;
  for (int k = 0; k <= kMaxOrder; ++k) {
    if (k > 1) factorial *= k;
    e.f[k] = k > order ? whole() : sane(k < 2 ? r.c[k] : scale(r.c[k], factorial));
  }
  e.defined = r.def;
  e.continuous = r.cont;
  e.smooth = r.smooth;
  e.uncertain = p.draws_rand;
  return e;
}

Enclosure evaluate_interval(const CompiledFormula& f, Interval x, int order, double angle) {
  IntervalEvaluator ev;
  return ev.evaluate(f, x, order, angle);
}

}  // namespace kv::interval

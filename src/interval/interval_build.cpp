// The interval program, derived from the prefix code once per formula and
// angle factor.
//
// The walk of the code follows the double evaluator's (expr/lower.cpp): the
// first operand of an operation, then the arguments found by the comma at
// bracket depth 0. It reads the code itself rather than the double program,
// whose folded constants and clamped literals are doubles; sub-expressions
// without x or rand are folded here too, as intervals.
#include "interval/program.h"

#include <charconv>
#include <cmath>

#include "expr/limits.h"
#include "expr/opcodes.h"
#include "interval/interval_fn.h"
#include "interval/ops.h"

namespace kv::interval {

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
      else if (s.kind <= Program::kUndef) ++sp;  // the leaves; the others keep the depth
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
    const size_t second = p_.steps.size();
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
    if (fold(begin, n)) return;
    if (c == op::kPow && whole_exponent()) return;
    if (n == 2) fuse_constant(begin, second);
  }

  // A binary operation with one constant operand reads it from the table
  // rather than the stack: one step instead of two, and the runs take the
  // cheap rules of a constant (a sum changes only the value, a product
  // scales each coefficient).
  void fuse_constant(size_t begin, size_t second) {
    const size_t op_at = p_.steps.size() - 1;
    const uint8_t c = p_.steps[op_at].op;
    if (op_at - second == 1 && p_.steps[second].kind == Program::kConst) {
      const int32_t k = p_.steps[second].arg;
      p_.steps.resize(second);
      emit({Program::kOpConstRight, c, k});
    } else if (second - begin == 1 && p_.steps[begin].kind == Program::kConst) {
      const int32_t k = p_.steps[begin].arg;
      p_.steps.erase(p_.steps.begin() + static_cast<std::ptrdiff_t>(begin));
      p_.steps.back() = {Program::kOpConstLeft, c, k};
    }
  }

  // x^n with a constant whole n up to this becomes one step.
  static constexpr double kMaxStepExponent = 64;

  bool whole_exponent() {
    const size_t e = p_.steps.size() - 2;
    if (p_.steps[e].kind != Program::kConst) return false;
    const Interval v = p_.consts[p_.steps[e].arg];
    if (!is_point(v) || v.lo != std::floor(v.lo) || std::fabs(v.lo) > kMaxStepExponent) return false;
    p_.steps.resize(e);
    emit({Program::kPowWhole, 0, static_cast<int32_t>(v.lo)});
    return true;
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

}  // namespace

void build_program(const std::string& code, double angle, Program& p) {
  p = Program{};
  p.code = code;
  p.angle = angle;
  Builder(code, p).run();
  lower_values(p);
  p.built = true;
}

}  // namespace kv::interval

// Derives the flat postfix program from a formula's prefix code.
//
// The walk follows the evaluation order of the prefix code exactly (the first
// operand of an operation, then the arguments found by scanning for the comma
// at bracket depth 0), so a program computes what a recursive walk of the
// code would compute. Everything a walk would find on every evaluation is
// settled here once: literal values, argument positions, the structural faults
// (a missing argument, y inside d( ), d( ) nested more than three deep), and
// the values of sub-expressions without variables.
#include <charconv>
#include <cmath>
#include <string>

#include "expr/evaluator.h"
#include "expr/evaluator_point.h"
#include "expr/messages.h"
#include "expr/opcodes.h"

namespace kv {
namespace {

constexpr double kConstants[] = {
    2.718281828459045,   // E
    0.6931471805599453,  // LN2
    2.302585092994046,   // LN10
    1.4426950408889634,  // LOG2E
    0.4342944819032518,  // LOG10E
    3.141592653589793,   // PI
    1.4142135623730951,  // SQRT2
    0.7071067811865476,  // SQRT1_2
};

constexpr int kMaxDerivativeDepth = 3;
constexpr int kMaxPowIntExponent = 64;

// Decimal value of the literal at code[pos], read like strtod reads it: the
// digits, one ".", the digits after it; no exponent can occur in the code.
double read_literal(const std::string& code, size_t pos) {
  size_t e = pos;
  while (e < code.size() && op::is_digit(static_cast<uint8_t>(code[e]))) ++e;
  bool int_digits = e > pos;
  size_t frac_end = e;
  if (e < code.size() && code[e] == '.') {
    frac_end = e + 1;
    while (frac_end < code.size() && op::is_digit(static_cast<uint8_t>(code[frac_end]))) ++frac_end;
  }
  bool frac_digits = frac_end > e + 1;
  if (!int_digits && !frac_digits) return 0.0;  // a lone "." converts nothing
  std::string text = int_digits ? code.substr(pos, e - pos) : std::string("0");
  if (frac_digits) text += code.substr(e, frac_end - e);
  double v = 0.0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec == std::errc::result_out_of_range) {
    bool nonzero = text.find_first_of("123456789") < (int_digits ? e - pos : 1);
    v = nonzero ? HUGE_VAL : 0.0;
  }
  (void)ptr;
  return v;
}

class Lowering {
 public:
  Lowering(const CompiledFormula& f, Program& p, const MathEnv& env, double literal_limit)
      : code_(f.code), p_(p), env_(env), literal_limit_(literal_limit) {}

  void run() {
    if (code_.empty()) {
      emit({Program::kUndef});
    } else {
      operation(0, 0);
    }
    if (p_.fatal >= 0) {
      p_.code.clear();
      p_.consts.clear();
    }
    p_.max_stack = max_stack();
  }

 private:
  uint8_t at(size_t i) const { return i < code_.size() ? static_cast<uint8_t>(code_[i]) : 0; }
  size_t skip_open(size_t i) const {
    while (at(i) == op::kOpen) ++i;
    return i;
  }
  void emit(Instr in) { p_.code.push_back(in); }
  void fail(int msg) {
    if (p_.fatal < 0) p_.fatal = msg;
  }
  bool failed() const { return p_.fatal >= 0; }

  size_t next_argument(size_t pos) const { return op::next_argument(code_, pos); }

  void push_const(double v) {
    p_.consts.push_back(v);
    emit({Program::kConst, 0, 0, static_cast<int32_t>(p_.consts.size() - 1)});
  }

  // The value of the operand whose first byte stands at pos.
  void operand(size_t pos, int d_depth) {
    uint8_t c = at(pos);
    if (op::is_literal_char(c)) {
      double v = read_literal(code_, pos);
      push_const(v > literal_limit_ ? literal_limit_ : v);
    } else if (c >= op::kE && c <= op::kSqrt1_2) {
      push_const(kConstants[c - op::kE]);
    } else if (c == op::kRand) {
      emit({Program::kRandLeaf});
    } else if (c >= op::kY && c <= op::kY4) {
      if (d_depth > 0) fail(kMsgYInsideD);
      emit({Program::kVar, 0, 0, c - op::kY + 1});
    } else if (c == op::kX) {
      emit({Program::kVar, 0, 0, 0});
    } else if (op::is_operation(c)) {
      operation(pos, d_depth);
    } else {
      fail(kMsgInvalidExpression);
      emit({Program::kUndef});
    }
  }

  // The operation (or lone leaf) at pos.
  void operation(size_t pos, int d_depth) {
    if (failed()) return;
    pos = skip_open(pos);
    uint8_t c = at(pos);
    if (c == op::kEnd) {
      emit({Program::kUndef});
      return;
    }
    if (!op::is_operation(c)) {  // a single literal, constant or variable
      operand(pos, d_depth);
      return;
    }
    const size_t first = skip_open(pos + 1);
    const size_t begin = p_.code.size();
    operand(first, d_depth);
    if (failed()) return;
    if (c == op::kDeriv) {
      if (d_depth + 1 > kMaxDerivativeDepth) { fail(kMsgDTooDeep); return; }
      check_inside_derivative(first, d_depth + 1);
      emit({op::kDeriv, 0, 0, static_cast<int32_t>(begin)});
      return;
    }
    int n = op::arity(c);
    // The comma search starts inside the operation's own bracket, so that
    // brackets around the first operand (as a unary minus leaves) balance.
    size_t arg = at(pos + 1) == op::kOpen ? pos + 2 : pos + 1;
    size_t second = p_.code.size();
    for (int k = 1; k < n && !failed(); ++k) {
      arg = next_argument(arg);
      if (arg == std::string::npos) {
        fail(kMsgInvalidExpression);
        return;
      }
      if (k == 1) second = p_.code.size();
      operation(arg, d_depth);
    }
    if (failed()) return;
    emit({c});
    if (fold(begin, c, n)) return;
    if (n == 2) fuse(begin, second, c);
  }

  // The operand of d( ) is evaluated again at neighbouring points one level
  // deeper: that is where y and too deep a nesting show.
  void check_inside_derivative(size_t first, int d_depth) {
    Program scratch;
    Lowering inner(*this, scratch);
    inner.operand(first, d_depth);
    if (scratch.fatal >= 0) fail(scratch.fatal);
  }
  Lowering(const Lowering& outer, Program& p)
      : code_(outer.code_), p_(p), env_(outer.env_), literal_limit_(outer.literal_limit_) {}

  // Replaces an operation on constants by its value, and a whole-number
  // literal exponent by the repeated-multiplication power.
  bool fold(size_t begin, uint8_t c, int n) {
    const size_t end = p_.code.size() - 1;  // the operation itself
    bool all_const = end - begin == static_cast<size_t>(n);
    for (size_t i = begin; i < end && all_const; ++i) all_const = p_.code[i].op == Program::kConst;
    if (all_const && c != op::kGaussd) {
      double a = p_.consts[p_.code[begin].arg];
      double b = n == 2 ? p_.consts[p_.code[begin + 1].arg] : 0.0;
      bool err = false;
      double v = n == 1 ? fn::apply1(c, env_, err, a) : fn::apply2(c, env_, err, a, b);
      if (!err) {
        p_.code.resize(begin);
        push_const(v);
        return true;
      }
    }
    if (c == op::kPow && end >= 1 && p_.code[end - 1].op == Program::kConst && end - 1 > begin) {
      double e = p_.consts[p_.code[end - 1].arg];
      if (e == std::floor(e) && std::fabs(e) <= kMaxPowIntExponent) {
        p_.code.resize(end - 1);
        emit({Program::kPowInt, 0, 0, static_cast<int32_t>(e)});
        return true;
      }
    }
    return false;
  }

  static bool is_leaf(const Instr& in) {
    return in.op == Program::kConst || in.op == Program::kVar;
  }

  // Takes a constant or variable second argument directly into the
  // operation. For addition and multiplication, whose rules are symmetric, a
  // leaf first argument is moved behind the other one first.
  void fuse(size_t begin, size_t second, uint8_t c) {
    std::vector<Instr>& code = p_.code;
    const size_t op_at = code.size() - 1;
    const bool commutative = c == op::kAdd || c == op::kMul;
    if (commutative && second - begin == 1 && is_leaf(code[begin]) && op_at - second > 1 &&
        !has_rand(second, op_at)) {
      Instr leaf = code[begin];
      code.erase(code.begin() + static_cast<long>(begin));
      for (size_t i = begin; i < op_at - 1; ++i) {
        if (code[i].op == op::kDeriv) --code[i].arg;  // operand starts moved down by one
      }
      code.insert(code.end() - 1, leaf);
    }
    const size_t last = code.size() - 2;
    if (!is_leaf(code[last]) || last == begin) return;
    if (last == begin + 1 && is_leaf(code[begin])) {
      Instr a = code[begin], b = code[last];
      if (commutative && a.op == Program::kConst && b.op == Program::kVar) std::swap(a, b);
      if (a.op == Program::kVar && b.op == Program::kConst) {
        Instr fused = code.back();
        fused.mode = kVarConst;
        fused.var = static_cast<uint16_t>(a.arg);
        fused.arg = b.arg;
        code.resize(begin);
        code.push_back(fused);
        return;
      }
    }
    Instr fused = code.back();
    fused.mode = code[last].op == Program::kConst ? kFromConst : kFromVar;
    fused.arg = code[last].arg;
    code.resize(last);
    code.push_back(fused);
  }

  bool has_rand(size_t from, size_t to) const {
    for (size_t i = from; i < to; ++i) {
      if (p_.code[i].op == Program::kRandLeaf) return true;
    }
    return false;
  }

  int max_stack() const {
    int sp = 0, deepest = 0;
    for (const Instr& in : p_.code) {
      switch (in.op) {
        case Program::kConst: case Program::kVar: case Program::kRandLeaf: case Program::kUndef:
          ++sp;
          break;
        case Program::kPowInt: case op::kDeriv:
          break;
        default:
          if (in.mode == kFromStack) sp -= op::arity(in.op) - 1;
          if (in.mode == kVarConst) ++sp;
      }
      deepest = std::max(deepest, sp);
    }
    return deepest;
  }

  const std::string& code_;
  Program& p_;
  const MathEnv& env_;
  double literal_limit_;
};

}  // namespace

void build_program(CompiledFormula& f, const MathEnv& env, double literal_limit) {
  Program& p = f.program;
  p = Program{};
  p.key = {env.angle, env.eps, env.max_mag, literal_limit, env.diffequ_surface};
  Lowering(f, p, env, literal_limit).run();
  for (const Instr& in : p.code) p.has_derivative |= in.op == op::kDeriv;
  p.built = true;
  p.plain = build_point_steps(p);
}

}  // namespace kv

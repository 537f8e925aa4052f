// Differential test of the compiler and evaluator against muparser.
//
// A seeded generator builds random formula trees from operations that mean the
// same in both languages and writes each tree twice: in our syntax, varied
// through the forms our compiler accepts (implicit multiplication, "**", "²",
// ":", square and curly brackets, capitals, blanks, alternative function
// names, literals such as ".5"), and in muparser's syntax. Both are evaluated
// at many x; where both have a value they must agree.
//
// How close is close enough. Two correct evaluations of the same formula may
// round differently (our x^3 is x*x*x, muparser's is pow(x, 3); muparser's
// asinh is log(v + sqrt(v*v + 1))), and cancellation turns last-bit
// differences into large relative ones. A fixed relative tolerance would
// either flag those or hide real faults in formulas that cancel. Instead a
// shadow evaluation of the tree carries, beside each value, its sensitivity
// scale S: the sum over all rounding steps of the size of the rounded value
// times the factor by which the formula amplifies an error made there
// (first-order error propagation, so S = |v| without cancellation and grows
// with it). A sum counts the magnitudes of all its terms, because muparser's
// optimiser regroups sums around constants and divides by a constant through
// its reciprocal. Any two evaluations that round each step correctly differ by a
// few ulp of S, so the test demands |ours - muparser| <= 1e-12 * max(|v|, S),
// about 10^4 ulp of S: generous for rounding, yet a wrong operation,
// precedence or literal is off by a sizeable part of the value itself.
//
// Points where our documented rules deliberately differ from plain IEEE
// arithmetic are not compared, and the shadow evaluation marks them: a factor
// or divisor within the zero tolerance (1e-17 in the drawing panels) of zero,
// ln or sqrt of an argument that close to zero, exp beyond +/-500, tan at a
// pole, an intermediate beyond 1e300 (our infinities are clamped) or below
// 1e-290 (we flush underflow to zero), 0 as a base of a power. The margins
// around these thresholds widen with S, so that rounding cannot put the two
// sides of a rule on different sides of its threshold.
//
// Beyond values, the test checks definedness: our value must be undefined
// exactly where an intermediate has no real value (outside the marked
// points), and evaluate_many must give bit for bit what evaluate gives.
//
// KV_DIFF_SEED and KV_DIFF_FORMULAS in the environment change the seed and the
// number of formulas for longer exploratory runs.
#include <gtest/gtest.h>
#include <muParser.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "expr_test_support.h"

namespace kv {
namespace {

constexpr double kRelTolerance = 1e-12;
constexpr double kHuge = 1e300;
constexpr double kTiny = 1e-290;
constexpr double kPiValue = 3.141592653589793;

enum class Op {
  X, Literal, Pi,
  Add, Sub, Mul, Div, Pow, Neg,
  Sin, Cos, Tan, Exp, Ln, Sqrt, Abs, Atan, Sinh, Cosh, Tanh, Asinh, Min, Max,
};

struct Node {
  Op op = Op::X;
  double value = 0;        // of a literal
  std::string ours_text;   // of a literal, in our spelling
  std::string mu_text;     // of a literal, in muparser's spelling
  std::unique_ptr<Node> a, b;
};

bool is_binary_arith(Op op) { return op == Op::Add || op == Op::Sub || op == Op::Mul || op == Op::Div; }
bool is_function2(Op op) { return op == Op::Min || op == Op::Max; }

// ---- generation -------------------------------------------------------------

class Generator {
 public:
  explicit Generator(uint64_t seed) : rng_(seed) {}

  std::unique_ptr<Node> tree(int depth, bool root = false) {
    if (depth <= 0 || (!root && chance(0.15))) return leaf();
    auto n = std::make_unique<Node>();
    static constexpr Op kInner[] = {
        Op::Add, Op::Add, Op::Sub, Op::Sub, Op::Mul, Op::Mul, Op::Mul, Op::Div, Op::Div,
        Op::Pow, Op::Pow, Op::Neg, Op::Sin, Op::Cos, Op::Tan, Op::Exp, Op::Ln, Op::Sqrt,
        Op::Abs, Op::Atan, Op::Sinh, Op::Cosh, Op::Tanh, Op::Asinh, Op::Min, Op::Max};
    n->op = kInner[pick(std::size(kInner))];
    if (n->op == Op::Pow) {
      n->a = chance(0.6) ? leaf() : tree(depth - 1);
      n->b = exponent(depth - 1);
    } else if (n->op == Op::Exp || n->op == Op::Sinh || n->op == Op::Cosh) {
      n->a = tree(std::min(depth - 1, 2));  // keeps most values in range
    } else {
      n->a = tree(depth - 1);
      if (is_binary_arith(n->op) || is_function2(n->op)) n->b = tree(depth - 1);
    }
    return n;
  }

  bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
  size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
  double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }

 private:
  std::unique_ptr<Node> leaf() {
    auto n = std::make_unique<Node>();
    double r = uniform(0, 1);
    if (r < 0.55) {
      n->op = Op::X;
    } else if (r < 0.6) {
      n->op = Op::Pi;
    } else {
      literal(*n);
    }
    return n;
  }

  // A positive literal, spelt in one of the forms our compiler reads.
  void literal(Node& n) {
    n.op = Op::Literal;
    static const char* const kPlain[] = {"1", "2", "3", "5", "7", "10", "100", "0.5", "0.25",
                                         "1.5", "2.75", "0.1", "0.001", "12.5", "3.14159"};
    std::string text;
    if (chance(0.6)) {
      text = kPlain[pick(std::size(kPlain))];
    } else {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%d.%02d", static_cast<int>(pick(20)), static_cast<int>(pick(100)));
      text = buf;
    }
    n.value = std::strtod(text.c_str(), nullptr);
    n.mu_text = text;
    n.ours_text = text;
    // Our literals may drop a leading zero, carry a trailing point or zeros.
    if (text.rfind("0.", 0) == 0 && chance(0.3)) n.ours_text = text.substr(1);
    else if (text.find('.') == std::string::npos && chance(0.2)) n.ours_text = text + ".";
    else if (text.find('.') != std::string::npos && chance(0.2)) n.ours_text = text + "0";
  }

  std::unique_ptr<Node> exponent(int depth) {
    if (chance(0.25)) return tree(std::min(depth, 1));
    auto n = std::make_unique<Node>();
    static const char* const kExponents[] = {"2", "2", "3", "4", "0.5", "1.5", "5", "0.25"};
    n->op = Op::Literal;
    n->ours_text = n->mu_text = kExponents[pick(std::size(kExponents))];
    n->value = std::strtod(n->mu_text.c_str(), nullptr);
    if (chance(0.15)) {  // a negative whole exponent
      auto neg = std::make_unique<Node>();
      neg->op = Op::Neg;
      n->ours_text = n->mu_text = "2";
      n->value = 2;
      neg->a = std::move(n);
      return neg;
    }
    return n;
  }

  std::mt19937_64 rng_;
};

// ---- rendering ----------------------------------------------------------------

enum Precedence { kSum = 1, kProduct = 2, kAtom = 4 };

int precedence(Op op) {
  if (op == Op::Add || op == Op::Sub) return kSum;
  if (op == Op::Mul || op == Op::Div) return kProduct;
  return kAtom;  // powers are bracketed wherever they could chain
}

const char* mu_function(Op op) {
  switch (op) {
    case Op::Sin: return "sin";
    case Op::Cos: return "cos";
    case Op::Tan: return "tan";
    case Op::Exp: return "exp";
    case Op::Ln: return "ln";
    case Op::Sqrt: return "sqrt";
    case Op::Abs: return "abs";
    case Op::Atan: return "atan";
    case Op::Sinh: return "sinh";
    case Op::Cosh: return "cosh";
    case Op::Tanh: return "tanh";
    case Op::Asinh: return "asinh";
    case Op::Min: return "min";
    case Op::Max: return "max";
    default: return "?";
  }
}

// Our spellings of the same function.
std::vector<const char*> our_names(Op op) {
  switch (op) {
    case Op::Ln: return {"ln", "log", "LN"};
    case Op::Atan: return {"atan", "arctan", "ATAN"};
    case Op::Asinh: return {"asinh", "arsinh", "arcsinh", "areasinh"};
    case Op::Sin: return {"sin", "Sin"};
    case Op::Cos: return {"cos", "cosin"};
    default: return {mu_function(op)};
  }
}

std::string mu_text(const Node& n) {
  auto sub = [](const Node& c, bool bracket) {
    return bracket ? "(" + mu_text(c) + ")" : mu_text(c);
  };
  switch (n.op) {
    case Op::X: return "x";
    case Op::Literal: return n.mu_text;
    case Op::Pi: return "3.141592653589793";  // muparser's _pi is a truncated value
    case Op::Neg: return "(-" + sub(*n.a, precedence(n.a->op) < kAtom || n.a->op == Op::Pow) + ")";
    case Op::Pow: {
      bool base_leaf = n.a->op == Op::X || n.a->op == Op::Literal;
      bool exp_leaf = n.b->op == Op::X || n.b->op == Op::Literal;
      return sub(*n.a, !base_leaf) + "^" + sub(*n.b, !exp_leaf);
    }
    case Op::Add: case Op::Sub: case Op::Mul: case Op::Div: {
      const int p = precedence(n.op);
      const char* sym = n.op == Op::Add ? "+" : n.op == Op::Sub ? "-" : n.op == Op::Mul ? "*" : "/";
      return sub(*n.a, precedence(n.a->op) < p) + sym + sub(*n.b, precedence(n.b->op) <= p);
    }
    case Op::Min: case Op::Max:
      return std::string(mu_function(n.op)) + "(" + mu_text(*n.a) + "," + mu_text(*n.b) + ")";
    default: return std::string(mu_function(n.op)) + "(" + mu_text(*n.a) + ")";
  }
}

class OurRenderer {
 public:
  explicit OurRenderer(Generator& g) : g_(g) {}

  std::string text(const Node& n) { return render(n); }

 private:
  std::string open() { return g_.chance(0.1) ? (g_.chance(0.5) ? "[" : "{") : "("; }
  std::string close(const std::string& o) { return o == "[" ? "]" : o == "{" ? "}" : ")"; }
  std::string blank() { return g_.chance(0.1) ? " " : ""; }
  std::string bracketed(const Node& n) {
    std::string o = open();
    return o + render(n) + close(o);
  }
  std::string sub(const Node& n, bool bracket) { return bracket ? bracketed(n) : render(n); }

  static bool contains_abs(const Node& n) {
    return n.op == Op::Abs || (n.a && contains_abs(*n.a)) || (n.b && contains_abs(*n.b));
  }

  std::string x() { return g_.chance(0.15) ? "X" : "x"; }

  std::string render(const Node& n) {
    switch (n.op) {
      case Op::X: return x();
      case Op::Literal: return n.ours_text;
      case Op::Pi: return g_.chance(0.2) ? "PI" : "pi";
      case Op::Neg: return "(-" + sub(*n.a, precedence(n.a->op) < kAtom || n.a->op == Op::Pow) + ")";
      case Op::Pow: return power(n);
      case Op::Add: case Op::Sub: case Op::Mul: case Op::Div: return arith(n);
      case Op::Abs:
        // Pipes cannot nest, so only an argument free of abs may use them.
        if (!contains_abs(*n.a) && g_.chance(0.4)) return "|" + render(*n.a) + "|";
        return "abs(" + render(*n.a) + ")";
      case Op::Min: case Op::Max:
        return std::string(mu_function(n.op)) + "(" + render(*n.a) + "," + blank() + render(*n.b) + ")";
      default: {
        auto names = our_names(n.op);
        return std::string(names[g_.pick(names.size())]) + bracketed(*n.a);
      }
    }
  }

  std::string power(const Node& n) {
    bool base_leaf = n.a->op == Op::X || n.a->op == Op::Literal;
    bool exp_leaf = n.b->op == Op::X || n.b->op == Op::Literal;
    std::string base = sub(*n.a, !base_leaf);
    if (n.b->op == Op::Literal && (n.b->ours_text == "2" || n.b->ours_text == "3") && g_.chance(0.3)) {
      return base + (n.b->ours_text == "2" ? "\xB2" : "\xB3");  // Windows-1252 superscripts
    }
    return base + (g_.chance(0.2) ? "**" : "^") + sub(*n.b, !exp_leaf);
  }

  std::string arith(const Node& n) {
    const int p = precedence(n.op);
    std::string left = sub(*n.a, precedence(n.a->op) < p);
    std::string right = sub(*n.b, precedence(n.b->op) <= p);
    std::string sym = n.op == Op::Add ? "+" : n.op == Op::Sub ? "-" : n.op == Op::Mul ? "*" : "/";
    if (n.op == Op::Div && g_.chance(0.1)) sym = ":";
    if (n.op == Op::Mul && implicit_ok(left, right) && g_.chance(0.5)) sym = "";
    return left + blank() + sym + blank() + right;
  }

  // Juxtaposition means multiplication where the compiler inserts the "*":
  // after a digit, x or a closing bracket, before a letter or an opening
  // bracket (a digit after a digit would join the literals, and our
  // renderings of pi and the superscripts are left out to stay simple).
  static bool implicit_ok(const std::string& l, const std::string& r) {
    if (l.empty() || r.empty()) return false;
    const char a = l.back(), b = r.front();
    const bool left = std::isdigit(static_cast<unsigned char>(a)) || a == 'x' || a == 'X' ||
                      a == ')' || a == ']' || a == '}';
    const bool right = std::isalpha(static_cast<unsigned char>(b)) || b == '(' || b == '[' || b == '{';
    return left && right && !(a == 'x' && (b == 'e' || b == 'E')) && r.rfind("pi", 0) != 0 &&
           r.rfind("PI", 0) != 0;
  }

  Generator& g_;
};

// ---- shadow evaluation ----------------------------------------------------------

struct Shadow {
  double v = 0;        // IEEE value of the tree
  double s = 0;        // sensitivity scale, see the top of the file
  double terms = 0;    // sum of the magnitudes of the terms of a sum, else |v|
  bool special = false;   // a point where our rules deliberately differ
  bool no_value = false;  // an intermediate without a real value
};

double slack(double s) { return kRelTolerance * s; }

void mark_magnitude(Shadow& r) {
  if (std::isnan(r.v)) r.no_value = true;
  if (r.no_value) return;  // nothing to compare; ours must be undefined
  const double a = std::fabs(r.v);
  if (!(a < kHuge) || (a != 0 && a < kTiny) || !std::isfinite(r.s)) r.special = true;
}

// Near the zero tolerance: a value that is not an exact zero but might lie
// within eps of zero in either evaluation.
bool near_zero(const Shadow& c, double eps) {
  return !(c.v == 0 && c.s == 0) && std::fabs(c.v) <= eps * 1.001 + slack(c.s);
}

// The point and the zero tolerance of the panel.
struct At {
  double x;
  double eps;
};

Shadow shadow(const Node& n, const At& at);

Shadow shadow_unary(const Node& n, const At& at) {
  Shadow a = shadow(*n.a, at), r;
  r.special = a.special;
  r.no_value = a.no_value;
  const double v = a.v;
  double d = 0;  // |f'(v)|
  double extra = 0;
  switch (n.op) {
    case Op::Neg: r.v = -v; d = 1; break;
    case Op::Abs: r.v = std::fabs(v); d = 1; break;
    case Op::Sin: r.v = std::sin(v); d = std::fabs(std::cos(v)); break;
    case Op::Cos: r.v = std::cos(v); d = std::fabs(std::sin(v)); break;
    case Op::Tan: {
      r.v = std::tan(v);
      d = 1 + r.v * r.v;
      const double rem = std::fabs(std::fmod(v, kPiValue));
      if (std::fabs(rem - kPiValue / 2) <= 1e-15 * (1 + std::fabs(v)) + slack(a.s)) r.special = true;
      break;
    }
    case Op::Exp:
      r.v = std::exp(v);
      d = r.v;
      if (std::fabs(v) >= 500 - slack(a.s)) r.special = true;
      break;
    case Op::Ln:
      r.v = std::log(v);
      d = 1 / std::fabs(v);
      if (std::fabs(v) <= at.eps * 1.001 + slack(a.s)) r.special = true;
      break;
    case Op::Sqrt:
      r.v = std::sqrt(v);
      d = 0.5 / r.v;
      if (std::fabs(v) <= at.eps * 1.001 + slack(a.s)) r.special = true;
      break;
    case Op::Atan: r.v = std::atan(v); d = 1 / (1 + v * v); break;
    case Op::Sinh: r.v = std::sinh(v); d = std::cosh(v); break;
    case Op::Cosh: r.v = std::cosh(v); d = std::fabs(std::sinh(v)); break;
    case Op::Tanh: r.v = std::tanh(v); d = 1 - r.v * r.v; break;
    case Op::Asinh: {
      r.v = std::asinh(v);
      const double root = std::sqrt(v * v + 1);
      d = 1 / root;
      // muparser computes log(v + sqrt(v*v + 1)), which cancels for v < 0.
      extra = 2 * (std::fabs(v) + root) / std::fabs(v + root);
      break;
    }
    default: ADD_FAILURE() << "not a one-argument operation"; break;
  }
  r.s = d * a.s + std::fabs(r.v) + extra;
  r.terms = n.op == Op::Neg ? a.terms : std::fabs(r.v);
  if (n.op == Op::Neg) r.s = a.s;
  mark_magnitude(r);
  return r;
}

Shadow shadow_binary(const Node& n, const At& at) {
  Shadow a = shadow(*n.a, at), b = shadow(*n.b, at), r;
  r.special = a.special || b.special;
  r.no_value = a.no_value || b.no_value;
  switch (n.op) {
    // muparser regroups sums with constants (x+1+c becomes x+(1+c)), so a
    // sum may round at the size of any of its terms.
    case Op::Add: r.v = a.v + b.v; r.terms = a.terms + b.terms; r.s = a.s + b.s + r.terms; break;
    case Op::Sub: r.v = a.v - b.v; r.terms = a.terms + b.terms; r.s = a.s + b.s + r.terms; break;
    case Op::Mul:
      r.v = a.v * b.v;
      r.s = std::fabs(b.v) * a.s + std::fabs(a.v) * b.s + std::fabs(r.v);
      if (near_zero(a, at.eps) || near_zero(b, at.eps)) r.special = true;
      break;
    case Op::Div:
      r.v = a.v / b.v;
      r.s = a.s / std::fabs(b.v) + std::fabs(r.v) * b.s / std::fabs(b.v) + std::fabs(r.v);
      if (std::fabs(b.v) <= at.eps * 1.001 + slack(b.s)) r.special = true;
      break;
    case Op::Pow:
      r.v = std::pow(a.v, b.v);
      // d/da = r*b/a, d/db = r*ln|a|; whole powers round once per squaring.
      r.s = std::fabs(r.v * b.v / a.v) * a.s + std::fabs(r.v * std::log(std::fabs(a.v))) * b.s +
            (std::fabs(b.v) + 2) * std::fabs(r.v);
      if (std::fabs(a.v) <= at.eps * 1.001 + slack(a.s)) r.special = true;
      if (a.v < 0) {
        // Our real odd roots, (-8)^(1/3) = -2, have no IEEE counterpart; and
        // a computed exponent may be whole in one evaluation and not in the other.
        const double inv = 1 / b.v, odd = std::round(inv);
        if (std::fabs(inv - odd) <= 1e-12 && std::fabs(std::fmod(odd, 2.0)) == 1.0) r.special = true;
        if (b.s > 0) r.special = true;
      }
      break;
    case Op::Min: r.v = a.v < b.v ? a.v : b.v; r.s = std::max(a.s, b.s); break;
    case Op::Max: r.v = a.v > b.v ? a.v : b.v; r.s = std::max(a.s, b.s); break;
    default: ADD_FAILURE() << "not a two-argument operation"; break;
  }
  if (n.op != Op::Add && n.op != Op::Sub) r.terms = std::fabs(r.v);
  mark_magnitude(r);
  return r;
}

Shadow shadow(const Node& n, const At& at) {
  switch (n.op) {
    case Op::X: return {at.x, 0, std::fabs(at.x), false, false};
    // Both languages read a literal as the nearest double, so it carries no error.
    case Op::Literal: return {n.value, 0, std::fabs(n.value), false, false};
    case Op::Pi: return {kPiValue, 0, kPiValue, false, false};
    default: return n.b ? shadow_binary(n, at) : shadow_unary(n, at);
  }
}

// ---- the comparison -----------------------------------------------------------------

struct Tally {
  long formulas = 0, points = 0, compared = 0;
  long ours_undefined = 0, mu_without_value = 0, special = 0;
  long failures = 0, block_mismatches = 0;
  double worst = 0;  // largest |difference| / tolerance seen
};

std::vector<double> sample_points(Generator& g) {
  std::vector<double> xs = {0.0, 1.0, -1.0, 0.5, -2.5, 3.0, 10.0, -7.25};
  for (int i = 0; i < 60; ++i) xs.push_back(g.uniform(-8, 8));
  for (int i = 0; i < 32; ++i) {
    double mag = std::pow(10.0, g.uniform(-6, 4));
    xs.push_back(g.chance(0.5) ? mag : -mag);
  }
  return xs;  // 100 points: the block evaluation runs one full and one partial block
}

long env_number(const char* name, long fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

void report(Tally& t, const std::string& what, const std::string& ours, const std::string& mu,
            double x, double ov, double mv, const std::string& more = "") {
  if (++t.failures > 20) return;
  ADD_FAILURE() << what << "\n  ours:     " << ours << "\n  muparser: " << mu << "\n  x = "
                << x << "\n  ours = " << ov << ", muparser = " << mv << more;
}

void compare_point(Tally& t, const Node& tree, double eps, const std::string& ours_text,
                   const std::string& mu_src, double x, double ov, bool ov_undef, double mv) {
  ++t.points;
  const Shadow sh = shadow(tree, {x, eps});
  if (sh.special) {
    ++t.special;
    return;
  }
  const bool mu_value = std::isfinite(mv) && std::fabs(mv) < kHuge && !sh.no_value;
  if (ov_undef) {
    ++t.ours_undefined;
    if (mu_value) report(t, "ours undefined where the value exists", ours_text, mu_src, x, ov, mv);
    return;
  }
  if (sh.no_value) {
    report(t, "ours defined where an intermediate has no real value", ours_text, mu_src, x, ov, mv);
    return;
  }
  if (!mu_value || std::fabs(ov) >= kHuge) {
    ++t.mu_without_value;
    return;
  }
  ++t.compared;
  const double tol = kRelTolerance * std::max(std::fabs(mv), sh.s);
  const double diff = std::fabs(ov - mv);
  if (tol > 0) t.worst = std::max(t.worst, diff / tol);
  if (!(diff <= tol)) {
    char more[96];
    std::snprintf(more, sizeof more, "\n  tolerance = %.3g, scale S = %.3g", tol, sh.s);
    report(t, "values disagree", ours_text, mu_src, x, ov, mv, more);
  }
}

// Evaluates one formula in both languages at all points and compares.
void diff_formula(Tally& t, const Node& tree, const std::string& ours_text, const Limits& limits,
                  const std::vector<double>& xs) {
  const std::string mu_src = mu_text(tree);
  auto c = test::compile(ours_text);
  ASSERT_TRUE(c.ok) << "does not compile: " << ours_text << " (message " << c.message() << ")";
  ASSERT_EQ(c.panel.count(), 1) << ours_text;
  c.panel.limits = limits;
  const CompiledFormula& f = *c.panel.formulas[0];

  mu::Parser mp;
  double mu_x = 0;
  mp.DefineVar("x", &mu_x);
  mp.SetExpr(mu_src);

  const int n = static_cast<int>(xs.size());
  std::vector<double> many(xs.size());
  std::unique_ptr<bool[]> many_undef(new bool[xs.size()]);
  Evaluator block(c.panel, kPanelFunction);
  const double others[6] = {};
  block.evaluate_many(f, xs.data(), n, others, many.data(), many_undef.get());
  ASSERT_EQ(block.fatal(), kMsgNone) << ours_text;

  Evaluator ev(c.panel, kPanelFunction);
  ++t.formulas;
  for (int i = 0; i < n; ++i) {
    double vars[6] = {xs[i], 0, 0, 0, 0, 0};
    const double ov = ev.evaluate(f, vars);
    const bool ov_undef = ev.undefined();
    ASSERT_EQ(ev.fatal(), kMsgNone) << ours_text;
    mu_x = xs[i];
    double mv = 0;
    try {
      mv = mp.Eval();
    } catch (mu::Parser::exception_type& e) {
      FAIL() << "muparser rejects " << mu_src << ": " << e.GetMsg();
    }
    const double eps = limits.zero_tolerance;
    compare_point(t, tree, eps, ours_text, mu_src, xs[i], ov, ov_undef, mv);
    compare_point(t, tree, eps, ours_text + "   [evaluate_many]", mu_src, xs[i], many[i],
                  many_undef[i], mv);
    if ((many_undef[i] != ov_undef || (!ov_undef && !(many[i] == ov))) && ++t.block_mismatches <= 10) {
      ADD_FAILURE() << "evaluate_many differs from evaluate: " << ours_text << " at x = " << xs[i]
                    << ": " << many[i] << (many_undef[i] ? " (undefined)" : "") << " vs " << ov
                    << (ov_undef ? " (undefined)" : "");
    }
  }
}

void run_diff(const char* context, const Limits& limits, uint64_t default_seed, long default_count) {
  const uint64_t seed = static_cast<uint64_t>(env_number("KV_DIFF_SEED", static_cast<long>(default_seed)));
  const long formulas = env_number("KV_DIFF_FORMULAS", default_count);
  const long show = env_number("KV_DIFF_SHOW", 0);  // prints the first formulas
  Generator gen(seed);
  OurRenderer ours(gen);
  Tally t;
  for (long k = 0; k < formulas && !::testing::Test::HasFatalFailure(); ++k) {
    std::unique_ptr<Node> tree = gen.tree(2 + static_cast<int>(gen.pick(6)), true);
    const std::string ours_text = ours.text(*tree);
    if (k < show) std::printf("%s\n    %s\n", ours_text.c_str(), mu_text(*tree).c_str());
    diff_formula(t, *tree, ours_text, limits, sample_points(gen));
  }
  std::printf("muparser diff, %s: seed %llu, %ld formulas, %ld point evaluations (evaluate and "
              "evaluate_many), %ld compared, %ld ours undefined, %ld without muparser value, "
              "%ld at deliberate rule differences, %ld failures; worst difference %.3g of "
              "its tolerance\n",
              context, static_cast<unsigned long long>(seed), t.formulas, t.points, t.compared,
              t.ours_undefined, t.mu_without_value, t.special, t.failures, t.worst);
  EXPECT_EQ(t.failures, 0);
  EXPECT_EQ(t.block_mismatches, 0);
  // The generator must keep most points comparable, or the test proves little.
  EXPECT_GT(t.compared, t.points / 2);
}

TEST(MuparserDiff, AgreesWhereBothAreDefinedWithDrawingLimits) {
  run_diff("drawing limits", Limits{}, 20240611, 10000);
}

// The limits of the differential-equation panel and the value tables: a zero
// tolerance near the smallest double, so fewer points meet our own rules.
TEST(MuparserDiff, AgreesWhereBothAreDefinedWithFineLimits) {
  run_diff("fine limits", Limits{kMaxMagnitude, kZeroToleranceFine, kLiteralLimitFine}, 977, 5000);
}

}  // namespace
}  // namespace kv

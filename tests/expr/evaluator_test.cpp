#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <memory>
#include <string>
#include <vector>

#include "expr/messages.h"
#include "expr_test_support.h"

namespace kv {
namespace {

using test::compile;
using test::eval_at;

struct FatalCase {
  const char* text;
  int message;
  PanelIndex surface = kPanelFunction;
};

// Faults of the code's structure pass the compiler and make the formula
// unusable at its first evaluation.
TEST(EvaluatorFatal, StructuralFaultsAreReportedAtFirstEvaluation) {
  const FatalCase cases[] = {
      {"max(1)", kMsgInvalidExpression},
      {"||x||", kMsgInvalidExpression},
      {"!x", kMsgInvalidExpression},
      {"gaussd(1,2)", kMsgInvalidExpression},
      {"d(d(d(d(x))))", kMsgDTooDeep},
      {"y'=d(y)", kMsgYInsideD, kPanelDiffEqu},
      {"y''=d(x*y')", kMsgYInsideD, kPanelDiffEqu},
  };
  for (const FatalCase& c : cases) {
    auto compiled = compile(c.text, c.surface, c.surface == kPanelDiffEqu ? kPanelDiffEqu
                                                                             : kPanelFunction);
    ASSERT_TRUE(compiled.ok) << c.text << ": " << compiled.message();
    Evaluator ev(compiled.panel, c.surface);
    double vars[6] = {1, 1, 1, 1, 1, 1};
    EXPECT_EQ(ev.evaluate(*compiled.panel.formulas[0], vars), kUndefined) << c.text;
    EXPECT_TRUE(ev.undefined()) << c.text;
    EXPECT_EQ(ev.fatal(), c.message) << c.text;
    // Once unusable, everything in this context stays undefined.
    auto fine = compile("x");
    EXPECT_EQ(ev.evaluate(*fine.panel.formulas[0], vars), kUndefined);
  }
}

TEST(EvaluatorFatal, PanelEntryReportsOnceWithControlId) {
  auto c = compile("max(1);max(2)");
  ASSERT_TRUE(c.ok);
  double vars[6] = {};
  c.panel.current = 0;
  EXPECT_EQ(evaluate_formula(c.panel, vars, kPanelFunction), kUndefined);
  EXPECT_TRUE(c.panel.error.failed);
  EXPECT_EQ(c.panel.error.message, kMsgInvalidExpression);
  EXPECT_EQ(c.panel.error.control_id, kExpressionControlId);
  EXPECT_TRUE(c.panel.formulas[0]->eval_error);
}

TEST(EvaluatorUndefined, DomainErrorsSetTheFlagNotAMessage) {
  for (const char* t : {"1/x", "ln(x-1)", "sqrt(x-1)", "d(1/x)"}) {
    auto c = compile(t);
    ASSERT_TRUE(c.ok) << t;
    auto v = eval_at(c, 0.0);
    EXPECT_TRUE(v.undefined) << t;
    EXPECT_EQ(v.v, kUndefined) << t;
    EXPECT_EQ(v.fatal, kMsgNone) << t;
    EXPECT_FALSE(eval_at(c, 4.0).undefined) << t << ": the next call starts with the flag clear";
  }
}

TEST(EvaluatorSurface, ZeroOverZeroIsZeroOnlyOnTheDiffEquSurface) {
  auto fn = compile("0/x");
  EXPECT_TRUE(eval_at(fn, 0.0).undefined);
  auto de = compile("0/x", kPanelDiffEqu, kPanelDiffEqu);
  auto v = eval_at(de, 0.0);
  EXPECT_FALSE(v.undefined);
  EXPECT_EQ(v.v, 0.0);
}

TEST(EvaluatorLiterals, ClampedToThePanelsLiteralLimit) {
  auto fn = compile("123456789012345678+x");
  EXPECT_EQ(eval_at(fn, 0.0).v, 1e13);
  EXPECT_EQ(eval_at(fn, 0.0).v, 1e13) << "also in later evaluations";
  auto de = compile("123456789012345678+x", kPanelDiffEqu, kPanelDiffEqu);
  EXPECT_EQ(eval_at(de, 0.0).v, 123456789012345678.0);
  auto dots = compile("1.5.5+.5+5.");
  EXPECT_DOUBLE_EQ(eval_at(dots, 0.0).v, 7.0) << "a literal reads like strtod reads it";
}

TEST(EvaluatorVariables, ReadsYAndItsDerivatives) {
  auto c = compile("y''''=x+10y+100y'+1000y''+10000y'''", kPanelDiffEqu, kPanelDiffEqu);
  ASSERT_TRUE(c.ok);
  const double more[5] = {1, 2, 3, 4, 5};
  EXPECT_DOUBLE_EQ(eval_at(c, 0.5, 0, more).v, 0.5 + 10 + 200 + 3000 + 40000);
}

TEST(EvaluatorAngles, ContextAngleFactorWins) {
  auto c = compile("sin(x)+asin(1)");
  ASSERT_TRUE(c.ok);
  Evaluator deg(kDegrees, c.panel.limits, kPanelFunction);
  double vars[6] = {90, 0, 0, 0, 0, 0};
  EXPECT_NEAR(deg.evaluate(*c.panel.formulas[0], vars), 91.0, 1e-12);
  Evaluator rad(c.panel, kPanelFunction);
  vars[0] = M_PI / 2;
  EXPECT_NEAR(rad.evaluate(*c.panel.formulas[0], vars), 1 + M_PI / 2, 1e-12);
}

// The point evaluation does its arithmetic optimistically and checks once at
// the end; wherever a point leaves ordinary arithmetic, even inside a part
// that min, max or sgn then discard, the result is that of the full rules.
TEST(EvaluatorCommonCase, PointsBeyondOrdinaryArithmeticFollowTheFullRules) {
  struct Case {
    const char* text;
    double x, y;
    double value;  // kUndefined: undefined
    PanelIndex surface = kPanelFunction;
  };
  const double nan = std::nan("");
  const Case cases[] = {
      {"min(x/x*3,2)*5", 0, 0, kUndefined},          // 0/0 before a min
      {"max(ln(x),-1)", 0, 0, -1},                    // ln(0) is -max_mag
      {"min(x*x*x*x,5)", 1e100, 0, 5},                // overflow is max_mag
      {"x*x*x*x-x*x*x*x", 1e100, 0, 0},               // infinity minus infinity
      {"sgn((x*x)*(x*x))", 1e-9, 0, 0},               // a factor within eps
      {"1/(x*x)-10^18", 1e-9, 0, kMaxMagnitude},      // a divisor within eps
      {"x/2", 1e305, 0, kMaxMagnitude},               // x beyond max_mag
      {"x+1", nan, 0, kUndefined},
      {"y'=y/2", 0, 1e305, kMaxMagnitude, kPanelDiffEqu},
      {"y'=min(y+1,2)", 0, nan, kUndefined, kPanelDiffEqu},
  };
  for (const Case& c : cases) {
    auto compiled = compile(c.text, c.surface, c.surface == kPanelDiffEqu ? kPanelDiffEqu
                                                                             : kPanelFunction);
    ASSERT_TRUE(compiled.ok) << c.text;
    const double more[5] = {c.y, 0, 0, 0, 0};
    auto v = eval_at(compiled, c.x, 0, more);
    EXPECT_EQ(v.v, c.value) << c.text;
    EXPECT_EQ(v.undefined, c.value == kUndefined) << c.text;
  }
}

// Such a point is evaluated a second time; it must draw the same random
// numbers as a single evaluation, so that the sequence goes on unchanged. An
// Evaluator of another angle mode takes the general path at every point.
TEST(EvaluatorCommonCase, SecondEvaluationDrawsTheSameRandomNumbers) {
  auto c = compile("rand+1/(x*x)+rand");
  ASSERT_TRUE(c.ok);
  Evaluator fast(c.panel, kPanelFunction), general(kDegrees, c.panel.limits, kPanelFunction);
  for (double x : {1e-9, 1.0, 1e-9, 2.0}) {
    double vars[6] = {x, 0, 0, 0, 0, 0};
    EXPECT_EQ(fast.evaluate(*c.panel.formulas[0], vars),
              general.evaluate(*c.panel.formulas[0], vars))
        << x;
  }
}

TEST(EvaluatorRepeat, SameValueEveryTime) {
  auto c = compile("cos(pi*x)/(-ln2*x)+d(x^3)+gaussd(x,1,2)");
  ASSERT_TRUE(c.ok);
  Evaluator ev(c.panel, kPanelFunction);
  double vars[6] = {0.7, 0, 0, 0, 0, 0};
  double first = ev.evaluate(*c.panel.formulas[0], vars);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ev.evaluate(*c.panel.formulas[0], vars), first);
}

TEST(EvaluatorRand, DeterministicPerContextAndWithinUnitInterval) {
  auto c = compile("rand");
  Evaluator a(c.panel, kPanelFunction), b(c.panel, kPanelFunction);
  double vars[6] = {};
  for (int i = 0; i < 1000; ++i) {
    double u = a.evaluate(*c.panel.formulas[0], vars);
    EXPECT_EQ(u, b.evaluate(*c.panel.formulas[0], vars));
    EXPECT_GE(u, 0.0);
    EXPECT_LE(u, 1.0);
  }
}

// The program's generator is one sequence: formulas, recompilations and block
// evaluation each draw on where the last one stopped.
TEST(EvaluatorRand, ProgramGeneratorIsOneSequence) {
  RandState program, reference;
  ExprPanel panel;
  panel.source = "rand;rand";
  CompileEnv env;
  env.random = &program;
  ASSERT_TRUE(compile_formulas(panel, env));
  const double vars[6] = {};
  for (int i = 0; i < 2; ++i) {
    panel.current = i;
    EXPECT_EQ(evaluate_formula(panel, vars, kPanelFunction), reference.next() / 32767.0);
  }
  panel.source = "2*rand";
  ASSERT_TRUE(compile_formulas(panel, env));
  Evaluator ev(panel, kPanelFunction);
  EXPECT_EQ(ev.evaluate(*panel.formulas[0], vars), 2 * (reference.next() / 32767.0));
  const double x[3] = {0, 1, 2};
  double out[3];
  bool undefined[3];
  ev.evaluate_many(*panel.formulas[0], x, 3, vars, out, undefined);
  for (double v : out) EXPECT_EQ(v, 2 * (reference.next() / 32767.0));
}

struct DerivativeCase {
  const char* text;
  double x;
  double expected;
  double tolerance;
};

TEST(EvaluatorDerivative, NumericalDerivativeOfDOperator) {
  const DerivativeCase cases[] = {
      {"d(x^2)", 3, 6, 1e-6},
      {"d(d(x^4))/12", 1, 1, 1e-4},
      {"d(abs(x))", 0, 0, 0},
      {"d(sin(x))", 1, std::cos(1.0), 1e-8},
      {"d(d(d(x^3)))", 1, 6, 1e-2},
      {"d(sqrt(x))", 0, kMaxMagnitude, 0},
      {"d(sqrt(-x))", 0, -kMaxMagnitude, 0},
  };
  for (const DerivativeCase& c : cases) {
    auto compiled = compile(c.text);
    ASSERT_TRUE(compiled.ok) << c.text;
    auto v = eval_at(compiled, c.x);
    ASSERT_FALSE(v.undefined) << c.text;
    EXPECT_NEAR(v.v, c.expected, c.tolerance) << c.text;
  }
}

TEST(EvaluatorDerivative, DerivativeEntryUsesTheWholeFormula) {
  auto c = compile("x^3");
  ASSERT_TRUE(c.ok);
  EXPECT_NEAR(evaluate_derivative(c.panel, 2.0, 8.0, kPanelFunction), 12.0, 1e-6);
  auto pole = compile("1/x");
  Evaluator ev(pole.panel, kPanelFunction);
  ev.derivative(*pole.panel.formulas[0], 0.0, kUndefined);
  EXPECT_TRUE(ev.undefined()) << "an undefined f(x) gives no derivative";
  auto edge = compile("sqrt(x)");
  Evaluator ev2(edge.panel, kPanelFunction);
  EXPECT_EQ(ev2.derivative(*edge.panel.formulas[0], 0.0, 0.0), kMaxMagnitude)
      << "a vertical tangent at the end of the domain";
}

// Arbitrary texts never crash, hang or leave the evaluator in a bad state.
TEST(EvaluatorRobustness, RandomTextsCompileOrFailCleanly) {
  const char alphabet[] = "x+-*/^!(),|.0123456789 episqrtlnagdmy'\";:#[]{}t";
  std::mt19937 rng(12345);
  for (int round = 0; round < 20000; ++round) {
    std::string t;
    int len = static_cast<int>(rng() % 24);
    for (int i = 0; i < len; ++i) t += alphabet[rng() % (sizeof(alphabet) - 1)];
    for (PanelIndex s : {kPanelFunction, kPanelDiffEqu}) {
      auto c = compile(t, s, s == kPanelDiffEqu ? kPanelDiffEqu : kPanelFunction);
      if (!c.ok) {
        ASSERT_NE(message_text(c.message()), nullptr) << t;
        continue;
      }
      for (int i = 0; i < c.panel.count(); ++i) {
        auto v = eval_at(c, 0.5, i);
        if (!v.undefined) {
          ASSERT_TRUE(std::isfinite(v.v)) << t;
        }
        ASSERT_TRUE(v.fatal == kMsgNone || message_text(v.fatal) != nullptr) << t;
      }
    }
  }
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// The block entry must give the values of the point-by-point entry,
// including at points where the fast paths give way to the full rules.
TEST(EvaluatorBlock, AgreesWithPointByPointEvaluation) {
  const char* formulas[] = {
      "x^3-4.5x", "cos(pi*x)/(-ln2*x)", "1/x", "x*1e-20", "0/x", "x^4-x^-2+x^7", "(x+1)(x-1)/x",
      "sqrt(x)+ln(x)", "max(x,2)-min(3,x)", "gaussd(x,1,2)", "d(x^2)", "123456789012345678*x",
      "2^x^2", "tan(x)", "x/(x-1)", "1e200x*1e200", "4.5x-x*4.5", "d(d(x^4/12-3/2x^2))",
      "d(sqrt(x))", "d(1/x)", "d(abs(x))", "d(d(d(x^3)))", "x*d(sin(x))+d(x^2)", "d(ln(x))",
      "gaussd(d(x^2),1,2)"};
  std::vector<double> xs;
  for (int i = -300; i <= 300; ++i) xs.push_back(i / 50.0);
  for (double special : {0.0, -0.0, 1e-18, -1e-18, 1e300, -1e300, kMaxMagnitude, -kMaxMagnitude,
                         1e-310, 1e150, -1e150}) {
    xs.push_back(special);
  }
  for (const char* t : formulas) {
    for (PanelIndex s : {kPanelFunction, kPanelDiffEqu}) {
      auto c = compile(t, s, s == kPanelDiffEqu ? kPanelDiffEqu : kPanelFunction);
      ASSERT_TRUE(c.ok) << t;
      const double vars[6] = {0, 0.5, 0, 0, 0, 0};
      Evaluator block(c.panel, s), point(c.panel, s);
      std::vector<double> out(xs.size());
      std::unique_ptr<bool[]> undefined(new bool[xs.size()]);
      block.evaluate_many(*c.panel.formulas[0], xs.data(), static_cast<int>(xs.size()), vars,
                          out.data(), undefined.get());
      for (size_t i = 0; i < xs.size(); ++i) {
        double v[6] = {xs[i], 0.5, 0, 0, 0, 0};
        double expected = point.evaluate(*c.panel.formulas[0], v);
        ASSERT_EQ(undefined[i], point.undefined()) << t << " at " << xs[i];
        ASSERT_EQ(out[i], expected) << t << " at " << xs[i];
      }
    }
  }
}

}  // namespace
}  // namespace kv

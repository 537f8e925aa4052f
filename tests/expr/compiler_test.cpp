#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "expr/messages.h"
#include "expr/opcodes.h"
#include "expr_test_support.h"

namespace kv {
namespace {

using test::compile;
using test::eval_at;

struct ValueCase {
  const char* text;
  double x;
  double expected;
};

// Precedence, associativity, implicit multiplication, spellings and
// normalisation, checked through the values the compiled code computes.
TEST(CompilerValues, ComputeWhatTheTextMeans) {
  const ValueCase cases[] = {
      {"2^3^2", 0, 64},           {"-2^2", 0, -4},           {"2^-1", 0, 0.5},
      {"-2*3", 0, -6},            {"1e3", 0, 3 * M_E},       {"x^3-4.5x", 2, -1},
      {"10-3-2", 0, 5},           {"12/3*2", 0, 8},          {"2^-x", 1, 0.5},
      {"-x^2", 3, -9},            {"x*-3", 2, -6},           {"-x^-2", 2, -0.25},
      {"2*-x+1", 3, -5},          {"x--2", 1, 3},            {"+x", 4, 4},
      {"x-+2", 5, 3},             {"(x+1)(x-1)", 3, 8},      {"x(x+1)", 3, 12},
      {"2sin(x)", 0, 0},          {"sin(x)2", M_PI / 2, 2},  {"xx", 3, 9},
      {"4.5x", 2, 9},             {"3x!", 3, 18},            {"2x!", 3, 12},
      {"x^2!", 2, 4},             {"(x^2)!", 2, 24},         {"x!!", 3, 720},
      {"3.4!", 0, 6},             {"|x|", -3, 3},            {"|x-5|*2", 1, 8},
      {"X^2", 3, 9},              {"PI", 0, M_PI},           {"SQRT1_2", 0, M_SQRT1_2},
      {"x\xB2+x\xB3", 2, 12},     {"x**2", 3, 9},            {"6:3", 0, 2},
      {"[x+1]*{2}", 1, 4},        {"pi x", 1, M_PI},         {"2pi", 0, 2 * M_PI},
      {"5", 7, 5},                {"e", 0, M_E},             {"exp(1)", 0, M_E},
      {"log(e)", 0, 1},           {"log10(1000)", 0, 3},     {"log2(8)", 0, 3},
      {"ln2", 0, M_LN2},          {"ln10", 0, M_LN10},       {"log2e", 0, M_LOG2E},
      {"log10e", 0, M_LOG10E},    {"sqrt2", 0, M_SQRT2},     {"sqr2", 0, M_SQRT2},
      {"sqr1_2", 0, M_SQRT1_2},   {"sqr(3)", 0, 9},          {"sqrt(9)", 0, 3},
      {"arcsin(1)", 0, M_PI / 2}, {"arsinh(0)", 0, 0},       {"areacosh(1)", 0, 0},
      {"arccot(0)", 0, -M_PI / 2}, {"cosin(0)", 0, 1},       {"cotan(1)", 0, 1 / std::tan(1.0)},
      {"cosec(1)", 0, 1 / std::sin(1.0)}, {"acosin(1)", 0, 0}, {"p(2,10)", 0, 1024},
      {"pow(2,3)", 0, 8},         {"max(2,x)", 5, 5},        {"min(2,x)", 5, 2},
      {"root(27,3)", 0, 3},       {"logn(8,2)", 0, 3},       {"atan2(1,1)", 0, M_PI / 4},
      {"gaussd(0,0,1)", 0, 0.3989422804014327},               {"f(x)=x^2", 3, 9},
      {"y=x^2", 3, 9},            {"y(x)=x^2", 3, 9},        {"x^2-1/3x*sec(x)", 1, 1 - 1.0 / 3 / std::cos(1.0)},
      {"2^2^-1", 0, 0.25},           {"(((x)))", 2, 2},         {"sin((x))", 0, 0},
  };
  for (const ValueCase& c : cases) {
    auto compiled = compile(c.text);
    ASSERT_TRUE(compiled.ok) << c.text << ": " << compiled.message();
    ASSERT_EQ(compiled.panel.count(), 1) << c.text;
    auto v = eval_at(compiled, c.x);
    ASSERT_FALSE(v.undefined) << c.text;
    EXPECT_NEAR(v.v, c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected))) << c.text;
  }
}

TEST(CompilerCode, PrefixSpellingsCompileToTheSameCode) {
  const std::string plain = compile("x^2").panel.formulas[0]->code;
  for (const char* t : {"y=x^2", "y(x)=x^2", "f(x)=x^2", " x ^ 2 ", "X**2"}) {
    auto c = compile(t);
    ASSERT_TRUE(c.ok) << t;
    EXPECT_EQ(c.panel.formulas[0]->code, plain) << t;
  }
}

TEST(CompilerCode, OperatorsBecomePrefixCalls) {
  auto c = compile("2x^2-1");
  ASSERT_TRUE(c.ok);
  // sub(mul(2,pow(x,2)),1)
  std::string expected;
  for (int b : std::initializer_list<int>{op::kSub, op::kOpen, op::kMul, op::kOpen, '2', ',', op::kPow, op::kOpen, op::kX,
                ',', '2', op::kClose, op::kClose, ',', '1', op::kClose}) {
    expected += static_cast<char>(b);
  }
  EXPECT_EQ(c.panel.formulas[0]->code, expected);
}

struct ErrorCase {
  const char* text;
  int message;
  PanelIndex surface = kPanelFunction;
  PanelIndex role = kPanelFunction;
};

TEST(CompilerErrors, FirstErrorGivesItsMessage) {
  const ErrorCase cases[] = {
      {"sin x", kMsgInvalidExpression},
      {"(x+1", kMsgBrackets},
      {"x+1)", kMsgBrackets},
      {"|(x|", kMsgPipe},
      {"|x", kMsgPipe},
      {"3,5x", kMsgCommaDecimal},
      {"max(x,x,x)", kMsgComma},
      {"max(1,2,3)", kMsgCommaDecimal},
      {"x,", kMsgComma},
      {"x*t", kMsgWrongVariable},
      {"r=x", kMsgWrongVariable},
      {"y'=y", kMsgNoDiffEqu},
      {"y''''''=1", kMsgNoDiffEqu},
      {"y''''''=1", kMsgOrderTooHigh, kPanelDiffEqu},
      {"y'=y'", kMsgDerivativeTooHigh, kPanelDiffEqu},
      {"y''=y\"", kMsgDerivativeTooHigh, kPanelDiffEqu},
      {"y=y", kMsgOnlyX},
      {"x+y", kMsgOnlyX, kPanelIntegral, kPanelIntegral},
      {"x+y", kMsgNoRelation},
      {"x+", kMsgInvalidExpression},
      {"*x", kMsgInvalidExpression},
      {"(*x)", kMsgInvalidExpression},
      {"x+*2", kMsgInvalidExpression},
      {"x-*2", kMsgInvalidExpression},
      {"r", kMsgInvalidExpression},
      {"foo", kMsgInvalidExpression},
      {"x=1", kMsgInvalidExpression, kPanelIntegral, kPanelIntegral},
      {"x_1", kMsgInvalidExpression},
      {"tangent", kMsgInvalidExpression},
      {"x+!3", kMsgFactorial},
      {"(!x)", kMsgFactorial},
      {"r(t)=3", kMsgPolarNotAllowed, kPanelIntegral, kPanelIntegral},
      {"x;t*x", kMsgWrongVariable},
  };
  for (const ErrorCase& c : cases) {
    auto compiled = compile(c.text, c.surface, c.role);
    EXPECT_FALSE(compiled.ok) << c.text;
    EXPECT_EQ(compiled.message(), c.message) << c.text;
    EXPECT_EQ(compiled.panel.count(), 0) << c.text << ": a failed compilation leaves no formula";
    EXPECT_FALSE(compiled.panel.error.failed) << "the failed flag is the caller's";
  }
}

TEST(CompilerFormulas, SplitsAtSemicolonsAndClassifiesEach) {
  auto c = compile("x;t");
  ASSERT_TRUE(c.ok);
  ASSERT_EQ(c.panel.count(), 2);
  EXPECT_EQ(c.panel.formulas[0]->kind, kCartesian);
  EXPECT_EQ(c.panel.formulas[1]->kind, kPolar);
  EXPECT_EQ(c.panel.current, 1) << "the current formula is the last one";

  for (const char* t : {"r=3", "r(t)=3", "f(t)=3", "pi*asin(t/2)"}) {
    auto p = compile(t);
    ASSERT_TRUE(p.ok) << t;
    EXPECT_EQ(p.panel.formulas[0]->kind, kPolar) << t;
  }
  EXPECT_EQ(compile("5").panel.formulas[0]->kind, kCartesian);
}

TEST(CompilerFormulas, EmptyTextsAndEmptyFormulas) {
  EXPECT_EQ(compile("").panel.count(), 0);
  EXPECT_EQ(compile(" \r\n\t").panel.count(), 0);
  auto c = compile("x;;");
  ASSERT_TRUE(c.ok);
  ASSERT_EQ(c.panel.count(), 2);
  auto empty = eval_at(c, 1.0, 1);
  EXPECT_TRUE(empty.undefined);
  EXPECT_EQ(empty.fatal, kMsgNone) << "an empty formula is undefined, not wrong";
}

TEST(CompilerFormulas, DifferentialEquationsOnlyWhereAllowed) {
  auto on_surface = compile("y''=150*cos(40x-4)-2y+3y'", kPanelDiffEqu, kPanelDiffEqu);
  ASSERT_TRUE(on_surface.ok);
  EXPECT_EQ(on_surface.panel.formulas[0]->order, 2);
  EXPECT_TRUE(compile("y'=y", kPanelFunction, kPanelTableDiffEqu).ok);
  auto polar = compile("r''''=-9r-10r''", kPanelDiffEqu, kPanelDiffEqu);
  ASSERT_TRUE(polar.ok);
  EXPECT_EQ(polar.panel.formulas[0]->order, 4);
  EXPECT_EQ(polar.panel.formulas[0]->kind, kPolar);
  auto quote = compile("y\"=y'", kPanelDiffEqu, kPanelDiffEqu);
  ASSERT_TRUE(quote.ok) << "a double quote counts as two primes";
  EXPECT_EQ(quote.panel.formulas[0]->order, 2);
  auto hash = compile("y#=y", kPanelDiffEqu, kPanelDiffEqu);
  ASSERT_TRUE(hash.ok) << "# stands for a prime";
  EXPECT_EQ(hash.panel.formulas[0]->order, 1);
  EXPECT_TRUE(compile("y=x", kPanelFunction).ok);
}

TEST(CompilerFormulas, RecordsSourceSpansWithoutBlanks) {
  auto c = compile("  x^2 ;\r\n r(t) = 3 ;x");
  ASSERT_TRUE(c.ok);
  ASSERT_EQ(c.panel.count(), 3);
  auto span = [&](int i) {
    return c.panel.source.substr(c.panel.formulas[i]->source_start,
                                 c.panel.formulas[i]->source_length);
  };
  EXPECT_EQ(span(0), "x^2");
  EXPECT_EQ(span(1), "r(t) = 3");
  EXPECT_EQ(span(2), "x");
}

TEST(CompilerFormulas, ColourSlotsFollowTheFormulaCount) {
  auto c = compile("x;x;x");
  EXPECT_EQ(c.panel.formulas[0]->colour_slot, 5);
  EXPECT_EQ(c.panel.formulas[2]->colour_slot, 7);
  auto integral = compile("x", kPanelIntegral, kPanelIntegral);
  EXPECT_EQ(integral.panel.formulas[0]->colour_slot, 6);
  std::string many = "x";
  for (int i = 0; i < 15; ++i) many += ";x";
  EXPECT_EQ(compile(many).panel.formulas[15]->colour_slot, 5) << "slots wrap after 15 colours";
}

TEST(CompilerFormulas, FlagsAndSubdivision) {
  EXPECT_TRUE(compile("rand*x").panel.formulas[0]->discontinuous);
  EXPECT_TRUE(compile("random").panel.formulas[0]->discontinuous);
  EXPECT_TRUE(compile("frac(x)").panel.formulas[0]->discontinuous);
  EXPECT_FALSE(compile("round(x)").panel.formulas[0]->discontinuous);
  EXPECT_EQ(compile("x").panel.formulas[0]->subdivision, 6);
  std::string ops = "x";
  for (int i = 0; i < 200; ++i) ops += "+x";
  EXPECT_EQ(compile(ops).panel.formulas[0]->subdivision, 4);
  for (int i = 0; i < 100; ++i) ops += "+x";
  EXPECT_EQ(compile(ops).panel.formulas[0]->subdivision, 2);
}

TEST(CompilerLimits, LengthLimitCountsOperations) {
  std::string t = "x";
  for (int i = 0; i < 512; ++i) t += "+x";  // 512 operations
  EXPECT_TRUE(compile(t).ok);
  t += "+x";  // 513
  auto limited = compile(t);
  EXPECT_FALSE(limited.ok);
  EXPECT_EQ(limited.message(), kMsgTooLong);
  auto unlimited = compile(t, kPanelFunction, kPanelFunction, false);
  ASSERT_TRUE(unlimited.ok);
  EXPECT_DOUBLE_EQ(eval_at(unlimited, 2.0).v, 1028.0);
}

TEST(CompilerLimits, HugeAndDeepInputsAreRejectedAsTooLong) {
  std::string megabyte;
  for (int i = 0; i < (1 << 20) / 2; ++i) megabyte += "x+";
  megabyte += "x";
  std::string brackets = std::string(100000, '(') + "x" + std::string(100000, ')');
  std::string calls;
  for (int i = 0; i < 100000; ++i) calls += "sin(";
  calls += "x" + std::string(100000, ')');
  std::string digits(1 << 20, '7');
  for (const std::string* t : {&megabyte, &brackets, &calls, &digits}) {
    for (bool limit : {true, false}) {
      auto c = compile(*t, kPanelFunction, kPanelFunction, limit);
      EXPECT_FALSE(c.ok);
      EXPECT_EQ(c.message(), kMsgTooLong);
    }
  }
}

// Implicit products are operations too: a long run of them is refused before
// the rewriting, not after quadratic work.
TEST(CompilerLimits, ImplicitProductsCountBeforeRewriting) {
  EXPECT_TRUE(compile(std::string(513, 'x')).ok);  // 512 inserted "*"
  EXPECT_EQ(compile(std::string(514, 'x')).message(), kMsgTooLong);
  std::string twos, brackets, bangs;
  for (int i = 0; i < 30000; ++i) twos += "2x";
  for (int i = 0; i < 20000; ++i) brackets += "(x)";
  for (int i = 0; i < 20000; ++i) bangs += "x!";
  for (const std::string& t : {std::string(60000, 'x'), twos, brackets, bangs}) {
    for (bool limit : {true, false}) {
      EXPECT_EQ(compile(t, kPanelFunction, kPanelFunction, limit).message(), kMsgTooLong);
    }
  }
}

// Without the length limit the rewriting work (operations x code length) is
// bounded: a long literal with 680 additions is taken up to the bound.
TEST(CompilerLimits, RewritingWorkIsBoundedWithoutTheLengthLimit) {
  constexpr long kOps = 680;
  const long digits = kMaxRewriteWork / kOps - 6 * kOps;  // code: digits + 2 per "+x"
  std::string sums;
  for (long i = 0; i < kOps; ++i) sums += "+x";
  auto largest = compile(std::string(digits, '1') + sums, kPanelFunction, kPanelFunction, false);
  ASSERT_TRUE(largest.ok);
  EXPECT_EQ(largest.panel.formulas[0]->operations, kOps);
  auto refused = compile(std::string(digits + 1, '1') + sums, kPanelFunction, kPanelFunction, false);
  EXPECT_EQ(refused.message(), kMsgTooLong);
}

TEST(CompilerLimits, DeepButAcceptedFormulasEvaluate) {
  std::string t = std::string(1500, '(') + "x" + std::string(1500, ')');
  auto c = compile(t, kPanelFunction, kPanelFunction, false);
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(eval_at(c, 3.0).v, 3.0);
  std::string chain = "x";
  for (int i = 0; i < 1900; ++i) chain += "-x";
  auto d = compile(chain, kPanelFunction, kPanelFunction, false);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(eval_at(d, 1.0).v, -1899.0);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

struct PlaneCase {
  const char* text;
  uint8_t kind;
  uint8_t relation;
  double x, y;       // a point
  double expected;   // left minus right there; the x component for a pair
};

// Equations, inequalities and pairs of the panel "Function": their codes
// evaluated at a point, y read from the second variable.
TEST(CompilerPlaneForms, CompileToTheDifferenceOfTheSides) {
  const uint8_t imp = kCartesian | kImplicit, par = kPolar | kParametric;
  const PlaneCase cases[] = {
      {"x^2+y^2=9", imp, kRelEqual, 1, 2, -4},
      {"y^2 = x^3 - x", imp, kRelEqual, 2, 1, -5},
      {"x^3+y^3=3xy", imp, kRelEqual, 1, 1, -1},
      {"x = 1", imp, kRelEqual, 3, 7, 2},
      {"2y=x", imp, kRelEqual, 1, 1, 1},
      {"x^2+y^2 < 9", imp, kRelLess, 0, 0, -9},
      {"y > sin(x)", imp, kRelGreater, 0, 2, 2},
      {"abs(x)+abs(y) <= 1", imp, kRelLessEqual, -1, 1, 1},
      {"y>=-x", imp, kRelGreaterEqual, 1, 1, 2},
      {"|x|<|y|", imp, kRelLess, -3, 1, 2},
      {"max(x,y)=1", imp, kRelEqual, 3, 0, 2},
      {"(cos(3t), sin(2t))", par, kRelNone, 0, 0, 1},
      {"(t, t^2)", par, kRelNone, 3, 0, 3},
      {"(max(t,1), 2)", par, kRelNone, 0, 0, 1},
  };
  for (const PlaneCase& c : cases) {
    auto compiled = compile(c.text);
    ASSERT_TRUE(compiled.ok) << c.text << ": " << compiled.message();
    const CompiledFormula& f = *compiled.panel.formulas.at(0);
    EXPECT_EQ(f.kind, c.kind) << c.text;
    EXPECT_EQ(f.relation, c.relation) << c.text;
    EXPECT_EQ(f.second != nullptr, (c.kind & kParametric) != 0) << c.text;
    const double more[5] = {c.y, 0, 0, 0, 0};
    auto v = eval_at(compiled, c.x, 0, more);
    ASSERT_FALSE(v.undefined) << c.text;
    EXPECT_NEAR(v.v, c.expected, 1e-12) << c.text;
  }
  auto pair = compile("(t, t^2)");
  Evaluator ev(pair.panel, kPanelFunction);
  const double vars[6] = {3, 0, 0, 0, 0, 0};
  EXPECT_EQ(ev.evaluate(*pair.panel.formulas[0]->second, vars), 9);
}

// The long-standing forms keep their meaning beside the new ones, in one text.
TEST(CompilerPlaneForms, OldFormsKeepTheirMeaningAndMix) {
  auto c = compile("y = x^2; f(x)=sin(x); r(t) = 3; x^2+y^2=9; (t, 2t); y<x");
  ASSERT_TRUE(c.ok) << c.message();
  ASSERT_EQ(c.panel.count(), 6);
  const uint8_t kinds[] = {kCartesian, kCartesian, kPolar, kCartesian | kImplicit,
                           kPolar | kParametric, kCartesian | kImplicit};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(c.panel.formulas[i]->kind, kinds[i]) << i;
  EXPECT_EQ(c.panel.formulas[0]->code, compile("x^2").panel.formulas[0]->code);
  EXPECT_EQ(c.panel.formulas[3]->source_start, 32u);
  EXPECT_EQ(c.panel.formulas[3]->source_length, 9u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(c.panel.formulas[i]->colour_slot, 5 + i) << i;
}

// Each refusal of the new forms, and the old refusals where the new forms
// are not drawn.
TEST(CompilerPlaneForms, RefusalsNameTheirFault) {
  const ErrorCase cases[] = {
      {"x^2+y^2", kMsgNoRelation},
      {"x^2+y^2=", kMsgEmptySide},
      {"=1", kMsgEmptySide},
      {"<=y", kMsgEmptySide},
      {"x<y<1", kMsgChainedRelation},
      {"x^2+y^2=9=9", kMsgChainedRelation},
      {"x==1", kMsgChainedRelation},
      {"y=x=1", kMsgChainedRelation},
      {"f(x)=x<1", kMsgChainedRelation},
      {"(t, y)", kMsgYInPair},
      {"(y, t)", kMsgYInPair},
      {"(x, t)", kMsgWrongVariable},
      {"(t, )", kMsgInvalidExpression},
      {"(1,5)", kMsgCommaDecimal},
      {"(t, t, t)", kMsgComma},
      {"x+t=1", kMsgTInImplicit},
      {"(t,t)=1", kMsgTInImplicit},
      {"y'=x+y<1", kMsgNoDiffEqu},
      {"y'+x=1", kMsgNoDiffEqu},
      {"x)=(1", kMsgBrackets},
      {"x+=1", kMsgInvalidExpression},
      {"|x=1|", kMsgPipe},
      {"x^2+y^2=9", kMsgOnlyX, kPanelIntegral, kPanelIntegral},
      {"x<1", kMsgInvalidExpression, kPanelValue, kPanelValue},
      {"(t, t^2)", kMsgComma, kPanelValue, kPanelValue},
      {"x^2+y^2=9", kMsgOnlyX, kPanelTable, kPanelTable},
      {"x^2+y^2=9", kMsgOnlyX, kPanelDiffEqu, kPanelDiffEqu},
  };
  for (const ErrorCase& c : cases) {
    auto compiled = compile(c.text, c.surface, c.role);
    EXPECT_FALSE(compiled.ok) << c.text;
    EXPECT_EQ(compiled.message(), c.message) << c.text;
    EXPECT_NE(message_text(compiled.message()), nullptr) << c.text;
  }
}

// The length limits hold for both sides together and for both components
// of a pair: the largest accepted beside the first refused.
TEST(CompilerPlaneForms, LengthLimitCountsBothSides) {
  auto sums = [](int n) {
    std::string s = "x";
    for (int i = 0; i < n; ++i) s += "+x";
    return s;
  };
  // 512 operations: the subtraction of the sides counts as one.
  EXPECT_TRUE(compile(sums(255) + "=" + sums(256)).ok);
  EXPECT_EQ(compile(sums(256) + "=" + sums(256)).message(), kMsgTooLong);
  std::string t255 = "t", t256 = "t";
  for (int i = 0; i < 255; ++i) t255 += "+t";
  t256 = t255 + "+t";
  EXPECT_TRUE(compile("(" + t256 + "," + t256 + ")").ok);
  EXPECT_EQ(compile("(" + t256 + "," + t256 + "+t)").message(), kMsgTooLong);
  // Huge texts are refused, not rewritten, also without the limit.
  EXPECT_EQ(compile(sums(400000) + "=y", kPanelFunction, kPanelFunction, false).message(),
            kMsgTooLong);
  EXPECT_EQ(compile(std::string(3000, '(') + "x=y" + std::string(3000, ')')).message(), kMsgTooLong);
}

}  // namespace
}  // namespace kv

#include "model/numeric_field.h"

#include <gtest/gtest.h>

#include <cmath>

#include "expr/messages.h"

namespace kv {
namespace {

RangeValue field_with(const char* text, double value = 0.0) {
  RangeValue f;
  f.text = text;
  f.has_text = true;
  f.value = value;
  return f;
}

struct FieldCase {
  const char* text;  // Windows-1252
  bool required;
  double angle;
  int message;
  double value;  // checked only on success
};

TEST(EvaluateNumericField, FormulasMessagesAndLimits) {
  const FieldCase cases[] = {
      {"2pi", true, kRadians, kMsgNone, 6.283185307179586},
      {"-2*pi", true, kRadians, kMsgNone, -6.283185307179586},
      {"pi*sqrt(10.0+1/3)", true, kRadians, kMsgNone, 3.141592653589793 * std::sqrt(10.0 + 1.0 / 3)},
      {"x+1", true, kRadians, kMsgNone, 2.0},           // every variable is 1
      {"3t", true, kRadians, kMsgNone, 3.0},
      {"x\xB2+1", true, kRadians, kMsgNone, 2.0},        // superscript two
      {"sin(90)", true, kDegrees, kMsgNone, 1.0},        // the dialog's angle factor
      {"123456789012345678", true, kRadians, kMsgNone, 1e13},  // literal limit of fields
      {"-123456789012345678", true, kRadians, kMsgNone, -1e13},
      {"3,5", true, kRadians, kMsgCommaDecimal, 0},
      {"1;2", true, kRadians, kMsgInvalidExpression, 0},
      {"1/0", true, kRadians, kMsgUndefinedValue, 0},
      {"sqrt(-1)", true, kRadians, kMsgUndefinedValue, 0},
      {"max(1)", true, kRadians, kMsgInvalidExpression, 0},
      {"(x+1", true, kRadians, kMsgBrackets, 0},
      {"y'=1", true, kRadians, kMsgNoDiffEqu, 0},
      {"2?", true, kRadians, kMsgInvalidExpression, 0},  // what cp1252 puts for unknown characters
      {"", true, kRadians, kMsgInvalidExpression, 0},
      {" \t ", true, kRadians, kMsgInvalidExpression, 0},
      {"", false, kRadians, kMsgNone, kUndefined},       // optional: "automatic"
      {"  ", false, kRadians, kMsgNone, kUndefined},
  };
  for (const FieldCase& c : cases) {
    RangeValue f = field_with(c.text);
    int msg = evaluate_numeric_field(f, c.required, c.angle);
    EXPECT_EQ(msg, c.message) << '"' << c.text << '"';
    if (c.message == kMsgNone && msg == kMsgNone) {
      EXPECT_NEAR(f.value, c.value, std::fabs(c.value) * 1e-15) << '"' << c.text << '"';
    }
  }
}

TEST(EvaluateNumericField, CompileErrorKeepsTheOldValue) {
  RangeValue f = field_with("(x", 5.0);
  EXPECT_EQ(evaluate_numeric_field(f, true, kRadians), kMsgBrackets);
  EXPECT_EQ(f.value, 5.0);
}

TEST(EvaluateNumericField, FieldWithoutTextKeepsTheValueTheSystemSet) {
  RangeValue f;
  f.value = 4.5;
  f.text_stale = true;
  EXPECT_EQ(evaluate_numeric_field(f, true, kRadians), kMsgNone);
  EXPECT_EQ(f.value, 4.5);
}

TEST(ReadNumericFieldText, StoresTextAndReportsOnlyTheFirstError) {
  PendingError err;
  RangeValue a, b, c;
  EXPECT_FALSE(read_numeric_field_text(a, "1/0", err, 1001, true, kRadians));
  EXPECT_FALSE(read_numeric_field_text(b, "", err, 1002, true, kRadians));
  EXPECT_TRUE(read_numeric_field_text(c, "e", err, 1003, true, kRadians));
  EXPECT_TRUE(err.failed);
  EXPECT_EQ(err.message, kMsgUndefinedValue);
  EXPECT_EQ(err.control_id, 1001);
  EXPECT_EQ(a.text, "1/0");
  EXPECT_TRUE(b.has_text);
  EXPECT_DOUBLE_EQ(c.value, 2.718281828459045);
}

TEST(CopyNumericField, ReevaluatesOnlyAFreshText) {
  RangeValue deg = field_with("sin(90)", 1.0);
  RangeValue target;
  EXPECT_EQ(copy_numeric_field(target, deg, false, kRadians), kMsgNone);
  EXPECT_EQ(target.value, 1.0);
  EXPECT_EQ(target.text, "sin(90)");

  EXPECT_EQ(copy_numeric_field(target, deg, true, kRadians), kMsgNone);
  EXPECT_DOUBLE_EQ(target.value, std::sin(90.0));

  // A stale text no longer describes the value, so the value is copied.
  RangeValue stale = field_with("sin(90)", 7.0);
  stale.text_stale = true;
  EXPECT_EQ(copy_numeric_field(target, stale, true, kRadians), kMsgNone);
  EXPECT_EQ(target.value, 7.0);
  EXPECT_TRUE(target.text_stale);

  RangeValue bad = field_with("asin(2)", 3.0);
  EXPECT_EQ(copy_numeric_field(target, bad, true, kDegrees), kMsgUndefinedValue);
  EXPECT_EQ(target.value, 3.0);
}

TEST(SetNumericFieldFromText, PlainDecimalConversionLikeCLocaleStrtod) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"2.5", 2.5},      {"  -3e2xyz", -300}, {"+7", 7},       {".5", 0.5},
      {"1,5", 1},        {"abc", 0},          {"", 0},         {"+-1", 0},
      {"pi", 0},         {"1e999", kUndefined}, {"-1e999", -kUndefined},
      {"1e-999", 0},     {"0.0001e400", kUndefined}, {"123e-3", 0.123},
  };
  for (const Case& c : cases) {
    RangeValue f;
    f.text_stale = true;
    set_numeric_field_from_text(f, c.text);
    EXPECT_EQ(f.value, c.value) << '"' << c.text << '"';
    EXPECT_EQ(f.text, c.text);
    EXPECT_TRUE(f.has_text);
    EXPECT_FALSE(f.text_stale);
  }
}

}  // namespace
}  // namespace kv

#include "expr/format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace kv {
namespace {

struct TableCase {
  double value;
  const char* text;
};

TEST(FormatTableValue, SixSignificantDigitsShortestFormAndShortExponent) {
  const TableCase cases[] = {
      {1e-14, "0"},          {-9.9e-14, "0"},        {-1e-13, "-1E-13"},
      {123456789, "1.23457E+8"}, {0.0001, "0.0001"}, {0.00001, "1E-5"},
      {150000, "150000"},    {1.5e6, "1.5E+6"},      {2e-10, "2E-10"},
      {1e100, "1E+100"},     {3.14159265, "3.14159"}, {-2.5, "-2.5"},
      {0.1 + 0.2, "0.3"},    {999999.5, "1E+6"},     {0.0, "0"},
  };
  for (const TableCase& c : cases) {
    EXPECT_EQ(format_table_value(c.value, true), c.text) << c.value;
  }
}

TEST(FormatTableValue, InfiniteAndUndefinedValuesHaveWords) {
  EXPECT_EQ(format_table_value(-kMaxMagnitude, true), "-Infinity");
  EXPECT_EQ(format_table_value(kMaxMagnitude, true), "+Infinity");
  EXPECT_EQ(format_table_value(kUndefined, true), "+Infinity");
  EXPECT_EQ(format_table_value(-HUGE_VAL, true), "-Infinity");
  EXPECT_EQ(format_table_value(kUndefined, false), "Error");
  EXPECT_EQ(format_table_value(1.0, false), "Error");
  EXPECT_EQ(format_table_value(std::nan(""), true), "Error");
  // The limit is the panel's, not a fixed number.
  EXPECT_EQ(format_table_value(2e6, true, 1e6), "+Infinity");
}

struct ScaledCase {
  double value, step;
  bool scientific;
  const char* text;
};

TEST(FormatScaledValue, DecimalsFollowStepAndLongTextsBecomeScientific) {
  const ScaledCase cases[] = {
      {2.5, 0.05, true, "2.5"},
      {12300000, 100000, true, "1.23\xC2\xB7" "107"},
      {-12300000, 100000, true, "-1.23\xC2\xB7" "107"},
      {12300000, 100000, false, "12300000"},
      {10000000, 1e6, true, "1\xC2\xB7" "107"},
      {0.00001234, 1e-8, true, "1.234\xC2\xB7" "10-5"},
      {-0.00001234, 1e-8, true, "-1.234\xC2\xB7" "10-5"},
      {0.00001234, 1e-6, true, "1.2\xC2\xB7" "10-5"},
      {0.00001234, 1e-6, false, "0.000012"},
      {1234567, 1, true, "1234567"},                       // 7 characters stay
      {-1234567, 1, true, "-1.234567\xC2\xB7" "106"},      // the sign counts
      {123456.75, 0.01, true, "123456.75"},                 // integer part and point
      {3.14159, 0.001, false, "3.142"},
      {2, 0.5, false, "2"},
      {1e15, 1, true, "1\xC2\xB7" "1015"},
      {1.00000000000001e15, 1, true, ""},
      {1e16, 1, true, ""},
      {1e-15, 0.1, true, "0"},
      {-9e-15, 1e-20, true, "0"},
      {0.5, 0.0, false, "0.5"},          // no usable step: 14 decimals
      {0.5, -1.0, false, "0.5"},
      {0.25, std::nan(""), false, "0.25"},
      {0.5, 1e-300, false, "0.5"},       // a tiny step needs hundreds of decimals
  };
  for (const ScaledCase& c : cases) {
    EXPECT_EQ(format_scaled_value(c.value, c.step, c.scientific), c.text)
        << c.value << " step " << c.step;
  }
  EXPECT_EQ(format_scaled_value(std::nan(""), 1, true), "");
}

TEST(FormatFullValue, FourteenDecimalsTrimmed) {
  EXPECT_EQ(format_full_value(3.141592653589793), "3.14159265358979");
  EXPECT_EQ(format_full_value(2.5), "2.5");
  EXPECT_EQ(format_full_value(-6.0), "-6");
  EXPECT_EQ(format_full_value(1e-15), "0");
  EXPECT_EQ(format_full_value(1e20), "100000000000000000000");
  EXPECT_EQ(format_full_value(kUndefined).size(), 309u);
}

TEST(TrimDecimalText, ZerosGoOnlyAfterAPoint) {
  std::string a = "12.500  ", b = "100", c = "1.000", d = "-0.0";
  trim_decimal_text(a);
  trim_decimal_text(b);
  trim_decimal_text(c);
  trim_decimal_text(d);
  EXPECT_EQ(a, "12.5");
  EXPECT_EQ(b, "100");
  EXPECT_EQ(c, "1");
  EXPECT_EQ(d, "-0");
}

TEST(Formatters, IgnoreADecimalCommaLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE")) {
    GTEST_SKIP() << "no German locale installed";
  }
  EXPECT_EQ(format_table_value(2.5, true), "2.5");
  EXPECT_EQ(format_scaled_value(2.5, 0.1, false), "2.5");
  EXPECT_EQ(format_full_value(2.5), "2.5");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace kv

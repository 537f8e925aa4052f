// What a first start shows: the settings defaults of the drawing panels and
// the initial contents of all six panels.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>
#include <string>

#include "model/initial_contents.h"
#include "model/settings_defaults.h"

namespace kv {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(SettingsDefaults, TablesHaveTheirRowsInFileOrder) {
  size_t count = 0;
  const PanelSettingRow* rows = panel_setting_rows(&count);
  ASSERT_EQ(count, 26u);
  EXPECT_STREQ(rows[0].key, "AngleMode");
  // Keys added later come after the last key of the first release.
  EXPECT_STREQ(rows[count - 3].key, "DialogPos");
  EXPECT_STREQ(rows[count - 2].key, "MarkPoints");
  EXPECT_STREQ(rows[count - 1].key, "MarkDiscontinuities");
  int per_panel[3] = {0, 0, 0};
  for (size_t i = 0; i < count; ++i) {
    for (int p = 0; p < 3; ++p) per_panel[p] += rows[i].defaults[p] != nullptr;
  }
  EXPECT_EQ(per_panel[0], 25);
  EXPECT_EQ(per_panel[1], 26);  // FillIntegralArea only here
  EXPECT_EQ(per_panel[2], 25);

  const WindowSettingRow* window = window_setting_rows(&count);
  ASSERT_EQ(count, 10u);
  EXPECT_STREQ(window[8].key, "Alert SaveFile");
  EXPECT_STREQ(window[7].default_text, "0");  // OneInstance off
}

struct ConversionCase {
  const char* text;
  int integer;
};

TEST(SettingsDefaults, IntegersReadWithCBasePrefixes) {
  for (const ConversionCase c : {ConversionCase{"1", 1}, {"010", 8}, {"0x10", 16}, {"-3", -3},
                                 {"", 0}, {"abc", 0}, {"-0x10", -16}, {"0x", 0}, {"09", 0},
                                 // saturated at the int range, not wrapped
                                 {"2147483647", INT_MAX}, {"2147483648", INT_MAX},
                                 {"-2147483648", INT_MIN}, {"-99999999999", INT_MIN}}) {
    EXPECT_EQ(setting_integer(c.text), c.integer) << c.text;
  }
  EXPECT_TRUE(setting_boolean("2"));
  EXPECT_FALSE(setting_boolean("0x0"));
  EXPECT_DOUBLE_EQ(setting_real("1"), 1.0);
}

TEST(SettingsDefaults, RectangleMissingNumbersAreZero) {
  const DialogRect r = setting_rectangle("10,20");
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right, 0);
  EXPECT_TRUE(r.empty());
  const DialogRect full = setting_rectangle("1, 2,3,4");
  EXPECT_EQ(full.bottom, 4);
}

TEST(SettingsDefaults, RangeThatDoesNotEvaluateKeepsItsTextWithValueZero) {
  RangeValue field;
  field.value = 7;
  setting_range(field, "2pi");
  EXPECT_DOUBLE_EQ(field.value, 2 * kPi);
  setting_range(field, "1/0");
  EXPECT_EQ(field.value, 0.0);
  EXPECT_EQ(field.text, "1/0");
}

TEST(SettingsDefaults, PanelsGetTheirOwnOptionsAndRanges) {
  struct Want {
    int equal_scales, x_units_pi, fill;
    double xmin;
  };
  const Want want[3] = {{1, 0, 0, -6}, {0, 1, 1, -2 * kPi}, {0, 0, 0, -6}};
  for (int p = 0; p < 3; ++p) {
    PanelRecord panel;
    ASSERT_TRUE(apply_panel_defaults(panel, p));
    EXPECT_EQ(panel.option(kOptEqualScales), want[p].equal_scales) << p;
    EXPECT_EQ(panel.option(kOptXUnitsPi), want[p].x_units_pi) << p;
    EXPECT_EQ(panel.option(kOptFillIntegralArea), want[p].fill) << p;
    EXPECT_EQ(panel.option(kOptLineWidth), 1);
    EXPECT_EQ(panel.option(kOptBoxedStyle), 1);
    EXPECT_EQ(panel.option(kOptSubGrid), 0);
    EXPECT_NEAR(panel.range[kXMin].value, want[p].xmin, 1e-15) << p;
    EXPECT_NEAR(panel.default_range[kTMax].value, 2 * kPi, 1e-15);
    EXPECT_EQ(panel.range[kTMin].text, "-2pi");
    EXPECT_EQ(panel.title_x, "X");
    EXPECT_DOUBLE_EQ(panel.angle_mode, 1.0);
  }
  PanelRecord other;
  EXPECT_FALSE(apply_panel_defaults(other, kPanelValue));
}

TEST(InitialContents, FirstStartFillsTextsStartValuesAndLimits) {
  PanelSet panels;
  fill_initial_contents(panels);
  EXPECT_EQ(panels[kPanelFunction].source.substr(0, 21), "cos(pi*x) / (-LN2*x);");
  EXPECT_TRUE(panels[kPanelIntegral].source.empty());
  EXPECT_EQ(panels[kPanelIntegral].history[2], "gaussd(x, 0, 0.2)");
  EXPECT_NEAR(panels[kPanelIntegral].dialog_values[kStartX].value, -kPi, 1e-15);

  const PanelRecord& deq = panels[kPanelDiffEqu];
  EXPECT_EQ(deq.history[4], "y''''' = -9y' - 10y'''");
  EXPECT_NEAR(deq.dialog_values[kStartX].value, std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(deq.dialog_values[kStartY].value, std::numbers::e / 2, 1e-15);
  EXPECT_NEAR(deq.dialog_values[kStartY2].value, -kPi * kPi, 1e-13);
  EXPECT_DOUBLE_EQ(deq.dialog_values[kStartY4].value, 85);
  EXPECT_EQ(deq.limits.literal_limit, kLiteralLimitFine);
  EXPECT_EQ(panels[kPanelFunction].limits.literal_limit, kLiteralLimitDrawing);
  EXPECT_EQ(panels[kPanelValue].limits.zero_tolerance, kZeroToleranceFine);

  EXPECT_EQ(panels[kPanelValue].source, "x*cos(x)");
  EXPECT_DOUBLE_EQ(panels[kPanelValue].dialog_values[kStartX].value, 7.2);
  EXPECT_DOUBLE_EQ(panels[kPanelTable].dialog_values[kXStep].value, 0.5);
  EXPECT_EQ(panels[kPanelTableDiffEqu].source, "y'''' = -4y - 5y''");
  // The value tables start with the range of the panel they belong to.
  EXPECT_EQ(panels[kPanelTable].range[kXMin].text, "-6.0");
  EXPECT_EQ(panels[kPanelTableDiffEqu].range[kXMax].value, 6.0);
  // ... and its start values, but a step of their own.
  EXPECT_EQ(panels[kPanelTableDiffEqu].dialog_values[kStartY2].text, "-pi^2");
  EXPECT_EQ(panels[kPanelTableDiffEqu].dialog_values[kXStep].text, "1/2");
  for (int i = 0; i < kPanelCount; ++i) {
    EXPECT_TRUE(panels[i].ymin_fixed && panels[i].ymax_fixed) << i;
    EXPECT_EQ(panels[i].x_scale, 1.0);
  }
  EXPECT_EQ(panels[kPanelDiffEqu].role, kPanelDiffEqu);
}

}  // namespace
}  // namespace kv

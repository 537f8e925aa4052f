// The version line of the about box.
#include "help/about_text.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(AboutText, TrailingZeroGroupsGoButTwoGroupsStay) {
  EXPECT_EQ(about_version_text("0.94.0.0"), "Version  0.94");
  EXPECT_EQ(about_version_text("1.0.0.0"), "Version  1.0");
  // A zero group before a non-zero one stays.
  EXPECT_EQ(about_version_text("1.0.2.0"), "Version  1.0.2");
  EXPECT_EQ(about_version_text("1.2.3.4"), "Version  1.2.3.4");
}

}  // namespace
}  // namespace kv

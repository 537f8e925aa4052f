#include "formats/version.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(CompareVersions, PartByPartFromTheLeft) {
  struct Case { const char* first; const char* second; int result; };
  const Case cases[] = {
      {"0.94.0.0", "0.94.0.0", kVersionEqual},
      {"0.93.10.0", "0.93.9.9", kVersionNewer},  // numbers, not text
      {"0.93.9.9", "0.93.10.0", kVersionOlder},
      {"0.94.0.1", "0.94.0.0", kVersionNewer},
      {"1.2", "1.2.0.0", kVersionEqual},         // missing parts are 0
      {"", "0.0.0.0", kVersionEqual},
      {"abc", "0", kVersionEqual},               // no digits read as 0
      {"1.2.3.4.9", "1.2.3.4", kVersionEqual},   // nothing after the fourth part
      {" 1.-1", "1.0", kVersionOlder},           // blanks and signs as atoi reads them
      {"1x.2", "1.2", kVersionEqual},
      {"2147483648.0", "2147483647.0", kVersionNewer},
      {"99999999999999999999999", "2147483648", kVersionEqual},  // saturates
      {"-99999999999999999999999", "-2147483648", kVersionEqual},
  };
  for (const Case& c : cases)
    EXPECT_EQ(compare_versions(c.first, c.second), c.result) << c.first << " vs " << c.second;
}

TEST(CompareVersions, MissingTexts) {
  EXPECT_EQ(compare_versions(nullptr, "0.94.0.0"), kVersionOlder);
  EXPECT_EQ(compare_versions("0.0.0.0", nullptr), kVersionNewer);
  EXPECT_EQ(compare_versions(nullptr, nullptr), kVersionOlder);
  EXPECT_EQ(compare_versions(std::string_view("0.95\0.9", 7), "0.95"), kVersionEqual);
}

}  // namespace
}  // namespace kv

#include "expr/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

struct Case {
  const char* utf8;
  const char* cp1252;
};

TEST(Utf8ToCp1252, MapsEveryCharacterWithAByte) {
  const Case cases[] = {
      {"", ""},
      {"x^2-4.5x", "x^2-4.5x"},
      {"x\xC2\xB2+x\xC2\xB3", "x\xB2+x\xB3"},   // superscripts the compiler reads
      {"\xC3\xBC\xC3\x9F", "\xFC\xDF"},         // ü ß
      {"\xE2\x82\xAC", "\x80"},                 // euro sign
      {"\xE2\x80\x9E" "a\xE2\x80\x9C", "\x84" "a\x93"},
      {"\xC2\xB7", "\xB7"},                     // middle dot
      {"\xC2\x81", "\x81"},                     // unassigned byte kept as C1 control
  };
  for (const Case& c : cases) EXPECT_EQ(utf8_to_cp1252(c.utf8), c.cp1252) << c.utf8;
}

TEST(Utf8ToCp1252, ReplacesWhatItCannotRepresentInsteadOfDroppingIt) {
  const Case cases[] = {
      {"2\xCF\x80", "2?"},                   // pi sign: no Windows-1252 byte
      {"\xE2\x88\x9A" "x", "?x"},            // square-root sign
      {"\xF0\x9F\x98\x80", "?"},             // four-byte character: one replacement
      {"\x80", "?"},                         // stray continuation byte
      {"\xE2\x82" "x", "?x"},                // truncated sequence: one replacement
      {"x\xE2", "x?"},                       // truncated at the end
      {"\xC0\xAF", "??"},                    // overlong encoding
      {"\xED\xA0\x80", "???"},               // encoded surrogate
      {"\xF4\x90\x80\x80", "????"},          // beyond U+10FFFF
      {"\xFF", "?"},
  };
  for (const Case& c : cases) EXPECT_EQ(utf8_to_cp1252(c.utf8), c.cp1252) << c.utf8;
}

TEST(Cp1252ToUtf8, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string utf8 = cp1252_to_utf8(all);
  EXPECT_EQ(utf8_to_cp1252(utf8), all);
  EXPECT_EQ(cp1252_to_utf8("\x80\xB2"), "\xE2\x82\xAC\xC2\xB2");
  EXPECT_EQ(cp1252_to_utf8("\x9F"), "\xC5\xB8");  // Y with diaeresis
}

TEST(Cp1252Characters, LookupBothWays) {
  EXPECT_EQ(cp1252_to_unicode(0x80), U'\u20AC');
  EXPECT_EQ(cp1252_to_unicode(0x8D), U'\u008D');
  EXPECT_EQ(cp1252_to_unicode(0xE4), U'\u00E4');
  EXPECT_EQ(unicode_to_cp1252(U'\u2122'), 0x99);
  EXPECT_EQ(unicode_to_cp1252(U'\u0100'), -1);
  EXPECT_EQ(unicode_to_cp1252(U'\u0080'), -1);  // C1 control 0x80 has no byte: 0x80 is the euro
}

}  // namespace
}  // namespace kv

// Windows-1252 <-> UTF-8. Malformed UTF-8 is replaced per maximal ill-formed
// subpart (one replacement for a truncated sequence, one for each stray byte),
// the way Unicode recommends for decoders.
#include "expr/cp1252.h"

#include <cstdint>

namespace kv {
namespace {

// Unicode characters of the bytes 0x80..0x9F; the unassigned bytes map to the
// C1 control of the same number.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool in(uint8_t b, uint8_t lo, uint8_t hi) { return b >= lo && b <= hi; }

// Decodes one character at s[i]. Returns the number of bytes consumed (at
// least 1) and sets cp, or -1 into cp for a malformed sequence.
size_t decode_utf8(std::string_view s, size_t i, int32_t& cp) {
  uint8_t b0 = static_cast<uint8_t>(s[i]);
  cp = -1;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  int need;
  uint8_t lo = 0x80, hi = 0xBF;  // range of the second byte
  if (in(b0, 0xC2, 0xDF)) {
    need = 1;
  } else if (in(b0, 0xE0, 0xEF)) {
    need = 2;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;  // no surrogates
  } else if (in(b0, 0xF0, 0xF4)) {
    need = 3;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 1;
  }
  int32_t value = b0 & (0x3F >> need);
  size_t n = 1;
  for (int k = 0; k < need; ++k, ++n) {
    if (i + n >= s.size()) return n;
    uint8_t b = static_cast<uint8_t>(s[i + n]);
    if (k == 0 ? !in(b, lo, hi) : !in(b, 0x80, 0xBF)) return n;
    value = (value << 6) | (b & 0x3F);
  }
  cp = value;
  return n;
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    // Windows-1252 reaches no further than the Basic Multilingual Plane.
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

char32_t cp1252_to_unicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

int unicode_to_cp1252(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<int>(code_point);
  }
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == code_point) return 0x80 + i;
  }
  return -1;
}

std::string utf8_to_cp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    int32_t cp;
    i += decode_utf8(utf8, i, cp);
    int byte = cp < 0 ? -1 : unicode_to_cp1252(static_cast<char32_t>(cp));
    out += byte < 0 ? kCp1252Replacement : static_cast<char>(byte);
  }
  return out;
}

std::string cp1252_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char c : text) append_utf8(out, cp1252_to_unicode(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace kv

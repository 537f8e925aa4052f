// Windows-1252 text, the character set the compiler and the stored texts use,
// and its conversion from and to UTF-8 (the command line, the GUI toolkit).
//
// Every byte 0x00..0xFF maps to one Unicode character: the 27 printable
// characters of 0x80..0x9F to their Unicode counterparts (0x80 is the euro
// sign), the five unassigned bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D to the C1
// control characters of the same number, and all other bytes to the character
// of the same number. So Windows-1252 -> UTF-8 -> Windows-1252 gives back
// every text unchanged.
//
// A character Windows-1252 cannot represent, and each malformed UTF-8
// sequence, becomes kCp1252Replacement: the compiler rejects that byte with
// its message for an invalid expression, so nothing is dropped unnoticed.
#pragma once

#include <string>
#include <string_view>

namespace kv {

inline constexpr char kCp1252Replacement = '?';

// The Unicode character of a Windows-1252 byte.
char32_t cp1252_to_unicode(unsigned char byte);
// The Windows-1252 byte of a Unicode character, or -1 when it has none.
int unicode_to_cp1252(char32_t code_point);

std::string utf8_to_cp1252(std::string_view utf8);
std::string cp1252_to_utf8(std::string_view text);

}  // namespace kv

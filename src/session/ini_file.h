// The settings file: sections in square brackets and key=value lines, read
// and rewritten without disturbing what the program does not know.
//
// Reading:
//   - A line is cut at "\n"; "\r" before it are dropped, so CR LF files read
//     like LF files. The last line needs no line end.
//   - "[name]" (blanks allowed around it, the "]" optional) starts a section;
//     "key=value" is a key line; anything else (blank lines, ";" comments,
//     lines without "=", lines before the first section) is kept as it is
//     but never found.
//   - Key and value lose the white space around them; a value in matching
//     double quotes loses the quotes. Values are read whole, however long;
//     get cuts a value at a NUL byte, as a C string would end there.
//   - Lookup is case-insensitive for ASCII letters. Of sections with the same
//     name only the first counts, and in it the first line of a key.
//   - Any bytes parse, in time linear in their size.
//
// Writing (set, then text):
//   - Lines come back in their order and, where not changed, byte for byte.
//     The line end is that of the first line read (CR LF or LF).
//   - Setting a key whose value is already that text changes nothing; another
//     value rewrites the line as key=value with the key spelt as in the file.
//     A new key goes after the last key of its section, a new section at the
//     end after a blank line.
//   - A value that would not read back as written (white space at either end,
//     matching outer quotes) is written in double quotes. Line breaks and NUL
//     bytes, which the format cannot hold, are written as blanks.
//   - Section and key names are the program's own and must be one line
//     without "]" or "=".
//
// Files: read_ini_file reports a missing file apart from one it cannot read
// at all (no permission, not a regular file: nothing is parsed) and one it
// reads only in part (longer than kIniMaxBytes or kIniMaxLines lines: the
// whole lines before the limit are parsed). A FIFO at the path does not
// block. write_ini_file creates missing folders of the path and replaces the
// file through write_file_replacing, so a failed write leaves the old file as
// it was; a path that is there but not a regular file is never written. It
// returns false on failure.
#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kv {

// Bounds that keep a stray huge file from costing memory: bytes read (room
// for values of a few hundred thousand characters, which are read whole)
// and lines kept (about 100 bytes each; a file with every key has about 150).
inline constexpr size_t kIniMaxBytes = size_t{4} << 20;
inline constexpr size_t kIniMaxLines = 65536;

class IniFile {
 public:
  IniFile() = default;
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;
  IniFile(IniFile&&) = default;
  IniFile& operator=(IniFile&&) = default;

  // Replaces the contents by the lines of bytes, at most kIniMaxLines of
  // them; false when lines were left out.
  bool parse(std::string_view bytes);
  bool get(std::string_view section, std::string_view key, std::string& value) const;
  void set(std::string_view section, std::string_view key, std::string_view value);
  std::string text() const;

 private:
  struct Line {
    std::string raw;  // without the line end
    size_t key_begin = 0, key_size = 0;  // key_size 0: not a key line
    size_t value_begin = 0, value_size = 0;
    std::string_view key() const { return std::string_view(raw).substr(key_begin, key_size); }
    std::string_view value() const { return std::string_view(raw).substr(value_begin, value_size); }
  };
  using LineIt = std::list<Line>::iterator;

  std::list<Line> lines_;
  // Folded section name: the line after which a new key of it goes.
  std::unordered_map<std::string, LineIt> sections_;
  // Folded section name, "\n", folded key: its line.
  std::unordered_map<std::string, LineIt> keys_;
  bool crlf_ = false;
};

enum class IniRead { Ok, Missing, Partial, Failed };

IniRead read_ini_file(const std::string& path, IniFile& file, std::string* bytes = nullptr);
bool write_ini_file(const std::string& path, const IniFile& file);

}  // namespace kv

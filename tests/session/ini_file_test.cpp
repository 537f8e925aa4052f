// The settings file format: lookup rules, and rewriting that keeps what the
// program does not know.
#include "session/ini_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "session_test_support.h"

namespace kv {
namespace {

using namespace std::string_literals;

std::string value_of(const IniFile& file, const char* section, const char* key) {
  std::string v;
  return file.get(section, key, v) ? v : "<none>";
}

TEST(IniFile, LookupIgnoresCaseBlanksAndMatchingQuotes) {
  IniFile f;
  f.parse("stray=1\n"
          "\xEF\xBB\xBF[Window]\r\n"  // not the first line: the mark is part of the name
          "[ window ] trailing\n"
          "  pos = 1,2 \t\n"
          "Pos=first wins\n"
          "; Tooltips=0\n"
          "=no key\n"
          "[UserPrefs]\n"
          "Alert SaveFile=0\n"
          "q1=\"  a \"\n"
          "q2=\"\n"
          "q3=\"x\"y\n"
          "nul=ab\0cd\n"
          "[WINDOW]\n"
          "Surface=2\n"
          "[Last]\n"
          "k=no line end"s);
  EXPECT_EQ(value_of(f, "WINDOW", "POS"), "1,2");
  EXPECT_EQ(value_of(f, "userprefs", "alert savefile"), "0");
  EXPECT_EQ(value_of(f, "UserPrefs", "q1"), "  a ");
  EXPECT_EQ(value_of(f, "UserPrefs", "q2"), "\"");
  EXPECT_EQ(value_of(f, "UserPrefs", "q3"), "\"x\"y");
  EXPECT_EQ(value_of(f, "UserPrefs", "nul"), "ab");
  EXPECT_EQ(value_of(f, "Last", "k"), "no line end");
  // Not found: keys before any section, comments, a second section of a name.
  EXPECT_EQ(value_of(f, "", "stray"), "<none>");
  EXPECT_EQ(value_of(f, "Window", "; Tooltips"), "<none>");
  EXPECT_EQ(value_of(f, "Window", "Surface"), "<none>");

  IniFile bom;
  bom.parse("\xEF\xBB\xBF[Window]\nSurface=1\n");
  EXPECT_EQ(value_of(bom, "Window", "Surface"), "1");
}

TEST(IniFile, LongValuesAndGarbageReadWhole) {
  const std::string long_value(5000, 'v');
  IniFile f;
  f.parse("[S]\nk=" + long_value + "\n" + std::string(100000, '[') + "\n\r\r\n=\n[\n]\n");
  EXPECT_EQ(value_of(f, "S", "k"), long_value);
  std::string garbage;
  for (int i = 0; i < 256 * 64; ++i) garbage += static_cast<char>(i * 7919 % 256);
  // A rewritten file reads back line for line, whatever it was.
  for (const std::string& bytes : {garbage, "a\nb\r\r\nc"s, "\r\r\nx\r"s}) {
    f.parse(bytes);
    IniFile again;
    again.parse(f.text());
    EXPECT_EQ(again.text(), f.text());
  }
}

TEST(IniFile, RewriteKeepsUnknownLinesSpellingOrderAndLineEnds) {
  const std::string original =
      "; Kurvaline\r\n"
      "[UserPrefs Function]\r\n"
      "GRID = 1\r\n"
      "Unknown=5\r\n"
      "lineWidth=2\r\n"
      "; after the keys\r\n"
      "\r\n"
      "[Other]\r\n"
      "x=1";
  IniFile f;
  f.parse(original);
  f.set("userprefs function", "Grid", "1");  // same value: line untouched
  f.set("UserPrefs Function", "LineWidth", "3");
  f.set("UserPrefs Function", "Axes", "0");  // new key after the last key
  f.set("Window", "Pos", "1,2,3,4");         // new section at the end
  EXPECT_EQ(f.text(),
            "; Kurvaline\r\n"
            "[UserPrefs Function]\r\n"
            "GRID = 1\r\n"
            "Unknown=5\r\n"
            "lineWidth=3\r\n"
            "Axes=0\r\n"
            "; after the keys\r\n"
            "\r\n"
            "[Other]\r\n"
            "x=1\r\n"
            "\r\n"
            "[Window]\r\n"
            "Pos=1,2,3,4\r\n");
  // The inserted key is found, and a second one goes after it.
  f.set("UserPrefs Function", "axes", "1");
  f.set("UserPrefs Function", "Border", "0");
  IniFile again;
  again.parse(f.text());
  EXPECT_EQ(value_of(again, "UserPrefs Function", "Axes"), "1");
  EXPECT_NE(f.text().find("Axes=1\r\nBorder=0\r\n; after"), std::string::npos);
}

TEST(IniFile, ValuesThatWouldNotReadBackAreQuotedOrFlattened) {
  IniFile f;
  for (const char* v : {" lead", "trail\t", "\"q\"", "", "\"", "a=b;c"}) {
    f.set("S", "k", v);
    IniFile again;
    again.parse(f.text());
    EXPECT_EQ(value_of(again, "S", "k"), v);
  }
  f.set("S", "k", "x\r\n[Window]\0y"s);
  IniFile again;
  again.parse(f.text());
  EXPECT_EQ(value_of(again, "S", "k"), "x  [Window] y");
  EXPECT_EQ(value_of(again, "Window", "k"), "<none>");
}

TEST(IniFile, FilesThatCannotBeReadAreToldApartFromMissingOnes) {
  TempDir dir;
  IniFile f;
  EXPECT_EQ(read_ini_file(dir.path + "/none.ini", f), IniRead::Missing);
  EXPECT_EQ(read_ini_file(dir.path + "/none/x.ini", f), IniRead::Missing);
  EXPECT_EQ(read_ini_file(dir.path, f), IniRead::Failed);  // a folder
  const std::string fifo = dir.path + "/fifo.ini";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(read_ini_file(fifo, f), IniRead::Failed);  // and does not wait for a writer

  const std::string largest = dir.path + "/largest.ini";
  write_text(largest, "[S]\nk=1\n" + std::string(kIniMaxBytes - 8, ';'));
  EXPECT_EQ(read_ini_file(largest, f), IniRead::Ok);
  EXPECT_EQ(value_of(f, "S", "k"), "1");
  // One byte more: read in part, the whole lines before the limit count.
  write_text(largest, "[S]\nk=1\n" + std::string(kIniMaxBytes - 7, ';'));
  EXPECT_EQ(read_ini_file(largest, f), IniRead::Partial);
  EXPECT_EQ(value_of(f, "S", "k"), "1");

  std::string lines = "[S]\n";
  for (size_t i = 1; i < kIniMaxLines; ++i) lines += "k" + std::to_string(i) + "=v\n";
  write_text(largest, lines);
  EXPECT_EQ(read_ini_file(largest, f), IniRead::Ok);
  EXPECT_EQ(value_of(f, "S", "k65535"), "v");
  write_text(largest, lines + "last=v\n");
  EXPECT_EQ(read_ini_file(largest, f), IniRead::Partial);
  EXPECT_EQ(value_of(f, "S", "k65535"), "v");
  EXPECT_EQ(value_of(f, "S", "last"), "<none>");

  // What is not a regular file is never written either.
  f.set("S", "k", "v");
  EXPECT_FALSE(write_ini_file(fifo, f));
  EXPECT_FALSE(write_ini_file(dir.path, f));
  struct stat st;
  EXPECT_TRUE(stat(fifo.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
}

TEST(IniFile, WriteCreatesMissingFolders) {
  TempDir dir;
  IniFile f;
  f.set("S", "k", "v");
  const std::string path = dir.path + "/a/b/kurvaline.ini";
  ASSERT_TRUE(write_ini_file(path, f));
  EXPECT_EQ(read_text(path), "[S]\nk=v\n");
  EXPECT_FALSE(write_ini_file("", f));
}

}  // namespace
}  // namespace kv

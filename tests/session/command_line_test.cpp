#include "session/command_line.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

std::string scan(std::string_view text) {
  std::string path = "<none>";
  return scan_document_path(text, path) ? path : "<none>";
}

TEST(CommandLine, WordsCountOnlyAtTheStartOrAfterABlank) {
  EXPECT_EQ(scan("-x \"C:\\my docs\\a.kvl\""), "C:\\my docs\\a.kvl");
  EXPECT_EQ(scan("-x /p --force"), "<none>");
  EXPECT_EQ(scan("-x/tmp/a.kvl"), "<none>");  // glued to an option word
  EXPECT_EQ(scan("a.kvl b.kvl"), "a.kvl");
  EXPECT_EQ(scan("  \"\" b"), "b");           // an empty quoted word is no path
  EXPECT_EQ(scan("\"open end"), "open end");  // no closing quote: to the end
  EXPECT_EQ(scan(""), "<none>");
}

TEST(CommandLine, PathLengthLimitIsCountedInCharacters) {
  const std::string longest(260, 'a');
  EXPECT_EQ(scan(longest), longest);
  EXPECT_EQ(scan(std::string(261, 'a') + " b.kvl"), "b.kvl");  // too long: skipped, scan goes on
  std::string umlauts;
  for (int i = 0; i < 260; ++i) umlauts += "ä";
  EXPECT_EQ(scan(umlauts), umlauts);
  EXPECT_EQ(scan("\"" + umlauts + "ä\""), "<none>");
}

TEST(CommandLine, JoinedArgumentsKeepBlanksAndAbsolutePaths) {
  const char* argv[] = {"kurvaline", "-v", "-o x", "/tmp/a b.kvl", "c.kvl", "q\"uote"};
  EXPECT_EQ(join_arguments(6, argv), "-v - \"/tmp/a b.kvl\" \"c.kvl\"");
  std::string path;
  ASSERT_TRUE(document_path_from_args(6, argv, path));
  EXPECT_EQ(path, "/tmp/a b.kvl");
  const char* plain[] = {"kurvaline", "/tmp/a.kvl"};
  ASSERT_TRUE(document_path_from_args(2, plain, path));
  EXPECT_EQ(path, "/tmp/a.kvl");
  EXPECT_FALSE(document_path_from_args(1, argv, path));
}

}  // namespace
}  // namespace kv

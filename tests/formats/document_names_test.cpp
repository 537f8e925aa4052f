#include "formats/document_names.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(DocumentNames, ProposalAppendsTheExtensionUnlessTheNameEndsInIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "unbenannt.kvl"},        {"graph", "graph.kvl"},
      {"graph.kvl", "graph.kvl"},   {"GRAPH.KVL", "GRAPH.KVL"},
      {"a.Kvl", "a.Kvl"},           {"a.txt", "a.txt.kvl"},
      {"a.kvl.bak", "a.kvl.bak.kvl"}, {"a.kvlx", "a.kvlx.kvl"},
      {"a.", "a..kvl"},             {"/home/x.d/kvl", "/home/x.d/kvl.kvl"},
      {".kvl", ".kvl"},
  };
  for (auto [path, proposed] : cases) EXPECT_EQ(propose_document_path(path), proposed) << path;
}

TEST(DocumentNames, FileTitle) {
  EXPECT_EQ(file_title_of("/home/u/kurven/a.kvl"), "a.kvl");
  EXPECT_EQ(file_title_of("a.kvl"), "a.kvl");
  EXPECT_EQ(file_title_of("/dir/"), "");
}

TEST(DocumentNames, SaveQuestion) {
  EXPECT_TRUE(save_question_needed(true, true));
  EXPECT_FALSE(save_question_needed(true, false));
  EXPECT_FALSE(save_question_needed(false, true));
}

}  // namespace
}  // namespace kv

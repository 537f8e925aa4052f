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

TEST(DocumentNames, FileTitleAndWindowTitle) {
  EXPECT_EQ(file_title_of("/home/u/kurven/a.kvl"), "a.kvl");
  EXPECT_EQ(file_title_of("a.kvl"), "a.kvl");
  EXPECT_EQ(file_title_of("/dir/"), "");
  EXPECT_EQ(window_title(""), "Kurvaline");
  EXPECT_EQ(window_title("a.kvl"), "Kurvaline - a.kvl");
}

TEST(DocumentNames, ModifiedMarkAndSaveQuestion) {
  PanelRecord panel;
  EXPECT_FALSE(stored_modified_flag(true, panel));  // nothing compiled
  panel.formulas.push_back(std::make_unique<CompiledFormula>());
  EXPECT_TRUE(stored_modified_flag(true, panel));
  EXPECT_FALSE(stored_modified_flag(false, panel));
  panel.error.report(kMsgNone, 510);
  EXPECT_FALSE(stored_modified_flag(true, panel));

  EXPECT_TRUE(save_question_needed(true, true));
  EXPECT_FALSE(save_question_needed(true, false));
  EXPECT_FALSE(save_question_needed(false, true));
}

}  // namespace
}  // namespace kv

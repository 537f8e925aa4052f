#include <gtest/gtest.h>

#include "session/instance_rules.h"

namespace kv {
namespace {

constexpr unsigned kMe = 1000;

TEST(InstanceRules, SocketFolderOnlyTheUsersOwnAndClosed) {
  struct Case {
    PathFacts facts;
    FolderVerdict socket;
    bool runtime;
  };
  const Case cases[] = {
      {{PathKind::Folder, kMe, 0700}, FolderVerdict::Use, true},
      {{PathKind::Folder, kMe, 01700}, FolderVerdict::Use, true},
      {{PathKind::Folder, kMe, 0701}, FolderVerdict::CloseThenUse, true},
      {{PathKind::Folder, kMe, 0770}, FolderVerdict::CloseThenUse, true},
      {{PathKind::Folder, kMe + 1, 0700}, FolderVerdict::Refuse, false},  // after su
      {{PathKind::Folder, 0, 0700}, FolderVerdict::Refuse, false},
      {{PathKind::Link, kMe, 0777}, FolderVerdict::Refuse, false},
      {{PathKind::Other, kMe, 0600}, FolderVerdict::Refuse, false},
      {{PathKind::Missing, kMe, 0}, FolderVerdict::Refuse, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.facts.kind) << " " << c.facts.owner
                                    << " " << std::oct << c.facts.mode);
    EXPECT_EQ(socket_folder_verdict(c.facts, kMe), c.socket);
    EXPECT_EQ(runtime_folder_usable(c.facts, kMe), c.runtime);
  }
}

TEST(InstanceRules, ClosingQuestionAndItsAnswers) {
  EXPECT_FALSE(ask_about_others(false, 3));  // another instance is asking
  EXPECT_FALSE(ask_about_others(true, 0));
  EXPECT_TRUE(ask_about_others(true, 1));
  struct Case {
    MessageResult answer;
    bool close_this, close_others;
  };
  const Case cases[] = {{MessageResult::Yes, true, true},
                        {MessageResult::No, true, false},
                        {MessageResult::Cancel, false, false},
                        {MessageResult::Ok, false, false}};
  for (const Case& c : cases) {
    const OthersAnswer a = others_answer(c.answer);
    EXPECT_EQ(a.close_this, c.close_this) << static_cast<int>(c.answer);
    EXPECT_EQ(a.close_others, c.close_others) << static_cast<int>(c.answer);
  }
}

}  // namespace
}  // namespace kv

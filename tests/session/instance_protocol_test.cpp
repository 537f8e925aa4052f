#include "session/instance_protocol.h"

#include <gtest/gtest.h>

#include "session/instance_question.h"

namespace kv {
namespace {

bool decodes(std::string_view bytes, InstanceMessage& out) { return decode_instance_message(bytes, out); }

TEST(InstanceProtocol, PathLimitSitsAtTheSystemsPathLength) {
  const std::string longest = "/" + std::string(kMaxHandOverPathBytes - 1, 'a');
  InstanceMessage m;
  ASSERT_TRUE(decodes(encode_open_message(longest), m));
  EXPECT_EQ(m.request, InstanceRequest::Open);
  EXPECT_EQ(m.path, longest);
  EXPECT_EQ(encode_open_message(longest + "a"), "");
  EXPECT_FALSE(decodes("O" + longest + "a", m));
  EXPECT_EQ(m.path, longest);  // a refused message leaves the last one alone
}

TEST(InstanceProtocol, OnlyAbsolutePathsAndTheTwoRequestsAreAccepted) {
  InstanceMessage m;
  EXPECT_FALSE(decodes("Orelative.kvl", m));
  EXPECT_FALSE(decodes(std::string("O/a\0b.kvl", 9), m));
  EXPECT_FALSE(decodes("C/a.kvl", m));  // a close request carries nothing
  EXPECT_FALSE(decodes("X/a.kvl", m));
  EXPECT_FALSE(decodes("o/a.kvl", m));
  EXPECT_EQ(encode_open_message("relative.kvl"), "");

  ASSERT_TRUE(decodes("", m));
  EXPECT_EQ(m.request, InstanceRequest::Probe);
  ASSERT_TRUE(decodes("O", m));
  EXPECT_EQ(m.request, InstanceRequest::Open);  // raise the window only
  EXPECT_EQ(m.path, "");
  ASSERT_TRUE(decodes(encode_close_message(), m));
  EXPECT_EQ(m.request, InstanceRequest::Close);
  ASSERT_TRUE(decodes("O/tmp/a b\n\"c\".kvl", m));  // any other byte is part of the path
  EXPECT_EQ(m.path, "/tmp/a b\n\"c\".kvl");
}

TEST(InstanceProtocol, RelativePathsAreResolvedBySender) {
  EXPECT_EQ(absolute_path("a.kvl", "/home/u"), "/home/u/a.kvl");
  EXPECT_EQ(absolute_path("a.kvl", "/"), "/a.kvl");
  EXPECT_EQ(absolute_path("/x/a.kvl", "/home/u"), "/x/a.kvl");
  EXPECT_EQ(absolute_path("", "/home/u"), "");
}

TEST(InstanceProtocol, FolderIsPerUserAndIgnoresARelativeRuntimeDir) {
  EXPECT_EQ(instance_folder_path("/run/user/1000/", 1000), "/run/user/1000/kurvaline-1000");
  EXPECT_EQ(instance_folder_path("run", 1000), "/tmp/kurvaline-1000");
  EXPECT_EQ(instance_folder_path(nullptr, 0), "/tmp/kurvaline-0");
}

TEST(InstanceQuestion, OneInstanceSingularSeveralPlural) {
  EXPECT_EQ(other_instances_question(1),
            "Es läuft noch 1 weitere Kurvaline-Instanz.\nEbenfalls schließen?");
  EXPECT_EQ(other_instances_question(3),
            "Es laufen noch 3 weitere Kurvaline-Instanzen.\nEbenfalls schließen?");
}

}  // namespace
}  // namespace kv

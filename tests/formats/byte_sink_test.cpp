#include "formats/byte_sink.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace kv {
namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool save_text(const fs::path& path, const std::string& text, SaveWait wait = SaveWait::Never) {
  return write_file_replacing(
      path.string(), [&](ByteSink& sink) { return sink.write(text.data(), text.size()); }, wait);
}

struct MethodCase {
  const char* what;
  SaveTargetFacts facts;
  SaveMethod want;
};

// The facts are what stat and access(W_OK) report, so each case stands for
// every user: "0444 as root" is a 0444 file whose access check succeeds.
TEST(SaveMethod, RefusesWhatTheUserMayNotWriteAndKeepsLinksAndReadOnlyFolders) {
  using M = SaveMethod;
  const MethodCase cases[] = {
      {"plain file", {true, false, true, true, true, 1}, M::Replace},
      {"missing file", {false, false, false, false, true, 1}, M::Replace},
      {"missing file, read-only folder", {false, false, false, false, false, 1}, M::Refuse},
      {"0444 file, normal user", {true, false, true, false, true, 1}, M::Refuse},
      {"0444 file, root", {true, false, true, true, true, 1}, M::Replace},
      {"0444 file, read-only folder", {true, false, true, false, false, 1}, M::Refuse},
      {"read-only folder", {true, false, true, true, false, 1}, M::InPlace},
      {"second hard link", {true, false, true, true, true, 2}, M::InPlace},
      {"second hard link, 0444", {true, false, true, false, true, 2}, M::Refuse},
      {"directory", {true, true, false, true, true, 2}, M::Refuse},
      {"fifo", {true, false, false, true, true, 1}, M::InPlace},
      {"fifo without write permission", {true, false, false, false, true, 1}, M::Refuse},
  };
  for (const MethodCase& c : cases) EXPECT_EQ(choose_save_method(c.facts), c.want) << c.what;
}

class ByteSinkFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kv_sink_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
};

// The window saves with SaveWait::Never: a FIFO nobody reads fails at once,
// one whose reader stops taking fails after a second, and a reader that goes
// away fails the save without SIGPIPE ending the program.
TEST_F(ByteSinkFile, FifoNeverMakesTheWindowWait) {
  const fs::path fifo = dir_ / "pipe.kvl";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(save_text(fifo, "document"));
  EXPECT_TRUE(fs::is_fifo(fifo));

  const int stalled = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(stalled, 0);
  EXPECT_FALSE(save_text(fifo, std::string(1 << 20, 'x')));  // more than the pipe holds
  ::close(stalled);

  int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const std::string big(1 << 17, 'y');  // beyond the sink's buffer: written inside produce
  EXPECT_FALSE(write_file_replacing(fifo.string(), [&](ByteSink& sink) {
    ::close(reader);
    return sink.write(big.data(), big.size());
  }));
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// The command line may wait for a reader that comes later.
TEST_F(ByteSinkFile, FifoMayBlockWaitsForAReader) {
  const fs::path fifo = dir_ / "pipe.gif";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string got;
  std::thread reader([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    got = read_file(fifo);
  });
  EXPECT_TRUE(save_text(fifo, "picture", SaveWait::MayBlock));
  reader.join();
  EXPECT_EQ(got, "picture");
}

// Root may write any file, so the permission cases run as a normal user: as
// this one when it is not root, else in a child that became "nobody". The
// first failed check comes back as text.
std::string permission_checks() {
  char tmpl[] = "/tmp/kv_perm_XXXXXX";
  if (::mkdtemp(tmpl) == nullptr) return "no temporary folder";
  const fs::path dir = tmpl;
  std::string failed;
  auto check = [&](bool ok, const char* what) {
    if (!ok && failed.empty()) failed = what;
  };
  const fs::path ro = dir / "ro.kvl";
  std::ofstream(ro) << "old";
  ::chmod(ro.c_str(), 0444);
  check(!save_text(ro, "new"), "a 0444 file was saved");
  check(read_file(ro) == "old", "a 0444 file changed");

  const fs::path a = dir / "a.kvl", b = dir / "b.kvl";
  std::ofstream(a) << "old and long";
  fs::create_hard_link(a, b);
  check(save_text(a, "new"), "a file with a second link was not saved");
  check(read_file(b) == "new", "the second link lost the new contents");

  const fs::path folder = dir / "ro_folder", inside = folder / "w.kvl";
  fs::create_directory(folder);
  std::ofstream(inside) << "old and long";
  ::chmod(folder.c_str(), 0555);
  check(save_text(inside, "new"), "a file in a read-only folder was not saved");
  check(read_file(inside) == "new", "a file in a read-only folder has the wrong contents");
  check(!save_text(folder / "missing.kvl", "new"), "a read-only folder got a new file");
  check(std::distance(fs::directory_iterator(folder), fs::directory_iterator()) == 1,
        "a read-only folder has a leftover");
  ::chmod(folder.c_str(), 0755);
  fs::remove_all(dir);
  return failed;
}

TEST_F(ByteSinkFile, PermissionsLinksAndReadOnlyFoldersOfARealUser) {
  if (::geteuid() != 0) {
    EXPECT_EQ(permission_checks(), "");
    return;
  }
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(out[0]);
    std::string result = "could not become nobody";
    if (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0) {
      result = permission_checks();
    }
    if (::write(out[1], result.data(), result.size()) < 0) std::_Exit(2);
    std::_Exit(0);
  }
  ::close(out[1]);
  std::string result;
  char buffer[256];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) result.append(buffer, n);
  ::close(out[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (result == "could not become nobody") GTEST_SKIP() << result;
  EXPECT_EQ(result, "");
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace kv

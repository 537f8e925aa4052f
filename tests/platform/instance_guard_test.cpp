#include "platform/instance_guard.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "session/instance_protocol.h"
#include "session/instance_question.h"

namespace kv {
namespace {

template <class Done>
bool pump_until(Done done, int ms = 3000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return done();
}

void pump_for(int ms) { pump_until([] { return false; }, ms); }

struct Running {
  explicit Running(const std::string& folder) : guard(folder) {
    guard.set_open_handler([this](const std::string& path) { opened.push_back(path); });
    guard.set_close_handler([this] { ++closes; });
  }
  InstanceGuard guard;
  std::vector<std::string> opened;
  int closes = 0;
};

class InstanceGuardTest : public ::testing::Test {
 protected:
  std::string folder() const { return dir.path().toStdString(); }
  QTemporaryDir dir;
};

TEST_F(InstanceGuardTest, SecondStartHandsItsPathOverOnlyWithOneInstance) {
  Running first(folder());
  ASSERT_FALSE(first.guard.start(true, ""));
  ASSERT_TRUE(first.guard.listening());

  InstanceGuard second(folder());
  EXPECT_TRUE(second.start(true, "rel dir/a.kvl"));
  EXPECT_FALSE(second.listening());
  ASSERT_TRUE(pump_until([&] { return first.opened.size() == 1; }));
  EXPECT_EQ(first.opened[0], QDir::currentPath().toStdString() + "/rel dir/a.kvl");

  InstanceGuard third(folder());
  EXPECT_FALSE(third.start(false, "/tmp/b.kvl"));  // OneInstance off: runs normally
  EXPECT_TRUE(third.listening());
  EXPECT_EQ(first.guard.count_others(), 1);
  pump_for(50);
  EXPECT_EQ(first.opened.size(), 1u);  // probes open nothing
}

TEST_F(InstanceGuardTest, StaleSocketOfACrashedInstanceDoesNotBlock) {
  const std::string stale = folder() + "/kv-1-deadbeef.sock";
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", stale.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(fd);  // bound, never listening, never removed: what a crash leaves
  ASSERT_EQ(::access(stale.c_str(), F_OK), 0);

  InstanceGuard guard(folder());
  EXPECT_FALSE(guard.start(true, "/tmp/a.kvl"));
  EXPECT_TRUE(guard.listening());
  EXPECT_NE(::access(stale.c_str(), F_OK), 0);
}

TEST_F(InstanceGuardTest, SocketIsTheUsersAloneAndGoesWithTheGuard) {
  std::string path;
  {
    InstanceGuard guard(folder());
    ASSERT_FALSE(guard.start(false, ""));
    path = guard.socket_path();
    struct stat st;
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u);  // no one but the user
  }
  EXPECT_NE(::access(path.c_str(), F_OK), 0);
}

TEST_F(InstanceGuardTest, ForeignMessagesBeyondTheLimitAreRefused) {
  Running first(folder());
  ASSERT_FALSE(first.guard.start(false, ""));
  auto send_raw = [&](const std::string& bytes) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(first.guard.socket_path()));
    ASSERT_TRUE(socket.waitForConnected(1000));
    socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(1000)) {
    }
    socket.disconnectFromServer();
  };
  const std::string longest = "/" + std::string(kMaxHandOverPathBytes - 1, 'p');
  send_raw("O" + longest + "p");
  send_raw("O" + std::string(100000, '/'));
  send_raw("Orelative");
  send_raw("O" + longest);
  ASSERT_TRUE(pump_until([&] { return !first.opened.empty(); }));
  pump_for(100);
  ASSERT_EQ(first.opened.size(), 1u);
  EXPECT_EQ(first.opened[0], longest);
}

TEST_F(InstanceGuardTest, YesClosesTheOthersAndOnlyOneInstanceAsks) {
  Running a(folder()), b(folder()), c(folder());
  for (Running* r : {&a, &b, &c}) ASSERT_FALSE(r->guard.start(false, ""));

  std::string asked;
  auto answer = [&](MessageResult result) {
    return [&asked, result](const std::string& text) {
      asked = text;
      return result;
    };
  };
  EXPECT_FALSE(ask_about_other_instances(a.guard, answer(MessageResult::Cancel)));
  EXPECT_EQ(asked, other_instances_question(2));
  {
    const FileLock asking = b.guard.lock_question();
    ASSERT_TRUE(asking.held());
    asked.clear();
    EXPECT_TRUE(ask_about_other_instances(a.guard, answer(MessageResult::Yes)));
    EXPECT_EQ(asked, "");  // someone else is asking: close without asking
  }
  EXPECT_TRUE(ask_about_other_instances(a.guard, answer(MessageResult::Yes)));
  ASSERT_TRUE(pump_until([&] { return b.closes == 1 && c.closes == 1; }));
  EXPECT_EQ(a.closes, 0);
}

}  // namespace
}  // namespace kv

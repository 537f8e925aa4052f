#include "platform/session_bus_warmup.h"

#include <gtest/gtest.h>

#include <QDBusConnection>

namespace kv {
namespace {

// Where nobody answers at the bus address the warm-up still ends, and the
// program's session bus then gives the same answer it would have given.
TEST(SessionBusWarmup, EndsWhereNoBusAnswersAndLeavesTheSameAnswer) {
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kurvaline-test-bus");
  for (int run = 0; run < 3; ++run) {
    const SessionBusWarmup bus;
  }
  EXPECT_FALSE(QDBusConnection::sessionBus().isConnected());
}

}  // namespace
}  // namespace kv

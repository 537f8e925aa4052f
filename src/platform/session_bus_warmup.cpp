// The session bus connected on a second thread; see the header.
#include "platform/session_bus_warmup.h"

#include <QCoreApplication>
#include <QDBusConnection>

namespace kv {

SessionBusWarmup::SessionBusWarmup() {
  // Before the application object the toolkit would warn and the bus would
  // outlive its event loop.
  if (QCoreApplication::instance() == nullptr) return;
  thread_ = std::thread([] { (void)QDBusConnection::sessionBus(); });
}

SessionBusWarmup::~SessionBusWarmup() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace kv

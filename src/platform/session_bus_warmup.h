// The session bus, connected on a thread of its own at start-up.
//
// The first widget that changes asks the accessibility bridge, and the
// bridge waits for the connection to the session bus. Where no bus address
// is set (a bare X server, a remote display) the bus library first tries to
// start a bus with a helper program, and the window waited for that too:
// a fifth of the time to build it. Asked here, right after the toolkit
// starts, the connection (or its failure) is ready when the bridge asks; the
// toolkit keeps one session bus for the whole program, so nothing else
// changes.
//
//   QApplication app(...);
//   SessionBusWarmup bus;     // ends (joins) before the application object
#pragma once

#include <thread>

namespace kv {

class SessionBusWarmup {
 public:
  SessionBusWarmup();
  ~SessionBusWarmup();
  SessionBusWarmup(const SessionBusWarmup&) = delete;
  SessionBusWarmup& operator=(const SessionBusWarmup&) = delete;

 private:
  std::thread thread_;
};

}  // namespace kv

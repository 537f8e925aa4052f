// Running instances of the program find each other through local sockets in
// a folder private to the user (instance_folder_path: in $XDG_RUNTIME_DIR,
// else in /tmp; mode 0700, owned by the user, or it is not used). Each
// instance listens on a socket of its own there; the messages are those of
// session/instance_protocol.h.
//
// Start-up, after OneInstance was read:
//   InstanceGuard guard(InstanceGuard::user_folder());
//   if (guard.start(prefs.one_instance, document_path)) return 0;  // handed over
// With OneInstance on and another instance alive, start hands the document
// path (made absolute) to it and returns true: this start ends. Otherwise it
// starts listening and returns false. A start-up lock file serialises the
// check, so two instances started at once cannot both miss each other.
// Sockets of instances that died without cleaning up refuse connections and
// are removed on the way; they never block a start.
//
// Fallbacks: without a usable folder, or when listening fails, the instance
// runs on its own (it hands nothing over, counts no others and cannot be
// reached). A peer that does not accept within a second counts as absent.
// Messages that are too long, malformed or not finished within five seconds
// are dropped; at most sixteen connections are read at a time.
//
// The handlers run from the event loop, never inside start or a socket
// signal. They may close the window; the guard must outlive the event loop.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "session/shell_host.h"

class QSocketNotifier;

namespace kv {

// An exclusive lock on a file (flock), released when the object goes away or
// the process ends, so a crash never leaves it taken.
class FileLock {
 public:
  FileLock() = default;
  // Tries for up to wait_ms milliseconds; held() tells whether it succeeded.
  static FileLock acquire(const std::string& path, int wait_ms);
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

class InstanceGuard {
 public:
  // The user's instance folder, created when missing; "" when there is no
  // folder that only this user can reach.
  static std::string user_folder();

  explicit InstanceGuard(std::string folder);
  ~InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  // Another instance handed over: raise the window, and with a path (always
  // absolute) run command 4000 with it.
  void set_open_handler(std::function<void(const std::string& path)> handler);
  // Another instance answered Yes to its closing question: end without
  // asking and without saving the settings.
  void set_close_handler(std::function<void()> handler);

  // Returns true when the document was handed to a running instance and this
  // start must end.
  bool start(bool one_instance, const std::string& document_path);
  bool listening() const;
  // This instance's socket file, "" while not listening.
  std::string socket_path() const;

  // The other instances alive now, at most kMaxOtherInstances.
  int count_others();
  // Asks every other instance to end; returns how many were reached.
  int close_others();

  // Held while this instance asks the closing question; not held when
  // another instance is asking right now.
  FileLock lock_question();

 private:
  // Connects to each other instance's socket and sends `message` (nothing
  // for a probe), up to `limit` instances reached; returns the number reached.
  int deliver_to_others(const std::string& message, int limit);
  void listen();
  void accept_connections();
  void dispatch(const std::string& bytes);

  std::string folder_;
  std::string own_name_;
  int listen_fd_ = -1;
  std::unique_ptr<QSocketNotifier> listener_;
  int open_connections_ = 0;
  std::function<void(const std::string&)> on_open_;
  std::function<void()> on_close_;
};

// The closing question, after the save question: returns whether this window
// may close. Without the question lock (another instance is asking) or
// without other instances it closes without asking. Otherwise `ask` shows
// other_instances_question with caption "Kurvaline", the question icon and
// Yes, No, Cancel: Cancel keeps the window, No closes only it, Yes first asks
// the others to end.
bool ask_about_other_instances(InstanceGuard& guard,
                               const std::function<MessageResult(const std::string& text)>& ask);

}  // namespace kv

// Instances finding each other; see the header.
#include "platform/instance_guard.h"

#include <QDir>
#include <QMetaObject>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/qt_boundary.h"
#include "session/instance_protocol.h"
#include "session/instance_question.h"
#include "session/instance_rules.h"

namespace kv {
namespace {

constexpr int kConnectMs = 1000;
constexpr int kSendMs = 2000;
constexpr int kReceiveMs = 5000;
constexpr int kStartLockWaitMs = 3000;
constexpr int kMaxOpenConnections = 16;
// Entries of the folder looked at per scan; the folder holds only our files,
// so this bounds the work if something else fills it.
constexpr int kMaxScannedEntries = 4 * kMaxOtherInstances;

constexpr const char* kSocketPrefix = "kv-";
constexpr const char* kSocketSuffix = ".sock";

// A descriptor closed when it goes.
struct OwnedFd {
  int fd;
  explicit OwnedFd(int f) : fd(f) {}
  ~OwnedFd() {
    if (fd >= 0) ::close(fd);
  }
  OwnedFd(const OwnedFd&) = delete;
  OwnedFd& operator=(const OwnedFd&) = delete;
};

// False when the path does not fit a socket address (108 bytes).
bool socket_address(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

void set_send_timeout(int fd, int ms) {
  const timeval limit{ms / 1000, (ms % 1000) * 1000};
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

bool is_socket_name(std::string_view name) {
  const std::string_view prefix = kSocketPrefix;
  const std::string_view suffix = kSocketSuffix;
  return name.size() > prefix.size() + suffix.size() && name.substr(0, prefix.size()) == prefix &&
         name.substr(name.size() - suffix.size()) == suffix;
}

std::vector<std::string> socket_names(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return names;
  int scanned = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (++scanned > kMaxScannedEntries) break;
    if (is_socket_name(entry->d_name)) names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

std::string fresh_socket_name() {
  std::random_device random;
  char name[64];
  std::snprintf(name, sizeof name, "%s%ld-%08x%s", kSocketPrefix, static_cast<long>(::getpid()),
                static_cast<unsigned>(random()), kSocketSuffix);
  return name;
}

enum class Delivery { Delivered, Stale, Absent };

// One connection, one message, then the connection is closed: closing ends
// the message for the receiver. Plain sockets rather than the toolkit's
// network module, whose libraries alone cost a tenth of a bare window's start.
// The send timeout bounds the connect too (a listener whose queue is full).
Delivery deliver(const std::string& socket_path, const std::string& message) {
  sockaddr_un address;
  if (!socket_address(socket_path, address)) return Delivery::Absent;
  const OwnedFd s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (s.fd < 0) return Delivery::Absent;
  set_send_timeout(s.fd, kConnectMs);
  if (::connect(s.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return errno == ECONNREFUSED ? Delivery::Stale : Delivery::Absent;
  }
  set_send_timeout(s.fd, kSendMs);
  size_t sent = 0;
  while (sent < message.size()) {
    const ssize_t n = ::send(s.fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Delivery::Absent;
    sent += static_cast<size_t>(n);
  }
  return Delivery::Delivered;
}

PathFacts path_facts(const struct stat& st) {
  PathFacts facts;
  facts.kind = S_ISDIR(st.st_mode) ? PathKind::Folder
               : S_ISLNK(st.st_mode) ? PathKind::Link
                                     : PathKind::Other;
  facts.owner = st.st_uid;
  facts.mode = st.st_mode & 07777;
  return facts;
}

bool private_folder(const std::string& path) {
  ::mkdir(path.c_str(), 0700);  // an existing folder is checked below like a new one
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return false;
  switch (socket_folder_verdict(path_facts(st), ::getuid())) {
    case FolderVerdict::Use: return true;
    case FolderVerdict::CloseThenUse: return ::chmod(path.c_str(), 0700) == 0;
    case FolderVerdict::Refuse: break;
  }
  return false;
}

const char* own_runtime_dir() {
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  struct stat st;
  if (dir == nullptr || ::stat(dir, &st) != 0) return nullptr;
  return runtime_folder_usable(path_facts(st), ::getuid()) ? dir : nullptr;
}

}  // namespace

FileLock FileLock::acquire(const std::string& path, int wait_ms) {
  FileLock lock;
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return lock;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
      ::close(fd);
      return lock;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  lock.fd_ = fd;
  return lock;
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);
}

std::string InstanceGuard::user_folder() {
  const std::string folder = instance_folder_path(own_runtime_dir(), ::getuid());
  return private_folder(folder) ? folder : std::string();
}

InstanceGuard::InstanceGuard(std::string folder) : folder_(std::move(folder)) {}

InstanceGuard::~InstanceGuard() {
  listener_.reset();  // and with it the connections still open
  if (listen_fd_ >= 0) {
    ::close(listen_fd_);
    ::unlink((folder_ + "/" + own_name_).c_str());
  }
}

void InstanceGuard::set_open_handler(std::function<void(const std::string&)> handler) {
  on_open_ = std::move(handler);
}

void InstanceGuard::set_close_handler(std::function<void()> handler) { on_close_ = std::move(handler); }

bool InstanceGuard::start(bool one_instance, const std::string& document_path) {
  if (folder_.empty()) return false;
  // Not held after the wait (a stopped instance holds it): start anyway.
  const FileLock lock = FileLock::acquire(folder_ + "/start.lock", kStartLockWaitMs);
  if (one_instance) {
    std::string message = encode_open_message(absolute_path(document_path, QDir::currentPath().toStdString()));
    if (message.empty()) message = encode_open_message("");  // a path no one could open: only raise
    if (deliver_to_others(message, 1) > 0) return true;
  }
  listen();
  return false;
}

bool InstanceGuard::listening() const { return listen_fd_ >= 0; }

std::string InstanceGuard::socket_path() const {
  return listening() ? folder_ + "/" + own_name_ : std::string();
}

int InstanceGuard::count_others() { return deliver_to_others(std::string(), kMaxOtherInstances); }

int InstanceGuard::close_others() { return deliver_to_others(encode_close_message(), kMaxOtherInstances); }

FileLock InstanceGuard::lock_question() {
  if (folder_.empty()) return FileLock();
  return FileLock::acquire(folder_ + "/question.lock", 0);
}

int InstanceGuard::deliver_to_others(const std::string& message, int limit) {
  if (folder_.empty()) return 0;
  int reached = 0;
  for (const std::string& name : socket_names(folder_)) {
    if (reached >= limit) break;
    if (name == own_name_) continue;
    const std::string path = folder_ + "/" + name;
    switch (deliver(path, message)) {
      case Delivery::Delivered: ++reached; break;
      case Delivery::Stale: ::unlink(path.c_str()); break;  // left by an instance that died
      case Delivery::Absent: break;
    }
  }
  return reached;
}

void InstanceGuard::listen() {
  const std::string name = fresh_socket_name();
  const std::string path = folder_ + "/" + name;
  sockaddr_un address;
  if (!socket_address(path, address)) return;
  OwnedFd s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (s.fd < 0) return;
  if (::bind(s.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return;
  // The folder is the user's alone already; the socket is too.
  if (::chmod(path.c_str(), 0600) != 0 || ::listen(s.fd, SOMAXCONN) != 0) {
    ::unlink(path.c_str());
    return;
  }
  own_name_ = name;
  listen_fd_ = std::exchange(s.fd, -1);
  listener_ = std::make_unique<QSocketNotifier>(listen_fd_, QSocketNotifier::Read);
  QObject::connect(listener_.get(), &QSocketNotifier::activated, listener_.get(),
                   [this] { accept_connections(); });
}

void InstanceGuard::accept_connections() {
  struct Incoming {
    explicit Incoming(int fd) : socket(fd) {}
    OwnedFd socket;
    std::string bytes;
    bool finished = false;
  };
  for (;;) {
    const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0 && errno == EINTR) continue;
    if (fd < 0) return;  // none waiting any more
    if (open_connections_ >= kMaxOpenConnections) {
      ::close(fd);
      continue;
    }
    ++open_connections_;
    auto in = std::make_shared<Incoming>(fd);
    // Owned by the listener: it goes with the guard at the latest, and the
    // descriptor with the last handler that holds `in`.
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, listener_.get());
    auto finish = [this, notifier, in](bool refused) {
      if (in->finished) return;
      in->finished = true;
      --open_connections_;
      notifier->setEnabled(false);
      if (!refused) dispatch(in->bytes);
      notifier->deleteLater();
    };
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [in, finish] {
      char buffer[1024];
      for (;;) {
        const ssize_t n = ::read(in->socket.fd, buffer, sizeof buffer);
        if (n > 0) {
          in->bytes.append(buffer, static_cast<size_t>(n));
          if (in->bytes.size() > kMaxInstanceMessageBytes) return finish(true);
        } else if (n == 0) {
          return finish(false);  // the sender closed: the message is whole
        } else if (errno != EINTR) {
          if (errno != EAGAIN && errno != EWOULDBLOCK) finish(true);
          return;
        }
      }
    });
    QTimer::singleShot(kReceiveMs, notifier, [finish] { finish(true); });
  }
}

void InstanceGuard::dispatch(const std::string& bytes) {
  InstanceMessage message;
  if (!decode_instance_message(bytes, message)) return;
  // Queued, so a handler that opens a document or closes the window runs from
  // the event loop and not inside a socket's signal.
  switch (message.request) {
    case InstanceRequest::Probe: break;
    case InstanceRequest::Open:
      QMetaObject::invokeMethod(
          listener_.get(), [this, path = message.path] { if (on_open_) on_open_(path); },
          Qt::QueuedConnection);
      break;
    case InstanceRequest::Close:
      QMetaObject::invokeMethod(listener_.get(), [this] { if (on_close_) on_close_(); },
                                Qt::QueuedConnection);
      break;
  }
}

bool ask_about_other_instances(InstanceGuard& guard,
                               const std::function<MessageResult(const std::string&)>& ask) {
  const FileLock lock = guard.lock_question();
  // Counting sends each other instance a probe: only when the question may come.
  const int others = lock.held() ? guard.count_others() : 0;
  if (!ask_about_others(lock.held(), others)) return true;
  const OthersAnswer answer = others_answer(ask(other_instances_question(others)));
  if (answer.close_others) guard.close_others();
  return answer.close_this;
}

}  // namespace kv

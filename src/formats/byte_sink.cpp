// The file side of the byte sinks: a buffered writer on a temporary file that
// replaces the target only after everything reached the disk.
//
// Order of a successful save: create ".kurvaline-<random>" with O_EXCL in the
// target's directory (same file system, so rename is atomic), write, fsync,
// close, rename over the target. A crash or failure at any step leaves either
// the old file or the new one, never a mixture or a truncated file.
//
// Only regular files are replaced. A device or FIFO is opened and written
// where it is: renaming over it would swap the node for a plain file (as root
// even /dev/null). Replacing is also wrong for a file the user may not write
// (the rename would succeed in a writable folder and overrule the file's
// permissions) and for a file with other hard links (they would keep the old
// contents); a writable file in a read-only folder cannot be replaced at all.
#include "formats/byte_sink.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {
namespace {

// Large enough that a 1920x1080 bitmap needs about a hundred system calls.
constexpr size_t kFileBufferBytes = 64 * 1024;

// A FIFO opened without blocking may be full; its reader gets this long to
// take something before the save gives up, so the window never hangs on it.
constexpr int kStallMs = 1000;

bool write_all(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN) {
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, kStallMs) > 0) continue;  // room again, or an error to read
      }
      return false;
    }
    if (n == 0) return false;  // no progress: treat like a full disk
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Owns the descriptor of the temporary file; once failed, stays failed.
class FileSink final : public ByteSink {
 public:
  explicit FileSink(int fd) : fd_(fd) { buffer_.reserve(kFileBufferBytes); }
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;
  ~FileSink() override {
    if (fd_ >= 0) ::close(fd_);
  }

  bool write(const void* data, size_t size) override {
    if (!ok_) return false;
    const auto* p = static_cast<const uint8_t*>(data);
    if (buffer_.size() + size > kFileBufferBytes) {
      if (!flush()) return false;
      if (size >= kFileBufferBytes) return ok_ = write_all(fd_, p, size);
    }
    buffer_.insert(buffer_.end(), p, p + size);
    return true;
  }

  // Flushes, cuts the file to what was written (cut: a regular file written
  // in place), syncs (sync false: devices and FIFOs, which refuse fsync) and
  // closes; true only if all of it worked.
  bool finish(bool sync = true, bool cut = false) {
    if (!flush()) return false;
    if (cut) {
      const off_t end = ::lseek(fd_, 0, SEEK_CUR);
      if (end < 0 || ::ftruncate(fd_, end) != 0) ok_ = false;
    }
    if (sync && ::fsync(fd_) != 0) ok_ = false;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) ok_ = false;
    return ok_;
  }

 private:
  bool flush() {
    if (ok_ && !buffer_.empty()) ok_ = write_all(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok_;
  }

  int fd_;
  bool ok_ = true;
  std::vector<uint8_t> buffer_;
};

// The file a save really writes: symbolic links are followed, so saving
// through a link updates the linked file (or creates it, when the link
// dangles) instead of replacing the link. False for a loop of links.
bool resolve_target(const std::string& path, std::string& target) {
  target = path;
  for (int hops = 0; hops < 40; ++hops) {  // the kernel's own bound
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    char link[PATH_MAX];
    const ssize_t n = ::readlink(target.c_str(), link, sizeof link);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof link) return false;
    if (link[0] == '/') {
      target.assign(link, static_cast<size_t>(n));
    } else {
      const size_t slash = target.rfind('/');
      target = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
               std::string(link, static_cast<size_t>(n));
    }
  }
  return false;
}

// Writing into a FIFO whose reader went away raises SIGPIPE, which would end
// the program. While a guard lives the signal is blocked for this thread, and
// one raised by our own write is taken back before the old mask returns; the
// write itself fails with EPIPE.
class SigpipeGuard {
 public:
  SigpipeGuard() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    was_pending_ = ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    blocked_ = ::pthread_sigmask(SIG_BLOCK, &pipe_, &old_) == 0;
  }
  SigpipeGuard(const SigpipeGuard&) = delete;
  SigpipeGuard& operator=(const SigpipeGuard&) = delete;
  ~SigpipeGuard() {
    if (!blocked_) return;
    sigset_t pending;
    if (!was_pending_ && ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1) {
      const timespec now{0, 0};
      ::sigtimedwait(&pipe_, nullptr, &now);
    }
    ::pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }

 private:
  sigset_t pipe_, old_;
  bool was_pending_ = false, blocked_ = false;
};

// Written where it is, without renaming: a device or FIFO as it is, a
// regular file cut to the new length afterwards.
bool write_in_place(const std::string& target, mode_t mode, SaveWait wait,
                    const std::function<bool(ByteSink&)>& produce) {
  int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
  if (wait == SaveWait::Never && S_ISFIFO(mode)) {
    flags |= O_NONBLOCK;  // no reader: ENXIO at once instead of a wait
  }
  const bool regular = S_ISREG(mode);
  const SigpipeGuard guard;
  const int fd = ::open(target.c_str(), flags);
  if (fd < 0) return false;
  FileSink sink(fd);
  return produce(sink) && sink.finish(regular, regular);
}

std::string folder_of(const std::string& target) {
  const size_t slash = target.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : target.substr(0, slash);
}

SaveTargetFacts gather_facts(const std::string& target, struct stat& st) {
  SaveTargetFacts facts;
  facts.exists = ::stat(target.c_str(), &st) == 0;
  if (facts.exists) {
    facts.directory = S_ISDIR(st.st_mode);
    facts.regular = S_ISREG(st.st_mode);
    facts.links = static_cast<unsigned long>(st.st_nlink);
    facts.writable = ::access(target.c_str(), W_OK) == 0;
  }
  facts.folder_writable = ::access(folder_of(target).c_str(), W_OK | X_OK) == 0;
  return facts;
}

// Creates a fresh temporary file in target's directory; returns its
// descriptor or -1. The name is short and hidden, so a target name near the
// length limit still works and a file manager does not show it. Mode 0666
// lets the umask decide, as for any newly created file; O_EXCL makes a name
// clash a retry instead of a shared file.
int create_temporary(const std::string& target, std::string& temp_path) {
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  const size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::mt19937_64 rng(static_cast<uint64_t>(
      std::chrono::steady_clock::now().time_since_epoch().count() ^ (uint64_t{0} + ::getpid()) << 32));
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_path = dir + ".kurvaline-";
    for (int i = 0; i < 10; ++i) temp_path += kAlphabet[rng() % (sizeof kAlphabet - 1)];
    const int fd = ::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST && errno != EINTR) return -1;
  }
  return -1;
}

}  // namespace

SaveMethod choose_save_method(const SaveTargetFacts& facts) {
  if (!facts.exists) return facts.folder_writable ? SaveMethod::Replace : SaveMethod::Refuse;
  if (facts.directory || !facts.writable) return SaveMethod::Refuse;
  if (!facts.regular || facts.links > 1 || !facts.folder_writable) return SaveMethod::InPlace;
  return SaveMethod::Replace;
}

bool write_file_replacing(const std::string& path,
                          const std::function<bool(ByteSink&)>& produce, SaveWait wait) {
  std::string target;
  if (path.empty() || !resolve_target(path, target)) return false;
  struct stat old_st;
  const SaveTargetFacts facts = gather_facts(target, old_st);
  switch (choose_save_method(facts)) {
    case SaveMethod::Refuse: return false;
    case SaveMethod::InPlace: return write_in_place(target, old_st.st_mode, wait, produce);
    case SaveMethod::Replace: break;
  }
  std::string temp_path;
  const int fd = create_temporary(target, temp_path);
  if (fd < 0) return false;
  if (facts.exists) ::fchmod(fd, old_st.st_mode & 07777);  // best effort, as a copy would be

  FileSink sink(fd);  // closes the descriptor on every path
  const bool ok = produce(sink) && sink.finish() &&
                  ::rename(temp_path.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp_path.c_str());
  return ok;
}

}  // namespace kv

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
// even /dev/null).
#include "formats/byte_sink.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {
namespace {

// Large enough that a 1920x1080 bitmap needs about a hundred system calls.
constexpr size_t kFileBufferBytes = 64 * 1024;

bool write_all(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
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

  // Flushes, syncs (sync false: devices and FIFOs, which refuse fsync) and
  // closes; true only if all of it worked.
  bool finish(bool sync = true) {
    if (!flush()) return false;
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

// A device or FIFO: written in place, without truncation or renaming.
bool write_in_place(const std::string& target, const std::function<bool(ByteSink&)>& produce) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  FileSink sink(fd);
  return produce(sink) && sink.finish(false);
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

bool write_file_replacing(const std::string& path,
                          const std::function<bool(ByteSink&)>& produce) {
  std::string target;
  if (path.empty() || !resolve_target(path, target)) return false;
  struct stat old_st;
  const bool exists = ::stat(target.c_str(), &old_st) == 0;
  if (exists && S_ISDIR(old_st.st_mode)) return false;
  if (exists && !S_ISREG(old_st.st_mode)) return write_in_place(target, produce);

  std::string temp_path;
  const int fd = create_temporary(target, temp_path);
  if (fd < 0) return false;
  if (exists) ::fchmod(fd, old_st.st_mode & 07777);  // best effort, as a copy would be

  FileSink sink(fd);  // closes the descriptor on every path
  const bool ok = produce(sink) && sink.finish() &&
                  ::rename(temp_path.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp_path.c_str());
  return ok;
}

}  // namespace kv

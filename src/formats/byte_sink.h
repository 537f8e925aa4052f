// Where the picture encoders put their bytes.
//
// An encoder writes through a ByteSink and never touches a file itself, so it
// can be tested in memory and the file handling lives in one place.
//
//   ByteSink::write(data, size)  writes all size bytes or returns false. A sink
//                                that failed once may refuse everything after.
//   MemorySink                   appends to a byte vector; never fails.
//   write_file_replacing(path, produce)
//                                runs produce on a sink that writes a new
//                                temporary file in the target's directory. Only
//                                if produce returns true and every write,
//                                fsync and close succeeded is the temporary
//                                file renamed over path; otherwise it is
//                                removed and path is left exactly as it was.
//                                Returns true on success. An existing target
//                                keeps its permission bits; a symbolic link is
//                                followed, so the file it names is replaced
//                                (or created) and the link stays. A target
//                                that is a device or FIFO is not replaced but
//                                opened and written in place (a failed write,
//                                as on /dev/full, returns false); a directory
//                                or a loop of links fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool write(const void* data, size_t size) = 0;
};

class MemorySink final : public ByteSink {
 public:
  bool write(const void* data, size_t size) override {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + size);
    return true;
  }

  std::vector<uint8_t> bytes;
};

bool write_file_replacing(const std::string& path,
                          const std::function<bool(ByteSink&)>& produce);

}  // namespace kv

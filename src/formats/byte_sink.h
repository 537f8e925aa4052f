// Where the picture encoders put their bytes.
//
// An encoder writes through a ByteSink and never touches a file itself, so it
// can be tested in memory and the file handling lives in one place.
//
//   ByteSink::write(data, size)  writes all size bytes or returns false. A sink
//                                that failed once may refuse everything after.
//   MemorySink                   appends to a byte vector; never fails.
//   write_file_replacing(path, produce, wait)
//                                runs produce on a sink that writes a new
//                                temporary file in the target's directory. Only
//                                if produce returns true and every write,
//                                fsync and close succeeded is the temporary
//                                file renamed over path; otherwise it is
//                                removed and path is left exactly as it was.
//                                Returns true on success. An existing target
//                                keeps its permission bits; a symbolic link is
//                                followed, so the file it names is replaced
//                                (or created) and the link stays. How the
//                                target is written is choose_save_method's
//                                decision on its facts:
//                                - a file the user may not write (access
//                                  W_OK fails), a directory, a loop of links
//                                  or a missing file in a folder the user may
//                                  not write fails and touches nothing;
//                                - a regular file with other hard links, or
//                                  in a folder the user may not write, is
//                                  written in place and cut to the new length
//                                  (a failure part way leaves it damaged:
//                                  there is no other way to keep the links);
//                                - a device or FIFO is opened and written in
//                                  place, without truncation (a failed write,
//                                  as on /dev/full, returns false). With
//                                  SaveWait::Never, the default, a FIFO is
//                                  opened without blocking, so one that nobody
//                                  reads fails at once, and a reader that
//                                  takes nothing for a second fails the save;
//                                  SaveWait::MayBlock (the command line) waits
//                                  for the reader as any writer would.
//                                A reader that goes away fails the save
//                                instead of ending the program by SIGPIPE.
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

enum class SaveWait { Never, MayBlock };

bool write_file_replacing(const std::string& path,
                          const std::function<bool(ByteSink&)>& produce,
                          SaveWait wait = SaveWait::Never);

// What a save needs to know of its target, gathered with stat and access
// after symbolic links were followed.
struct SaveTargetFacts {
  bool exists = false;
  bool directory = false;
  bool regular = false;
  bool writable = false;         // access(target, W_OK) == 0: root may write a 0444 file
  bool folder_writable = false;  // access(folder, W_OK | X_OK) == 0
  unsigned long links = 1;       // hard links of an existing target
};

enum class SaveMethod { Refuse, Replace, InPlace };

SaveMethod choose_save_method(const SaveTargetFacts& facts);

}  // namespace kv

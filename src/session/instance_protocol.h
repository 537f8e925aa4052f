// What running instances of the program say to each other over their local
// sockets, and where those sockets live.
//
// Every instance listens on a socket of its own in a folder private to the
// user. A connection carries exactly one message, ended by closing the
// connection:
//   "O" + absolute path   open that document (raise the window first); "O"
//                         alone only raises the window
//   "C"                   end without saving the settings (the answer Yes
//                         to the closing question of another instance)
//   nothing               a probe: the sender only wanted to know that this
//                         instance is alive
// A path is at most kMaxHandOverPathBytes bytes, the system's own limit for a
// path (PATH_MAX with its terminating NUL), holds no NUL and begins with "/":
// the sender resolves a relative path against its own working folder, which
// the receiver does not know. Anything else is refused as a whole: a message
// is only ever a path or one of the two requests, never read as anything
// more. The receiver stops reading at kMaxInstanceMessageBytes + 1 bytes, so
// refusing costs time linear in the limit, not in what a sender pushes.
#pragma once

#include <string>
#include <string_view>

namespace kv {

inline constexpr size_t kMaxHandOverPathBytes = 4095;
inline constexpr size_t kMaxInstanceMessageBytes = 1 + kMaxHandOverPathBytes;
// The closing question counts and closes at most this many other instances.
inline constexpr int kMaxOtherInstances = 500;

enum class InstanceRequest : int { Probe, Open, Close };

struct InstanceMessage {
  InstanceRequest request = InstanceRequest::Probe;
  std::string path;  // Open: the document, "" to raise the window only
};

// False (and `out` untouched) when the bytes are no valid message.
bool decode_instance_message(std::string_view bytes, InstanceMessage& out);

// "" when the path cannot be sent (not absolute, too long, holds a NUL).
std::string encode_open_message(std::string_view absolute_path);
std::string encode_close_message();

// The path as the receiving instance must see it: relative paths joined to
// `working_folder`; "" stays "".
std::string absolute_path(std::string_view path, std::string_view working_folder);

// The folder of the instance sockets: "<XDG_RUNTIME_DIR>/kurvaline-<uid>"
// when the runtime folder is given and absolute, else "/tmp/kurvaline-<uid>".
// Whether the folder may be used (owned by the user, closed to others) is
// checked where it is created.
std::string instance_folder_path(const char* xdg_runtime_dir_env, unsigned uid);

}  // namespace kv

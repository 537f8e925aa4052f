// Messages between instances; see the header.
#include "session/instance_protocol.h"

namespace kv {
namespace {

bool sendable_path(std::string_view path) {
  return !path.empty() && path.size() <= kMaxHandOverPathBytes && path[0] == '/' &&
         path.find('\0') == std::string_view::npos;
}

}  // namespace

bool decode_instance_message(std::string_view bytes, InstanceMessage& out) {
  if (bytes.empty()) {
    out = InstanceMessage{};
    return true;
  }
  if (bytes.size() > kMaxInstanceMessageBytes) return false;
  const std::string_view payload = bytes.substr(1);
  switch (bytes[0]) {
    case 'O':
      if (!payload.empty() && !sendable_path(payload)) return false;
      out.request = InstanceRequest::Open;
      out.path.assign(payload);
      return true;
    case 'C':
      if (!payload.empty()) return false;
      out.request = InstanceRequest::Close;
      out.path.clear();
      return true;
    default:
      return false;
  }
}

std::string encode_open_message(std::string_view absolute_path) {
  if (!absolute_path.empty() && !sendable_path(absolute_path)) return std::string();
  std::string message = "O";
  message += absolute_path;
  return message;
}

std::string encode_close_message() { return "C"; }

std::string absolute_path(std::string_view path, std::string_view working_folder) {
  if (path.empty() || path[0] == '/') return std::string(path);
  std::string joined(working_folder);
  if (joined.empty() || joined.back() != '/') joined += '/';
  joined += path;
  return joined;
}

std::string instance_folder_path(const char* xdg_runtime_dir_env, unsigned uid) {
  std::string folder = "/tmp";
  if (xdg_runtime_dir_env != nullptr && xdg_runtime_dir_env[0] == '/') {
    folder = xdg_runtime_dir_env;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  }
  if (folder != "/") folder += '/';
  return folder + "kurvaline-" + std::to_string(uid);
}

}  // namespace kv

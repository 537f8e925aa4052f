// Registration with the desktop; see the header.
#include "session/desktop_registration.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include <sys/stat.h>

#include "formats/byte_sink.h"
#include "formats/version.h"

namespace kv {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Splits at "\n"; a final line without a line end counts too.
std::vector<std::string_view> lines_of(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return lines;
}

bool is_group_header(std::string_view line) { return !line.empty() && line[0] == '['; }
bool is_entry_group(std::string_view line) { return trim(line) == "[Desktop Entry]"; }

// The key of a "key=value" line, "" for other lines.
std::string_view key_of(std::string_view line) {
  const size_t eq = line.find('=');
  return eq == std::string_view::npos ? std::string_view() : trim(line.substr(0, eq));
}

bool read_small_file(const std::string& path, std::string& text) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  text.assign(kMaxDesktopEntryBytes + 1, '\0');
  const size_t n = std::fread(text.data(), 1, text.size(), f);
  std::fclose(f);
  text.resize(n);
  return n <= kMaxDesktopEntryBytes;
}

bool is_regular_file(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool write_text(const std::string& path, const std::string& text) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  if (error) return false;
  return write_file_replacing(path, [&](ByteSink& sink) { return sink.write(text.data(), text.size()); });
}

}  // namespace

std::string data_home_path(const char* xdg_data_home_env, const char* home_env) {
  if (xdg_data_home_env != nullptr && xdg_data_home_env[0] == '/') return xdg_data_home_env;
  if (home_env == nullptr || home_env[0] != '/') return std::string();
  std::string home = home_env;
  if (home.back() != '/') home += '/';
  return home + ".local/share";
}

bool desktop_exec_value(std::string_view program_path, std::string& value) {
  if (program_path.empty()) return false;
  // Inside a quoted argument ", `, $ and \ take a backslash and % is doubled;
  // then the value as a whole escapes every backslash once more, so a
  // backslash in the path is written as four.
  std::string argument = "\"";
  for (const char c : program_path) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return false;
    if (c == '"' || c == '`' || c == '$' || c == '\\') argument += '\\';
    if (c == '%') argument += '%';
    argument += c;
  }
  argument += "\" %f";
  value.clear();
  for (const char c : argument) {
    if (c == '\\') value += '\\';
    value += c;
  }
  return true;
}

void read_desktop_entry(std::string_view text, InstalledRegistration& out) {
  bool in_entry = false;
  for (const std::string_view line : lines_of(text)) {
    if (is_group_header(line)) {
      in_entry = is_entry_group(line);
      continue;
    }
    if (!in_entry) continue;
    const std::string_view key = key_of(line);
    const std::string_view value = trim(line.substr(line.find('=') + 1));
    if (key == "Exec" && !out.has_exec) {
      out.has_exec = true;
      out.exec.assign(value);
    } else if (key == kVersionKey && !out.has_version) {
      out.has_version = true;
      out.version.assign(value);
    }
  }
}

bool registration_needed(const InstalledRegistration& installed, std::string_view program_path) {
  if (!installed.has_version) return true;
  const int age = compare_versions(installed.version, kProgramVersion);
  if (age != kVersionEqual) return age == kVersionOlder;
  std::string exec;
  if (!desktop_exec_value(program_path, exec)) return false;  // nothing could be written anyway
  return !installed.complete || !installed.has_exec || installed.exec != exec;
}

bool user_desktop_entry(std::string_view template_text, std::string_view program_path,
                        std::string& entry) {
  std::string exec;
  if (!desktop_exec_value(program_path, exec)) return false;
  std::string out;
  bool in_entry = false;
  bool exec_written = false;
  auto close_entry_group = [&] {
    if (!in_entry) return;
    if (!exec_written) out += "Exec=" + exec + "\n";
    out += std::string(kVersionKey) + "=" + kProgramVersion + "\n";
    in_entry = false;
  };
  for (const std::string_view line : lines_of(template_text)) {
    if (is_group_header(line)) {
      close_entry_group();
      in_entry = is_entry_group(line);
    } else if (in_entry && key_of(line) == "Exec") {
      if (!exec_written) out += "Exec=" + exec + "\n";
      exec_written = true;
      continue;
    } else if (in_entry && key_of(line) == kVersionKey) {
      continue;
    }
    out.append(line);
    out += '\n';
  }
  close_entry_group();
  entry = std::move(out);
  return true;
}

InstalledRegistration read_installed_registration(const std::string& data_home) {
  InstalledRegistration installed;
  std::string text;
  if (!read_small_file(data_home + "/" + kDesktopEntryFile, text)) return installed;
  read_desktop_entry(text, installed);
  installed.complete = is_regular_file(data_home + "/" + kMimePackageFile) &&
                       is_regular_file(data_home + "/" + kIconFile);
  return installed;
}

bool install_desktop_files(const std::string& data_home, const DesktopFiles& files) {
  if (data_home.empty()) return false;
  return write_text(data_home + "/" + kMimePackageFile, files.mime_package) &&
         write_text(data_home + "/" + kIconFile, files.icon) &&
         write_text(data_home + "/" + kDesktopEntryFile, files.entry);
}

}  // namespace kv

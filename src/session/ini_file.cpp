// The settings file format; see the header.
#include "session/ini_file.h"

#include <cerrno>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "formats/byte_sink.h"

namespace kv {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// [begin, end) without white space at either end.
void trim(std::string_view s, size_t& begin, size_t& end) {
  while (begin < end && is_blank(s[begin])) ++begin;
  while (end > begin && is_blank(s[end - 1])) --end;
}

std::string fold(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string key_id(std::string_view folded_section, std::string_view key) {
  std::string id(folded_section);
  id += '\n';
  id += fold(key);
  return id;
}

bool quoted(std::string_view v) { return v.size() >= 2 && v.front() == '"' && v.back() == '"'; }

// What the format can hold of a value: one line, no NUL.
std::string one_line(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\n' || c == '\r' || c == '\0') c = ' ';
  }
  return out;
}

bool needs_quotes(std::string_view v) {
  return !v.empty() && (is_blank(v.front()) || is_blank(v.back()) || quoted(v));
}

enum class LineKind { Other, Section, Key };

struct Parsed {
  LineKind kind = LineKind::Other;
  size_t name_begin = 0, name_end = 0;    // section name or key
  size_t value_begin = 0, value_end = 0;  // key lines only
};

Parsed classify(std::string_view raw, size_t start) {
  Parsed p;
  size_t b = start;
  while (b < raw.size() && is_blank(raw[b])) ++b;
  if (b == raw.size() || raw[b] == ';') return p;
  if (raw[b] == '[') {
    size_t close = raw.find(']', b + 1);
    if (close == std::string_view::npos) close = raw.size();
    p.kind = LineKind::Section;
    p.name_begin = b + 1;
    p.name_end = close;
    trim(raw, p.name_begin, p.name_end);
    return p;
  }
  const size_t eq = raw.find('=', b);
  if (eq == std::string_view::npos) return p;
  p.name_begin = b;
  p.name_end = eq;
  trim(raw, p.name_begin, p.name_end);
  if (p.name_begin == p.name_end) return p;
  p.kind = LineKind::Key;
  p.value_begin = eq + 1;
  p.value_end = raw.size();
  trim(raw, p.value_begin, p.value_end);
  if (quoted(raw.substr(p.value_begin, p.value_end - p.value_begin))) {
    ++p.value_begin;
    --p.value_end;
  }
  return p;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// The whole file, or Missing / Failed, or Partial with the whole lines of
// its first kIniMaxBytes. O_NONBLOCK keeps a FIFO from blocking the open;
// only regular files are read.
IniRead read_bytes(const std::string& path, std::string& bytes) {
  bytes.clear();
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return errno == ENOENT || errno == ENOTDIR ? IniRead::Missing : IniRead::Failed;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return IniRead::Failed;
  char chunk[16384];
  while (bytes.size() <= kIniMaxBytes) {
    const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      bytes.clear();
      return IniRead::Failed;
    }
    if (n == 0) return IniRead::Ok;
    bytes.append(chunk, static_cast<size_t>(n));
  }
  // A cut line might be a key with half its value: only whole lines count.
  const size_t nl = bytes.rfind('\n', kIniMaxBytes - 1);
  bytes.resize(nl == std::string::npos ? 0 : nl + 1);
  return IniRead::Partial;
}

// Best effort: a folder that cannot be made shows up as a failed write.
void make_parent_folders(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return;
  struct stat st;
  if (::stat(path.substr(0, slash).c_str(), &st) == 0) return;
  for (size_t i = path.find('/', 1); i != std::string::npos && i <= slash; i = path.find('/', i + 1)) {
    ::mkdir(path.substr(0, i).c_str(), 0700);
  }
}

}  // namespace

bool IniFile::parse(std::string_view bytes) {
  lines_.clear();
  sections_.clear();
  keys_.clear();
  crlf_ = false;
  std::string section;             // folded name of the section being read
  LineIt* section_anchor = nullptr;  // null outside a first section of its name
  size_t pos = 0;
  while (pos < bytes.size()) {
    if (lines_.size() == kIniMaxLines) return false;
    const size_t nl = bytes.find('\n', pos);
    size_t end = nl == std::string_view::npos ? bytes.size() : nl;
    const size_t next = nl == std::string_view::npos ? bytes.size() : nl + 1;
    const bool first = pos == 0;
    // All of them, so that a rewritten file reads back line for line.
    const size_t content_end = end;
    while (end > pos && bytes[end - 1] == '\r') --end;
    if (first && nl != std::string_view::npos && end != content_end) crlf_ = true;
    const LineIt line = lines_.emplace(lines_.end());
    line->raw.assign(bytes.substr(pos, end - pos));
    pos = next;

    // A byte order mark some editors write would hide the first section.
    const size_t start = first && line->raw.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    const Parsed p = classify(line->raw, start);
    if (p.kind == LineKind::Section) {
      section = fold(std::string_view(line->raw).substr(p.name_begin, p.name_end - p.name_begin));
      const auto [it, inserted] = sections_.try_emplace(section, line);
      section_anchor = inserted ? &it->second : nullptr;
    } else if (p.kind == LineKind::Key && section_anchor != nullptr) {
      line->key_begin = p.name_begin;
      line->key_size = p.name_end - p.name_begin;
      line->value_begin = p.value_begin;
      line->value_size = p.value_end - p.value_begin;
      keys_.try_emplace(key_id(section, line->key()), line);
      *section_anchor = line;
    }
  }
  return true;
}

bool IniFile::get(std::string_view section, std::string_view key, std::string& value) const {
  const auto it = keys_.find(key_id(fold(section), key));
  if (it == keys_.end()) return false;
  const std::string_view v = it->second->value();
  value.assign(v.substr(0, v.find('\0')));
  return true;
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string text = one_line(value);
  const bool quote = needs_quotes(text);
  const std::string folded_section = fold(section);
  const std::string id = key_id(folded_section, key);

  Line line;
  const auto found = keys_.find(id);
  if (found != keys_.end()) {
    if (found->second->value() == text) return;
    line.raw = found->second->key();  // the file's spelling of the key
  } else {
    line.raw = key;
  }
  line.key_size = line.raw.size();
  line.raw += quote ? "=\"" : "=";
  line.value_begin = line.raw.size();
  line.value_size = text.size();
  line.raw += text;
  if (quote) line.raw += '"';

  if (found != keys_.end()) {
    *found->second = std::move(line);
    return;
  }
  auto sec = sections_.find(folded_section);
  if (sec == sections_.end()) {
    if (!lines_.empty()) {
      const std::string& last = lines_.back().raw;
      size_t b = 0, e = last.size();
      trim(last, b, e);
      if (b != e) lines_.emplace_back();
    }
    Line header;
    header.raw = "[";
    header.raw += section;
    header.raw += ']';
    lines_.push_back(std::move(header));
    sec = sections_.emplace(folded_section, std::prev(lines_.end())).first;
  }
  const LineIt inserted = lines_.insert(std::next(sec->second), std::move(line));
  sec->second = inserted;
  keys_.emplace(id, inserted);
}

std::string IniFile::text() const {
  const std::string_view eol = crlf_ ? "\r\n" : "\n";
  size_t size = 0;
  for (const Line& line : lines_) size += line.raw.size() + eol.size();
  std::string out;
  out.reserve(size);
  for (const Line& line : lines_) {
    out += line.raw;
    out += eol;
  }
  return out;
}

IniRead read_ini_file(const std::string& path, IniFile& file, std::string* bytes) {
  std::string data;
  IniRead result = read_bytes(path, data);
  if (!file.parse(data) && result == IniRead::Ok) result = IniRead::Partial;
  if (bytes != nullptr) *bytes = result == IniRead::Ok ? std::move(data) : std::string();
  return result;
}

bool write_ini_file(const std::string& path, const IniFile& file) {
  if (path.empty()) return false;
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return false;
  make_parent_folders(path);
  const std::string text = file.text();
  return write_file_replacing(path, [&text](ByteSink& sink) { return sink.write(text.data(), text.size()); });
}

}  // namespace kv

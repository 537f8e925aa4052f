// The document path of the command line; see command_line.h.
#include "session/command_line.h"

namespace kv {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_skipped(char c) { return is_blank(c) || c == '-' || c == '/' || c == '\\'; }

// UTF-8 code points: every byte that does not continue a sequence.
size_t code_points(std::string_view s) {
  size_t n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

}  // namespace

bool scan_document_path(std::string_view text, std::string& path) {
  size_t i = 0;
  while (i < text.size()) {
    if (is_skipped(text[i])) {
      ++i;
      continue;
    }
    const bool counts = i == 0 || is_blank(text[i - 1]);
    size_t begin = i;
    size_t end;
    size_t next;
    if (text[i] == '"') {
      begin = i + 1;
      end = text.find('"', begin);
      if (end == std::string_view::npos) end = text.size();
      next = end + 1;
    } else {
      end = i;
      while (end < text.size() && !is_blank(text[end])) ++end;
      next = end;
    }
    if (counts) {
      const std::string_view word = text.substr(begin, end - begin);
      const size_t n = code_points(word);
      if (n >= 1 && n <= kMaxPathChars) {
        path.assign(word);
        return true;
      }
    }
    // A word that does not count is passed over whole, so nothing glued to an
    // option word ("-x/tmp/a") is taken for a path.
    i = next;
  }
  return false;
}

std::string join_arguments(int argc, const char* const* argv) {
  std::string text;
  for (int k = 1; k < argc; ++k) {
    if (argv[k] == nullptr) continue;
    const std::string_view word = argv[k];
    if (word.find('"') != std::string_view::npos) continue;
    if (!text.empty()) text += ' ';
    if (!word.empty() && word[0] == '-') {
      text += word.find_first_of(" \t") == std::string_view::npos ? word : "-";
    } else {
      text += '"';
      text += word;
      text += '"';
    }
  }
  return text;
}

bool document_path_from_args(int argc, const char* const* argv, std::string& path) {
  return scan_document_path(join_arguments(argc, argv), path);
}

}  // namespace kv

// Names and small rules around documents; see the header.
#include "formats/document_names.h"

namespace kv {
namespace {

bool equals_ignoring_ascii_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::string propose_document_path(std::string_view path) {
  std::string name(path.empty() ? std::string_view(kUntitledDocument) : path);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos ||
      !equals_ignoring_ascii_case(std::string_view(name).substr(dot + 1), kDocumentExtension)) {
    name += '.';
    name += kDocumentExtension;
  }
  return name;
}

std::string file_title_of(std::string_view path) {
  const size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool save_question_needed(bool modified, bool alert_save_file) {
  return modified && alert_save_file;
}

}  // namespace kv

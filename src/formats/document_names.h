// The names and small rules around documents, without any file access.
//
//   std::string propose_document_path(std::string_view path);
//     The name a save proposes: "unbenannt" for an empty path; then ".kvl"
//     is appended unless the text after the last "." is "kvl" in any ASCII
//     letter case, up to the end ("a.txt" becomes "a.txt.kvl", "A.KVL" stays).
//   std::string file_title_of(std::string_view path);
//     The path's last component: the text after the last "/", or the whole
//     path when it has none.
//   bool save_question_needed(bool modified, bool alert_save_file);
//     Whether closing asks "Datei speichern?": only for a modified panel while
//     the user has not silenced the question. Without the question the
//     answer is Yes, and nothing is saved.
#pragma once

#include <string>
#include <string_view>

#include "model/panel_record.h"

namespace kv {

inline constexpr const char* kDocumentExtension = "kvl";
inline constexpr const char* kUntitledDocument = "unbenannt";

std::string propose_document_path(std::string_view path);
std::string file_title_of(std::string_view path);
bool save_question_needed(bool modified, bool alert_save_file);

}  // namespace kv

// The document path named on the command line.
//
// The scan reads one text character by character. Blanks, "-", "/" and "\"
// are skipped. A word counts only at the start of the text or right after a
// blank, so option words ("-x", "/p") and anything glued to them are ignored.
// A word beginning with a double quote runs from after it to the closing
// quote (or the end of the text); any other word runs to the next blank. The
// first counting word of 1 to 260 characters is the path; longer words are
// skipped and the scan goes on. Time is linear in the text.
//
// Linux hands the program its words one by one (argv) instead of one text.
// They are joined with single blanks into the text the scan reads: a word
// beginning with "-" is an option and stays as it is (reduced to "-" when it
// holds a blank, which would otherwise split it); every other word is put in
// double quotes, so `kurvaline "/tmp/a b.kvl"` names the path with the blank
// and an absolute path, beginning with "/" here, is a path and not an option
// word. A word holding a double quote cannot be written in that text and is
// left out. Characters are counted as UTF-8 code points.
#pragma once

#include <string>
#include <string_view>

namespace kv {

inline constexpr size_t kMaxPathChars = 260;

// False when the text names no path.
bool scan_document_path(std::string_view text, std::string& path);

// The words after the program name, joined as described above.
std::string join_arguments(int argc, const char* const* argv);

// scan_document_path over join_arguments.
bool document_path_from_args(int argc, const char* const* argv, std::string& path);

}  // namespace kv

// The help texts on paper: laid out for the page at the printer's
// resolution, page after page with the footer ("Kurvaline" and "Seite n"),
// black on white, one job per copy (one file with the copies one after
// another for a PDF file).
#pragma once

#include <string_view>

class QPrinter;

namespace kv {

// text: a help text in the tag language (Windows-1252). False when any page
// of any copy failed, or the text cannot be parsed.
bool print_help_text(QPrinter& printer, std::string_view text, int layout_width);

}  // namespace kv

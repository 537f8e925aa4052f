// Printouts: the copies of a print run, and the graph as a recorded picture
// replayed onto the page.
//
// Copies: a printer gets one job per copy, each with the document name
// "Kurvaline: Druckvorgang", with the printer's own copy count set to 1
// meanwhile (so the spooler does not multiply them again) and put back
// afterwards. A PDF file can hold one document only, so there the copies
// follow one another in the one file.
//
// The graph keeps a margin of 4 % of the shorter printable side on every side
// of the page; the picture keeps the graph area's aspect ratio, fills the
// width inside the margins (or the height, for a tall window) and sits at the
// top-left corner of the margin rectangle.
#pragma once

#include <functional>

#include "platform/platform_texts.h"

class QPainter;
class QPicture;
class QPrinter;

namespace kv {

// Paints one copy; new_page() ends the current page and starts the next (false
// when that failed). Returns false when the copy could not be completed.
using PrintCopy = std::function<bool(QPainter& painter, const std::function<bool()>& new_page)>;

struct PrintRun {
  int printed = 0;      // copies completed and handed over
  bool failed = false;  // some copy failed
};

// Prints the printer's copy count (at least 1) of copies. A failure before
// any copy got through ends the run; later failures only lose their copy.
PrintRun print_copies(QPrinter& printer, const PrintCopy& copy);

// Replays the picture of a source_width x source_height graph area onto the
// painter's page at the place fit_to_page gives for the page's width and
// height.
void replay_on_page(QPainter& painter, const QPicture& picture, int source_width, int source_height);

// The graph on paper, one page per copy; false when not one copy was printed.
bool print_graph_picture(QPrinter& printer, const QPicture& picture, int source_width, int source_height);

}  // namespace kv

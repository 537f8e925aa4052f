// The graph on paper: a recorded picture of the graph area replayed onto
// printer pages, once per copy.
//
// The page keeps a margin of 4 % of the shorter printable side on every side;
// the picture keeps the graph area's aspect ratio, fills the width inside the
// margins (or the height, for a tall window) and sits at the top-left corner
// of the margin rectangle.
//
// Copies: a printer gets one job per copy, each with one page and the
// document name "Kurvaline: Druckvorgang", with the printer's own copy count
// set to 1 meanwhile (so the spooler does not multiply them again) and put
// back afterwards. A PDF file can hold one document only, so there every copy
// becomes a page of the one file.
#pragma once

class QPainter;
class QPicture;
class QPrinter;

namespace kv {

inline constexpr const char* kPrintDocumentName = "Kurvaline: Druckvorgang";
inline constexpr const char* kPrintFailedText = "Fehler beim Drucken";

// Replays the picture of a source_width x source_height graph area onto the
// painter's page at the place fit_to_page gives for the page's printable
// width and height.
void replay_on_page(QPainter& painter, const QPicture& picture, int source_width, int source_height);

// Prints the copies the printer asks for (at least one). A copy whose job
// cannot be started or handed over is skipped; false when not one copy was
// printed, and then the first failure ends the printing at once.
bool print_graph_picture(QPrinter& printer, const QPicture& picture, int source_width, int source_height);

}  // namespace kv

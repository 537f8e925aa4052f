// The graph on paper; see the header.
#include "platform/graph_print.h"

#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <algorithm>

#include "graph/print_fit.h"

namespace kv {

void replay_on_page(QPainter& painter, const QPicture& picture, int source_width, int source_height) {
  if (source_width <= 0 || source_height <= 0) return;
  const QPaintDevice* page = painter.device();
  const Rect margin = print_margin_rect(page->width(), page->height());
  const Rect target = fit_to_page(margin, source_width, source_height);
  if (target.width() <= 0 || target.height() <= 0) return;
  painter.save();
  painter.translate(target.left, target.top);
  // Playing a recording blows it up by the device's resolution over the
  // recording's (a printer's 1200 dpi against 96); that is taken out again,
  // so only the fit to the page remains.
  painter.scale(static_cast<double>(target.width()) / source_width * picture.logicalDpiX() /
                    page->logicalDpiX(),
                static_cast<double>(target.height()) / source_height * picture.logicalDpiY() /
                    page->logicalDpiY());
  painter.drawPicture(0, 0, picture);
  painter.restore();
}

namespace {

// All copies as pages of one file.
bool print_to_file(QPrinter& printer, const QPicture& picture, int w, int h, int copies) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  int printed = 0;
  for (int copy = 0; copy < copies; ++copy) {
    if (copy > 0 && !printer.newPage()) break;
    replay_on_page(painter, picture, w, h);
    ++printed;
  }
  // The file is written out only at the end; a file that could not be
  // finished holds no printout.
  return painter.end() && printed > 0;
}

// One job per copy.
bool print_jobs(QPrinter& printer, const QPicture& picture, int w, int h, int copies) {
  const int asked = printer.copyCount();
  printer.setCopyCount(1);
  int printed = 0;
  for (int copy = 0; copy < copies; ++copy) {
    QPainter painter;
    if (!painter.begin(&printer)) {
      if (printed == 0) break;
      continue;
    }
    replay_on_page(painter, picture, w, h);
    // A job the spooler did not take is no printout.
    if (painter.end()) ++printed;
    else if (printed == 0) break;
  }
  printer.setCopyCount(asked);
  return printed > 0;
}

}  // namespace

bool print_graph_picture(QPrinter& printer, const QPicture& picture, int source_width, int source_height) {
  printer.setDocName(QString::fromUtf8(kPrintDocumentName));
  const int copies = std::max(1, printer.copyCount());
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    return print_to_file(printer, picture, source_width, source_height, copies);
  }
  return print_jobs(printer, picture, source_width, source_height, copies);
}

}  // namespace kv

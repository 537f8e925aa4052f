// Printouts; see the header.
#include "platform/graph_print.h"

#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <algorithm>

#include "graph/print_fit.h"

namespace kv {

namespace {

// All copies in one file.
PrintRun print_to_file(QPrinter& printer, const PrintCopy& copy, int copies) {
  PrintRun run;
  QPainter painter;
  if (!painter.begin(&printer)) {
    run.failed = true;
    return run;
  }
  const auto new_page = [&printer] { return printer.newPage(); };
  for (int i = 0; i < copies; ++i) {
    if ((i > 0 && !printer.newPage()) || !copy(painter, new_page)) {
      run.failed = true;
      break;
    }
    ++run.printed;
  }
  // The file is complete only at the end; a file that could not be finished
  // holds no printout.
  if (!painter.end()) {
    run.failed = true;
    run.printed = 0;
  }
  return run;
}

// One job per copy.
PrintRun print_jobs(QPrinter& printer, const PrintCopy& copy, int copies) {
  PrintRun run;
  const int asked = printer.copyCount();
  printer.setCopyCount(1);
  const auto new_page = [&printer] { return printer.newPage(); };
  for (int i = 0; i < copies; ++i) {
    QPainter painter;
    bool ok = painter.begin(&printer);
    if (ok) {
      ok = copy(painter, new_page);
      if (!ok) printer.abort();
      // A job the spooler did not take is no printout either.
      ok = painter.end() && ok;
    }
    if (ok) {
      ++run.printed;
    } else {
      run.failed = true;
      if (run.printed == 0) break;
    }
  }
  printer.setCopyCount(asked);
  return run;
}

}  // namespace

PrintRun print_copies(QPrinter& printer, const PrintCopy& copy) {
  printer.setDocName(QString::fromUtf8(kPrintDocumentName));
  const int copies = std::max(1, printer.copyCount());
  return printer.outputFormat() == QPrinter::PdfFormat ? print_to_file(printer, copy, copies)
                                                        : print_jobs(printer, copy, copies);
}

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

bool print_graph_picture(QPrinter& printer, const QPicture& picture, int source_width, int source_height) {
  const PrintRun run = print_copies(printer, [&](QPainter& painter, const std::function<bool()>&) {
    replay_on_page(painter, picture, source_width, source_height);
    return true;
  });
  return run.printed > 0;
}

}  // namespace kv

// Printing and the clipboard; see the header.
#include "shell/print_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>

#include "dialogs/print_dialogs.h"
#include "graph/recompute.h"
#include "platform/graph_print.h"
#include "platform/message_boxes.h"
#include "platform/picture.h"
#include "session/print_background.h"
#include "session/shell_state.h"

namespace kv {

PrintClipboard::PrintClipboard(ShellState& state, QWidget* window) : state_(state), window_(window) {}

PrintClipboard::~PrintClipboard() = default;

QPrinter& PrintClipboard::printer() {
  // Made on first use: asking the print system for its printers takes time
  // that a start without printing should not pay.
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

QPrinter* PrintClipboard::choose_printer(QWidget* owner) {
  QPrinter& p = printer();
  if (!print_file_.isEmpty()) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(print_file_);
    return &p;
  }
  return ask_printer(p, owner) ? &p : nullptr;
}

void PrintClipboard::print() {
  QPrinter* chosen = choose_printer(window_);
  if (chosen == nullptr) return;
  QPrinter& p = *chosen;
  const int palette = state_.current().options[kOptPalette];
  const int answer = print_asks_background(palette) ? ask_print_background(window_) : kPrintAnswerCancel;
  const int print_with = print_palette(palette, answer);
  if (print_with < 0) return;

  const Rect& area = state_.layout.client;
  PanelPlot scratch;
  const PanelPlot& plot = finished_for_picture(state_.current(), state_.current_plot(), scratch);
  const QPicture picture =
      record_graph_picture(state_.current(), plot, build_colour_table(print_with), state_.layout);
  if (picture.isNull() || area.width() <= 0 || area.height() <= 0 ||
      !print_graph_picture(p, picture, area.width(), area.height())) {
    show_error_box(window_, kPrintFailedText);
  }
}

void PrintClipboard::copy_bitmap(const QImage& shown) {
  if (shown.isNull()) return;
  PanelPlot scratch;
  const PanelPlot& plot = finished_for_picture(state_.current(), state_.current_plot(), scratch);
  if (&plot == &scratch) {
    // Still refining in the window: the finished pixels, not the picture shown.
    const QImage image = paint_graph_image(state_.current(), plot, state_.current_colours(), state_.layout);
    if (!image.isNull()) QGuiApplication::clipboard()->setImage(image);
    return;
  }
  QGuiApplication::clipboard()->setImage(shown);
}

void PrintClipboard::copy_vector() {
  const ColourTable& colours = state_.current_colours();
  auto data = std::make_unique<QMimeData>();
  PanelPlot scratch;
  const PanelPlot& plot = finished_for_picture(state_.current(), state_.current_plot(), scratch);
  data->setData(QStringLiteral("image/svg+xml"),
                paint_graph_svg(state_.current(), plot, colours, state_.layout));
  const QImage image = paint_graph_image(state_.current(), plot, colours, state_.layout);
  if (!image.isNull()) data->setImageData(image);
  QGuiApplication::clipboard()->setMimeData(data.release());
}

}  // namespace kv

// The help texts on paper; see the header.
#include "platform/help_print.h"

#include <QPainter>
#include <QPrinter>
#include <vector>

#include "help/help_layout.h"
#include "help/help_paint.h"
#include "help/text_measurer.h"
#include "platform/graph_print.h"
#include "platform/qpainter_device.h"

namespace kv {

namespace {

// The screen resolution the help's pixel sizes are meant for.
constexpr double kScreenDpi = 96.0;

}  // namespace

bool print_help_text(QPrinter& printer, std::string_view text, int layout_width) {
  HelpLayout layout;
  layout.requested_width = layout_width;
  if (!parse_help_text(layout, text)) return false;
  std::vector<HelpPage> pages;
  bool laid_out = false;
  const HelpColours colours{0x000000, 0xffffff};
  const PrintRun run = print_copies(printer, [&](QPainter& painter, const std::function<bool()>& new_page) {
    QPainterDevice device(painter);
    const int width = painter.device()->width();
    const int height = painter.device()->height();
    if (!laid_out) {
      // Measured on the printer itself, so the words fit as they print.
      layout.scale = painter.device()->logicalDpiY() / kScreenDpi;
      DeviceTextMeasurer measurer(device);
      layout_help(layout, measurer, width, height);
      pages = help_pages(layout, height);
      laid_out = true;
    }
    for (size_t i = 0; i < pages.size(); ++i) {
      if (i > 0 && !new_page()) return false;
      paint_help_page(layout, pages, i, device, width, height, colours);
    }
    return true;
  });
  return run.printed > 0 && !run.failed;
}

}  // namespace kv

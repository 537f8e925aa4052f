// The graph widget; see the header.
#include "shell/graph_widget.h"

#include <QPaintEvent>
#include <QPainter>

#include "session/refresh.h"
#include "session/shell_state.h"

namespace kv {

GraphWidget::GraphWidget(ShellState& state, ShellHost& host, std::function<QPoint()> client_offset,
                         QWidget* parent)
    : QWidget(parent), state_(state), host_(host), client_offset_(std::move(client_offset)) {
  // The picture covers every pixel, so nothing needs clearing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::CrossCursor);
}

void GraphWidget::paintEvent(QPaintEvent* event) {
  const QPoint offset = client_offset_();
  const ShellPaintFlags shell = paint_flags(state_);
  PaintFlags flags;
  flags.redraw = shell.redraw;
  flags.recompute = shell.recompute;
  flags.double_buffering = shell.double_buffering;
  flags.ready = shell.ready;
  flags.device_pixel_ratio = devicePixelRatioF();
  if (state_.selected_point && state_.surface() == kPanelFunction) {
    flags.selected = &*state_.selected_point;
  }
  {
    QPainter painter(this);
    painter.translate(-offset);
    picture_.paint(painter, event->rect().translated(offset), state_.current(),
                   state_.current_plot(), state_.current_colours(), state_.layout, flags);
  }
  after_paint(state_, host_);
  if (shell.ready && after_paint_hook_) after_paint_hook_();
}

}  // namespace kv

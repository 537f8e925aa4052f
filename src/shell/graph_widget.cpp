// The graph widget; see the header.
#include "shell/graph_widget.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "graph/recompute.h"
#include "session/refresh.h"
#include "session/shell_state.h"

namespace kv {

namespace {

// One piece of refinement between two looks at the event queue, and the
// interval of the repaints that show its progress.
constexpr std::chrono::milliseconds kRefinePiece{8};
constexpr qint64 kRefineRepaintMs = 80;

}  // namespace

GraphWidget::GraphWidget(ShellState& state, ShellHost& host, std::function<QPoint()> client_offset,
                         QWidget* parent)
    : QWidget(parent), state_(state), host_(host), client_offset_(std::move(client_offset)) {
  // The picture covers every pixel, so nothing needs clearing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::CrossCursor);
  refine_timer_.setInterval(0);
  connect(&refine_timer_, &QTimer::timeout, this, &GraphWidget::refine);
}

void GraphWidget::refine() {
  PanelPlot& plot = state_.current_plot();
  if (!advance_implicit(state_.current(), plot, kRefinePiece)) {
    refine_timer_.stop();
    return;
  }
  const bool pending = implicit_pending(state_.current(), plot);
  if (!pending) refine_timer_.stop();
  // A large picture takes long to paint: then it is painted less often, so
  // that the refinement keeps most of the time.
  if (!pending || since_paint_.elapsed() >= std::max(kRefineRepaintMs, 3 * paint_ms_)) {
    state_.recompute_needed = true;  // the picture again, the curves as they are
    update();
  }
}

PaintFlags GraphWidget::flags_now() const {
  const ShellPaintFlags shell = paint_flags(state_);
  PaintFlags flags;
  flags.redraw = shell.redraw;
  flags.recompute = shell.recompute;
  flags.double_buffering = shell.double_buffering;
  flags.ready = shell.ready;
  flags.device_pixel_ratio = devicePixelRatioF();
  flags.progressive = true;
  if (state_.selected_point && state_.surface() == kPanelFunction) {
    flags.selected = &*state_.selected_point;
  }
  return flags;
}

const QImage& GraphWidget::shown_picture() {
  return picture_.picture_for(state_.current(), state_.current_plot(), state_.current_colours(),
                              state_.layout, flags_now());
}

void GraphWidget::paintEvent(QPaintEvent* event) {
  QElapsedTimer paint_clock;
  paint_clock.start();
  const QPoint offset = client_offset_();
  PaintFlags flags = flags_now();
  flags.whole = event->rect().contains(rect());
  {
    QPainter painter(this);
    painter.translate(-offset);
    picture_.paint(painter, event->rect().translated(offset), state_.current(),
                   state_.current_plot(), state_.current_colours(), state_.layout, flags);
  }
  after_paint(state_, host_);
  paint_ms_ = paint_clock.elapsed();
  since_paint_.start();
  if (implicit_pending(state_.current(), state_.current_plot())) {
    if (!refine_timer_.isActive()) refine_timer_.start();
  }
  if (flags.ready && after_paint_hook_) after_paint_hook_();
}

}  // namespace kv

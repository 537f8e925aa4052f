// The help windows; see the header.
#include "dialogs/help_window.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWindow>

#include "dialogs/dialog_texts.h"
#include "dialogs/print_dialogs.h"
#include "dialogs/window_gestures.h"
#include "help/help_paint.h"
#include "help/help_texts.h"
#include "help/text_measurer.h"
#include "platform/graph_print.h"
#include "platform/help_print.h"
#include "platform/message_boxes.h"
#include "platform/qpainter_device.h"
#include "platform/qt_boundary.h"
#include "session/command_ids.h"
#include "session/commands.h"
#include "session/dialog_controls.h"

namespace kv {

namespace {

Colour to_colour(const QColor& c) {
  return (static_cast<Colour>(c.red()) << 16) | (static_cast<Colour>(c.green()) << 8) |
         static_cast<Colour>(c.blue());
}

constexpr const char* kQuickReferenceName = "kvQuickReference";

}  // namespace

// ---- the view ------------------------------------------------------------------

HelpView::HelpView(std::string_view text, int layout_width, QWidget* parent)
    : QAbstractScrollArea(parent) {
  layout_.requested_width = layout_width;
  parse_help_text(layout_, text);
  setFocusPolicy(Qt::StrongFocus);
  horizontalScrollBar()->setSingleStep(kHelpLineStepX);
  verticalScrollBar()->setSingleStep(kHelpLineStepY);
  viewport()->setAutoFillBackground(false);
}

void HelpView::lay_out_if_needed() {
  const QSize client = viewport()->size();
  if (!help_needs_layout(laid_out_for_, layout_.layout_width, layout_.canvas_height, client.width(),
                         client.height())) {
    return;
  }
  // Words are measured with the fonts the window draws with.
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter painter(&probe);
  QPainterDevice device(painter);
  DeviceTextMeasurer measurer(device);
  layout_help(layout_, measurer, client.width(), client.height());
  laid_out_for_ = {client.width(), client.height()};
  update_scroll_bars();
}

void HelpView::update_scroll_bars() {
  const QSize client = viewport()->size();
  horizontalScrollBar()->setPageStep(client.width());
  horizontalScrollBar()->setRange(0, std::max(0, layout_.canvas_width - client.width()));
  verticalScrollBar()->setPageStep(client.height());
  verticalScrollBar()->setRange(0, std::max(0, layout_.canvas_height - client.height()));
}

void HelpView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  lay_out_if_needed();
  update_scroll_bars();
}

void HelpView::paintEvent(QPaintEvent* event) {
  lay_out_if_needed();
  QPainter painter(viewport());
  QPainterDevice device(painter);
  const int sx = horizontalScrollBar()->value();
  const int sy = verticalScrollBar()->value();
  device.set_origin(-sx, -sy);
  const QRect dirty = event->rect().translated(sx, sy);
  const QPalette& p = palette();
  paint_help(layout_, device, to_rect(dirty),
             {to_colour(p.color(QPalette::ToolTipText)), to_colour(p.color(QPalette::ToolTipBase))});
}

void HelpView::scrollContentsBy(int, int) { viewport()->update(); }

void HelpView::keyPressEvent(QKeyEvent* event) {
  QScrollBar* v = verticalScrollBar();
  QScrollBar* h = horizontalScrollBar();
  switch (event->key()) {
    case Qt::Key_PageUp: v->triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case Qt::Key_PageDown: v->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    case Qt::Key_Home: v->triggerAction(QAbstractSlider::SliderToMinimum); break;
    case Qt::Key_End: v->triggerAction(QAbstractSlider::SliderToMaximum); break;
    case Qt::Key_Up: v->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Down: v->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case Qt::Key_Left: h->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Right: h->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    default: event->ignore(); return;  // Esc and Enter belong to the window
  }
  event->accept();
}

void HelpView::wheelEvent(QWheelEvent* event) {
  const int lines = QApplication::wheelScrollLines();
  const int dy = help_wheel_pixels(event->angleDelta().y(), lines, wheel_rest_);
  QScrollBar* v = verticalScrollBar();
  v->setValue(v->value() + dy);
  event->accept();
}

void HelpView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    // A left press on the text is taken here, so it does not move the window;
    // with Alt it does, as a grab of the caption would.
    if ((event->modifiers() & Qt::AltModifier) && window()->windowHandle() != nullptr) {
      window()->windowHandle()->startSystemMove();
    }
    event->accept();
    return;
  }
  QAbstractScrollArea::mousePressEvent(event);
}

// ---- the window ----------------------------------------------------------------

HelpWindow::HelpWindow(QWidget* owner, std::string_view text, int layout_width, const ShellState& state,
                       std::function<void(int)> run_owner, int left_command,
                       HelpPrinterChooser choose_printer)
    : QMainWindow(owner, owner != nullptr ? Qt::Tool : Qt::Window),
      text_(text),
      layout_width_(layout_width),
      run_owner_(std::move(run_owner)),
      left_command_(left_command),
      choose_printer_(std::move(choose_printer)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromUtf8(dialog_text::kHelpWindowTitle));
  view_ = new HelpView(text_, layout_width, this);
  setCentralWidget(view_);
  // The main window's print item: its text and its keys.
  auto* print_action =
      new QAction(QString::fromUtf8(command_info(Command::Print)->menu_text), this);
  QList<QKeySequence> print_keys;
  for (const KeyBinding& k : key_bindings()) {
    if (k.id != Command::Print) continue;
    print_keys.append(
        QKeySequence::fromString(QString::fromStdString(k.key), QKeySequence::PortableText));
  }
  print_action->setShortcuts(print_keys);
  connect(print_action, &QAction::triggered, this, &HelpWindow::print);
  menuBar()->addAction(print_action);
  addAction(print_action);
  new WindowGestures(this, state, GestureWindow::Help, [this](GestureAction a) {
    if (a == GestureAction::Close) close();
    else if (run_owner_) run_owner_(a == GestureAction::Cancel ? left_command_ : kCtlOk);
  });
  view_->setFocus();
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape: close(); break;
    case Qt::Key_F1:
      // In the quick reference as in its dialog: the help window.
      if (run_owner_) run_owner_(command_number(Command::Help));
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (run_owner_) run_owner_(kCtlOk);
      break;
    default: QMainWindow::keyPressEvent(event); return;
  }
  event->accept();
}

void HelpWindow::print() {
  QPrinter* printer = nullptr;
  if (choose_printer_) {
    printer = choose_printer_(this);
  } else {
    if (!own_printer_) own_printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (ask_printer(*own_printer_, this)) printer = own_printer_.get();
  }
  if (printer == nullptr) return;
  if (!print_help_text(*printer, text_, layout_width_)) show_error_box(this, kPrintFailedText);
}

HelpWindow* open_full_help(QPointer<HelpWindow>& slot, QWidget* main_window, const ShellState& state,
                           std::function<void(int)> run_main, HelpPrinterChooser choose_printer) {
  if (slot.isNull()) {
    // Without owner: a window of its own, placed by the window system. It
    // does not keep the program running once the main window has closed,
    // and goes with it.
    HelpWindow* w = new HelpWindow(nullptr, full_help_text(), kFullHelpWidth, state, std::move(run_main),
                                   kCtlOk, std::move(choose_printer));
    w->setAttribute(Qt::WA_QuitOnClose, false);
    QObject::connect(main_window, &QObject::destroyed, w, [w] { delete w; });
    w->resize(kFullHelpWidth + 60, 600);
    w->show();
    slot = w;
  }
  slot->raise();
  slot->activateWindow();
  slot->view()->setFocus();
  return slot;
}

HelpWindow* toggle_quick_reference(QWidget* dialog, const ShellState& state,
                                   std::function<void(int)> run_control) {
  // A closed one lingers until the event loop deletes it; it counts as closed.
  for (HelpWindow* open : dialog->findChildren<HelpWindow*>(QString::fromLatin1(kQuickReferenceName),
                                                            Qt::FindDirectChildrenOnly)) {
    if (open->isVisible()) {
      open->close();
      return nullptr;
    }
  }
  auto* w = new HelpWindow(dialog, quick_reference_text(), kQuickReferenceWidth, state,
                           std::move(run_control), kCtlCancel, {});
  w->setObjectName(QString::fromLatin1(kQuickReferenceName));
  const Rect frame = to_rect(dialog->frameGeometry());
  const QScreen* screen = dialog->screen();
  const Rect area = screen != nullptr ? to_rect(screen->availableGeometry()) : frame;
  const Rect place = quick_reference_rect(frame, frame, area);
  // The rectangle includes the frame, which the window manager adds only
  // after the window is shown: the dialog's frame, of the same manager,
  // stands in for it.
  const QSize deco = dialog->frameGeometry().size() - dialog->size();
  w->move(place.left, place.top);
  w->resize(std::max(1, place.width() - deco.width()), std::max(1, place.height() - deco.height()));
  w->show();
  return w;
}

}  // namespace kv

// The mouse over the graph through the real widget events: the zoom
// rectangle with its edges, cursor and ways to cancel, gestures against the
// context menu, wheel and touchpad deltas, the hover texts and the
// coordinate tooltip with its picture.
#include <QtTest>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include "fake_host.h"
#include "graph/colours.h"
#include "platform/zoom_cursor.h"
#include "session/coord_tip.h"
#include "session/gesture.h"
#include "session/zoom_box.h"
#include "shell/coord_tooltip.h"
#include "shell/pointer_controller.h"
#include "shell/zoom_box_window.h"

namespace kv {

class PointerControllerTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ShellState> state_;
  std::unique_ptr<FakeHost> host_;
  std::unique_ptr<QWidget> graph_;
  PointerController* pointer_ = nullptr;
  std::vector<QPoint> menus_;
  int changes_ = 0;

  double bound(RangeIndex i) const { return state_->current().range[i].value; }
  // A point of the plot, in client coordinates (the widget's own here).
  QPoint plot_point(int dx, int dy) const {
    return QPoint(state_->layout.plot.left + dx, state_->layout.plot.top + dy);
  }
  void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
             Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, at, graph_->mapToGlobal(at), button, held, mods);
    QCoreApplication::sendEvent(graph_.get(), &e);
  }
  void press(QPoint at, Qt::MouseButton b) { mouse(QEvent::MouseButtonPress, at, b, b); }
  void move(QPoint at, Qt::MouseButtons held) {
    mouse(QEvent::MouseMove, at, Qt::NoButton, held);
  }
  void release(QPoint at, Qt::MouseButton b) {
    mouse(QEvent::MouseButtonRelease, at, b, Qt::NoButton);
  }
  void wheel(QPoint at, QPoint angle, QPoint pixels = {}, Qt::ScrollPhase phase = Qt::NoScrollPhase) {
    QWheelEvent e(at, graph_->mapToGlobal(at), pixels, angle, Qt::NoButton, Qt::NoModifier, phase,
                  false);
    QCoreApplication::sendEvent(graph_.get(), &e);
  }
  void key(int k) {
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
    QCoreApplication::sendEvent(graph_.get(), &e);
  }
  const std::string& status() const { return state_->status_text; }

 private slots:
  void init() {
    state_ = std::make_unique<ShellState>();
    host_ = std::make_unique<FakeHost>(*state_);
    start_ready(*state_, *host_);
    state_->current().options[kOptEqualScales] = 0;
    state_->current().x_scale = 12.0 / state_->layout.plot.width;
    state_->current().y_scale = 10.0 / state_->layout.plot.height;
    QCursor::setPos(0, 0);  // away from the graph until a test moves the mouse
    graph_ = std::make_unique<QWidget>();
    graph_->resize(800, 600);
    graph_->move(100, 100);
    graph_->show();
    menus_.clear();
    changes_ = 0;
    PointerHooks hooks;
    hooks.context_menu = [this](QPoint at) { menus_.push_back(at); };
    hooks.view_changed = [this] { ++changes_; };
    pointer_ = new PointerController(*state_, *host_, graph_.get(), [] { return QPoint(); }, hooks);
  }
  void cleanup() {
    graph_.reset();
    host_.reset();
    state_.reset();
  }

  void zoom_rectangle_shows_its_edges_and_zooms_on_release() {
    const QPoint a = plot_point(100, 50), b = plot_point(400, 250);
    press(a, Qt::LeftButton);
    QCOMPARE(state_->mouse_mode, MouseMode::ZoomBox);
    QCOMPARE(status(), std::string(kZoomBoxStatusText));
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    QCOMPARE(QGuiApplication::overrideCursor()->hotSpot(), QPoint(5, 5));
    move(b, Qt::LeftButton);
    // Drawn from the end corner back to the anchor: the edges still span
    // the normalised rectangle, both corners inclusive.
    move(a - QPoint(0, 0), Qt::LeftButton);
    move(b, Qt::LeftButton);
    const auto& edges = pointer_->zoom_box().edges();
    QVERIFY(pointer_->zoom_box().shown());
    const QPoint g = graph_->mapToGlobal(a);
    QCOMPARE(edges[0]->geometry(), QRect(g.x(), g.y(), 1, 201));    // left
    QCOMPARE(edges[1]->geometry(), QRect(g.x(), g.y(), 301, 1));    // top
    QCOMPARE(edges[2]->geometry(), QRect(g.x() + 300, g.y(), 1, 201));
    QCOMPARE(edges[3]->geometry(), QRect(g.x(), g.y() + 200, 301, 1));
    QVERIFY(pointer_->tooltip().tip_shown());
    const double x_min = bound(kXMin);
    release(b, Qt::LeftButton);
    QCOMPARE(state_->mouse_mode, MouseMode::Idle);
    QVERIFY(!pointer_->zoom_box().shown());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QVERIFY(bound(kXMin) > x_min);
    QCOMPARE(state_->current_undo().count, 1);
    QCOMPARE(changes_, 1);
  }

  void zoom_rectangle_ends_without_zoom_on_esc_right_button_or_lost_capture() {
    const QPoint a = plot_point(100, 50), b = plot_point(400, 250);
    // Esc
    press(a, Qt::LeftButton);
    move(b, Qt::LeftButton);
    key(Qt::Key_Escape);
    QCOMPARE(state_->mouse_mode, MouseMode::Idle);
    release(b, Qt::LeftButton);
    // The other button; its release opens no context menu, even without gestures.
    state_->prefs.mouse_gestures = false;
    press(a, Qt::LeftButton);
    move(b, Qt::LeftButton);
    mouse(QEvent::MouseButtonPress, b, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    QCOMPARE(state_->mouse_mode, MouseMode::Idle);
    mouse(QEvent::MouseButtonRelease, b, Qt::RightButton, Qt::LeftButton);
    release(b, Qt::LeftButton);
    QVERIFY(menus_.empty());
    // The focus went elsewhere during the drag: the next move ends it.
    press(a, Qt::LeftButton);
    pointer_->focus_out();
    move(b, Qt::LeftButton);
    QCOMPARE(state_->mouse_mode, MouseMode::Idle);
    release(b, Qt::LeftButton);
    // A move without the button (released outside the window) ends it too.
    press(a, Qt::LeftButton);
    move(b, Qt::NoButton);
    QCOMPARE(state_->mouse_mode, MouseMode::Idle);

    QCOMPARE(state_->current_undo().count, 0);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QVERIFY(!pointer_->zoom_box().shown());
  }

  void zoom_rectangle_starts_only_on_the_graph_area_without_alt() {
    const Rect& area = state_->layout.client;
    press(QPoint(area.right, area.top + 10), Qt::LeftButton);  // one beyond the last column
    QCOMPARE(state_->mouse_mode, MouseMode::Idle);
    press(QPoint(area.right - 1, area.top + 10), Qt::LeftButton);
    QCOMPARE(state_->mouse_mode, MouseMode::ZoomBox);
    key(Qt::Key_Escape);
    mouse(QEvent::MouseButtonPress, plot_point(10, 10), Qt::LeftButton, Qt::LeftButton,
          Qt::AltModifier);
    QCOMPARE(state_->mouse_mode, MouseMode::Idle);
  }

  void right_drag_of_eight_pixels_is_a_gesture_and_seven_a_click() {
    const QPoint s = plot_point(300, 200);
    press(s, Qt::RightButton);
    QCOMPARE(status(), std::string(kGestureStatusText));
    move(s + QPoint(0, 8), Qt::RightButton);
    release(s + QPoint(0, 8), Qt::RightButton);
    // Down zooms in around the start point.
    QCOMPARE(state_->current_undo().count, 1);
    QVERIFY(bound(kXMax) - bound(kXMin) < 12);
    QVERIFY(menus_.empty());

    press(s, Qt::RightButton);
    release(s + QPoint(-7, 0), Qt::RightButton);
    QCOMPARE(menus_.size(), size_t{1});
    QCOMPARE(menus_[0], graph_->mapToGlobal(s + QPoint(-7, 0)));
    QCOMPARE(state_->current_undo().count, 1);
  }

  void gestures_are_cancelled_by_esc_and_the_left_button_and_off_means_a_click() {
    const QPoint s = plot_point(300, 200);
    press(s, Qt::RightButton);
    key(Qt::Key_Escape);
    QCOMPARE(state_->mouse_mode, MouseMode::Idle);
    release(s + QPoint(0, -50), Qt::RightButton);
    press(s, Qt::RightButton);
    mouse(QEvent::MouseButtonPress, s, Qt::LeftButton, Qt::LeftButton | Qt::RightButton);
    QCOMPARE(state_->mouse_mode, MouseMode::Idle);  // cancelled, and no rectangle either
    mouse(QEvent::MouseButtonRelease, s, Qt::LeftButton, Qt::RightButton);
    release(s + QPoint(0, -50), Qt::RightButton);
    QCOMPARE(state_->current_undo().count, 0);
    QVERIFY(menus_.empty());

    state_->prefs.mouse_gestures = false;
    press(s, Qt::RightButton);
    release(s + QPoint(0, -50), Qt::RightButton);
    QCOMPARE(menus_.size(), size_t{1});
    QCOMPARE(state_->current_undo().count, 0);
  }

  void wheel_zooms_once_per_notch_and_touchpad_scrolling_is_one_undo_step() {
    const QPoint c = plot_point(300, 200);
    wheel(c, QPoint(0, 60));
    QCOMPARE(state_->current_undo().count, 0);
    wheel(c, QPoint(0, 60));
    QCOMPARE(state_->current_undo().count, 1);
    QVERIFY(bound(kXMax) - bound(kXMin) > 12);  // away from the user: out
    // Outside the graph area nothing happens.
    wheel(QPoint(state_->layout.client.right + 5, 100), QPoint(0, 120));
    QCOMPARE(state_->current_undo().count, 1);

    const double x_min = bound(kXMin);
    wheel(c, QPoint(0, 15), QPoint(30, 0), Qt::ScrollUpdate);
    wheel(c, QPoint(0, 15), QPoint(30, 0), Qt::ScrollUpdate);
    QVERIFY(bound(kXMin) < x_min);  // content follows the fingers to the right
    QCOMPARE(state_->current_undo().count, 1);
    wheel(c, QPoint(), QPoint(), Qt::ScrollEnd);
    QCOMPARE(state_->current_undo().count, 2);
  }

  void hover_shows_the_zoom_hint_only_with_formulas_and_the_tooltip_only_when_wanted() {
    const QPoint c = plot_point(300, 200);
    move(c, Qt::NoButton);
    QVERIFY(state_->hover);
    QCOMPARE(status(), std::string(kDefaultStatusText));  // nothing compiled yet
    QVERIFY(pointer_->tooltip().tip_shown());
    QVERIFY(refresh_view(*state_, *host_, REFRESH_COMPILE));
    QVERIFY(state_->current().count() > 0);
    pointer_->leave();  // the cursor is not over the graph of an offscreen window
    QVERIFY(!state_->hover);
    QVERIFY(!pointer_->tooltip().tip_shown());
    move(c, Qt::NoButton);
    QCOMPARE(status(), std::string(kZoomHintStatusText));
    move(QPoint(state_->layout.client.right - 1, 100), Qt::NoButton);  // beyond right - 2
    QVERIFY(!state_->hover);
    QCOMPARE(status(), std::string(kDefaultStatusText));

    state_->prefs.mouse_coordinates = false;
    move(c, Qt::NoButton);
    QVERIFY(!pointer_->tooltip().tip_shown());
    state_->prefs.mouse_coordinates = true;
    state_->current().error.failed = true;
    move(c + QPoint(1, 0), Qt::NoButton);
    QVERIFY(!pointer_->tooltip().tip_shown());
  }

  // The cursor moved without a move event reaching the graph (it landed on
  // the tooltip): the tooltip still follows it, with the values there.
  void tooltip_follows_a_cursor_that_moves_over_it() {
    const QPoint c = plot_point(300, 200);
    QCursor::setPos(graph_->mapToGlobal(c));
    move(c, Qt::NoButton);
    QVERIFY(pointer_->tooltip().tip_shown());
    const QRect before = pointer_->tooltip().geometry();
    const QImage picture = pointer_->tooltip().picture();
    QCursor::setPos(graph_->mapToGlobal(c + QPoint(30, 12)));
    QTRY_COMPARE(pointer_->tooltip().geometry().topLeft(), before.topLeft() + QPoint(30, 12));
    QVERIFY(pointer_->tooltip().picture() != picture);
    QVERIFY(pointer_->tooltip().tip_shown());
  }

  void tooltip_picture_is_sized_for_its_lines_in_the_panel_colours() {
    PanelRecord& panel = state_->current();
    panel.options[kOptPalette] = 1;
    const ColourTable colours = build_colour_table(1);
    CoordTooltip tip(graph_.get());
    const QPoint c = plot_point(150, 100);
    tip.show_values(panel, state_->layout.plot, colours, {c.x(), c.y()}, QPoint(200, 300));
    const QImage& image = tip.picture();
    QVERIFY(!image.isNull());
    QCOMPARE(image.height() % 2, 1);  // twice the line height plus 1
    QCOMPARE(tip.geometry(), QRect(210, 302, image.width(), image.height()));
    QCOMPARE(image.pixel(image.width() - 1, image.height() - 1) & 0xffffffu, colours[0]);
    bool text = false;
    for (int y = 0; y < image.height() && !text; ++y) {
      for (int x = 0; x < image.width() && !text; ++x) {
        text = (image.pixel(x, y) & 0xffffffu) == colours[kColourText];
      }
    }
    QVERIFY(text);
    // In pi units the x line is wider by the pi glyph but the size rule holds.
    panel.options[kOptXUnitsPi] = 1;
    const CoordTip pi_tip = coord_tip_text(panel, state_->layout.plot, {c.x(), c.y()});
    QVERIFY(pi_tip.x_pi);
    const QImage plain = render_coord_tip(pi_tip, panel, colours);
    QVERIFY(!plain.isNull());
    // On a dense screen the picture has more pixels but the same size in units.
    const QImage dense = render_coord_tip(pi_tip, panel, colours, 2.0);
    QCOMPARE(dense.deviceIndependentSize().toSize(), plain.size());
    QCOMPARE(dense.size(), plain.size() * 2);
  }

  void zoom_edges_are_dotted_from_their_own_corner() {
    ZoomEdgeWindow row(nullptr), column(nullptr);
    row.setGeometry(10, 10, 9, 1);
    column.setGeometry(10, 10, 1, 9);
    const QImage r = row.grab().toImage(), c = column.grab().toImage();
    QCOMPARE(r.pixel(0, 0) & 0xffffffu, 0x000000u);
    QCOMPARE(r.pixel(1, 0) & 0xffffffu, 0xffffffu);
    QCOMPARE(r.pixel(8, 0) & 0xffffffu, 0x000000u);
    QCOMPARE(c.pixel(0, 0) & 0xffffffu, 0xffffffu);
    QCOMPARE(c.pixel(0, 1) & 0xffffffu, 0x000000u);
    // A single pixel (a rectangle not yet dragged) counts as a column.
    ZoomEdgeWindow dot(nullptr);
    dot.setGeometry(10, 10, 1, 1);
    QCOMPARE(dot.grab().toImage().pixel(0, 0) & 0xffffffu, 0xffffffu);
  }

  void zoom_cursor_is_32_pixels_with_its_hot_spot_on_the_cross() {
    const QImage image = zoom_cursor_image();
    QCOMPARE(image.size(), QSize(32, 32));
    // The cross's arms meet around the hot spot, which itself stays clear.
    QCOMPARE(qAlpha(image.pixel(5, 5)), 0);
    QCOMPARE(image.pixel(5, 4), 0xff000000u);
    QCOMPARE(image.pixel(4, 5), 0xff000000u);
    QCOMPARE(zoom_cursor().hotSpot(), QPoint(5, 5));
  }
};

}  // namespace kv

QTEST_MAIN(kv::PointerControllerTest)
#include "pointer_controller_test.moc"

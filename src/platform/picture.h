// The graph as a picture: the off-screen QImage the window is copied from,
// the paint entry of the main window, SVG output, and the conversion to the
// plain picture the GIF and bitmap encoders take.
//
// All pictures cover the graph area: the plot with its margins, as
// plot_rect_for_client lays it out. The plot rectangle of a placement is in
// the coordinates of the window's client area; a picture has its own origin
// at the client area's corner, so the plot is shifted by that corner.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPicture>
#include <QRect>
#include <cstdint>
#include <string>

#include "formats/rgb_image.h"
#include "graph/colours.h"
#include "graph/point_marks.h"
#include "graph/samples.h"
#include "graph/view.h"
#include "model/panel_record.h"
#include "session/picture_rules.h"

class QPainter;

namespace kv {

// Paints the panel's picture into a new RGB32 image of the graph area.
// A null image when it cannot be allocated or exceeds 2^28 pixels or 32767
// pixels on a side.
QImage paint_graph_image(PanelRecord& panel, const PanelPlot& plot, const ColourTable& colours,
                         const PlotPlacement& placement);

// The picture as an SVG document (vector mode: dotted lines dot by dot).
QByteArray paint_graph_svg(PanelRecord& panel, const PanelPlot& plot, const ColourTable& colours,
                           const PlotPlacement& placement);

// The picture recorded as drawing operations in vector mode, in the
// coordinates of a picture of the graph area: what the printout replays at
// the size of the page.
QPicture record_graph_picture(PanelRecord& panel, const PanelPlot& plot, const ColourTable& colours,
                              const PlotPlacement& placement);

// Copies the pixels of an image into the encoders' picture.
RgbImage to_rgb_image(const QImage& image);

// What the shell tells the paint entry.
struct PaintFlags {
  bool redraw = true;     // the picture must be painted again
  bool recompute = true;  // the curves must be recomputed first
  bool double_buffering = true;
  bool ready = true;      // the window has been shown
  // Device pixels per unit of the window. The picture is kept at device
  // resolution, so lines and text are drawn sharp on a high-density screen
  // instead of being blown up from a picture of one pixel per unit.
  double device_pixel_ratio = 1.0;
  // The window's recomputation: equations and inequalities are classified
  // for a first short piece and refined afterwards (advance_implicit).
  bool progressive = false;
  // The paint covers all of the graph the window shows (the picture spans
  // the whole client area, parts of which other widgets cover).
  bool whole = false;
  const MarkedPoint* selected = nullptr;  // see PictureFrame
};

// The off-screen picture of the main window and its paint entry. The picture
// lives from one redraw to the next; when it cannot be allocated the graph is
// drawn straight onto the window and the next paint tries again.
//
// With no picture to paint over, a paint of all the window shows goes
// straight to the window as well: a fresh picture would cost its
// allocation, the first touch of each page and the copy, at the start and
// after each change of the graph area's size. The picture is made when only
// a part of the window is to be painted, and when picture_for asks for it.
class OffscreenPicture {
 public:
  // Recomputes the curves when asked (and the panel has no pending error),
  // renders the picture when it is stale (asked to, or made for another
  // graph area or pixel ratio) and copies the dirty part of the window from
  // it. window and dirty use the coordinates of placement.
  void paint(QPainter& window, const QRect& dirty, PanelRecord& panel, PanelPlot& plot,
             const ColourTable& colours, const PlotPlacement& placement, const PaintFlags& flags);

  // The picture of what the last paint showed, made now where that paint
  // went straight to the window (nothing is recomputed). Null before the
  // first paint and where no picture can be made.
  const QImage& picture_for(PanelRecord& panel, const PanelPlot& plot, const ColourTable& colours,
                            const PlotPlacement& placement, const PaintFlags& flags);

  void discard() { image_ = QImage(); }
  bool has_picture() const { return !image_.isNull(); }
  const QImage& image() const { return image_; }
  bool render_failed() const { return render_failed_; }

 private:
  // Makes the picture where it is missing or stale and paints it.
  void render_picture(PanelRecord& panel, const PanelPlot& plot, const ColourTable& colours,
                      const PlotPlacement& placement, const PaintFlags& flags, double dpr);

  QImage image_;
  bool render_failed_ = false;
  bool painted_ = false;  // a graph has been shown
};

}  // namespace kv

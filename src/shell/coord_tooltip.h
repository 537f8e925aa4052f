// The window of the coordinate tooltip: two lines "x = ..." and "y = ..."
// beside the cursor while it moves over the graph. Frameless, never
// activated and transparent for the mouse, so it neither steals the focus
// nor the events of the graph beneath it.
//
// What it shows, how large it is and where it goes come from the session
// layer (coord_tip.h); the window only draws the picture and places itself.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "graph/colours.h"
#include "graph/device.h"
#include "graph/view.h"
#include "model/panel_record.h"

namespace kv {

struct CoordTip;

// The tooltip's picture for one reading, in the panel's colours, at dpr
// device pixels per unit so the text stays sharp on dense screens. A null
// image when the lines cannot be measured.
QImage render_coord_tip(const CoordTip& tip, const PanelRecord& panel, const ColourTable& colours,
                        double dpr = 1.0);

class CoordTooltip final : public QWidget {
 public:
  explicit CoordTooltip(QWidget* owner);

  // Draws the values under a client point of the graph and places the
  // window beside the cursor (screen coordinates) on that cursor's screen;
  // the first call shows it.
  void show_values(const PanelRecord& panel, const PlotRect& plot, const ColourTable& colours,
                   Point client, QPoint cursor, const PanelPlot* curves = nullptr);
  void hide_tip();
  bool tip_shown() const { return shown_; }
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  bool shown_ = false;
};

}  // namespace kv

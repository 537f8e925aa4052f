// The colour-scheme swatch; see the header.
#include "platform/swatch_icon.h"

#include <QPainter>
#include <QPainterPath>

#include "graph/colours.h"
#include "platform/painted_icon.h"
#include "platform/qpainter_device.h"

namespace kv {

void paint_swatch(QPainter& p, int palette) {
  const double w = kSwatchWidth, h = kSwatchHeight;
  p.save();
  p.fillRect(QRectF(0, 0, w, h), to_qcolor(scheme_colour(palette, kColourBackground)));
  QPen grey(QColor(0x99, 0x99, 0x99), 1);
  grey.setCapStyle(Qt::FlatCap);
  grey.setJoinStyle(Qt::MiterJoin);  // square corners
  p.setPen(grey);
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
  // One grid line each way: a third across, two thirds down.
  const double gx = std::floor(w / 3) + 0.5, gy = std::floor(h * 2 / 3) + 0.5;
  p.drawLine(QPointF(gx, 0.5), QPointF(gx, h - 0.5));
  p.drawLine(QPointF(0.5, gy), QPointF(w - 0.5, gy));
  // From just inside the lower left corner to just inside the upper right one,
  // pulled up at three sevenths and down at five sevenths of the width; the
  // control points lie 15 units beyond the frame, so the curve swings wide.
  QPainterPath path(QPointF(1.5, h - 1.5));
  path.cubicTo(QPointF(w * 3 / 7, -15), QPointF(w * 5 / 7, h + 15), QPointF(w - 1.5, 1.5));
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setClipRect(QRectF(1, 1, w - 2, h - 2));
  p.setPen(QPen(to_qcolor(scheme_colour(palette, kFirstCurveColour)), 1.5));
  p.drawPath(path);
  p.restore();
}

QIcon swatch_icon(int palette) {
  return painted_icon([palette](QPainter& p) { paint_swatch(p, palette); },
                      QSizeF(kSwatchWidth, kSwatchHeight));
}

}  // namespace kv

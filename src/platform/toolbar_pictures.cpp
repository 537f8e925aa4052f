// The toolbar pictures and the program picture; see the header.
//
// Every picture is drawn in 18 x 18 logical units. Straight one-unit lines
// run through pixel centres (x.5), filled shapes sit on whole units, so at
// the ratios 1 and 2 nothing is smeared across two device pixels; curves and
// circles are antialiased.
#include "platform/toolbar_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <cstring>

namespace kv {

namespace {

// One small palette for all pictures, so the two toolbars look like a set.
const QColor kInk(0x2b, 0x2b, 0x2b);
const QColor kAxis(0x70, 0x70, 0x70);
const QColor kGridLine(0x5a, 0x7f, 0xa8);
const QColor kCurve(0x1c, 0x63, 0xc7);
const QColor kArea(0xa9, 0xcb, 0xf2);
const QColor kArrow(0x2f, 0x78, 0xd0);
const QColor kArrowEdge(0x1a, 0x4c, 0x8c);
const QColor kLens(0xe8, 0xf1, 0xfb);
const QColor kAccent(0xc8, 0x37, 0x37);

QPen pen(const QColor& c, double width) {
  QPen p(c, width);
  p.setCapStyle(Qt::FlatCap);
  p.setJoinStyle(Qt::MiterJoin);
  return p;
}

QPen round_pen(const QColor& c, double width) {
  QPen p(c, width);
  p.setCapStyle(Qt::RoundCap);
  p.setJoinStyle(Qt::RoundJoin);
  return p;
}

// A horizontal or vertical line of one unit through pixel centres.
void hline(QPainter& p, double x1, double x2, double y, const QColor& c) {
  p.setPen(pen(c, 1));
  p.drawLine(QPointF(x1, y + 0.5), QPointF(x2, y + 0.5));
}

void vline(QPainter& p, double x, double y1, double y2, const QColor& c) {
  p.setPen(pen(c, 1));
  p.drawLine(QPointF(x + 0.5, y1), QPointF(x + 0.5, y2));
}

void fill(QPainter& p, double x, double y, double w, double h, const QColor& c) {
  p.fillRect(QRectF(x, y, w, h), c);
}

// A curve y = f(x) sampled at half units between x0 and x1.
template <typename F>
QPolygonF sampled(double x0, double x1, F f) {
  QPolygonF poly;
  for (double x = x0; x <= x1 + 1e-9; x += 0.5) poly << QPointF(x, f(x));
  return poly;
}

void curve(QPainter& p, const QPolygonF& poly, const QColor& c, double width = 1.6) {
  p.setPen(round_pen(c, width));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(poly);
}

// Digits 1..3 in a 3 x 5 pixel font, so that they stay sharp at every size.
void digit(QPainter& p, int d, int x, int y, const QColor& c) {
  static const char* const rows[3][5] = {
      {".#.", "##.", ".#.", ".#.", "###"},
      {"###", "..#", "###", "#..", "###"},
      {"###", "..#", "###", "..#", "###"},
  };
  for (int r = 0; r < 5; ++r)
    for (int col = 0; col < 3; ++col)
      if (rows[d - 1][r][col] == '#') fill(p, x + col, y + r, 1, 1, c);
}

// A filled arrow pointing in direction (dx, dy) with its tip at the picture's edge.
void block_arrow(QPainter& p, int dx, int dy) {
  // Drawn pointing right, then rotated about the centre.
  QPolygonF shape;
  shape << QPointF(2, 7) << QPointF(9, 7) << QPointF(9, 3) << QPointF(16, 9) << QPointF(9, 15)
        << QPointF(9, 11) << QPointF(2, 11);
  p.save();
  p.translate(9, 9);
  if (dx < 0) p.rotate(180);
  if (dy < 0) p.rotate(-90);
  if (dy > 0) p.rotate(90);
  p.translate(-9, -9);
  p.setPen(pen(kArrowEdge, 1));
  p.setBrush(kArrow);
  p.drawPolygon(shape);
  p.restore();
}

// Magnifier with "+" or "-"; scale 1 fills the picture, smaller ones leave
// room for an axis arrow.
void magnifier(QPainter& p, bool plus, double cx, double cy, double r) {
  const double k = r / 5.0;
  p.setPen(round_pen(kInk, 3 * k));
  p.drawLine(QPointF(cx + r * 0.75, cy + r * 0.75), QPointF(cx + r * 1.75, cy + r * 1.75));
  p.setPen(pen(kInk, 1.5));
  p.setBrush(kLens);
  p.drawEllipse(QPointF(cx, cy), r, r);
  p.setPen(pen(kAccent, 1.5 * std::max(1.0, k)));
  const double a = r * 0.55;
  p.drawLine(QPointF(cx - a, cy), QPointF(cx + a, cy));
  if (plus) p.drawLine(QPointF(cx, cy - a), QPointF(cx, cy + a));
}

// A thin double arrow along x (at row y) or along y (at column x); pointing
// outwards for zoom in (things get larger), inwards for zoom out.
void axis_arrows(QPainter& p, bool along_x, bool outwards, double at) {
  p.save();
  if (!along_x) {
    p.translate(18, 0);
    p.rotate(90);
  }
  const double y = along_x ? at : 18 - at - 1;
  const double c = y + 0.5;
  if (outwards) {
    hline(p, 2, 16, y, kArrowEdge);
    p.setPen(Qt::NoPen);
    p.setBrush(kArrowEdge);
    p.drawPolygon(QPolygonF() << QPointF(0.5, c) << QPointF(4, c - 3) << QPointF(4, c + 3));
    p.drawPolygon(QPolygonF() << QPointF(17.5, c) << QPointF(14, c - 3) << QPointF(14, c + 3));
  } else {
    hline(p, 0.5, 5, y, kArrowEdge);
    hline(p, 13, 17.5, y, kArrowEdge);
    p.setPen(Qt::NoPen);
    p.setBrush(kArrowEdge);
    p.drawPolygon(QPolygonF() << QPointF(8, c) << QPointF(4.5, c - 3) << QPointF(4.5, c + 3));
    p.drawPolygon(QPolygonF() << QPointF(10, c) << QPointF(13.5, c - 3) << QPointF(13.5, c + 3));
  }
  p.restore();
}

// "f(x)=" in the 3 x 5 pixel font of the digits, the text the start hint
// names for this button, over a curve.
void picture_function(QPainter& p) {
  static const char* const glyphs[5][5] = {
      {".##", ".#.", "###", ".#.", ".#."},  // f
      {".#", "#.", "#.", "#.", ".#"},       // (
      {"...", "#.#", ".#.", "#.#", "..."},  // x
      {"#.", ".#", ".#", ".#", "#."},       // )
      {"...", "###", "...", "###", "..."},  // =
  };
  int x = 1;
  for (const auto& glyph : glyphs) {
    const int w = static_cast<int>(std::strlen(glyph[0]));
    for (int r = 0; r < 5; ++r)
      for (int col = 0; col < w; ++col)
        if (glyph[r][col] == '#') fill(p, x + col, 1 + r, 1, 1, kInk);
    x += w + 1;
  }
  hline(p, 1, 17, 13, kAxis);
  curve(p, sampled(1, 17, [](double x) { return 13.0 - 3.0 * std::sin((x - 1.0) / 2.4); }), kCurve);
}

void picture_integral(QPainter& p) {
  auto f = [](double x) { return 8.0 - 3.5 * std::sin((x - 2.0) / 2.6); };
  QPolygonF area = sampled(5, 14, f);
  area << QPointF(14, 15) << QPointF(5, 15);
  p.setPen(Qt::NoPen);
  p.setBrush(kArea);
  p.drawPolygon(area);
  vline(p, 5, f(5), 15, kCurve);
  vline(p, 13, f(14), 15, kCurve);
  hline(p, 1, 17, 15, kAxis);
  vline(p, 2, 1, 17, kAxis);
  curve(p, sampled(2, 17, f), kCurve);
}

void picture_diff_equation(QPainter& p) {
  // A direction field of y' = -y/3 + x/6 with one solution through it.
  p.setPen(round_pen(kAxis, 1.1));
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const double cx = 3.5 + 5.5 * i, cy = 3.5 + 5.5 * j;
      const double slope = -0.15 * (cx - 9) + 0.25 * (cy - 9);
      const double n = std::sqrt(1 + slope * slope);
      const double hx = 2.0 / n, hy = 2.0 * slope / n;
      p.drawLine(QPointF(cx - hx, cy - hy), QPointF(cx + hx, cy + hy));
    }
  }
  curve(p, sampled(1, 17, [](double x) { return 14.0 - 10.0 * (1 - std::exp(-(x - 1) / 5.0)); }),
        kCurve, 1.8);
}

void picture_grid(QPainter& p) {
  for (int v : {2, 7, 11, 15}) {
    hline(p, 2, 16, v, kGridLine);
    vline(p, v, 2, 16, kGridLine);
  }
}

void picture_subgrid(QPainter& p) {
  // Dots every second pixel between the lines of a coarse grid.
  for (int v : {4, 6, 10, 12}) {
    for (int w = 2; w <= 15; w += 2) {
      fill(p, w, v, 1, 1, kGridLine);
      fill(p, v, w, 1, 1, kGridLine);
    }
  }
  for (int v : {2, 8, 14}) {
    hline(p, 2, 15, v, kInk);
    vline(p, v, 2, 15, kInk);
  }
}

void picture_axes(QPainter& p) {
  hline(p, 1, 14, 11, kInk);
  vline(p, 5, 4, 17, kInk);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawPolygon(QPolygonF() << QPointF(17, 11.5) << QPointF(13, 8.5) << QPointF(13, 14.5));
  p.drawPolygon(QPolygonF() << QPointF(5.5, 1) << QPointF(2.5, 5) << QPointF(8.5, 5));
}

void picture_tick_marks(QPainter& p) {
  hline(p, 1, 17, 13, kAxis);
  vline(p, 4, 1, 17, kAxis);
  for (int x : {7, 10, 13, 16}) vline(p, x, 11, 16, kInk);
  for (int y : {1, 4, 7, 10}) hline(p, 2, 7, y, kInk);
}

void picture_border(QPainter& p) {
  p.setPen(pen(kInk, 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(2, 2, 14, 14));
  curve(p, sampled(4, 14, [](double x) { return 9.0 - 3.0 * std::sin((x - 4.0) / 1.6); }), kCurve,
        1.4);
}

void picture_tick_labels(QPainter& p) {
  hline(p, 1, 17, 5, kAxis);
  for (int x : {3, 9, 15}) vline(p, x, 3, 8, kInk);
  digit(p, 1, 2, 10, kInk);
  digit(p, 2, 8, 10, kInk);
  digit(p, 3, 14, 10, kInk);
}

// The expressions listed at the lower left of the graph: a coloured stroke
// and a line of text for each, below a curve.
void picture_function_expressions(QPainter& p) {
  curve(p, sampled(1, 17, [](double x) { return 5.0 - 2.5 * std::sin((x - 2.0) / 2.2); }), kCurve,
        1.4);
  fill(p, 1, 11, 3, 1, kCurve);
  hline(p, 6, 15, 11, kInk);
  fill(p, 1, 15, 3, 1, kAccent);
  hline(p, 6, 12, 15, kInk);
}

// A circle stays round only when both axes have the same scale.
void picture_equal_scales(QPainter& p) {
  p.setPen(pen(kAxis, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(1.5, 1.5, 15, 15));
  p.setPen(pen(kCurve, 1.8));
  p.drawEllipse(QPointF(9, 9), 5.2, 5.2);
}

void picture_centre(QPainter& p) {
  p.setPen(pen(kInk, 1.3));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(9, 9), 6, 6);
  hline(p, 1, 6, 8.5, kInk);
  hline(p, 12, 17, 8.5, kInk);
  vline(p, 8.5, 1, 6, kInk);
  vline(p, 8.5, 12, 17, kInk);
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawEllipse(QPointF(9, 9), 2, 2);
}

void picture_standard_view(QPainter& p) {
  QPolygonF house;
  house << QPointF(9, 2) << QPointF(16.5, 9) << QPointF(14, 9) << QPointF(14, 16) << QPointF(4, 16)
        << QPointF(4, 9) << QPointF(1.5, 9);
  p.setPen(pen(kArrowEdge, 1));
  p.setBrush(kLens);
  p.drawPolygon(house);
  fill(p, 7.5, 11, 3, 5, kArrow);
}

}  // namespace

void paint_toolbar_picture(QPainter& p, int id) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  switch (id) {
    case 700: picture_function(p); break;
    case 701: picture_integral(p); break;
    case 702: picture_diff_equation(p); break;
    case 703: picture_grid(p); break;
    case 704: picture_subgrid(p); break;
    case 705: picture_axes(p); break;
    case 706: picture_tick_marks(p); break;
    case 707: picture_border(p); break;
    case 708: picture_tick_labels(p); break;
    case 709: picture_function_expressions(p); break;
    case 710: picture_equal_scales(p); break;
    case 711: magnifier(p, true, 7, 7, 5); break;
    case 712: magnifier(p, false, 7, 7, 5); break;
    case 713: magnifier(p, true, 5.5, 5.5, 3.6); axis_arrows(p, true, true, 15); break;
    case 714: magnifier(p, false, 5.5, 5.5, 3.6); axis_arrows(p, true, false, 15); break;
    case 715: magnifier(p, true, 5.5, 5.5, 3.6); axis_arrows(p, false, true, 15); break;
    case 716: magnifier(p, false, 5.5, 5.5, 3.6); axis_arrows(p, false, false, 15); break;
    case 717: block_arrow(p, -1, 0); break;
    case 718: block_arrow(p, 1, 0); break;
    case 719: block_arrow(p, 0, -1); break;
    case 720: block_arrow(p, 0, 1); break;
    case 721: picture_centre(p); break;
    case 722: picture_standard_view(p); break;
    default: break;
  }
  p.restore();
}

// A light tile, axes and two curves on the 64-unit grid.
void paint_program_picture(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(pen(QColor(0x1a, 0x4c, 0x8c), 2));
  p.setBrush(QColor(0xf7, 0xfa, 0xff));
  p.drawRoundedRect(QRectF(3, 3, 58, 58), 10, 10);
  p.setPen(pen(kAxis, 2));
  p.drawLine(QPointF(8, 40), QPointF(56, 40));
  p.drawLine(QPointF(20, 8), QPointF(20, 56));
  curve(p, sampled(8, 56, [](double x) { return 32.0 - 20.0 * std::sin((x - 14.0) / 8.0); }), kCurve,
        4.5);
  curve(p, sampled(8, 56, [](double x) { return 50.0 - 0.012 * (x - 8) * (x - 8) * (x - 8) / 8.0; }),
        kAccent, 3.5);
}

}  // namespace kv

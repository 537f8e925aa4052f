#include "recording_device.h"

namespace kv::test {

RecordedOp RecordingDevice::make(OpKind kind) const {
  RecordedOp op;
  op.kind = kind;
  op.pen = pen_;
  op.brush = brush_;
  op.clip = clip_;
  op.clipped = clipped_;
  return op;
}

void RecordingDevice::set_clip_rect(const Rect& r) {
  clip_ = {r.left + origin_.x, r.top + origin_.y, r.right + origin_.x, r.bottom + origin_.y};
  clipped_ = true;
}

void RecordingDevice::line(int x1, int y1, int x2, int y2) {
  RecordedOp op = make(OpKind::Line);
  op.points = {abs(x1, y1), abs(x2, y2)};
  ops.push_back(std::move(op));
}

void RecordingDevice::polyline(const Point* points, size_t n) {
  RecordedOp op = make(OpKind::Polyline);
  for (size_t i = 0; i < n; ++i) op.points.push_back(abs(points[i].x, points[i].y));
  ops.push_back(std::move(op));
}

void RecordingDevice::polygon(const Point* points, size_t n) {
  RecordedOp op = make(OpKind::Polygon);
  for (size_t i = 0; i < n; ++i) op.points.push_back(abs(points[i].x, points[i].y));
  ops.push_back(std::move(op));
}

void RecordingDevice::rectangle(const Rect& r) {
  RecordedOp op = make(OpKind::Rectangle);
  op.rect = {r.left + origin_.x, r.top + origin_.y, r.right + origin_.x, r.bottom + origin_.y};
  ops.push_back(std::move(op));
}

void RecordingDevice::fill_rect(const Rect& r, Colour c) {
  RecordedOp op = make(OpKind::FillRect);
  op.rect = {r.left + origin_.x, r.top + origin_.y, r.right + origin_.x, r.bottom + origin_.y};
  op.colour = c;
  ops.push_back(std::move(op));
}

void RecordingDevice::set_pixel(int x, int y, Colour c) {
  RecordedOp op = make(OpKind::Pixel);
  op.points = {abs(x, y)};
  op.colour = c;
  ops.push_back(std::move(op));
}

void RecordingDevice::fill_ellipse(int x, int y, int width, int height, Colour c) {
  RecordedOp op = make(OpKind::Ellipse);
  op.rect = {x + origin_.x, y + origin_.y, x + width + origin_.x, y + height + origin_.y};
  op.colour = c;
  ops.push_back(std::move(op));
}

void RecordingDevice::draw_strip(int x, int y, const Colour* pixels, size_t length, bool vertical) {
  RecordedOp op = make(OpKind::Strip);
  op.points = {abs(x, y)};
  op.rect = {x, y, x + (vertical ? 1 : static_cast<int>(length)),
             y + (vertical ? static_cast<int>(length) : 1)};
  op.colour = length > 0 ? pixels[0] : 0;
  ops.push_back(std::move(op));
}

FontMetrics RecordingDevice::font_metrics() const {
  return {font_.height + 2, font_.height, 2, 7};
}

void RecordingDevice::draw_text(int x, int y, std::string_view text, TextAlign) {
  RecordedOp op = make(OpKind::Text);
  op.points = {abs(x, y)};
  op.colour = text_colour_;
  op.text = std::string(text);
  ops.push_back(std::move(op));
}

TextExtent RecordingDevice::text_extent(std::string_view text) const {
  return {7 * static_cast<int>(text.size()), font_.height + 2};
}

std::vector<const RecordedOp*> RecordingDevice::of(OpKind kind) const {
  std::vector<const RecordedOp*> out;
  for (const RecordedOp& op : ops) {
    if (op.kind == kind) out.push_back(&op);
  }
  return out;
}

}  // namespace kv::test

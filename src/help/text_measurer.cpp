#include "help/text_measurer.h"

#include <cstdint>

namespace kv {

void DeviceTextMeasurer::select(const FontSpec& font) {
  if (has_font_ && font == selected_) return;
  device_.select_font(font);
  selected_ = font;
  has_font_ = true;
}

TextExtent DeviceTextMeasurer::extent(const FontSpec& font, std::string_view text) {
  select(font);
  return device_.text_extent(text);
}

int DeviceTextMeasurer::average_char_width(const FontSpec& font) {
  select(font);
  return device_.font_metrics().average_width;
}

TextExtent FixedWidthMeasurer::extent(const FontSpec& font, std::string_view text) {
  // Saturates instead of overflowing for absurdly long texts.
  const int64_t width = static_cast<int64_t>(char_width(font.height)) * static_cast<int64_t>(text.size());
  return {width > INT32_MAX ? INT32_MAX : static_cast<int>(width), font.height + 2};
}

int FixedWidthMeasurer::average_char_width(const FontSpec& font) { return char_width(font.height); }

}  // namespace kv

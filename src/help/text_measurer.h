// How the help layout measures text. The window measures with its real
// fonts (through its drawing device); tests, the benchmark and the fuzzer use
// the fixed-width measurer, which needs no fonts at all.
#pragma once

#include <string_view>

#include "graph/device.h"

namespace kv {

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Width and height of the text's cell in the font.
  virtual TextExtent extent(const FontSpec& font, std::string_view text) = 0;
  virtual int average_char_width(const FontSpec& font) = 0;
};

// Measures through a drawing device; selects the font only when it changes.
class DeviceTextMeasurer : public TextMeasurer {
 public:
  explicit DeviceTextMeasurer(Device& device) : device_(device) {}
  TextExtent extent(const FontSpec& font, std::string_view text) override;
  int average_char_width(const FontSpec& font) override;

 private:
  void select(const FontSpec& font);
  Device& device_;
  FontSpec selected_;
  bool has_font_ = false;
};

// Every character is (height * 7 + 6) / 12 pixels wide (7 at height 12); a
// cell is height + 2 pixels high. Bold, italic and face change nothing.
class FixedWidthMeasurer : public TextMeasurer {
 public:
  TextExtent extent(const FontSpec& font, std::string_view text) override;
  int average_char_width(const FontSpec& font) override;
  static int char_width(int height) { return (height * 7 + 6) / 12; }
};

}  // namespace kv

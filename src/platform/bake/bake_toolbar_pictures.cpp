// Writes the toolbar pictures at one device pixel per logical pixel as a
// header of premultiplied ARGB words, painted by the icons' own
// paint_picture, so that the program shows them without painting at start-up.
//
//   kv_bake_toolbar_pictures OUT.h
#include <QImage>
#include <QPainter>
#include <QSize>
#include <QSizeF>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/painted_icon.h"
#include "platform/toolbar_pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: kv_bake_toolbar_pictures OUT.h\n", stderr);
    return 2;
  }
  const std::string path = argv[1];
  const std::string temporary = path + ".tmp";
  std::ofstream out(temporary, std::ios::trunc);
  out << "// Written by kv_bake_toolbar_pictures; do not edit.\n#pragma once\n\n"
         "#include <cstdint>\n\nnamespace kv {\n\ninline constexpr std::uint32_t kToolbarPixels["
      << (kv::kLastToolbarBitmap - kv::kFirstToolbarBitmap + 1) << "]["
      << kv::kToolbarIconSize * kv::kToolbarIconSize << "] = {\n";
  char word[16];
  for (int id = kv::kFirstToolbarBitmap; id <= kv::kLastToolbarBitmap; ++id) {
    const QImage image = kv::paint_picture([id](QPainter& p) { kv::paint_toolbar_picture(p, id); },
                                           QSizeF(kv::kToolbarIconSize, kv::kToolbarIconSize),
                                           QSize(kv::kToolbarIconSize, kv::kToolbarIconSize));
    out << "    {";
    for (int y = 0; y < image.height(); ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        std::snprintf(word, sizeof word, "0x%08xu,", row[x]);
        out << word;
      }
      out << (y + 1 < image.height() ? "\n     " : "");
    }
    out << "},\n";
  }
  out << "};\n\n}  // namespace kv\n";
  out.close();
  if (!out || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "kv_bake_toolbar_pictures: cannot write %s\n", path.c_str());
    std::remove(temporary.c_str());
    return 1;
  }
  return 0;
}

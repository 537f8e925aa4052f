// Format choice by file name and the atomic save of a picture. Contract in
// picture_file.h.
#include "formats/picture_file.h"

#include "formats/bmp_writer.h"
#include "formats/byte_sink.h"

namespace kv {

PictureFormat picture_format_for_path(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.size() - dot - 1 < 3) return PictureFormat::Bmp;
  static constexpr char kGif[] = "gif";
  for (size_t i = 0; i < 3; ++i) {
    char ch = path[dot + 1 + i];
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    if (ch != kGif[i]) return PictureFormat::Bmp;
  }
  return PictureFormat::Gif;
}

PictureKind window_picture_kind(const std::string& path) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
      path.size() - dot - 1 == 3) {
    std::string ext = path.substr(dot + 1);
    for (char& ch : ext) {
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    }
    if (ext == "png") return PictureKind::Png;
    if (ext == "svg") return PictureKind::Svg;
  }
  return picture_format_for_path(path) == PictureFormat::Gif ? PictureKind::Gif : PictureKind::Bmp;
}

bool save_picture_file(const std::string& path, const RgbImage& image, int gif_colour_count,
                       SaveWait wait) {
  // Reject before any file is created.
  if (!rgb_image_is_consistent(image)) return false;
  if (picture_format_for_path(path) == PictureFormat::Gif) {
    return write_file_replacing(
        path, [&](ByteSink& sink) { return write_gif(image, sink, gif_colour_count); }, wait);
  }
  return write_file_replacing(path, [&](ByteSink& sink) { return write_bmp(image, sink); }, wait);
}

}  // namespace kv

// Saving the graph picture to a file, as GIF or 24-bit bitmap by file name.
//
//   PictureFormat picture_format_for_path(const std::string& path);
//     GIF if the text after the last '.' of the whole path begins with "gif",
//     compared without regard to ASCII letter case (".GIF", ".gif", ".gifx"
//     are GIF); every other name, including one without '.', is a bitmap.
//
//   PictureKind window_picture_kind(const std::string& path);
//     The window offers PNG and SVG beside them: a last path component whose
//     text after its last '.' is "png" or "svg" (any ASCII letter case, to
//     the end) is PNG or SVG; every other name goes by picture_format_for_path.
//
//   bool save_picture_file(const std::string& path, const RgbImage& image,
//                          int gif_colour_count = kGifColourCount,
//                          SaveWait wait = SaveWait::Never);
//     Encodes image in the format chosen by path (write_gif with
//     gif_colour_count, or write_bmp) into a temporary file beside path and
//     renames it over path only when everything was written; on failure
//     returns false and an existing file at path is left untouched. Failures:
//     an image the encoder rejects (empty, inconsistent, GIF side > 65535,
//     bitmap > 4 GiB), a file that cannot be created, a failed write, fsync
//     or rename, a target the user may not write. Targets written in place,
//     and wait, as for write_file_replacing. The caller shows "Fehler beim
//     Speichern der Datei".
#pragma once

#include <string>

#include "formats/byte_sink.h"
#include "formats/gif_writer.h"
#include "formats/rgb_image.h"

namespace kv {

enum class PictureFormat { Gif, Bmp };

PictureFormat picture_format_for_path(const std::string& path);

enum class PictureKind { Gif, Bmp, Png, Svg };

PictureKind window_picture_kind(const std::string& path);

bool save_picture_file(const std::string& path, const RgbImage& image,
                       int gif_colour_count = kGifColourCount, SaveWait wait = SaveWait::Never);

}  // namespace kv

// GIF87a assembly: colour table, headers, indexing, trailer. The contract and
// byte layout are in gif_writer.h; the LZW stream is in gif_lzw.cpp.
#include "formats/gif_writer.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "formats/gif_lzw.h"

namespace kv {
namespace {

// The colours found, in order of first appearance (size() <= K), and every
// pixel's index into them.
struct IndexedPicture {
  std::vector<uint32_t> colours;
  int bits = 1;  // N: the file's table has 2^N entries
  std::unique_ptr<uint8_t[]> indices;
};

// Smallest n >= 1 with 2^n >= k.
int table_bits_for(int k) {
  int n = 1;
  while ((1 << n) < k) ++n;
  return n;
}

// Remembers where recently seen colours are in the table, so a picture with
// colours in no particular order (dithering, noise) does not search the table
// for each pixel. Entries are checked, so a collision only costs a search.
class ColourCache {
 public:
  ColourCache() {
    for (Entry& e : entries_) e.rgb = kEmpty;
  }
  // The index of rgb, or -1 if not cached.
  int find(uint32_t rgb) const {
    const Entry& e = entries_[slot(rgb)];
    return e.rgb == rgb ? e.index : -1;
  }
  void put(uint32_t rgb, uint8_t index) { entries_[slot(rgb)] = Entry{rgb, index}; }

 private:
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu;  // no 24-bit colour
  struct Entry {
    uint32_t rgb;
    uint8_t index;
  };
  static size_t slot(uint32_t rgb) { return (rgb * 0x9E3779B1u) >> 24; }
  Entry entries_[256];
};

// The index of rgb: the first equal table entry; else, if the table has room,
// rgb becomes its next entry; else 0.
uint8_t index_of(std::vector<uint32_t>& colours, size_t limit, uint32_t rgb) {
  const auto found = std::find(colours.begin(), colours.end(), rgb);
  if (found != colours.end()) return static_cast<uint8_t>(found - colours.begin());
  if (colours.size() == limit) return 0;  // more than K colours: not in the table
  colours.push_back(rgb);
  return static_cast<uint8_t>(colours.size() - 1);
}

// Collection and indexing in one pass. Appending a colour at its first
// appearance while the table has room gives the same table as a separate scan
// that stops at K colours, and the same indices as a later search for the
// first equal entry: the table only grows, so a colour's index never changes,
// and a colour that finds the table full never enters it. Pictures come in
// long runs of one colour, so a pixel equal to its predecessor skips even the
// cache. Returns false if the index buffer cannot be allocated.
bool index_picture(const RgbImage& image, int k, IndexedPicture& out) {
  const size_t count = image.pixels.size();
  out.bits = table_bits_for(k);
  out.colours.reserve(static_cast<size_t>(k));
  out.indices.reset(new (std::nothrow) uint8_t[count]);
  if (!out.indices) return false;
  const size_t limit = static_cast<size_t>(k);
  ColourCache cache;
  uint32_t previous = image.pixels[0] & kRgbMask;
  uint8_t previous_index = index_of(out.colours, limit, previous);
  const uint32_t* pixels = image.pixels.data();
  uint8_t* indices = out.indices.get();
  for (size_t i = 0; i < count; ++i) {
    const uint32_t rgb = pixels[i] & kRgbMask;
    if (rgb != previous) {
      previous = rgb;
      const int cached = cache.find(rgb);
      if (cached >= 0) {
        previous_index = static_cast<uint8_t>(cached);
      } else {
        previous_index = index_of(out.colours, limit, rgb);
        cache.put(rgb, previous_index);
      }
    }
    indices[i] = previous_index;
  }
  return true;
}

void put16(std::vector<uint8_t>& out, int value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

// Everything before the image data: signature, logical screen descriptor,
// global colour table, image descriptor and the minimum code size.
std::vector<uint8_t> build_header(const RgbImage& image, const IndexedPicture& picture,
                                  int min_code_size) {
  const size_t entries = size_t{1} << picture.bits;
  std::vector<uint8_t> out;
  out.reserve(13 + 3 * entries + 11);
  for (char ch : {'G', 'I', 'F', '8', '7', 'a'}) out.push_back(static_cast<uint8_t>(ch));
  put16(out, image.width);
  put16(out, image.height);
  // Global table present, 8 bits of colour resolution, unsorted, 2^N entries.
  out.push_back(static_cast<uint8_t>(0x80 | 0x70 | (picture.bits - 1)));
  out.push_back(0);  // background colour index
  out.push_back(0);  // no aspect ratio given
  for (size_t i = 0; i < entries; ++i) {
    const uint32_t rgb = i < picture.colours.size() ? picture.colours[i] : 0;
    out.push_back(static_cast<uint8_t>(rgb >> 16));
    out.push_back(static_cast<uint8_t>(rgb >> 8));
    out.push_back(static_cast<uint8_t>(rgb));
  }
  out.push_back(0x2C);  // image separator ','
  put16(out, 0);        // left
  put16(out, 0);        // top
  put16(out, image.width);
  put16(out, image.height);
  out.push_back(0);  // no local table, not interlaced
  out.push_back(static_cast<uint8_t>(min_code_size));
  return out;
}

}  // namespace

bool write_gif(const RgbImage& image, ByteSink& sink, int colour_count) {
  if (!rgb_image_is_consistent(image)) return false;
  if (image.width > kGifMaxSide || image.height > kGifMaxSide) return false;
  if (colour_count < 1 || colour_count > 256) return false;

  IndexedPicture picture;
  if (!index_picture(image, colour_count, picture)) return false;
  const int min_code_size = picture.bits < 2 ? 2 : picture.bits;
  GifLzwEncoder lzw(sink, min_code_size);
  if (!lzw.ok()) return false;  // dictionary not allocated; nothing written

  const std::vector<uint8_t> header = build_header(image, picture, min_code_size);
  if (!sink.write(header.data(), header.size())) return false;
  // One call: runs of the background are followed across row ends.
  lzw.add(picture.indices.get(), image.pixels.size());
  if (!lzw.finish()) return false;
  const uint8_t trailer = 0x3B;  // ';'
  return sink.write(&trailer, 1);
}

}  // namespace kv

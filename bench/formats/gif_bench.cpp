// GIF export of a full-HD graph picture: our whole export (colour collection,
// indexing, LZW, blocks) beside giflib's EGifPutLine on the same indices, and
// both LZW encoders alone on those indices. Target: ours no slower than
// giflib.
#include <gif_lib.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "formats/gif_lzw.h"
#include "formats/gif_writer.h"

namespace {

using kv::RgbImage;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// White background, dotted grid, axes with ticks, four curves two pixels
// wide, and blocks of text-like noise for the tick labels and formula texts.
RgbImage make_plot_picture() {
  RgbImage image{kWidth, kHeight, std::vector<uint32_t>(size_t(kWidth) * kHeight, 0xFFFFFF)};
  auto set = [&](int x, int y, uint32_t c) {
    if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) image.pixels[size_t(y) * kWidth + size_t(x)] = c;
  };
  for (int g = 0; g < kWidth; g += 48)
    for (int y = 0; y < kHeight; y += 2) set(g, y, 0xCCCCCC);
  for (int g = 0; g < kHeight; g += 48)
    for (int x = 0; x < kWidth; x += 2) set(x, g, 0xCCCCCC);
  const int ox = kWidth / 2 - 37, oy = kHeight / 2 + 11;
  for (int x = 0; x < kWidth; ++x) set(x, oy, 0x000000), set(x, oy + 1, 0x000000);
  for (int y = 0; y < kHeight; ++y) set(ox, y, 0x000000), set(ox + 1, y, 0x000000);
  for (int t = 0; t < kWidth; t += 96)
    for (int d = -4; d <= 4; ++d) set(t, oy + d, 0x999999);
  const uint32_t curve_colours[] = {0xFF0000, 0x0000FF, 0x00A600, 0xFF9300};
  for (int c = 0; c < 4; ++c) {
    int last = -1;
    for (int x = 0; x < kWidth; ++x) {
      const double u = (x - ox) / 160.0;
      const double v = c == 0 ? std::sin(u) * 3 : c == 1 ? u * u * u / 20 - u : c == 2 ? std::exp(-u * u) * 4 : std::cos(3 * u) + u / 2;
      const int y = std::clamp(oy - int(std::lround(v * 100)), -1, kHeight);
      const int from = last < 0 ? y : std::min(last, y), to = last < 0 ? y : std::max(last, y);
      for (int yy = from; yy <= to; ++yy) set(x, yy, curve_colours[c]), set(x + 1, yy, curve_colours[c]);
      last = y;
    }
  }
  std::mt19937 rng(7);
  std::bernoulli_distribution ink(0.35);
  for (int label = 0; label < 120; ++label) {
    const int x0 = int(rng() % (kWidth - 60)), y0 = int(rng() % (kHeight - 12));
    const uint32_t colour = label < 100 ? 0x000000 : curve_colours[label % 4];
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 6 * int(3 + rng() % 6); ++x)
        if (ink(rng)) set(x0 + x, y0 + y, colour);
  }
  return image;
}

// Colour table and indices as our writer builds them, for the LZW-only runs.
struct Indexed {
  std::vector<uint32_t> colours;
  std::vector<uint8_t> indices;
};

Indexed index_picture(const RgbImage& image) {
  Indexed out;
  out.indices.reserve(image.pixels.size());
  for (uint32_t p : image.pixels) {
    auto it = std::find(out.colours.begin(), out.colours.end(), p);
    if (it == out.colours.end() && out.colours.size() < size_t(kv::kGifColourCount))
      it = out.colours.insert(out.colours.end(), p);
    out.indices.push_back(it == out.colours.end() ? 0 : uint8_t(it - out.colours.begin()));
  }
  return out;
}

const RgbImage& plot_picture() {
  static const RgbImage image = make_plot_picture();
  return image;
}

const RgbImage& noise_picture() {
  static const RgbImage image = [] {
    RgbImage n{kWidth, kHeight, std::vector<uint32_t>(size_t(kWidth) * kHeight)};
    std::mt19937 rng(3);
    for (uint32_t& p : n.pixels) p = 0x0F0F0Fu * (rng() % 20);
    return n;
  }();
  return image;
}

void report(benchmark::State& state, size_t bytes) {
  state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
  state.counters["file_bytes"] = double(bytes);
}

void ours_whole_export(benchmark::State& state, const RgbImage& image) {
  size_t bytes = 0;
  for (auto _ : state) {
    kv::MemorySink sink;
    sink.bytes.reserve(4 << 20);
    if (!kv::write_gif(image, sink)) state.SkipWithError("write_gif failed");
    bytes = sink.bytes.size();
    benchmark::DoNotOptimize(sink.bytes.data());
  }
  report(state, bytes);
}

void ours_lzw_only(benchmark::State& state, const RgbImage& image) {
  const Indexed indexed = index_picture(image);
  size_t bytes = 0;
  for (auto _ : state) {
    kv::MemorySink sink;
    sink.bytes.reserve(4 << 20);
    kv::GifLzwEncoder lzw(sink, 5);
    for (int y = 0; y < kHeight; ++y) lzw.add(indexed.indices.data() + size_t(y) * kWidth, kWidth);
    if (!lzw.finish()) state.SkipWithError("LZW failed");
    bytes = sink.bytes.size();
    benchmark::DoNotOptimize(sink.bytes.data());
  }
  report(state, bytes);
}

int write_to_vector(GifFileType* gif, const GifByteType* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + size);
  return size;
}

// giflib from ready indices: screen and image descriptors, EGifPutLine per row.
void giflib_put_line(benchmark::State& state, const RgbImage& image) {
  Indexed indexed = index_picture(image);
  std::vector<GifColorType> colours(32, GifColorType{0, 0, 0});
  for (size_t i = 0; i < indexed.colours.size(); ++i)
    colours[i] = GifColorType{GifByteType(indexed.colours[i] >> 16), GifByteType(indexed.colours[i] >> 8),
                              GifByteType(indexed.colours[i])};
  size_t bytes = 0;
  for (auto _ : state) {
    std::vector<uint8_t> out;
    out.reserve(4 << 20);
    int error = 0;
    GifFileType* gif = EGifOpen(&out, write_to_vector, &error);
    ColorMapObject* map = GifMakeMapObject(32, colours.data());
    bool ok = gif && map && EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < kHeight; ++y)
      ok = EGifPutLine(gif, indexed.indices.data() + size_t(y) * kWidth, kWidth) == GIF_OK;
    GifFreeMapObject(map);
    if (gif && EGifCloseFile(gif, &error) != GIF_OK) ok = false;
    if (!ok) state.SkipWithError("giflib failed");
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  report(state, bytes);
}

void BM_Plot_OursWholeExport(benchmark::State& s) { ours_whole_export(s, plot_picture()); }
void BM_Plot_OursLzwOnly(benchmark::State& s) { ours_lzw_only(s, plot_picture()); }
void BM_Plot_GiflibPutLine(benchmark::State& s) { giflib_put_line(s, plot_picture()); }
void BM_Noise_OursWholeExport(benchmark::State& s) { ours_whole_export(s, noise_picture()); }
void BM_Noise_OursLzwOnly(benchmark::State& s) { ours_lzw_only(s, noise_picture()); }
void BM_Noise_GiflibPutLine(benchmark::State& s) { giflib_put_line(s, noise_picture()); }

BENCHMARK(BM_Plot_OursWholeExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plot_OursLzwOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plot_GiflibPutLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Noise_OursWholeExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Noise_OursLzwOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Noise_GiflibPutLine)->Unit(benchmark::kMillisecond);

}  // namespace

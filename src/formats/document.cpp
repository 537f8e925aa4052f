// Document files: byte layout, writing, and reading into a DocumentData.
#include "formats/document.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "formats/version.h"

namespace kv {
namespace {

constexpr char kMagic[] = "Kurvaline";      // 9 characters and the NUL
constexpr char kOldMagic[] = "Kurva.line";  // 10 characters and the NUL
constexpr size_t kVersionReadBytes = 13;    // read after the magic, NUL included
constexpr size_t kValueRecordBytes = 24;
constexpr size_t kOptionsBytes = 4 * kOptionCount;
// The options after the axis titles, as they are written when on.
constexpr std::string_view kMarkPointsOn = "MarkPoints=1";
constexpr std::string_view kMarkDiscontinuitiesOn = "MarkDiscontinuities=1";

// Where the chunks of one layout lie. The two layouts share the header, the
// panel index at 256 and the inner layout of every chunk.
struct Layout {
  size_t binary_bytes;
  int default_range_count;
  size_t options_at;
  bool has_dialog_pos;  // right after the options
  size_t values_at;
  bool has_t_range;  // the value records include t min and t max
  size_t flags_at;
};

constexpr size_t kPanelIndexAt = 256;
constexpr size_t kDefaultRangesAt = 260;

constexpr Layout kCurrentLayout{kDocumentBinaryBytes, kRangeCount, 404, true, 1284, true, 1640};
constexpr Layout kLegacyLayout{kLegacyDocumentBinaryBytes, 4, 356, false, 1284, false, 1592};

// The value slots a layout stores, in file order.
int value_slot_count(const Layout& layout) {
  return layout.has_t_range ? kStoredValueCount : kStoredValueCount - 2;
}
int value_slot(const Layout& layout, int stored) {
  if (layout.has_t_range || stored < kTMin) return stored;
  return stored + 2;  // the legacy layout skips t min and t max
}

// --- little-endian fields -------------------------------------------------

void put_i32(std::vector<uint8_t>& buf, size_t at, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) buf[at + i] = static_cast<uint8_t>(u >> (8 * i));
}

void put_f64(std::vector<uint8_t>& buf, size_t at, double v) {
  const auto u = std::bit_cast<uint64_t>(v);
  for (int i = 0; i < 8; ++i) buf[at + i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t get_i32(const uint8_t* data, size_t at) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= uint32_t{data[at + i]} << (8 * i);
  return static_cast<int32_t>(u);
}

double get_f64(const uint8_t* data, size_t at) {
  uint64_t u = 0;
  for (int i = 0; i < 8; ++i) u |= uint64_t{data[at + i]} << (8 * i);
  return std::bit_cast<double>(u);
}

void put_value(std::vector<uint8_t>& buf, size_t at, const StoredValue& v) {
  put_f64(buf, at, v.value);
  put_i32(buf, at + 20, v.text_stale ? 1 : 0);  // bytes 8..19 stay zero
}

// --- sanitising -------------------------------------------------------------

bool is_automatic_slot(int slot) { return slot <= kYMax; }

StoredValue get_value(const uint8_t* data, size_t at, int slot) {
  StoredValue v;
  v.value = get_f64(data, at);
  if (!std::isfinite(v.value)) v.value = is_automatic_slot(slot) ? kUndefined : 0.0;
  v.text_stale = get_i32(data, at + 20) != 0;
  return v;
}

int sanitise_option(int index, int32_t v) {
  if (index == kOptLineWidth) {
    const int w = v & 3;
    return w == 0 ? 1 : w;
  }
  if (index == kOptPalette) return std::clamp(v, 0, 2);
  return v != 0 ? 1 : 0;
}

double sanitise_angle(double factor) {
  // Halfway between radians and degrees, so a value near either reads as it.
  constexpr double kAngleThreshold = 28.64788975654116;
  if (!std::isfinite(factor) || factor < kAngleThreshold) return kRadians;
  return kDegrees;
}

// --- texts -----------------------------------------------------------------

// Appends text and its NUL. NUL bytes inside are left out; with line_breaks,
// a lone LF or CR becomes CR LF.
void append_text(std::string& out, std::string_view text, bool line_breaks) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\0') continue;
    if (line_breaks && (c == '\r' || c == '\n')) {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      continue;
    }
    out += c;
  }
  out += '\0';
}

// Hands out the strings of the text area one by one.
class TextArea {
 public:
  TextArea(const uint8_t* data, size_t size)
      : p_(reinterpret_cast<const char*>(data)), end_(p_ + size) {}

  // False when the area is exhausted; the last string may lack its NUL.
  bool next(std::string& out) {
    if (p_ == end_) return false;
    const void* nul = std::memchr(p_, '\0', static_cast<size_t>(end_ - p_));
    const char* stop = nul ? static_cast<const char*>(nul) : end_;
    out.assign(p_, stop);
    p_ = stop == end_ ? end_ : stop + 1;
    return true;
  }

 private:
  const char* p_;
  const char* end_;
};

// --- the fixed block --------------------------------------------------------

void read_binary_part(const uint8_t* data, const Layout& layout, DocumentData& out) {
  out.panel_index = std::clamp(get_i32(data, kPanelIndexAt), int32_t{kPanelFunction},
                               int32_t{kPanelDiffEqu});
  for (int r = 0; r < layout.default_range_count; ++r)
    out.default_range[r] = get_value(data, kDefaultRangesAt + kValueRecordBytes * r, r);
  for (int o = 0; o < kOptionCount; ++o)
    out.options[o] = sanitise_option(o, get_i32(data, layout.options_at + 4 * o));
  if (layout.has_dialog_pos) {
    const size_t at = layout.options_at + kOptionsBytes;
    for (int i = 0; i < 4; ++i) out.dialog_pos[i] = get_i32(data, at + 4 * i);
  }
  for (int s = 0; s < value_slot_count(layout); ++s) {
    const int slot = value_slot(layout, s);
    out.values[slot] = get_value(data, layout.values_at + kValueRecordBytes * s, slot);
  }
  const size_t f = layout.flags_at;
  out.option_flag = std::clamp(get_i32(data, f), int32_t{0}, int32_t{1});
  out.angle_mode = sanitise_angle(get_f64(data, f + 4));
  out.ymin_fixed = get_i32(data, f + 12) != 0;
  out.ymax_fixed = get_i32(data, f + 16) != 0;
  out.derivative = get_i32(data, f + 20) == 1;
}

void read_text_area(const uint8_t* data, size_t size, const Layout& layout, DocumentData& out) {
  TextArea area(data, size);
  area.next(out.formula);
  for (int s = 0; s < value_slot_count(layout); ++s) {
    if (!area.next(out.values[value_slot(layout, s)].text)) break;
  }
  std::string title;
  if (area.next(title)) out.title_x = title;
  if (area.next(title)) out.title_y = title;
  std::string extra;
  while (area.next(extra)) {
    if (extra == kMarkPointsOn) out.mark_points = true;
    if (extra == kMarkDiscontinuitiesOn) out.mark_discontinuities = true;
  }
}

// The magic's length (9 or 10), or 0 for a file that is not a document.
size_t magic_length(const uint8_t* data, size_t size) {
  if (size >= 9 && std::memcmp(data, kMagic, 9) == 0) return 9;
  if (size >= 10 && std::memcmp(data, kOldMagic, 10) == 0) return 10;
  return 0;
}

// Owns a file descriptor.
struct Fd {
  int fd = -1;
  explicit Fd(int f) : fd(f) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

DocumentData capture_document(const PanelRecord& panel) {
  DocumentData doc;
  doc.version = kDocumentVersion;
  doc.panel_index = panel.role;
  for (int r = 0; r < kRangeCount; ++r)
    doc.default_range[r] = {panel.default_range[r].value, {}, panel.default_range[r].text_stale};
  std::copy_n(panel.options.begin(), kOptionCount, doc.options.begin());
  doc.mark_points = panel.option(kOptMarkPoints) != 0;
  doc.mark_discontinuities = panel.option(kOptMarkDiscontinuities) != 0;
  const DialogRect& pos = panel.dialog_pos;
  doc.dialog_pos = {pos.left, pos.top, pos.right, pos.bottom};
  for (int s = 0; s < kStoredValueCount; ++s) {
    const RangeValue& v = s < kRangeCount ? panel.range[s] : panel.dialog_values[s - kRangeCount];
    doc.values[s] = {v.value, v.has_text ? v.text : std::string(), v.text_stale};
  }
  // An automatic y bound holds the fitted value while shown; the file keeps
  // it automatic, which is what every reader takes for "not fixed".
  if (!panel.ymin_fixed) doc.values[kYMin].value = kUndefined;
  if (!panel.ymax_fixed) doc.values[kYMax].value = kUndefined;
  doc.option_flag = panel.option_flag;
  doc.angle_mode = panel.angle_mode;
  doc.ymin_fixed = panel.ymin_fixed;
  doc.ymax_fixed = panel.ymax_fixed;
  doc.derivative = panel.derivative;
  doc.formula = panel.source;
  doc.title_x = panel.title_x;
  doc.title_y = panel.title_y;
  return doc;
}

bool write_document(ByteSink& sink, const DocumentData& doc) {
  if (!is_drawing_panel(doc.panel_index)) return false;
  const Layout& layout = kCurrentLayout;
  std::vector<uint8_t> bin(layout.binary_bytes, 0);
  std::memcpy(bin.data(), kMagic, sizeof kMagic);
  std::memcpy(bin.data() + sizeof kMagic, kDocumentVersion, std::strlen(kDocumentVersion) + 1);
  put_i32(bin, kPanelIndexAt, doc.panel_index);
  for (int r = 0; r < kRangeCount; ++r)
    put_value(bin, kDefaultRangesAt + kValueRecordBytes * r, doc.default_range[r]);
  for (int o = 0; o < kOptionCount; ++o) put_i32(bin, layout.options_at + 4 * o, doc.options[o]);
  const size_t pos_at = layout.options_at + kOptionsBytes;
  for (int i = 0; i < 4; ++i) put_i32(bin, pos_at + 4 * i, doc.dialog_pos[i]);
  for (int s = 0; s < kStoredValueCount; ++s)
    put_value(bin, layout.values_at + kValueRecordBytes * s, doc.values[s]);
  const size_t f = layout.flags_at;
  put_i32(bin, f, doc.option_flag);
  put_f64(bin, f + 4, doc.angle_mode);
  put_i32(bin, f + 12, doc.ymin_fixed ? 1 : 0);
  put_i32(bin, f + 16, doc.ymax_fixed ? 1 : 0);
  put_i32(bin, f + 20, doc.derivative ? 1 : 0);

  // Both titles are always written: leaving out an empty x title would make
  // the y title read back as the x title.
  std::string texts;
  append_text(texts, doc.formula, true);
  for (const StoredValue& v : doc.values) append_text(texts, v.text, false);
  append_text(texts, doc.title_x.value_or(std::string()), false);
  append_text(texts, doc.title_y.value_or(std::string()), false);
  // Written only when on, so that a document without the later options has
  // exactly the bytes it always had.
  if (doc.mark_points) append_text(texts, kMarkPointsOn, false);
  if (doc.mark_discontinuities) append_text(texts, kMarkDiscontinuitiesOn, false);
  return sink.write(bin.data(), bin.size()) && sink.write(texts.data(), texts.size());
}

bool save_document_file(const std::string& path, const PanelRecord& panel, SaveWait wait) {
  const DocumentData doc = capture_document(panel);
  return write_file_replacing(
      path, [&doc](ByteSink& sink) { return write_document(sink, doc); }, wait);
}

bool parse_document(const uint8_t* data, size_t size, DocumentData& out) {
  const size_t magic = magic_length(data, size);
  if (magic == 0 || size < magic + kVersionReadBytes) return false;
  // The version begins after the magic's NUL and may fill the rest of the
  // bytes read without a NUL of its own.
  const char* version = reinterpret_cast<const char*>(data) + magic + 1;
  const size_t version_bytes = kVersionReadBytes - 1;
  out = DocumentData{};
  out.version.assign(version, std::find(version, version + version_bytes, '\0'));
  out.legacy = compare_versions(out.version, kLegacyLayoutVersion) != kVersionNewer;

  const Layout& layout = out.legacy ? kLegacyLayout : kCurrentLayout;
  if (size <= layout.binary_bytes || size - layout.binary_bytes > kDocumentTextLimit) return false;
  read_binary_part(data, layout, out);
  read_text_area(data + layout.binary_bytes, size - layout.binary_bytes, layout, out);
  return true;
}

bool read_document_file(const std::string& path, DocumentData& out) {
  // O_NONBLOCK: opening a named pipe must not wait for a writer.
  Fd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.fd < 0) return false;
  struct stat st;
  if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const size_t limit = kDocumentBinaryBytes + kDocumentTextLimit;
  if (st.st_size < 0 || static_cast<uint64_t>(st.st_size) > limit) return false;

  // Read to the end even if the file grew since fstat, but never past limit.
  std::vector<uint8_t> bytes(static_cast<size_t>(st.st_size) + 1);
  size_t used = 0;
  for (;;) {
    if (used == bytes.size()) {
      if (bytes.size() > limit) return false;
      bytes.resize(std::min(bytes.size() * 2, limit + 1));
    }
    const ssize_t n = ::read(file.fd, bytes.data() + used, bytes.size() - used);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    used += static_cast<size_t>(n);
  }
  return parse_document(bytes.data(), used, out);
}

}  // namespace kv

// Document files (".kvl"): one drawing panel as a fixed binary block followed
// by a text area of NUL-terminated Windows-1252 strings.
//
// Layout written (all integers little-endian int32, doubles IEEE 754; a value
// record is 24 bytes: the double, 8 zero bytes, 4 zero bytes where memory
// keeps the text, the text-stale flag as int32):
//
//   0     10  "Kurvaline" NUL
//   10        the version of the writing program ("0.94.0.0", at most 12
//             characters), NUL, then zeros up to 256
//   256    4  drawing panel index (0 Function, 1 Integral, 2 DiffEqu)
//   260  144  six default-range records (x min, x max, y min, y max, t min, t max)
//   404   60  the fifteen options in their stored order
//   464   16  dialog placement: left, top, right, bottom
//   480  804  zeros
//   1284 312  thirteen value records: the six ranges, x step, start x,
//             start y, y', y'', y''', y''''
//   1596  44  zeros
//   1640 240  flag block: option flag, angle factor (double), y-min-fixed,
//             y-max-fixed, derivative flag, then 216 zero bytes
//   1880 428  zeros
//   2308      texts: the formula (line breaks as CR LF), the thirteen value
//             texts (empty for a value without text), the x and y axis titles,
//             then the options added later, one text "Key=1" each, written
//             only when on: "MarkPoints=1", "MarkDiscontinuities=1". An older reader stops after the
//             titles; a key this reader does not know is skipped, and one
//             that is absent reads as off.
//
// Files whose version compares lower than or equal to "0.93.9.9" are read in
// the older layout: magic "Kurvaline" or "Kurva.line", four default ranges at
// 260, the options at 356, eleven value records at 1284 (no t min, t max),
// the flag block at 1592, the texts at 2260 with eleven value texts.
//
// Reading never touches a panel: parse_document fills a DocumentData and
// refuses (returns false) a wrong magic, a file not longer than its binary
// part, or a text area larger than kDocumentTextLimit; it reads in time
// linear in the size. Every value is sanitised on the way in, so a
// DocumentData is always safe to apply (document_apply.h):
//   - panel index clamped to 0..2;
//   - LineWidth := LineWidth AND 3, and 1 if that is 0; Palette clamped to
//     0..2; every other option and flag is 0 or 1 (non-zero reads as 1,
//     except a derivative flag other than 0 or 1, which reads as 0); the
//     option flag is clamped to 0..1;
//   - a NaN or infinite value becomes the automatic value (the largest double)
//     for x min, x max, y min and y max, and 0.0 for every other value;
//   - an angle factor that is NaN, infinite or below 28.64788975654116 reads
//     as radians (1.0), any other as degrees (57.29577951308232);
//   - the text area may end early: missing value texts are empty, a missing
//     axis title is absent (the panel keeps its own); an unterminated last
//     string counts up to the end of the file.
//
// Writing refuses a panel index outside 0..2. A y bound whose fixed flag is
// 0 is written as the automatic value, whatever it was fitted to. A NUL cannot be stored inside
// a text (it would end it and shift every later text), so NUL bytes are left
// out; lone LF or CR in the formula text are written as CR LF.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "formats/byte_sink.h"
#include "formats/program_version.h"
#include "model/panel_record.h"

namespace kv {

inline constexpr size_t kDocumentBinaryBytes = 2308;
inline constexpr size_t kLegacyDocumentBinaryBytes = 2260;
// Far beyond any formula a dialog takes, small enough to read at once.
inline constexpr size_t kDocumentTextLimit = size_t{4} << 20;
inline constexpr const char* kDocumentVersion = kProgramVersion;
// Readers take at most 12 characters of the version.
static_assert(std::char_traits<char>::length(kDocumentVersion) <= 12);
inline constexpr const char* kLegacyLayoutVersion = "0.93.9.9";  // and older

// The thirteen stored values: the six ranges, then the seven dialog values.
inline constexpr int kStoredValueCount =
    static_cast<int>(kRangeCount) + static_cast<int>(kDialogValueCount);
// Where a dialog value lies among the stored values.
constexpr int stored_slot(DialogValueIndex i) {
  return static_cast<int>(kRangeCount) + static_cast<int>(i);
}

struct StoredValue {
  double value = 0.0;
  std::string text;  // empty: the value has no text
  bool text_stale = false;
  bool operator==(const StoredValue&) const = default;
};

struct DocumentData {
  std::string version;  // as stored, at most 12 characters
  bool legacy = false;  // older layout: no t range, no dialog placement stored
  int panel_index = kPanelFunction;
  std::array<StoredValue, kRangeCount> default_range;  // texts are not stored
  std::array<int, kOptionCount> options{};
  std::array<int, 4> dialog_pos{};  // left, top, right, bottom
  std::array<StoredValue, kStoredValueCount> values;  // legacy: t min, t max unused
  int option_flag = 0;
  double angle_mode = kRadians;
  bool ymin_fixed = false;
  bool ymax_fixed = false;
  bool derivative = false;
  std::string formula;
  std::optional<std::string> title_x, title_y;  // absent: the panel keeps its title
  bool mark_points = false;  // after the titles
  bool mark_discontinuities = false;  // after MarkPoints

  bool operator==(const DocumentData&) const = default;
};

// What a save of panel stores; the panel index is panel.role.
DocumentData capture_document(const PanelRecord& panel);

// The bytes of doc in the current layout; false (after writing part of it)
// when doc.panel_index is outside 0..2 or the sink fails.
bool write_document(ByteSink& sink, const DocumentData& doc);

// Saves panel through write_file_replacing (a temporary file renamed over
// path, so a failed save leaves an existing file untouched; see there for the
// targets written in place or refused). The caller shows "Fehler beim
// Speichern der Datei" on false.
bool save_document_file(const std::string& path, const PanelRecord& panel,
                        SaveWait wait = SaveWait::Never);

// Parses a whole file's bytes; on false out is unspecified.
bool parse_document(const uint8_t* data, size_t size, DocumentData& out);

// Reads and parses the file at path. Refuses what cannot be opened for
// reading, anything but a regular file (a folder, a pipe or a device is never
// waited on or read endlessly), and a file larger than its binary part plus
// kDocumentTextLimit before reading it. The caller shows "Datei konnte nicht
// geöffnet werden" on false where the open asked for a name.
bool read_document_file(const std::string& path, DocumentData& out);

}  // namespace kv

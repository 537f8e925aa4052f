// libFuzzer target for document files.
//
// The input is the whole file. Any crash or sanitizer report is a finding; so
// is a broken contract, which aborts:
//   - whatever parse_document accepts is sanitised: panel index 0..2,
//     LineWidth 1..3, Palette 0..2, other options 0 or 1, option flag 0..1,
//     angle factor exactly radians or degrees, every value finite, a version
//     of at most 12 characters;
//   - what was read writes and reads back; a second round trip changes
//     nothing (the first may turn the older layout into the current one and
//     line breaks into CR LF);
//   - applying it to a panel sets the options the commands name and leaves
//     FillIntegralArea alone.
// An input whose last byte is 0xFF is also read with its text area padded to
// the size limit and one byte beyond it: the first may be accepted, the
// second never.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "formats/document.h"
#include "formats/document_apply.h"
#include "formats/version.h"
#include "model/initial_contents.h"

namespace {

using namespace kv;

[[noreturn]] void broken(const char* what) {
  std::fprintf(stderr, "contract broken: %s\n", what);
  std::abort();
}

void check_sanitised(const DocumentData& doc) {
  if (!is_drawing_panel(doc.panel_index)) broken("panel index");
  for (int o = 0; o < kOptionCount; ++o) {
    const int v = doc.options[o];
    const bool ok = o == kOptLineWidth ? v >= 1 && v <= 3
                    : o == kOptPalette ? v >= 0 && v <= 2
                                       : v == 0 || v == 1;
    if (!ok) broken("option");
  }
  if (doc.option_flag != 0 && doc.option_flag != 1) broken("option flag");
  if (doc.angle_mode != kRadians && doc.angle_mode != kDegrees) broken("angle factor");
  for (const StoredValue& v : doc.values)
    if (!std::isfinite(v.value)) broken("value");
  for (const StoredValue& v : doc.default_range)
    if (!std::isfinite(v.value)) broken("default range");
  if (doc.version.size() > 12) broken("version length");
}

DocumentData round_trip(const DocumentData& doc) {
  MemorySink sink;
  if (!write_document(sink, doc)) broken("write refused a read document");
  DocumentData back;
  if (!parse_document(sink.bytes.data(), sink.bytes.size(), back)) broken("written file refused");
  if (back.legacy || back.version != kDocumentVersion) broken("written version");
  return back;
}

void check_apply(const DocumentData& doc) {
  // A fresh set each time, so that a finding reproduces from its input alone.
  auto panels = std::make_unique<PanelSet>();
  fill_initial_contents(*panels);
  PanelRecord& panel = (*panels)[doc.panel_index];
  const int fill = panel.options[kOptFillIntegralArea];
  const double tmin = panel.range[kTMin].value;
  apply_option_changes(document_option_changes(doc, panel), panel);
  for (int o = 0; o < kOptionCount; ++o) {
    if (o != kOptFillIntegralArea && panel.options[o] != doc.options[o]) broken("option applied");
  }
  if (panel.options[kOptFillIntegralArea] != fill) broken("FillIntegralArea applied");
  apply_document_values(doc, panel);
  if (doc.legacy && panel.range[kTMin].value != tmin) broken("legacy t range replaced");
  if (panel.ymin_fixed == panel.range[kYMin].is_automatic()) broken("y-min-fixed");
}

void check_huge_text_area(const uint8_t* data, size_t size) {
  static std::vector<uint8_t> buffer;
  const size_t full = kDocumentBinaryBytes + kDocumentTextLimit + 1;
  if (buffer.empty()) buffer.assign(full, 'x');
  const size_t head = std::min(size, kDocumentBinaryBytes);
  std::memcpy(buffer.data(), data, head);
  DocumentData doc;
  if (parse_document(buffer.data(), full, doc)) broken("text area beyond the limit");
  if (parse_document(buffer.data(), full - 1, doc)) check_sanitised(doc);
  std::memset(buffer.data(), 'x', head);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DocumentData doc;
  if (size > 0 && data[size - 1] == 0xFF) check_huge_text_area(data, size);
  if (!parse_document(data, size, doc)) return 0;
  check_sanitised(doc);
  const DocumentData once = round_trip(doc);
  check_sanitised(once);
  if (!(round_trip(once) == once)) broken("second round trip changed the document");
  check_apply(doc);
  return 0;
}

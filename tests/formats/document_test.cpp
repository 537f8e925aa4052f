// Document files: sizes, the older layout, sanitising of what is read, the
// text area, round trips, and the file side of reading and saving.
#include "formats/document.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <climits>
#include <cstring>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "formats/document_apply.h"
#include "model/initial_contents.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void put32(Bytes& b, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> 8 * i);
}
void put64(Bytes& b, size_t at, double v) {
  const auto u = std::bit_cast<uint64_t>(v);
  for (int i = 0; i < 8; ++i) b[at + i] = static_cast<uint8_t>(u >> 8 * i);
}

// Panels own their compiled formulas and cannot be copied: each test that
// changes one takes a fresh set.
std::unique_ptr<PanelSet> fresh_panels() {
  auto panels = std::make_unique<PanelSet>();
  fill_initial_contents(*panels);
  return panels;
}

const PanelSet& initial_panels() {
  static const std::unique_ptr<PanelSet> panels = fresh_panels();
  return *panels;
}

Bytes encode(const DocumentData& doc) {
  MemorySink sink;
  EXPECT_TRUE(write_document(sink, doc));
  return sink.bytes;
}

Bytes encode_panel(int index) { return encode(capture_document(initial_panels()[index])); }

bool parse(const Bytes& b, DocumentData& out) { return parse_document(b.data(), b.size(), out); }

DocumentData parsed(const Bytes& b) {
  DocumentData doc;
  EXPECT_TRUE(parse(b, doc));
  return doc;
}

// The older layout: "Kurva.line", four default ranges, no dialog placement,
// eleven value records, texts at 2260.
Bytes legacy_file(const char* version, const std::string& texts,
                  const char* magic = "Kurva.line") {
  Bytes b(kLegacyDocumentBinaryBytes, 0);
  std::memcpy(b.data(), magic, std::strlen(magic));
  std::memcpy(b.data() + std::strlen(magic) + 1, version, std::strlen(version));
  put32(b, 256, 1);
  put32(b, 356, 2);           // LineWidth
  put32(b, 356 + 4 * 7, 1);   // Palette
  put64(b, 1284 + 24 * 0, -3.0);  // x min
  put64(b, 1284 + 24 * 4, 0.25);  // x step, right after y max
  put64(b, 1284 + 24 * 10, 85.0); // start y''''
  put32(b, 1592, 1);
  put64(b, 1592 + 4, kDegrees);
  b.insert(b.end(), texts.begin(), texts.end());
  return b;
}

TEST(DocumentLayout, NewFunctionDocumentHasTheBinaryPartAndSixteenTexts) {
  const Bytes b = encode_panel(kPanelFunction);
  const std::string text(b.begin() + kDocumentBinaryBytes, b.end());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data()), 19),
            std::string("Kurvaline\0" "0.94.0.0\0", 19));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\0'), 1 + kStoredValueCount + 2);
  EXPECT_EQ(text.substr(0, text.find('\0')), initial_function_text());
  EXPECT_TRUE(text.ends_with(std::string("X\0Y\0", 4)));
  EXPECT_EQ(std::count(b.begin() + 1880, b.begin() + 2308, 0), 428);
}

TEST(DocumentLayout, RoundTripKeepsEveryStoredField) {
  for (int p = kPanelFunction; p <= kPanelDiffEqu; ++p) {
    const DocumentData doc = capture_document(initial_panels()[p]);
    EXPECT_EQ(parsed(encode(doc)), doc) << "panel " << p;
  }
  auto panels = fresh_panels();
  PanelRecord& panel = (*panels)[kPanelIntegral];
  panel.angle_mode = kDegrees;
  panel.options[kOptPalette] = 2;
  panel.options[kOptBoxedStyle] = 1;
  panel.dialog_pos = {-5, 7, 300, INT_MAX};
  panel.range[kYMin] = {kUndefined, "", false, false};
  panel.range[kXMax] = {6.283185307179586, "2pi", true, true};
  panel.dialog_values[kStartY4].text_stale = true;
  panel.option_flag = 1;
  panel.derivative = true;
  panel.source = "x^2;\r\nsin(x)\xE4";
  panel.title_x = "";
  panel.title_y = "Höhe";
  const DocumentData doc = capture_document(panel);
  EXPECT_EQ(parsed(encode(doc)), doc);
}

TEST(DocumentLayout, FormulaLineBreaksAreWrittenAsCrLfAndNulsLeftOut) {
  DocumentData doc = capture_document(initial_panels()[kPanelFunction]);
  doc.formula = std::string("a;\nb;\rc;\r\nd\0e", 13);
  doc.values[kXMin].text = std::string("1\0+2", 4);
  const DocumentData back = parsed(encode(doc));
  EXPECT_EQ(back.formula, "a;\r\nb;\r\nc;\r\nde");
  EXPECT_EQ(back.values[kXMin].text, "1+2");
  EXPECT_EQ(back.values[kXMax].text, doc.values[kXMax].text);  // nothing shifted
}

TEST(DocumentLayout, WriterRefusesAPanelThatIsNotADrawingPanel) {
  MemorySink sink;
  EXPECT_FALSE(write_document(sink, capture_document(initial_panels()[kPanelTable])));
}

TEST(DocumentRead, SizeLimitsOfBothLayouts) {
  Bytes b = encode_panel(kPanelFunction);
  b.resize(kDocumentBinaryBytes + 1);
  DocumentData doc;
  EXPECT_TRUE(parse(b, doc));
  for (size_t n = 0; n <= kDocumentBinaryBytes; ++n)
    ASSERT_FALSE(parse_document(b.data(), n, doc)) << n << " bytes";

  b.resize(kDocumentBinaryBytes + kDocumentTextLimit, 'x');
  EXPECT_TRUE(parse(b, doc));
  b.push_back('x');
  EXPECT_FALSE(parse(b, doc));

  Bytes old = legacy_file("0.93.9.9", "f");
  EXPECT_TRUE(parse(old, doc));
  old.pop_back();
  EXPECT_FALSE(parse(old, doc));
}

TEST(DocumentRead, RefusesWhatIsNotADocument) {
  Bytes b = encode_panel(kPanelFunction);
  DocumentData doc;
  for (const char* magic : {"kurvaline", "Kurva_line", "Kurva.lin\0"}) {
    Bytes bad = b;
    std::memcpy(bad.data(), magic, 10);
    EXPECT_FALSE(parse(bad, doc)) << magic;
  }
  Bytes noise(5000);
  uint32_t s = 12345;
  for (auto& c : noise) c = static_cast<uint8_t>((s = s * 1103515245 + 12345) >> 24);
  EXPECT_FALSE(parse(noise, doc));
}

TEST(DocumentRead, LegacyLayoutByVersionWithEitherMagic) {
  const DocumentData doc = parsed(legacy_file("0.93.9.9", std::string("f\0a\0", 4)));
  EXPECT_TRUE(doc.legacy);
  EXPECT_EQ(doc.panel_index, kPanelIntegral);
  EXPECT_EQ(doc.options[kOptLineWidth], 2);
  EXPECT_EQ(doc.options[kOptPalette], 1);
  EXPECT_EQ(doc.values[kXMin].value, -3.0);
  EXPECT_EQ(doc.values[stored_slot(kXStep)].value, 0.25);
  EXPECT_EQ(doc.values[stored_slot(kStartY4)].value, 85.0);
  EXPECT_EQ(doc.option_flag, 1);
  EXPECT_EQ(doc.angle_mode, kDegrees);
  EXPECT_EQ(doc.formula, "f");
  EXPECT_EQ(doc.values[kXMin].text, "a");
  EXPECT_FALSE(doc.title_x.has_value());

  const DocumentData other = parsed(legacy_file("0.90.1.0", "f", "Kurvaline"));
  EXPECT_TRUE(other.legacy);
  EXPECT_EQ(other.version, "0.90.1.0");
  EXPECT_EQ(other.values[kXMin].value, -3.0);

  // 0.93.10.0 is newer, so the same bytes are too short for the current layout.
  DocumentData doc2;
  EXPECT_FALSE(parse(legacy_file("0.93.10.0", "f"), doc2));
}

TEST(DocumentRead, LegacyTextsSkipTheTRangeAndApplyKeepsThePanelsOwn) {
  std::string texts("f\0", 2);
  for (const char* t : {"xa", "xb", "ya", "yb", "step", "sx", "s0", "s1", "s2", "s3", "s4"})
    texts += std::string(t) + '\0';
  texts += std::string("TX\0TY", 5);
  const DocumentData doc = parsed(legacy_file("0.93.0.0", texts));
  EXPECT_EQ(doc.values[kYMax].text, "yb");
  EXPECT_EQ(doc.values[stored_slot(kXStep)].text, "step");
  EXPECT_EQ(doc.values[stored_slot(kStartY4)].text, "s4");
  EXPECT_EQ(doc.title_y, "TY");

  auto panels = fresh_panels();
  PanelRecord& panel = (*panels)[kPanelIntegral];
  panel.range[kTMin] = {-7.0, "-7", true, false};
  apply_document_values(doc, panel);
  EXPECT_EQ(panel.range[kTMin].value, -7.0);
  EXPECT_EQ(panel.range[kTMin].text, "-7");
  EXPECT_EQ(panel.range[kXMin].value, -3.0);
  EXPECT_EQ(panel.title_x, "TX");
}

TEST(DocumentRead, PanelIndexIsClamped) {
  Bytes b = encode_panel(kPanelFunction);
  const std::pair<int32_t, int> cases[] = {{7, 2}, {-1, 0}, {2, 2}, {3, 2}, {INT_MIN, 0}, {INT_MAX, 2}};
  for (auto [stored, index] : cases) {
    put32(b, 256, stored);
    EXPECT_EQ(parsed(b).panel_index, index) << stored;
  }
}

TEST(DocumentRead, AngleFactorBelowTheMidpointIsRadians) {
  Bytes b = encode_panel(kPanelFunction);
  constexpr double kMid = 28.64788975654116;
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, double> cases[] = {
      {40.0, kDegrees}, {kMid, kDegrees}, {std::nextafter(kMid, 0.0), kRadians}, {1.0, kRadians},
      {1e308, kDegrees}, {-100.0, kRadians}, {inf, kRadians}, {-inf, kRadians},
      {std::nan(""), kRadians}};
  for (auto [stored, read] : cases) {
    put64(b, 1644, stored);
    EXPECT_EQ(parsed(b).angle_mode, read) << stored;
  }
}

TEST(DocumentRead, OptionsAndFlagsAreSanitised) {
  Bytes b = encode_panel(kPanelFunction);
  const std::pair<int32_t, int> widths[] = {{0, 1}, {1, 1}, {3, 3}, {4, 1}, {7, 3}, {-1, 3}};
  for (auto [stored, read] : widths) {
    put32(b, 404, stored);
    EXPECT_EQ(parsed(b).options[kOptLineWidth], read) << stored;
  }
  const std::pair<int32_t, int> palettes[] = {{-5, 0}, {0, 0}, {2, 2}, {3, 2}};
  for (auto [stored, read] : palettes) {
    put32(b, 404 + 4 * kOptPalette, stored);
    EXPECT_EQ(parsed(b).options[kOptPalette], read) << stored;
  }
  put32(b, 404 + 4 * kOptGrid, 7);
  put32(b, 404 + 4 * kOptBoxedStyle, -2);
  put32(b, 1640, 5);       // option flag
  put32(b, 1640 + 20, 2);  // derivative flag
  DocumentData doc = parsed(b);
  EXPECT_EQ(doc.options[kOptGrid], 1);
  EXPECT_EQ(doc.options[kOptBoxedStyle], 1);
  EXPECT_EQ(doc.option_flag, 1);
  EXPECT_FALSE(doc.derivative);
  put32(b, 1640, -1);
  put32(b, 1640 + 20, 1);
  doc = parsed(b);
  EXPECT_EQ(doc.option_flag, 0);
  EXPECT_TRUE(doc.derivative);
}

TEST(DocumentRead, NonFiniteValuesBecomeAutomaticBoundsOrZero) {
  Bytes b = encode_panel(kPanelFunction);
  const double inf = std::numeric_limits<double>::infinity();
  put64(b, 1284 + 24 * kXMin, std::nan(""));
  put64(b, 1284 + 24 * kYMax, -inf);
  put64(b, 1284 + 24 * kTMin, inf);
  put64(b, 1284 + 24 * (stored_slot(kStartY)), std::nan(""));
  put64(b, 1284 + 24 * kXMax, -1e308);  // finite values stay
  const DocumentData doc = parsed(b);
  EXPECT_EQ(doc.values[kXMin].value, kUndefined);
  EXPECT_EQ(doc.values[kYMax].value, kUndefined);
  EXPECT_EQ(doc.values[kTMin].value, 0.0);
  EXPECT_EQ(doc.values[stored_slot(kStartY)].value, 0.0);
  EXPECT_EQ(doc.values[kXMax].value, -1e308);
}

TEST(DocumentRead, ShortTextAreaGivesEmptyTextsAndKeepsTheTitles) {
  Bytes b = encode_panel(kPanelDiffEqu);
  b.resize(kDocumentBinaryBytes);
  const std::string formula("y' = y\0", 7);
  b.insert(b.end(), formula.begin(), formula.end());
  const DocumentData doc = parsed(b);
  EXPECT_EQ(doc.formula, "y' = y");
  for (const StoredValue& v : doc.values) EXPECT_EQ(v.text, "");
  EXPECT_EQ(doc.values[stored_slot(kStartY4)].value, 85.0);  // values from the binary part
  EXPECT_FALSE(doc.title_x || doc.title_y);

  auto panels = fresh_panels();
  PanelRecord& panel = (*panels)[kPanelDiffEqu];
  panel.title_x = "Zeit";
  apply_document_values(doc, panel);
  EXPECT_EQ(panel.title_x, "Zeit");
  EXPECT_FALSE(panel.dialog_values[kStartY4].has_text);
  EXPECT_EQ(panel.dialog_values[kStartY4].value, 85.0);

  b.pop_back();  // an unterminated last string counts up to the end
  EXPECT_EQ(parsed(b).formula, "y' = y");
}

TEST(DocumentApply, ValuesTextsAndFixedBoundsComeFromTheDocument) {
  DocumentData doc = capture_document(initial_panels()[kPanelFunction]);
  doc.values[kYMin] = {kUndefined, "", false};
  doc.values[kYMax] = {4.0, "2*2", true};
  doc.formula = "x";
  doc.angle_mode = kDegrees;
  auto panels = fresh_panels();
  PanelRecord& panel = (*panels)[kPanelFunction];
  panel.formulas.push_back(std::make_unique<CompiledFormula>());
  panel.ymin_fixed = true;
  panel.ymax_fixed = false;
  apply_document_values(doc, panel);
  EXPECT_FALSE(panel.ymin_fixed);
  EXPECT_TRUE(panel.ymax_fixed);
  EXPECT_EQ(panel.range[kYMax].text, "2*2");
  EXPECT_TRUE(panel.range[kYMax].has_text);
  EXPECT_TRUE(panel.range[kYMax].text_stale);
  EXPECT_EQ(panel.source, "x");
  EXPECT_EQ(panel.angle_mode, kDegrees);
  EXPECT_EQ(panel.count(), 0);  // the old compiled formulas pointed into the old text
}

TEST(DocumentApply, OptionChangesInDispatchOrderOnlyForDifferences) {
  auto panels = fresh_panels();
  PanelRecord& panel = (*panels)[kPanelFunction];
  DocumentData doc = capture_document(panel);
  EXPECT_TRUE(document_option_changes(doc, panel).empty());

  panel.options[kOptBoxedStyle] = 0;
  panel.options[kOptGrid] = 0;
  panel.options[kOptEqualScales] = 1;
  panel.options[kOptPalette] = 0;
  doc.options[kOptBoxedStyle] = 1;
  doc.options[kOptGrid] = 1;
  doc.options[kOptEqualScales] = 0;
  doc.options[kOptPalette] = 2;
  doc.options[kOptFillIntegralArea] = !panel.options[kOptFillIntegralArea];
  const std::vector<OptionChange> want = {{kOptPalette, 2}, {kOptBoxedStyle, 0},
                                          {kOptBoxedStyle, 1}, {kOptGrid, 1},
                                          {kOptEqualScales, 0}};
  EXPECT_EQ(document_option_changes(doc, panel), want);

  doc.options[kOptBoxedStyle] = 0;
  panel.options[kOptBoxedStyle] = 1;
  const auto changes = document_option_changes(doc, panel);
  EXPECT_EQ(changes[1], (OptionChange{kOptBoxedStyle, 0}));
  EXPECT_NE(changes[2].option, kOptBoxedStyle);
  apply_option_changes(changes, panel);
  EXPECT_EQ(panel.options[kOptBoxedStyle], 0);
  EXPECT_EQ(panel.options[kOptPalette], 2);
  EXPECT_NE(panel.options[kOptFillIntegralArea], doc.options[kOptFillIntegralArea]);
}

// "Markante Punkte" comes after the axis titles, where an older reader
// stops: off leaves the bytes as they always were.
TEST(DocumentLayout, LaterOptionsFollowTheTitlesOnlyWhenOn) {
  auto panels = fresh_panels();
  PanelRecord& panel = (*panels)[kPanelFunction];
  const Bytes off = encode_panel(kPanelFunction);
  EXPECT_FALSE(parsed(off).mark_points);
  panel.options[kOptMarkPoints] = 1;
  const Bytes on = encode(capture_document(panel));
  ASSERT_EQ(on.size(), off.size() + 13);
  EXPECT_TRUE(std::equal(off.begin(), off.end(), on.begin()));
  EXPECT_EQ(std::string(on.end() - 13, on.end()), std::string("MarkPoints=1\0", 13));
  const DocumentData doc = parsed(on);
  EXPECT_TRUE(doc.mark_points);
  EXPECT_EQ(doc.title_y, "Y");  // the titles read as before

  // Keys of later versions are skipped, whatever their order.
  Bytes later = off;
  const std::string extra("Future=1\0MarkPoints=1\0MarkPoints=0", 35);
  later.insert(later.end(), extra.begin(), extra.end());
  EXPECT_TRUE(parsed(later).mark_points);

  // An open switches the option to the document's, off included.
  EXPECT_EQ(document_option_changes(doc, initial_panels()[kPanelFunction]),
            (std::vector<OptionChange>{{kOptMarkPoints, 1}}));
  const std::vector<OptionChange> changes = document_option_changes(parsed(off), panel);
  EXPECT_EQ(changes, (std::vector<OptionChange>{{kOptMarkPoints, 0}}));
  apply_option_changes(changes, panel);
  EXPECT_EQ(panel.option(kOptMarkPoints), 0);
}

// "Unstetigkeiten zeigen" follows "Markante Punkte", alone or with it.
TEST(DocumentLayout, MarkDiscontinuitiesFollowsMarkPoints) {
  auto panels = fresh_panels();
  PanelRecord& panel = (*panels)[kPanelFunction];
  const Bytes off = encode_panel(kPanelFunction);
  EXPECT_FALSE(parsed(off).mark_discontinuities);
  const std::string key("MarkDiscontinuities=1\0", 22);
  panel.options[kOptMarkDiscontinuities] = 1;
  const Bytes alone = encode(capture_document(panel));
  ASSERT_EQ(alone.size(), off.size() + key.size());
  EXPECT_EQ(std::string(alone.end() - 22, alone.end()), key);
  panel.options[kOptMarkPoints] = 1;
  const Bytes both = encode(capture_document(panel));
  ASSERT_EQ(both.size(), off.size() + 13 + key.size());
  EXPECT_EQ(std::string(both.end() - 35, both.end()), std::string("MarkPoints=1\0", 13) + key);
  const DocumentData doc = parsed(both);
  EXPECT_TRUE(doc.mark_points && doc.mark_discontinuities);
  EXPECT_FALSE(parsed(alone).mark_points);
  EXPECT_TRUE(parsed(alone).mark_discontinuities);
  EXPECT_EQ(document_option_changes(parsed(alone), initial_panels()[kPanelFunction]),
            (std::vector<OptionChange>{{kOptMarkDiscontinuities, 1}}));
  EXPECT_EQ(document_option_changes(parsed(off), panel),
            (std::vector<OptionChange>{{kOptMarkPoints, 0}, {kOptMarkDiscontinuities, 0}}));
}

// A fresh directory per test, removed afterwards.
class DocumentFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kv_document_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const char* name) const { return (dir_ / name).string(); }
  std::string contents(const char* name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  fs::path dir_;
};

TEST_F(DocumentFile, SavedFileReadsBackAsWritten) {
  const PanelRecord& panel = initial_panels()[kPanelDiffEqu];
  ASSERT_TRUE(save_document_file(path("a.kvl"), panel));
  DocumentData doc;
  ASSERT_TRUE(read_document_file(path("a.kvl"), doc));
  EXPECT_EQ(doc, capture_document(panel));
}

// A bound left automatic shows the fitted value; saving must not fix it there.
TEST_F(DocumentFile, AutomaticYBoundsStayAutomaticAfterSaveAndOpen) {
  for (const bool min_fixed : {false, true}) {
    auto panels = fresh_panels();
    PanelRecord& panel = (*panels)[kPanelFunction];
    panel.range[kYMin] = {-3.75, "", false, false};  // fitted, no text
    panel.range[kYMax] = {2.5, "2.5", true, false};
    panel.ymin_fixed = min_fixed;
    panel.ymax_fixed = true;
    ASSERT_TRUE(save_document_file(path("auto.kvl"), panel));
    DocumentData doc;
    ASSERT_TRUE(read_document_file(path("auto.kvl"), doc));
    auto opened = fresh_panels();
    PanelRecord& back = (*opened)[kPanelFunction];
    apply_document_values(doc, back);
    EXPECT_EQ(back.ymin_fixed, min_fixed);
    EXPECT_EQ(back.range[kYMin].is_automatic(), !min_fixed);
    if (min_fixed) {
      EXPECT_EQ(back.range[kYMin].value, -3.75);
    }
    EXPECT_TRUE(back.ymax_fixed);
    EXPECT_EQ(back.range[kYMax].value, 2.5);
  }
}

TEST_F(DocumentFile, FailedSaveKeepsTheOldFile) {
  std::ofstream(dir_ / "keep.kvl") << "old";
  EXPECT_FALSE(save_document_file(path("keep.kvl"), initial_panels()[kPanelValue]));
  EXPECT_EQ(contents("keep.kvl"), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  EXPECT_FALSE(save_document_file(path("missing/x.kvl"), initial_panels()[kPanelFunction]));
}

TEST_F(DocumentFile, RefusesFoldersPipesAndMissingOrUnreadableFiles) {
  DocumentData doc;
  EXPECT_FALSE(read_document_file(dir_.string(), doc));
  EXPECT_FALSE(read_document_file(path("none.kvl"), doc));
  EXPECT_FALSE(read_document_file("", doc));
  ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
  EXPECT_FALSE(read_document_file(path("pipe"), doc));  // returns at once, no writer needed
  ASSERT_TRUE(save_document_file(path("locked.kvl"), initial_panels()[kPanelFunction]));
  ::chmod(path("locked.kvl").c_str(), 0);
  if (::geteuid() != 0) {  // root may read it
    EXPECT_FALSE(read_document_file(path("locked.kvl"), doc));
  }
}

}  // namespace
}  // namespace kv

// kurvaline --export: renders the graph area of one drawing panel into a
// picture file, without any display.
//
// The panel starts as a first start shows it (default ranges and options, the
// panel's initial formula text) and the options given override that. Fields
// are checked in the order of the panel's formula dialog and only the first
// error counts (except for a document without field options, which is drawn
// as the window shows it when opened); then the formulas are compiled and
// the curves computed. A
// rejected formula or field prints its German message on stderr, exits with
// status 2 and writes nothing. The file type follows the extension, which
// must be one of ".gif", ".bmp", ".png", ".svg" and ".kvl" in any letter case
// (the window's save dialog is more lenient): ".png" and ".svg" through Qt,
// ".gif" and ".bmp" through the system's own encoders, ".kvl" as the document
// of the resulting panel. --size is the plot's size; a picture that cannot be
// made with its margins is a usage error found before any work. A document
// named beside the options is loaded first, as opening it in the window does,
// and chooses the drawing panel; one that cannot be read exits with status 2
// as well.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/cli.h"
#include "app/cli_args.h"
#include "app/cli_document.h"
#include "app/cli_texts.h"

#ifdef KV_WITH_GUI

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include "expr/compiler.h"
#include "expr/cp1252.h"
#include "expr/mathfn.h"
#include "expr/messages.h"
#include "formats/byte_sink.h"
#include "formats/picture_file.h"
#include "graph/colours.h"
#include "graph/recompute.h"
#include "model/initial_contents.h"
#include "model/settings_defaults.h"
#include "platform/picture.h"
#include "session/document_commands.h"
#include "session/formula_checks.h"

namespace kv {
namespace {

struct ExportRequest {
  std::string path;
  int width = 624, height = 520;
  int panel = kPanelFunction;
  bool panel_given = false;
  std::string document;                 // a document to load first
  std::optional<DocumentData> loaded;   // what it holds, once read
  GivenText formula;
  GivenText range[kRangeCount];
  GivenText x0;
  std::vector<std::string> starts;  // start x, y, y', ...
  bool degrees = false, absolute = false, high_precision = false, derivative = false;
  int palette = -1, line_width = -1;
  std::vector<std::pair<int, int>> options;  // option index, value
  char* program = nullptr;                    // argv[0], for the toolkit
};

bool parse_size(std::string_view text, int& w, int& h) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return false;
  double dw = 0, dh = 0;
  if (!parse_number(text.substr(0, x), dw) || !parse_number(text.substr(x + 1), dh)) return false;
  // Whole numbers in the range of a picture side; whether the picture with
  // its margins can be made is checked once the axis style is known.
  if (dw < 1 || dh < 1 || dw > kMaxPictureSide || dh > kMaxPictureSide) return false;
  if (dw != static_cast<int>(dw) || dh != static_cast<int>(dh)) return false;
  w = static_cast<int>(dw);
  h = static_cast<int>(dh);
  return true;
}

// "Key=0|1" for a boolean option of the settings table.
bool parse_option(std::string_view text, std::pair<int, int>& out) {
  const size_t eq = text.find('=');
  if (eq == std::string_view::npos) return false;
  const std::string_view key = text.substr(0, eq), value = text.substr(eq + 1);
  if (value != "0" && value != "1") return false;
  size_t count = 0;
  const PanelSettingRow* rows = panel_setting_rows(&count);
  for (size_t i = 0; i < count; ++i) {
    if (rows[i].field == PanelField::Option && rows[i].type == SettingType::Boolean &&
        key == rows[i].key) {
      out = {rows[i].index, value == "1" ? 1 : 0};
      return true;
    }
  }
  return false;
}

bool parse_small(std::string_view text, int lo, int hi, int& out) {
  if (text.size() != 1 || text[0] < '0' + lo || text[0] > '0' + hi) return false;
  out = text[0] - '0';
  return true;
}

int parse_panel_name(std::string_view name) {
  if (name == "function") return kPanelFunction;
  if (name == "integral") return kPanelIntegral;
  if (name == "diffequ") return kPanelDiffEqu;
  return -1;
}

struct RangeOption {
  const char* name;
  RangeIndex index;
};
constexpr RangeOption kRangeOptions[] = {{"--x-min", kXMin}, {"--x-max", kXMax},
                                         {"--y-min", kYMin}, {"--y-max", kYMax},
                                         {"--t-min", kTMin}, {"--t-max", kTMax}};

// One option with its value; returns kExitOk or the status of a usage error.
int parse_valued_option(std::string_view arg, const std::string& value, ExportRequest& req) {
  for (const RangeOption& r : kRangeOptions) {
    if (arg == r.name) {
      req.range[r.index] = {true, value};
      return kExitOk;
    }
  }
  if (arg == "--export") {
    req.path = value;
  } else if (arg == "--size") {
    if (!parse_size(value, req.width, req.height))
      return usage_error(kSizeExpected);
  } else if (arg == "--panel") {
    req.panel = parse_panel_name(value);
    if (req.panel < 0) return usage_error(kPanelExpected);
    req.panel_given = true;
  } else if (arg == "--formula") {
    req.formula = {true, value};
  } else if (arg == "--x0") {
    req.x0 = {true, value};
  } else if (arg == "--start") {
    if (req.starts.size() >= kDialogValueCount - kStartX)
      return usage_error(kTooManyStarts);
    req.starts.push_back(value);
  } else if (arg == "--palette") {
    if (!parse_small(value, 0, 2, req.palette)) return usage_error(kPaletteExpected);
  } else if (arg == "--line-width") {
    if (!parse_small(value, 1, 3, req.line_width))
      return usage_error(kLineWidthExpected);
  } else if (arg == "--set") {
    std::pair<int, int> option;
    if (!parse_option(value, option))
      return usage_error(kSetExpected);
    req.options.push_back(option);
  } else {
    return unknown_option(arg);
  }
  return kExitOk;
}

std::string lower_extension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext;
}

bool is_picture_extension(const std::string& ext) {
  return ext == "gif" || ext == "bmp" || ext == "png" || ext == "svg";
}

bool is_valued_option(std::string_view arg) {
  for (const char* name : {"--export", "--size", "--panel", "--formula", "--x0", "--start",
                           "--palette", "--line-width", "--set"}) {
    if (arg == name) return true;
  }
  for (const RangeOption& r : kRangeOptions) {
    if (arg == r.name) return true;
  }
  return false;
}

int parse_export_arguments(ArgReader& args, ExportRequest& req) {
  std::string value;
  bool after_set = false;
  std::string_view arg;
  while (args.next(arg)) {
    // "--set A=1 B=0": further assignments may follow one --set.
    if (after_set && arg.substr(0, 2) != "--" && arg.find('=') != std::string_view::npos) {
      const int status = parse_valued_option("--set", std::string(arg), req);
      if (status != kExitOk) return status;
      continue;
    }
    after_set = false;
    if (arg == "--deg") {
      req.degrees = true;
    } else if (arg == "--abs") {
      req.absolute = true;
    } else if (arg == "--high-precision") {
      req.high_precision = true;
    } else if (arg == "--derivative") {
      req.derivative = true;
    } else if (is_valued_option(arg)) {
      if (!args.value(arg, value)) return kExitUsage;
      const int status = parse_valued_option(arg, value, req);
      if (status != kExitOk) return status;
      after_set = arg == "--set";
    } else if (!arg.empty() && arg[0] != '-' && req.document.empty()) {
      req.document = arg;
    } else {
      return unknown_option(arg);
    }
  }
  if (args.help_asked()) return kExitOk;
  if (req.path.empty()) return usage_error(kExportExpectsName);
  if (req.panel_given && !req.document.empty())
    return usage_error(kPanelWithDocument);
  if (!is_picture_extension(lower_extension(req.path)) && !is_document_path(req.path)) {
    return usage_error(kExportExpectsExtension);
  }
  return kExitOk;
}

// ---------------------------------------------------------------------------
// The panel, as the formula dialog leaves it.

void store_text(RangeValue& field, const GivenText& given) {
  if (!given.given) return;
  field.text = utf8_to_cp1252(given.text);
  field.has_text = true;
  field.text_stale = false;
}

void apply_request(PanelRecord& panel, const ExportRequest& req) {
  if (req.degrees) panel.angle_mode = kDegrees;
  if (req.formula.given) panel.source = utf8_to_cp1252(req.formula.text);
  for (int r = 0; r < kRangeCount; ++r) store_text(panel.range[r], req.range[r]);
  store_text(panel.dialog_values[kStartX], req.x0);
  for (size_t i = 0; i < req.starts.size(); ++i) {
    store_text(panel.dialog_values[kStartX + i], {true, req.starts[i]});
  }
  if (req.absolute || req.high_precision) panel.option_flag = 1;
  if (req.derivative) panel.derivative = true;
  if (req.palette >= 0) panel.options[kOptPalette] = req.palette;
  if (req.line_width >= 0) panel.options[kOptLineWidth] = req.line_width;
  for (const auto& [option, value] : req.options) panel.options[option] = value;
}

// Whether the formula dialog's checks run: always, but for a document with
// no field given beside it, which the window opens unchecked.
bool checks_fields(const ExportRequest& req) {
  if (!req.loaded || req.formula.given || req.x0.given || !req.starts.empty()) return true;
  for (const GivenText& r : req.range) {
    if (r.given) return true;
  }
  return false;
}

// The panel as a first start shows it, with the request's texts and options.
void set_up_panel(PanelRecord& panel, const ExportRequest& req, RandState& random) {
  reset_panel(panel, req.panel);
  apply_panel_defaults(panel, req.panel);
  fill_panel_texts(panel, req.panel);
  if (req.loaded) load_document_into_panel(*req.loaded, panel, checks_fields(req));
  apply_request(panel, req);
  panel.random = &random;
}

// Fields, compilation and curves. Returns kMsgNone or the first message.
int prepare_panel(PanelRecord& panel, PanelPlot& plot, const ExportRequest& req, int width,
                  int height, RandState& random) {
  // The fields are checked as the panel's formula dialog checks them, and
  // draw from the run's random sequence too.
  CompileEnv field_env;
  field_env.random = &random;
  if (checks_fields(req) &&
      !commit_formula_dialog(panel, req.panel, dialog_texts_from_panel(panel), field_env)) {
    return panel.error.message;
  }
  CompileEnv env;
  env.surface = surface_of(req.panel);
  env.palette_size = kCurveColourCount;
  env.random = &random;
  if (!compile_formulas(panel, env)) {
    return panel.error.message != kMsgNone ? panel.error.message : kMsgInvalidExpression;
  }
  if (!recompute_panel(panel, plot, width, height)) {
    return panel.error.message != kMsgNone ? panel.error.message : kMsgInvalidExpression;
  }
  return kMsgNone;
}

// ---------------------------------------------------------------------------
// Rendering and writing.

bool write_bytes(const std::string& path, const QByteArray& bytes) {
  if (bytes.isEmpty()) return false;
  return write_file_replacing(
      path,
      [&](ByteSink& sink) { return sink.write(bytes.constData(), static_cast<size_t>(bytes.size())); },
      SaveWait::MayBlock);
}

bool write_picture(const std::string& path, PanelRecord& panel, const PanelPlot& plot,
                   const PlotPlacement& placement) {
  const ColourTable colours = build_colour_table(panel.option(kOptPalette));
  const std::string ext = lower_extension(path);
  if (ext == "svg") return write_bytes(path, paint_graph_svg(panel, plot, colours, placement));
  const QImage image = paint_graph_image(panel, plot, colours, placement);
  if (image.isNull()) return false;
  if (ext == "png") {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return false;
    return write_bytes(path, bytes);
  }
  return save_picture_file(path, to_rgb_image(image), kGifColourCount, SaveWait::MayBlock);
}

// Qt's own chatter (missing runtime directories and the like) is no concern
// of a command-line user; real failures are reported by the exit status.
void quiet_qt_messages(QtMsgType type, const QMessageLogContext&, const QString& msg) {
  if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
}

// Draws the picture or writes the document; returns the exit status.
int export_file(ExportRequest& req) {
  if (!req.document.empty()) {
    req.loaded.emplace();
    if (!read_document_file(req.document, *req.loaded)) {
      std::fprintf(stderr, "%s\n", kDocumentOpenFailed);
      return kExitFormula;
    }
    req.panel = req.loaded->panel_index;
  }

  RandState random;  // the run's one random sequence
  PanelRecord panel;
  set_up_panel(panel, req, random);
  // The plot size does not depend on the axis style; its place and the
  // margins do.
  const PlotPlacement placement =
      placement_for_plot_size(req.width, req.height, panel.option(kOptBoxedStyle) != 0);
  if (!picture_size_possible(placement.client.width(), placement.client.height())) {
    return usage_error(kSizeTooLarge);
  }
  const PlotRect size = placement.plot;
  PanelPlot plot;
  const int msg = prepare_panel(panel, plot, req, size.width, size.height, random);
  if (msg != kMsgNone) {
    print_formula_message(msg);
    return kExitFormula;
  }
  if (is_document_path(req.path)) {
    if (save_document_file(req.path, panel, SaveWait::MayBlock)) return kExitOk;
    std::fprintf(stderr, "%s\n", kDocumentSaveFailed);
    return kExitFormula;
  }

  // No display is needed: the offscreen platform draws text with the
  // system's fonts.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quiet_qt_messages);
  int qt_argc = 1;
  char* qt_argv[] = {req.program, nullptr};
  QGuiApplication app(qt_argc, qt_argv);
  if (!write_picture(req.path, panel, plot, placement)) {
    std::fprintf(stderr, "%s\n", kDocumentSaveFailed);
    return kExitFormula;
  }
  return kExitOk;
}

}  // namespace

int run_export_command(int argc, char** argv) {
  ExportRequest req;
  req.program = argv[0];
  return run_mode(argc, argv, parse_export_arguments, export_file, std::move(req));
}

}  // namespace kv

#else  // without the Qt layers

namespace kv {

int run_export_command(int, char**) {
  return usage_error(kExportNeedsGui);
}

}  // namespace kv

#endif

// The command table, menus, toolbars and keys of the main window; see
// commands.h. Only tables here: the state of the items is in commands.cpp.
#include <algorithm>
#include <string_view>

#include "session/commands.h"

namespace kv {

namespace {

using enum Command;

constexpr KeyKind kNoKey = KeyKind::None;
constexpr KeyKind kAcc = KeyKind::Accelerator;
constexpr KeyKind kWin = KeyKind::WindowKey;
constexpr RadioGroup kNoGroup = RadioGroup::None;
constexpr RadioGroup kAxisStyle = RadioGroup::AxisStyle;
constexpr RadioGroup kLineWidth = RadioGroup::LineWidth;
constexpr RadioGroup kPalette = RadioGroup::Palette;

// In id order, so that command_info can search it.
constexpr CommandInfo kCommands[] = {
    {OpenCurrentDialog, nullptr, "Return F2", kAcc, 0, nullptr, kNoGroup, Feature::FormulaDialogs},
    {FunctionDialog, "&Funktion...\tStrg+F", "Ctrl+F", kAcc, 700, "Funktion eingeben", kNoGroup,
     Feature::FormulaDialogs},
    {IntegralDialog, "&Integral...\tStrg+I", "Ctrl+I", kAcc, 701, "Integral", kNoGroup,
     Feature::FormulaDialogs},
    {DiffEquDialog, "&Differentialgleichung...\tStrg+D", "Ctrl+D", kAcc, 702,
     "Differentialgleichung numerisch lösen", kNoGroup, Feature::FormulaDialogs},
    {ValueTable, "Werte&tabelle", nullptr, kNoKey, 0, nullptr, kNoGroup, Feature::Calculators},
    {SingleValue, "&Einzelwert", nullptr, kNoKey, 0, nullptr, kNoGroup, Feature::Calculators},
    {Open, "Ö&ffnen...\tStrg+O", "Ctrl+O", kAcc, 0, nullptr, kNoGroup, Feature::Documents},
    {Save, "&Speichern\tStrg+S", "Ctrl+S", kAcc, 0, nullptr, kNoGroup, Feature::Documents},
    {SaveAs, "Speichern &unter...", nullptr, kNoKey, 0, nullptr, kNoGroup, Feature::Documents},
    {SavePicture, "Als &Bild speichern...", nullptr, kNoKey, 0, nullptr, kNoGroup,
     Feature::PictureExport},
    {Print, "&Drucken\tStrg+P", "Ctrl+P", kAcc, 0, nullptr, kNoGroup, Feature::Printing},
    {Exit, "B&eenden\tAlt+F4", nullptr, kNoKey, 0, nullptr, kNoGroup, Feature::Core},
    // The undo item's text is built when the menu opens (undo_item_text).
    {Undo, "&Rückgängig: \tStrg+Z", "Ctrl+Z", kAcc, 0, nullptr, kNoGroup, Feature::ViewOps},
    {CopyBitmap, "Bild &kopieren\tStrg+C", "Ctrl+C", kAcc, 0, nullptr, kNoGroup,
     Feature::Clipboard},
    {CopySvg, "Bild &vektorisiert (als EMF) kopieren", nullptr, kNoKey, 0, nullptr, kNoGroup,
     Feature::Clipboard},
    {OneInstance, "Nur eine Programm&instanz erlauben", nullptr, kNoKey, 0, nullptr, kNoGroup,
     Feature::Core},
    {MouseGestures, "&Mouse Gestures", nullptr, kNoKey, 0, nullptr, kNoGroup, Feature::Core},
    {DoubleBuffering, "&Doppelt gepufferte Grafik (empfohlen)   ", nullptr, kNoKey, 0, nullptr,
     kNoGroup, Feature::Core},
    {ResetSettings, "Einstellungen &zurücksetzen...", nullptr, kNoKey, 0, nullptr, kNoGroup,
     Feature::Core},
    {LengthLimit, nullptr, "Ctrl+Shift+Alt+L", kAcc, 0, nullptr, kNoGroup, Feature::Core},
    {SolverSwitch, nullptr, "Ctrl+Shift+Alt+I", kAcc, 0, nullptr, kNoGroup, Feature::Core},
    {Statusbar, "&Statusleiste", nullptr, kNoKey, 0, nullptr, kNoGroup, Feature::Core},
    {Toolbar, "&Werkzeugleisten", nullptr, kNoKey, 0, nullptr, kNoGroup, Feature::Core},
    {Tooltips, "Zeige T&ooltips", nullptr, kNoKey, 0, nullptr, kNoGroup, Feature::Core},
    {Axes, "&Achsenkreuz", nullptr, kNoKey, 705, "Achsenkreuz", kNoGroup, Feature::Core},
    {Grid, "&Gitterlinien\tStrg+G", nullptr, kNoKey, 703, "Gitterlinien", kNoGroup, Feature::Core},
    {SubGrid, "&Feingitter", nullptr, kNoKey, 704, "Feingitter zeigen", kNoGroup, Feature::Core},
    {GridBoth, nullptr, "Ctrl+G", kAcc, 0, nullptr, kNoGroup, Feature::Core},
    {TickLabels, "Achsen be&schriften", nullptr, kNoKey, 708, "Achsen mit Werten beschriften",
     kNoGroup, Feature::Core},
    {TickMarks, "&Markierungen einzeichnen", nullptr, kNoKey, 706, "Markierungen", kNoGroup,
     Feature::Core},
    {Border, "&Rahmen", nullptr, kNoKey, 707, "Zeichne Rahmen um das Koordinatensystem", kNoGroup,
     Feature::Core},
    {CrossedStyle, "&Crossed Style", nullptr, kNoKey, 0, nullptr, kAxisStyle, Feature::Core},
    {BoxedStyle, "&Boxed Style", nullptr, kNoKey, 0, nullptr, kAxisStyle, Feature::Core},
    {FunctionExpressions, "Funktions&terme einzeichnen\tStrg+T", "Ctrl+T", kAcc, 709,
     "Funktionsterme darstellen", kNoGroup, Feature::Core},
    {EqualScales, "Id&entischer Maßstab für beide Achsen", nullptr, kNoKey, 710,
     "Identischer Maßstab für beide Achsen", kNoGroup, Feature::Core},
    {MouseCoordinates, "Tooltip für &Mauskoordinaten", nullptr, kNoKey, 0, nullptr, kNoGroup,
     Feature::Core},
    {XUnitsPi, "&X-Achse in Pi-Einheiten\tStrg+X", "Ctrl+X", kAcc, 0, nullptr, kNoGroup,
     Feature::Core},
    {YUnitsPi, "&Y-Achse in Pi-Einheiten\tStrg+Y", "Ctrl+Y", kAcc, 0, nullptr, kNoGroup,
     Feature::Core},
    {FullScreen, "&Vollbild-Modus\tF11", "F11", kWin, 0, nullptr, kNoGroup, Feature::Core},
    {SquareWindow, "Graph-Fenster &quadratisch machen\tStrg+Q", "Ctrl+Q", kAcc, 0, nullptr,
     kNoGroup, Feature::Core},
    {ZoomIn, "&Heranzoomen\t+", "+", kWin, 711, "Heranzoomen", kNoGroup, Feature::ViewOps},
    {ZoomOut, "&Wegzoomen\t-", "-", kWin, 712, "Wegzoomen", kNoGroup, Feature::ViewOps},
    {ZoomInX, nullptr, nullptr, kNoKey, 713, "X heranzoomen", kNoGroup, Feature::ViewOps},
    {ZoomOutX, nullptr, nullptr, kNoKey, 714, "X wegzoomen", kNoGroup, Feature::ViewOps},
    {ZoomInY, nullptr, nullptr, kNoKey, 715, "Y heranzoomen", kNoGroup, Feature::ViewOps},
    {ZoomOutY, nullptr, nullptr, kNoKey, 716, "Y wegzoomen", kNoGroup, Feature::ViewOps},
    {ZoomRect, nullptr, nullptr, kNoKey, 0, nullptr, kNoGroup, Feature::ViewOps},
    {ScrollLeft, "Nach &links scrollen\tPfeiltaste links", "Left", kWin, 717, "Nach links scrollen",
     kNoGroup, Feature::ViewOps},
    {ScrollUp, "Nach &oben scrollen\tPfeiltaste auf", "Up", kWin, 719, "Nach oben scrollen",
     kNoGroup, Feature::ViewOps},
    {ScrollRight, "Nach &rechts scrollen\tPfeiltaste rechts", "Right", kWin, 718,
     "Nach rechts scrollen", kNoGroup, Feature::ViewOps},
    {ScrollDown, "Nach &unten scrollen\tPfeiltaste ab", "Down", kWin, 720, "Nach unten scrollen",
     kNoGroup, Feature::ViewOps},
    {Centre, "&Zum Zentrum scrollen\tStrg+M", "Ctrl+M", kAcc, 721, "Zum Zentrum scrollen", kNoGroup,
     Feature::ViewOps},
    {StandardView, "St&andardansicht (zentriert, kein Zoom)", nullptr, kNoKey, 722,
     "Dargestellten Bereich auf Standardwerte zurücksetzen", kNoGroup, Feature::ViewOps},
    {Help, "&Hilfe\tF1", "F1", kAcc, 0, nullptr, kNoGroup, Feature::Help},
    {About, "&Über Kurvaline...\tStrg+A", "Ctrl+A", kAcc, 0, nullptr, kNoGroup, Feature::About},
    // Owner-drawn colour swatches: no text.
    {Palette0, nullptr, nullptr, kNoKey, 0, nullptr, kPalette, Feature::Core},
    {Palette1, nullptr, nullptr, kNoKey, 0, nullptr, kPalette, Feature::Core},
    {Palette2, nullptr, nullptr, kNoKey, 0, nullptr, kPalette, Feature::Core},
    // "&%d Pixel         \t%d" filled with n and n.
    {LineWidth1, "&1 Pixel         \t1", "1", kAcc, 0, nullptr, kLineWidth, Feature::Core},
    {LineWidth2, "&2 Pixel         \t2", "2", kAcc, 0, nullptr, kLineWidth, Feature::Core},
    {LineWidth3, "&3 Pixel         \t3", "3", kAcc, 0, nullptr, kLineWidth, Feature::Core},
    {Discussion, "&Kurvendiskussion...\tStrg+K", "Ctrl+K", kAcc, 0, nullptr, kNoGroup,
     Feature::Calculators},
    {MarkPoints, "Markante &Punkte", nullptr, kNoKey, 0, nullptr, kNoGroup, Feature::Core},
    {MarkDiscontinuities, "&Unstetigkeiten zeigen", nullptr, kNoKey, 0, nullptr, kNoGroup,
     Feature::Core},
};

constexpr MenuItem cmd(Command id) { return {MenuItemKind::Command, id, nullptr, {}}; }
constexpr MenuItem swatch(Command id) { return {MenuItemKind::Command, id, nullptr, {}, true}; }
constexpr MenuItem sep() { return {MenuItemKind::Separator, None, nullptr, {}}; }
constexpr MenuItem popup(const char* text, std::span<const MenuItem> items) {
  return {MenuItemKind::Popup, None, text, items};
}

constexpr MenuItem kFile[] = {cmd(Open), sep(),      cmd(Save), cmd(SaveAs), cmd(SavePicture),
                              sep(),     cmd(Print), sep(),     cmd(Exit)};
constexpr MenuItem kEdit[] = {cmd(Undo), sep(), cmd(CopyBitmap), cmd(CopySvg)};
constexpr MenuItem kGraph[] = {cmd(FunctionDialog), cmd(IntegralDialog), cmd(DiffEquDialog)};
constexpr MenuItem kCalc[] = {cmd(ValueTable), cmd(SingleValue), sep(), cmd(Discussion)};
constexpr MenuItem kSpecial[] = {cmd(DoubleBuffering), sep(), cmd(ResetSettings)};
constexpr MenuItem kOptions[] = {cmd(MouseGestures), cmd(OneInstance), popup("&Spezial", kSpecial)};
constexpr MenuItem kGridAxes[] = {cmd(Axes),       cmd(Grid),      cmd(SubGrid),
                                  cmd(TickLabels), cmd(TickMarks), cmd(Border)};
constexpr MenuItem kLineWidths[] = {cmd(LineWidth1), cmd(LineWidth2), cmd(LineWidth3)};
constexpr MenuItem kSwatches[] = {swatch(Palette0), swatch(Palette1), swatch(Palette2)};
// clang-format off
constexpr MenuItem kView[] = {
    cmd(Toolbar), cmd(Statusbar), sep(), cmd(Tooltips), cmd(MouseCoordinates), sep(),
    cmd(CrossedStyle), cmd(BoxedStyle), sep(), cmd(EqualScales), cmd(XUnitsPi), cmd(YUnitsPi),
    sep(), popup("&Koordinatengitter, Achsen...", kGridAxes),
    popup("&Linienstärke...", kLineWidths), popup("Hi&ntergrundfarbe...", kSwatches),
    cmd(FunctionExpressions), cmd(MarkPoints), cmd(MarkDiscontinuities)};
// clang-format on
constexpr MenuItem kZoom[] = {
    cmd(ZoomIn),   cmd(ZoomOut),    sep(),       cmd(ScrollLeft), cmd(ScrollRight),
    cmd(ScrollUp), cmd(ScrollDown), cmd(Centre), sep(),           cmd(StandardView)};
constexpr MenuItem kWindow[] = {cmd(FullScreen), cmd(SquareWindow)};
constexpr MenuItem kHelp[] = {cmd(Help), sep(), cmd(About)};

constexpr MenuItem kMenuBar[] = {
    popup("&Datei", kFile),      popup("&Bearbeiten", kEdit),  popup("&Graph", kGraph),
    popup("Be&rechnung", kCalc), popup("&Optionen", kOptions), popup("&Ansicht", kView),
    popup("&Zoom", kZoom),       popup("&Fenster", kWindow),   popup("&Hilfe", kHelp)};

constexpr MenuItem kScroll[] = {cmd(ScrollLeft), cmd(ScrollRight), cmd(ScrollUp), cmd(ScrollDown),
                                cmd(Centre)};
// clang-format off
constexpr MenuItem kContext[] = {
    cmd(FunctionDialog), cmd(IntegralDialog), cmd(DiffEquDialog), sep(), cmd(FullScreen), sep(),
    cmd(ZoomIn), cmd(ZoomOut), popup("&Scrollen...", kScroll), cmd(StandardView), sep(),
    cmd(CrossedStyle), cmd(BoxedStyle), sep(), cmd(EqualScales), cmd(XUnitsPi), cmd(YUnitsPi),
    sep(), popup("&Koordinatengitter, Achsen...", kGridAxes),
    popup("&Linienstärke...", kLineWidths), popup("Hi&ntergrundfarbe...", kSwatches),
    cmd(FunctionExpressions), cmd(MarkPoints), cmd(MarkDiscontinuities), sep(),
    cmd(MouseCoordinates)};
// clang-format on

constexpr Command kLeftToolbar[] = {
    FunctionDialog, IntegralDialog, DiffEquDialog, None,     EqualScales, ZoomIn,
    ZoomOut,        ZoomInX,        ZoomOutX,      ZoomInY,  ZoomOutY,    StandardView,
    None,           ScrollLeft,     ScrollRight,   ScrollUp, ScrollDown,  Centre};

constexpr Command kRightToolbar[] = {
    Axes, Grid, SubGrid, TickLabels, TickMarks, Border, FunctionExpressions};

}  // namespace

std::span<const CommandInfo> command_table() { return kCommands; }

const CommandInfo* command_info(Command id) {
  const auto* it = std::lower_bound(std::begin(kCommands), std::end(kCommands), id,
                                    [](const CommandInfo& c, Command v) { return c.id < v; });
  return it != std::end(kCommands) && it->id == id ? it : nullptr;
}

std::span<const MenuItem> menu_bar() { return kMenuBar; }
std::span<const MenuItem> context_menu() { return kContext; }
std::span<const Command> left_toolbar() { return kLeftToolbar; }
std::span<const Command> right_toolbar() { return kRightToolbar; }

std::vector<KeyBinding> key_bindings() {
  std::vector<KeyBinding> out;
  for (const CommandInfo& c : kCommands) {
    if (c.keys == nullptr) continue;
    const std::string_view keys = c.keys;
    for (size_t start = 0; start < keys.size();) {
      const size_t end = std::min(keys.find(' ', start), keys.size());
      out.push_back({std::string(keys.substr(start, end - start)), c.id, c.key_kind});
      start = end + 1;
    }
  }
  return out;
}

}  // namespace kv

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
constexpr CommandPath kBySession = CommandPath::Session;
constexpr CommandPath kByView = CommandPath::View;
constexpr CommandPath kByWindow = CommandPath::Window;

// In id order, so that command_info can search it.
constexpr CommandInfo kCommands[] = {
    {OpenCurrentDialog, nullptr, "Return F2", kAcc, 0, nullptr, kNoGroup, kBySession},
    {FunctionDialog, "&Funktion...\tStrg+F", "Ctrl+F", kAcc, 700, "Funktion eingeben", kNoGroup,
     kBySession},
    {IntegralDialog, "&Integral...\tStrg+I", "Ctrl+I", kAcc, 701, "Integral", kNoGroup,
     kBySession},
    {DiffEquDialog, "&Differentialgleichung...\tStrg+D", "Ctrl+D", kAcc, 702,
     "Differentialgleichung numerisch lösen", kNoGroup, kBySession},
    {ValueTable, "Werte&tabelle", nullptr, kNoKey, 0, nullptr, kNoGroup, kByWindow},
    {SingleValue, "&Einzelwert", nullptr, kNoKey, 0, nullptr, kNoGroup, kByWindow},
    {Open, "Ö&ffnen...\tStrg+O", "Ctrl+O", kAcc, 0, nullptr, kNoGroup, kByWindow},
    {Save, "&Speichern\tStrg+S", "Ctrl+S", kAcc, 0, nullptr, kNoGroup, kByWindow},
    {SaveAs, "Speichern &unter...", nullptr, kNoKey, 0, nullptr, kNoGroup, kByWindow},
    {SavePicture, "Als &Bild speichern...", nullptr, kNoKey, 0, nullptr, kNoGroup,
     kByWindow},
    {Print, "&Drucken\tStrg+P", "Ctrl+P", kAcc, 0, nullptr, kNoGroup, kByWindow},
    {Exit, "B&eenden\tAlt+F4", nullptr, kNoKey, 0, nullptr, kNoGroup, kBySession},
    // The undo item's text is built when the menu opens (undo_item_text).
    {Undo, "&Rückgängig: \tStrg+Z", "Ctrl+Z", kAcc, 0, nullptr, kNoGroup, kByView},
    {CopyBitmap, "Bild &kopieren\tStrg+C", "Ctrl+C", kAcc, 0, nullptr, kNoGroup,
     kByWindow},
    {CopySvg, "Bild &vektorisiert (als EMF) kopieren", nullptr, kNoKey, 0, nullptr, kNoGroup,
     kByWindow},
    {OneInstance, "Nur eine Programm&instanz erlauben", nullptr, kNoKey, 0, nullptr, kNoGroup,
     kBySession},
    {MouseGestures, "&Mouse Gestures", nullptr, kNoKey, 0, nullptr, kNoGroup, kBySession},
    {DoubleBuffering, "&Doppelt gepufferte Grafik (empfohlen)   ", nullptr, kNoKey, 0, nullptr,
     kNoGroup, kBySession},
    {ResetSettings, "Einstellungen &zurücksetzen...", nullptr, kNoKey, 0, nullptr, kNoGroup,
     kBySession},
    {LengthLimit, nullptr, "Ctrl+Shift+Alt+L", kAcc, 0, nullptr, kNoGroup, kBySession},
    {SolverSwitch, nullptr, "Ctrl+Shift+Alt+I", kAcc, 0, nullptr, kNoGroup, kBySession},
    {Statusbar, "&Statusleiste", nullptr, kNoKey, 0, nullptr, kNoGroup, kBySession},
    {Toolbar, "&Werkzeugleisten", nullptr, kNoKey, 0, nullptr, kNoGroup, kBySession},
    {Tooltips, "Zeige T&ooltips", nullptr, kNoKey, 0, nullptr, kNoGroup, kBySession},
    {Axes, "&Achsenkreuz", nullptr, kNoKey, 705, "Achsenkreuz", kNoGroup, kBySession},
    {Grid, "&Gitterlinien\tStrg+G", nullptr, kNoKey, 703, "Gitterlinien", kNoGroup, kBySession},
    {SubGrid, "&Feingitter", nullptr, kNoKey, 704, "Feingitter zeigen", kNoGroup, kBySession},
    {GridBoth, nullptr, "Ctrl+G", kAcc, 0, nullptr, kNoGroup, kBySession},
    {TickLabels, "Achsen be&schriften", nullptr, kNoKey, 708, "Achsen mit Werten beschriften",
     kNoGroup, kBySession},
    {TickMarks, "&Markierungen einzeichnen", nullptr, kNoKey, 706, "Markierungen", kNoGroup,
     kBySession},
    {Border, "&Rahmen", nullptr, kNoKey, 707, "Zeichne Rahmen um das Koordinatensystem", kNoGroup,
     kBySession},
    {CrossedStyle, "&Crossed Style", nullptr, kNoKey, 0, nullptr, kAxisStyle, kBySession},
    {BoxedStyle, "&Boxed Style", nullptr, kNoKey, 0, nullptr, kAxisStyle, kBySession},
    {FunctionExpressions, "Funktions&terme einzeichnen\tStrg+T", "Ctrl+T", kAcc, 709,
     "Funktionsterme darstellen", kNoGroup, kBySession},
    {EqualScales, "Id&entischer Maßstab für beide Achsen", nullptr, kNoKey, 710,
     "Identischer Maßstab für beide Achsen", kNoGroup, kBySession},
    {MouseCoordinates, "Tooltip für &Mauskoordinaten", nullptr, kNoKey, 0, nullptr, kNoGroup,
     kBySession},
    {XUnitsPi, "&X-Achse in Pi-Einheiten\tStrg+X", "Ctrl+X", kAcc, 0, nullptr, kNoGroup,
     kBySession},
    {YUnitsPi, "&Y-Achse in Pi-Einheiten\tStrg+Y", "Ctrl+Y", kAcc, 0, nullptr, kNoGroup,
     kBySession},
    {FullScreen, "&Vollbild-Modus\tF11", "F11", kWin, 0, nullptr, kNoGroup, kBySession},
    {SquareWindow, "Graph-Fenster &quadratisch machen\tStrg+Q", "Ctrl+Q", kAcc, 0, nullptr,
     kNoGroup, kBySession},
    {ZoomIn, "&Heranzoomen\t+", "+", kWin, 711, "Heranzoomen", kNoGroup, kByView},
    {ZoomOut, "&Wegzoomen\t-", "-", kWin, 712, "Wegzoomen", kNoGroup, kByView},
    {ZoomInX, nullptr, nullptr, kNoKey, 713, "X heranzoomen", kNoGroup, kByView},
    {ZoomOutX, nullptr, nullptr, kNoKey, 714, "X wegzoomen", kNoGroup, kByView},
    {ZoomInY, nullptr, nullptr, kNoKey, 715, "Y heranzoomen", kNoGroup, kByView},
    {ZoomOutY, nullptr, nullptr, kNoKey, 716, "Y wegzoomen", kNoGroup, kByView},
    {ZoomRect, nullptr, nullptr, kNoKey, 0, nullptr, kNoGroup, kByView},
    {ScrollLeft, "Nach &links scrollen\tPfeiltaste links", "Left", kWin, 717, "Nach links scrollen",
     kNoGroup, kByView},
    {ScrollUp, "Nach &oben scrollen\tPfeiltaste auf", "Up", kWin, 719, "Nach oben scrollen",
     kNoGroup, kByView},
    {ScrollRight, "Nach &rechts scrollen\tPfeiltaste rechts", "Right", kWin, 718,
     "Nach rechts scrollen", kNoGroup, kByView},
    {ScrollDown, "Nach &unten scrollen\tPfeiltaste ab", "Down", kWin, 720, "Nach unten scrollen",
     kNoGroup, kByView},
    {Centre, "&Zum Zentrum scrollen\tStrg+M", "Ctrl+M", kAcc, 721, "Zum Zentrum scrollen", kNoGroup,
     kByView},
    {StandardView, "St&andardansicht (zentriert, kein Zoom)", nullptr, kNoKey, 722,
     "Dargestellten Bereich auf Standardwerte zurücksetzen", kNoGroup, kByView},
    {Help, "&Hilfe\tF1", "F1", kAcc, 0, nullptr, kNoGroup, kByWindow},
    {About, "&Über Kurvaline...\tStrg+A", "Ctrl+A", kAcc, 0, nullptr, kNoGroup, kByWindow},
    // Owner-drawn colour swatches: no text.
    {Palette0, nullptr, nullptr, kNoKey, 0, nullptr, kPalette, kBySession},
    {Palette1, nullptr, nullptr, kNoKey, 0, nullptr, kPalette, kBySession},
    {Palette2, nullptr, nullptr, kNoKey, 0, nullptr, kPalette, kBySession},
    // "&%d Pixel         \t%d" filled with n and n.
    {LineWidth1, "&1 Pixel         \t1", "1", kAcc, 0, nullptr, kLineWidth, kBySession},
    {LineWidth2, "&2 Pixel         \t2", "2", kAcc, 0, nullptr, kLineWidth, kBySession},
    {LineWidth3, "&3 Pixel         \t3", "3", kAcc, 0, nullptr, kLineWidth, kBySession},
    {Discussion, "&Kurvendiskussion...\tStrg+K", "Ctrl+K", kAcc, 0, nullptr, kNoGroup,
     kByWindow},
    {MarkPoints, "Markante &Punkte", nullptr, kNoKey, 0, nullptr, kNoGroup, kBySession},
    {MarkDiscontinuities, "&Unstetigkeiten zeigen", nullptr, kNoKey, 0, nullptr, kNoGroup,
     kBySession},
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

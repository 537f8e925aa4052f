// The command table, menus, toolbars and keys of the main window; see
// commands.h. Only tables here: the state of the items is in commands.cpp.
#include <algorithm>

#include "session/commands.h"

namespace kv {

namespace {

constexpr KeyKind kNoKey = KeyKind::None;
constexpr KeyKind kAcc = KeyKind::Accelerator;
constexpr KeyKind kWin = KeyKind::WindowKey;
constexpr ToolbarSide kNone = ToolbarSide::None;
constexpr ToolbarSide kL = ToolbarSide::Left;
constexpr ToolbarSide kR = ToolbarSide::Right;

// In id order, so that command_info can search it.
constexpr CommandInfo kCommands[] = {
    {1, nullptr, "Return", kAcc, kNone, 0, nullptr, Feature::FormulaDialogs},
    {3000, "&Funktion...\tStrg+F", "Ctrl+F", kAcc, kL, 700, "Funktion eingeben", Feature::FormulaDialogs},
    {3001, "&Integral...\tStrg+I", "Ctrl+I", kAcc, kL, 701, "Integral", Feature::FormulaDialogs},
    {3002, "&Differentialgleichung...\tStrg+D", "Ctrl+D", kAcc, kL, 702,
     "Differentialgleichung numerisch lösen", Feature::FormulaDialogs},
    {3010, "Werte&tabelle", nullptr, kNoKey, kNone, 0, nullptr, Feature::Calculators},
    {3011, "&Einzelwert", nullptr, kNoKey, kNone, 0, nullptr, Feature::Calculators},
    {4000, "Ö&ffnen...\tStrg+O", "Ctrl+O", kAcc, kNone, 0, nullptr, Feature::Documents},
    {4001, "&Speichern\tStrg+S", "Ctrl+S", kAcc, kNone, 0, nullptr, Feature::Documents},
    {4002, "Speichern &unter...", nullptr, kNoKey, kNone, 0, nullptr, Feature::Documents},
    {4003, "Als &Bild speichern...", nullptr, kNoKey, kNone, 0, nullptr, Feature::PictureExport},
    {4004, "&Drucken\tStrg+P", "Ctrl+P", kAcc, kNone, 0, nullptr, Feature::Printing},
    {4005, "B&eenden\tAlt+F4", nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    // The undo item's text is built when the menu opens (undo_item_text).
    {4010, "&Rückgängig: \tStrg+Z", "Ctrl+Z", kAcc, kNone, 0, nullptr, Feature::ViewOps},
    {4011, "Bild &kopieren\tStrg+C", "Ctrl+C", kAcc, kNone, 0, nullptr, Feature::Clipboard},
    {4012, "Bild &vektorisiert (als EMF) kopieren", nullptr, kNoKey, kNone, 0, nullptr,
     Feature::Clipboard},
    {4020, "Nur eine Programm&instanz erlauben", nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    {4021, "&Mouse Gestures", nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    {4023, "&Doppelt gepufferte Grafik (empfohlen)   ", nullptr, kNoKey, kNone, 0, nullptr,
     Feature::Core},
    {4025, "Einstellungen &zurücksetzen...", nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    {4026, nullptr, "Ctrl+Shift+Alt+L", kAcc, kNone, 0, nullptr, Feature::Core},
    {4028, nullptr, "Ctrl+Shift+Alt+I", kAcc, kNone, 0, nullptr, Feature::Core},
    {4030, "&Statusleiste", nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    {4031, "&Werkzeugleisten", nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    {4032, "Zeige T&ooltips", nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    {4033, "&Achsenkreuz", nullptr, kNoKey, kR, 705, "Achsenkreuz", Feature::Core},
    {4034, "&Gitterlinien\tStrg+G", nullptr, kNoKey, kR, 703, "Gitterlinien", Feature::Core},
    {4035, "&Feingitter", nullptr, kNoKey, kR, 704, "Feingitter zeigen", Feature::Core},
    {4036, nullptr, "Ctrl+G", kAcc, kNone, 0, nullptr, Feature::Core},
    {4037, "Achsen be&schriften", nullptr, kNoKey, kR, 708, "Achsen mit Werten beschriften",
     Feature::Core},
    {4038, "&Markierungen einzeichnen", nullptr, kNoKey, kR, 706, "Markierungen", Feature::Core},
    {4039, "&Rahmen", nullptr, kNoKey, kR, 707, "Zeichne Rahmen um das Koordinatensystem",
     Feature::Core},
    {4040, "&Crossed Style", nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    {4041, "&Boxed Style", nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    {4042, "Funktions&terme einzeichnen\tStrg+T", "Ctrl+T", kAcc, kR, 709,
     "Funktionsterme darstellen", Feature::Core},
    {4043, "Id&entischer Maßstab für beide Achsen", nullptr, kNoKey, kL, 710,
     "Identischer Maßstab für beide Achsen", Feature::Core},
    {4044, "Tooltip für &Mauskoordinaten", nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    {4045, "&X-Achse in Pi-Einheiten\tStrg+X", "Ctrl+X", kAcc, kNone, 0, nullptr, Feature::Core},
    {4046, "&Y-Achse in Pi-Einheiten\tStrg+Y", "Ctrl+Y", kAcc, kNone, 0, nullptr, Feature::Core},
    {4050, "&Vollbild-Modus\tF11", "F11", kWin, kNone, 0, nullptr, Feature::Core},
    {4051, "Graph-Fenster &quadratisch machen\tStrg+Q", "Ctrl+Q", kAcc, kNone, 0, nullptr,
     Feature::Core},
    {4060, "&Heranzoomen\t+", "+", kWin, kL, 711, "Heranzoomen", Feature::ViewOps},
    {4061, "&Wegzoomen\t-", "-", kWin, kL, 712, "Wegzoomen", Feature::ViewOps},
    {4062, nullptr, nullptr, kNoKey, kL, 713, "X heranzoomen", Feature::ViewOps},
    {4063, nullptr, nullptr, kNoKey, kL, 714, "X wegzoomen", Feature::ViewOps},
    {4064, nullptr, nullptr, kNoKey, kL, 715, "Y heranzoomen", Feature::ViewOps},
    {4065, nullptr, nullptr, kNoKey, kL, 716, "Y wegzoomen", Feature::ViewOps},
    {4066, nullptr, nullptr, kNoKey, kNone, 0, nullptr, Feature::ViewOps},
    {4067, "Nach &links scrollen\tPfeiltaste links", "Left", kWin, kL, 717, "Nach links scrollen",
     Feature::ViewOps},
    {4068, "Nach &oben scrollen\tPfeiltaste auf", "Up", kWin, kL, 719, "Nach oben scrollen",
     Feature::ViewOps},
    {4069, "Nach &rechts scrollen\tPfeiltaste rechts", "Right", kWin, kL, 718,
     "Nach rechts scrollen", Feature::ViewOps},
    {4070, "Nach &unten scrollen\tPfeiltaste ab", "Down", kWin, kL, 720, "Nach unten scrollen",
     Feature::ViewOps},
    {4071, "&Zum Zentrum scrollen\tStrg+M", "Ctrl+M", kAcc, kL, 721, "Zum Zentrum scrollen",
     Feature::ViewOps},
    {4072, "St&andardansicht (zentriert, kein Zoom)", nullptr, kNoKey, kL, 722,
     "Dargestellten Bereich auf Standardwerte zurücksetzen", Feature::ViewOps},
    {4080, "&Hilfe\tF1", "F1", kAcc, kNone, 0, nullptr, Feature::Help},
    {4081, "&Über Kurvaline...\tStrg+A", "Ctrl+A", kAcc, kNone, 0, nullptr, Feature::About},
    // Owner-drawn colour swatches: no text.
    {5000, nullptr, nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    {5001, nullptr, nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    {5002, nullptr, nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    // "&%d Pixel         \t%d" filled with n and n.
    {5101, "&1 Pixel         \t1", "1", kAcc, kNone, 0, nullptr, Feature::Core},
    {5102, "&2 Pixel         \t2", "2", kAcc, kNone, 0, nullptr, Feature::Core},
    {5103, "&3 Pixel         \t3", "3", kAcc, kNone, 0, nullptr, Feature::Core},
    {6000, "&Kurvendiskussion...\tStrg+K", "Ctrl+K", kAcc, kNone, 0, nullptr, Feature::Calculators},
    {6001, "Markante &Punkte", nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
    {6002, "&Unstetigkeiten zeigen", nullptr, kNoKey, kNone, 0, nullptr, Feature::Core},
};

constexpr MenuItem cmd(int id) { return {MenuItemKind::Command, id, nullptr, {}}; }
constexpr MenuItem radio(int id) { return {MenuItemKind::Command, id, nullptr, {}, true}; }
constexpr MenuItem swatch(int id) { return {MenuItemKind::Command, id, nullptr, {}, false, true}; }
constexpr MenuItem sep() { return {MenuItemKind::Separator, 0, nullptr, {}}; }
constexpr MenuItem popup(const char* text, std::span<const MenuItem> items) {
  return {MenuItemKind::Popup, 0, text, items};
}

constexpr MenuItem kFile[] = {cmd(4000), sep(), cmd(4001), cmd(4002), cmd(4003), sep(),
                              cmd(4004), sep(), cmd(4005)};
constexpr MenuItem kEdit[] = {cmd(4010), sep(), cmd(4011), cmd(4012)};
constexpr MenuItem kGraph[] = {cmd(3000), cmd(3001), cmd(3002)};
constexpr MenuItem kCalc[] = {cmd(3010), cmd(3011), sep(), cmd(6000)};
constexpr MenuItem kSpecial[] = {cmd(4023), sep(), cmd(4025)};
constexpr MenuItem kOptions[] = {cmd(4021), cmd(4020), popup("&Spezial", kSpecial)};
constexpr MenuItem kGridAxes[] = {cmd(4033), cmd(4034), cmd(4035), cmd(4037), cmd(4038), cmd(4039)};
constexpr MenuItem kLineWidths[] = {radio(5101), radio(5102), radio(5103)};
constexpr MenuItem kSwatches[] = {swatch(5000), swatch(5001), swatch(5002)};
constexpr MenuItem kView[] = {
    cmd(4031), cmd(4030), sep(), cmd(4032), cmd(4044), sep(), radio(4040), radio(4041), sep(),
    cmd(4043), cmd(4045), cmd(4046), sep(), popup("&Koordinatengitter, Achsen...", kGridAxes),
    popup("&Linienstärke...", kLineWidths), popup("Hi&ntergrundfarbe...", kSwatches), cmd(4042),
    cmd(6001), cmd(6002)};
constexpr MenuItem kZoom[] = {cmd(4060), cmd(4061), sep(),     cmd(4067), cmd(4069),
                              cmd(4068), cmd(4070), cmd(4071), sep(),     cmd(4072)};
constexpr MenuItem kWindow[] = {cmd(4050), cmd(4051)};
constexpr MenuItem kHelp[] = {cmd(4080), sep(), cmd(4081)};

constexpr MenuItem kMenuBar[] = {
    popup("&Datei", kFile),     popup("&Bearbeiten", kEdit), popup("&Graph", kGraph),
    popup("Be&rechnung", kCalc), popup("&Optionen", kOptions), popup("&Ansicht", kView),
    popup("&Zoom", kZoom),       popup("&Fenster", kWindow),  popup("&Hilfe", kHelp)};

constexpr MenuItem kScroll[] = {cmd(4067), cmd(4069), cmd(4068), cmd(4070), cmd(4071)};
constexpr MenuItem kContext[] = {
    cmd(3000), cmd(3001), cmd(3002), sep(), cmd(4050), sep(), cmd(4060), cmd(4061),
    popup("&Scrollen...", kScroll), cmd(4072), sep(), radio(4040), radio(4041), sep(), cmd(4043),
    cmd(4045), cmd(4046), sep(), popup("&Koordinatengitter, Achsen...", kGridAxes),
    popup("&Linienstärke...", kLineWidths), popup("Hi&ntergrundfarbe...", kSwatches), cmd(4042),
    cmd(6001), cmd(6002), sep(), cmd(4044)};

constexpr ToolbarButton kLeftToolbar[] = {
    {3000, false, false, 700}, {3001, false, false, 701}, {3002, false, false, 702}, {0},
    {4043, true, true, 710},   {4060, false, false, 711}, {4061, false, false, 712},
    {4062, false, false, 713}, {4063, false, false, 714}, {4064, false, false, 715},
    {4065, false, false, 716}, {4072, false, false, 722}, {0},
    {4067, false, false, 717}, {4069, false, false, 718}, {4068, false, false, 719},
    {4070, false, false, 720}, {4071, false, false, 721}};

constexpr ToolbarButton kRightToolbar[] = {
    {4033, true, true, 705},  {4034, true, true, 703}, {4035, true, false, 704},
    {4037, true, true, 708},  {4038, true, true, 706}, {4039, true, false, 707},
    {4042, true, true, 709}};

constexpr KeyBinding kKeys[] = {
    // The accelerator table.
    {"Return", 1, kAcc}, {"F1", 4080, kAcc}, {"F2", 1, kAcc}, {"Ctrl+A", 4081, kAcc},
    {"Ctrl+C", 4011, kAcc}, {"Ctrl+D", 3002, kAcc}, {"Ctrl+F", 3000, kAcc},
    {"Ctrl+G", 4036, kAcc}, {"Ctrl+I", 3001, kAcc}, {"Ctrl+M", 4071, kAcc},
    {"Ctrl+O", 4000, kAcc}, {"Ctrl+P", 4004, kAcc}, {"Ctrl+Q", 4051, kAcc},
    {"Ctrl+S", 4001, kAcc}, {"Ctrl+T", 4042, kAcc}, {"Ctrl+X", 4045, kAcc},
    {"Ctrl+Y", 4046, kAcc}, {"Ctrl+Z", 4010, kAcc}, {"1", 5101, kAcc}, {"2", 5102, kAcc},
    {"3", 5103, kAcc}, {"Ctrl+Shift+Alt+I", 4028, kAcc}, {"Ctrl+Shift+Alt+L", 4026, kAcc},
    {"Ctrl+K", 6000, kAcc},
    // The window's own keys.
    {"Left", 4067, kWin}, {"Up", 4068, kWin}, {"Right", 4069, kWin}, {"Down", 4070, kWin},
    {"F11", 4050, kWin}, {"+", 4060, kWin}, {"-", 4061, kWin}};

}  // namespace

std::span<const CommandInfo> command_table() { return kCommands; }

const CommandInfo* command_info(int id) {
  const auto* it = std::lower_bound(std::begin(kCommands), std::end(kCommands), id,
                                    [](const CommandInfo& c, int v) { return c.id < v; });
  return it != std::end(kCommands) && it->id == id ? it : nullptr;
}

std::span<const MenuItem> menu_bar() { return kMenuBar; }
std::span<const MenuItem> context_menu() { return kContext; }
std::span<const ToolbarButton> left_toolbar() { return kLeftToolbar; }
std::span<const ToolbarButton> right_toolbar() { return kRightToolbar; }
std::span<const KeyBinding> key_bindings() { return kKeys; }

}  // namespace kv

// The command ids of the main window and the tables built from them: the
// command table (menu text, key, toolbar button, tooltip), the menu bar, the
// context menu, the two toolbars and the key bindings; and command_state, the
// enabled, checked and text state of a command as a menu shows it.
//
// Every user action ends as one of these numbers and goes through
// run_command (command_handlers.h). Texts are UTF-8 and exactly as the menus
// show them, "\t" in front of the shortcut text. Keys are written in a
// toolkit-independent form: "Ctrl+F", "Ctrl+Shift+Alt+L", "F11", "Return",
// "Left", "+", "1".
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "session/shell_state.h"

namespace kv {

inline constexpr int kCmdOpenCurrentDialog = 1;  // Return, F2: the current surface's dialog
// Posted by the paint: the current panel has an error its dialog has not shown
// yet. Not a menu command; does nothing once the error is shown or cleared.
inline constexpr int kCmdShowPendingError = 2;
inline constexpr int kCmdFunctionDialog = 3000;
inline constexpr int kCmdIntegralDialog = 3001;
inline constexpr int kCmdDiffEquDialog = 3002;
inline constexpr int kCmdValueTable = 3010;
inline constexpr int kCmdSingleValue = 3011;
inline constexpr int kCmdOpen = 4000;
inline constexpr int kCmdSave = 4001;
inline constexpr int kCmdSaveAs = 4002;
inline constexpr int kCmdSavePicture = 4003;
inline constexpr int kCmdPrint = 4004;
inline constexpr int kCmdExit = 4005;
inline constexpr int kCmdUndo = 4010;
inline constexpr int kCmdCopyBitmap = 4011;
inline constexpr int kCmdCopyMetafile = 4012;
inline constexpr int kCmdOneInstance = 4020;
inline constexpr int kCmdMouseGestures = 4021;
inline constexpr int kCmdDoubleBuffering = 4023;
inline constexpr int kCmdResetSettings = 4025;
inline constexpr int kCmdLengthLimit = 4026;
inline constexpr int kCmdSolverSwitch = 4028;
inline constexpr int kCmdStatusbar = 4030;
inline constexpr int kCmdToolbar = 4031;
inline constexpr int kCmdTooltips = 4032;
inline constexpr int kCmdAxes = 4033;
inline constexpr int kCmdGrid = 4034;
inline constexpr int kCmdSubGrid = 4035;
inline constexpr int kCmdGridBoth = 4036;  // Ctrl+G
inline constexpr int kCmdTickLabels = 4037;
inline constexpr int kCmdTickMarks = 4038;
inline constexpr int kCmdBorder = 4039;
inline constexpr int kCmdCrossedStyle = 4040;
inline constexpr int kCmdBoxedStyle = 4041;
inline constexpr int kCmdFunctionExpressions = 4042;
inline constexpr int kCmdEqualScales = 4043;
inline constexpr int kCmdMouseCoordinates = 4044;
inline constexpr int kCmdXUnitsPi = 4045;
inline constexpr int kCmdYUnitsPi = 4046;
inline constexpr int kCmdFullScreen = 4050;
inline constexpr int kCmdSquareWindow = 4051;
inline constexpr int kCmdZoomIn = 4060;
inline constexpr int kCmdZoomOut = 4061;
inline constexpr int kCmdZoomInX = 4062;
inline constexpr int kCmdZoomOutX = 4063;
inline constexpr int kCmdZoomInY = 4064;
inline constexpr int kCmdZoomOutY = 4065;
inline constexpr int kCmdZoomRect = 4066;  // the rectangle comes in the parameter
inline constexpr int kCmdScrollLeft = 4067;
inline constexpr int kCmdScrollUp = 4068;
inline constexpr int kCmdScrollRight = 4069;
inline constexpr int kCmdScrollDown = 4070;
inline constexpr int kCmdCentre = 4071;
inline constexpr int kCmdStandardView = 4072;
inline constexpr int kCmdHelp = 4080;
inline constexpr int kCmdAbout = 4081;
inline constexpr int kCmdPaletteFirst = 5000;  // 5000 + k: colour scheme k = 0..2
inline constexpr int kCmdPaletteLast = 5002;
inline constexpr int kCmdLineWidthBase = 5100;  // 5100 + n: line width n = 1..3
inline constexpr int kCmdLineWidthFirst = 5101;
inline constexpr int kCmdLineWidthLast = 5103;
// Commands added later, from 6000 upwards.
inline constexpr int kCmdDiscussion = 6000;  // Ctrl+K: the curve discussion window
inline constexpr int kCmdMarkPoints = 6001;  // the notable points on the graph
inline constexpr int kCmdMarkDiscontinuities = 6002;  // poles, holes, jumps and bands on the graph

enum class KeyKind : int {
  None,
  Accelerator,  // translated before the window sees the key
  WindowKey,    // the window's own key handling (arrows, F11, "+", "-")
};

enum class ToolbarSide : int { None, Left, Right };

struct CommandInfo {
  int id;
  const char* menu_text;  // nullptr: no menu item (owner-drawn swatches have none either)
  const char* key;        // nullptr: no key
  KeyKind key_kind;
  ToolbarSide toolbar;
  int bitmap;             // toolbar bitmap 700..722, 0 without button
  const char* tooltip;    // toolbar tooltip, nullptr without
  Feature feature;        // what must be present for the command to work
};

// Every command id, in id order.
std::span<const CommandInfo> command_table();
// nullptr for an unknown id.
const CommandInfo* command_info(int id);

enum class MenuItemKind : int { Command, Separator, Popup };

struct MenuItem {
  MenuItemKind kind;
  int id;                            // Command: the command id
  const char* text;                  // Popup: its text; Command: nullptr (the command's text)
  std::span<const MenuItem> items;   // Popup: its items
  bool radio = false;                // 4040/4041 and the line widths
  bool owner_drawn = false;          // the colour swatches 5000..5002
};

// The popups of the menu bar in order, "&Datei" to "&Hilfe", with the
// inserted "&Linienstärke..." and "Hi&ntergrundfarbe..." already in front of
// 4042 in "&Ansicht".
std::span<const MenuItem> menu_bar();
// The items of the context popup, with the same two submenus in front of 4042.
std::span<const MenuItem> context_menu();

struct ToolbarButton {
  int id;                  // 0: separator
  bool check = false;      // a check button
  bool initially_checked = false;
  int bitmap = 0;
};

std::span<const ToolbarButton> left_toolbar();
std::span<const ToolbarButton> right_toolbar();

struct KeyBinding {
  const char* key;
  int id;
  KeyKind kind;
};

// All keys: the accelerator table followed by the window's own keys. Return
// and F2 both send 1.
std::span<const KeyBinding> key_bindings();

// The toolbar tooltip of a command; nullptr when it has none or Tooltips is off.
const char* toolbar_tooltip(const ShellState& state, int id);

struct CommandState {
  bool enabled = false;
  bool checkable = false;  // shows a check mark or radio mark
  bool checked = false;
  std::string text;        // the menu text as shown now; empty without menu item
};

// The state of a command as the menus show it when they open: greyed when the
// feature it needs is missing or the rules of the current panel say so;
// check marks from the global flags and from the current panel; the undo
// item's text names the step to undo.
CommandState command_state(const ShellState& state, int id);

// "&Rückgängig: <description>\tStrg+Z"; the description is empty with
// nothing to undo.
std::string undo_item_text(const ShellState& state);

// Whether the running program can carry out the command at all.
bool command_available(const ShellState& state, int id);

}  // namespace kv

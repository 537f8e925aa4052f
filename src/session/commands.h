// The tables built from the command ids (command_ids.h): the command table
// (menu text, keys, toolbar picture, tooltip, radio group), the menu bar, the
// context menu and the two toolbars; and command_state, the enabled, checked
// and text state of a command as a menu shows it.
//
// The command table is the one source of each command's texts, keys,
// toolbar picture and radio group; the window builds its actions, shortcuts
// and groups from it. Texts are UTF-8 and exactly as the menus show them,
// "\t" in front of the shortcut text. Keys are written in a
// toolkit-independent form: "Ctrl+F", "Ctrl+Shift+Alt+L", "F11", "Return",
// "Left", "+", "1".
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "session/command_ids.h"
#include "session/shell_state.h"

namespace kv {

enum class KeyKind : int {
  None,
  Accelerator,  // translated before the window sees the key
  WindowKey,    // the window's own key handling (arrows, F11, "+", "-")
};

// Commands of one group exclude each other: choosing one unchecks the others.
enum class RadioGroup : int { None, AxisStyle, LineWidth, Palette };

// Who carries a command out: the session's own rules (options, panels, the
// formula dialogs), the view operations with their undo, or the window's work
// through the host (calculators, documents, pictures, printing, clipboard,
// help).
enum class CommandPath : int { Session, View, Window };

struct CommandInfo {
  Command id;
  const char* menu_text;  // nullptr: no menu item (owner-drawn swatches have none either)
  const char* keys;       // nullptr: no key; else one or more keys, separated by spaces
  KeyKind key_kind;
  int picture;            // toolbar picture 700..722, 0 without button
  const char* tooltip;    // toolbar tooltip, nullptr without
  RadioGroup group;
  CommandPath path;
};

// Every command id, in id order.
std::span<const CommandInfo> command_table();
// nullptr for an unknown id.
const CommandInfo* command_info(Command id);

enum class MenuItemKind : int { Command, Separator, Popup };

struct MenuItem {
  MenuItemKind kind;
  Command id;                        // Command: the command id
  const char* text;                  // Popup: its text; Command: nullptr (the command's text)
  std::span<const MenuItem> items;   // Popup: its items
  bool owner_drawn = false;          // the colour swatches 5000..5002
};

// The popups of the menu bar in order, "&Datei" to "&Hilfe", with the
// inserted "&Linienstärke..." and "Hi&ntergrundfarbe..." already in front of
// 4042 in "&Ansicht".
std::span<const MenuItem> menu_bar();
// The items of the context popup, with the same two submenus in front of 4042.
std::span<const MenuItem> context_menu();

// The buttons of the two toolbars from top to bottom, Command::None a
// separator; picture and tooltip come from the command table, and a button
// is a check button when its command shows a check mark.
std::span<const Command> left_toolbar();
std::span<const Command> right_toolbar();

struct KeyBinding {
  std::string key;
  Command id;
  KeyKind kind;
};

// Every key of the command table, in table order and, within a command, in
// the order written there. Return and F2 both send 1.
std::vector<KeyBinding> key_bindings();

// The toolbar tooltip of a command; nullptr when it has none or Tooltips is off.
const char* toolbar_tooltip(const ShellState& state, Command id);

struct CommandState {
  bool enabled = false;
  bool checkable = false;  // shows a check mark or radio mark
  bool checked = false;
  std::string text;        // the menu text as shown now; empty without menu item
};

// The state of a command as the menus show it when they open: greyed when the
// rules of the current panel say so;
// check marks from the global flags and from the current panel; the undo
// item's text names the step to undo.
CommandState command_state(const ShellState& state, Command id);

// "&Rückgängig: <description>\tStrg+Z"; the description is empty with
// nothing to undo.
std::string undo_item_text(const ShellState& state);

}  // namespace kv

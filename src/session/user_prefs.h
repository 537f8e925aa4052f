// Window-level preferences that live beside the six panels and survive
// between runs in the settings file.
#pragma once

#include <string>

#include "model/panel_record.h"

namespace kv {

struct UserPrefs {
  int surface = 0;      // index of the current drawing panel, 0..2
  DialogRect pos;       // main window rectangle in screen coordinates; empty: never placed
  bool statusbar = true;
  bool toolbar = true;
  bool mouse_gestures = true;
  bool mouse_coordinates = true;
  bool tooltips = true;
  bool one_instance = false;
  bool alert_save_file = true;         // ask "Datei speichern?"
  bool alert_set_def_range = true;     // ask before taking a range as the default
  std::string last_dir;                // [File] Dir: the folder of the last document
};

}  // namespace kv

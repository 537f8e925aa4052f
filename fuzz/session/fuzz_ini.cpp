// libFuzzer target for the settings file.
//
// Input: the bytes of a settings file. They are parsed, every setting is
// loaded from them and all settings are written back in memory, twice. Any
// crash or sanitizer report is a finding; so is a broken contract, which
// aborts:
//   - a file's text, parsed again, gives the same text;
//   - what one save wrote reads back to settings that a second save writes
//     byte for byte the same;
//   - a key just set reads back as its value.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "session/ini_file.h"
#include "session/settings.h"

namespace {

using namespace kv;

[[noreturn]] void broken(const char* what, const std::string& text) {
  std::fprintf(stderr, "contract broken: %s\n%s\n", what, text.c_str());
  std::abort();
}

struct State {
  PanelSet panels;
  UserPrefs prefs;
  State() { fill_initial_contents(panels); }
};

// Loads everything from file, saves it into file; returns the new text.
std::string load_and_save(IniFile& file) {
  State state;
  read_all_settings(&file, state.panels, state.prefs);
  write_all_settings(file, state.panels, state.prefs, "");
  return file.text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  IniFile file;
  file.parse(bytes);
  const std::string text = file.text();
  IniFile again;
  again.parse(text);
  if (again.text() != text) broken("text changes when parsed again", text);

  const std::string first = load_and_save(file);
  IniFile reread;
  reread.parse(first);
  if (load_and_save(reread) != first) broken("second save differs", first);

  // A value made of the input's first bytes, which may hold anything.
  const std::string value(bytes.substr(0, 64));
  reread.set("Window", "Surface", value);
  std::string got;
  if (!reread.get("window", "SURFACE", got)) broken("key just set not found", value);
  std::string want = value;
  for (char& c : want) {
    if (c == '\n' || c == '\r' || c == '\0') c = ' ';
  }
  if (got != want) broken("key just set reads back otherwise", value);
  return 0;
}

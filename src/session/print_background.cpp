#include "session/print_background.h"

namespace kv {

bool print_asks_background(int palette) { return palette != 0; }

int print_palette(int palette, int answer) {
  if (!print_asks_background(palette)) return 0;
  switch (answer) {
    case kPrintOmitBackground: return 0;
    case kPrintWithBackground: return palette;
    default: return -1;
  }
}

}  // namespace kv

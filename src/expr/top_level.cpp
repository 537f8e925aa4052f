#include "expr/top_level.h"

namespace kv {

TopLevel scan_top_level(const std::string& text, size_t pos, size_t end) {
  TopLevel t;
  int depth = 0;
  bool outer_open = pos < end && text[pos] == '(';
  for (size_t i = pos; i < end; ++i) {
    const char c = text[i];
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (--depth < 0) {
        t.balanced = false;
        return t;
      }
      if (depth == 0 && outer_open) {
        t.bracketed = i + 1 == end;
        outer_open = false;
      }
    } else if (c == ',' && depth == 1 && outer_open) {
      if (t.inner_commas++ == 0) t.comma = i;
    } else if (depth == 0 && (c == '=' || c == '<' || c == '>')) {
      const bool with_equal = c != '=' && i + 1 < end && text[i + 1] == '=';
      if (t.relations++ == 0) {
        t.relation = i;
        t.relation_length = with_equal ? 2 : 1;
        t.relation_kind = c == '=' ? kRelEqual
                          : c == '<' ? (with_equal ? kRelLessEqual : kRelLess)
                                     : (with_equal ? kRelGreaterEqual : kRelGreater);
      }
      if (with_equal) ++i;
    }
  }
  t.bracketed = t.bracketed && depth == 0;
  return t;
}

}  // namespace kv

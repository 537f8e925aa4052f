#include "help/help_text_parts.h"
#include "help/help_texts.h"

#include "expr/cp1252.h"

namespace kv {

std::string_view full_help_source() {
  static const std::string source =  // immutable once built
      std::string(full_help_language_part()) + std::string(full_help_program_part());
  return source;
}

std::string full_help_text() { return utf8_to_cp1252(full_help_source()); }

}  // namespace kv

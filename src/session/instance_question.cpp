// The other-instances question; see the header.
#include "session/instance_question.h"

#include <cstdio>

namespace kv {

std::string other_instances_question(int count) {
  const bool one = count == 1;
  char text[160];
  std::snprintf(text, sizeof text, "Es l%s noch %i weitere Kurvaline-Instanz%s.\nEbenfalls schließen?",
                one ? "äuft" : "aufen", count, one ? "" : "en");
  return text;
}

}  // namespace kv

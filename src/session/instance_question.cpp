// The other-instances question; see the header.
#include "session/instance_question.h"

#include <cstdio>

#include "session/session_texts.h"

namespace kv {

std::string other_instances_question(int count) {
  const bool one = count == 1;
  char text[160];
  std::snprintf(text, sizeof text, kOtherInstancesQuestion,
                one ? kOtherInstancesVerbOne : kOtherInstancesVerbMany, count,
                one ? "" : kOtherInstancesNounMany);
  return text;
}

}  // namespace kv

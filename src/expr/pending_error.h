// First-error record of a panel: the first reported error wins.
#pragma once

#include "expr/messages.h"

namespace kv {

// Control id the evaluator attaches to expression errors.
inline constexpr int kExpressionControlId = 510;

struct PendingError {
  bool failed = false;
  bool shown = false;
  int message = kMsgNone;  // MessageId
  int control_id = 0;

  // Takes effect only while nothing is recorded. kMsgNone keeps the message
  // already stored (the compiler leaves its own there).
  void report(int msg, int control) {
    if (failed) return;
    failed = true;
    if (msg != kMsgNone) message = msg;
    control_id = control;
  }
  void clear() { *this = PendingError{}; }
};

}  // namespace kv

// What the instance guard decides, apart from the system calls that feed it:
// whether a folder may hold the instance sockets, and what the answer to the
// other-instances question does.
#pragma once

#include "session/shell_host.h"

namespace kv {

// What a stat call said about a path, as far as the rules look at it.
enum class PathKind { Missing, Folder, Link, Other };
struct PathFacts {
  PathKind kind = PathKind::Missing;
  unsigned owner = 0;
  unsigned mode = 0;  // permission bits
};

// The socket folder, seen without following a link: only the user's own
// folder. Open to group or others, it is closed first (a folder made by an
// older version or by hand); if that fails it is not used.
enum class FolderVerdict { Use, CloseThenUse, Refuse };
FolderVerdict socket_folder_verdict(const PathFacts& folder, unsigned user);

// XDG_RUNTIME_DIR (followed) only when it is a folder of this user: after su
// it may still name the folder of the user before.
bool runtime_folder_usable(const PathFacts& folder, unsigned user);

// The closing question is asked only with the question lock (otherwise
// another instance is asking right now) and with another instance running.
bool ask_about_others(bool question_lock_held, int other_instances);

// The answer: Yes asks the others to end and closes this window, No closes
// only this one, Cancel (or a box closed without an answer) keeps it.
struct OthersAnswer {
  bool close_this = false;
  bool close_others = false;
};
OthersAnswer others_answer(MessageResult answer);

}  // namespace kv

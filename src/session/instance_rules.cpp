// The instance guard's decisions; see the header.
#include "session/instance_rules.h"

namespace kv {

FolderVerdict socket_folder_verdict(const PathFacts& folder, unsigned user) {
  if (folder.kind != PathKind::Folder || folder.owner != user) return FolderVerdict::Refuse;
  return (folder.mode & 077u) == 0 ? FolderVerdict::Use : FolderVerdict::CloseThenUse;
}

bool runtime_folder_usable(const PathFacts& folder, unsigned user) {
  return folder.kind == PathKind::Folder && folder.owner == user;
}

bool ask_about_others(bool question_lock_held, int other_instances) {
  return question_lock_held && other_instances > 0;
}

OthersAnswer others_answer(MessageResult answer) {
  switch (answer) {
    case MessageResult::Yes: return {true, true};
    case MessageResult::No: return {true, false};
    case MessageResult::Ok:
    case MessageResult::Cancel: break;
  }
  return {};
}

}  // namespace kv

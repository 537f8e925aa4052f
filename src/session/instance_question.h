// The question asked when a window closes while other instances of the
// program run.
#pragma once

#include <string>

namespace kv {

// "Es läuft noch 1 weitere Kurvaline-Instanz.\nEbenfalls schließen?" for one
// other instance; "Es laufen noch 3 weitere Kurvaline-Instanzen.\n..." for
// three. Asked with the caption "Kurvaline", the question icon and Yes, No,
// Cancel; only for a count of at least 1.
std::string other_instances_question(int count);

}  // namespace kv

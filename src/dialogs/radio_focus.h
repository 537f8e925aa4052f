// Tab into a row of radio buttons lands on the checked one, as on the
// desktop: the others take the focus only by a click or the arrow keys,
// which move within the row and check as they go.
#pragma once

#include <initializer_list>

class QRadioButton;

namespace kv {

// Keeps the rule for these buttons for as long as they live.
void tab_to_checked(std::initializer_list<QRadioButton*> buttons);

}  // namespace kv

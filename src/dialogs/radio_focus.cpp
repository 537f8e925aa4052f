// Tab onto the checked radio button; see the header.
#include "dialogs/radio_focus.h"

#include <QRadioButton>
#include <memory>
#include <vector>

namespace kv {

void tab_to_checked(std::initializer_list<QRadioButton*> buttons) {
  auto row = std::make_shared<const std::vector<QRadioButton*>>(buttons);
  auto update = [row] {
    bool any_checked = false;
    for (QRadioButton* b : *row) any_checked = any_checked || b->isChecked();
    // With none checked every button stays a tab stop.
    for (QRadioButton* b : *row) {
      b->setFocusPolicy(b->isChecked() || !any_checked ? Qt::StrongFocus : Qt::ClickFocus);
    }
  };
  // Each connection ends with its button; the row's buttons share one parent.
  for (QRadioButton* b : *row) QObject::connect(b, &QRadioButton::toggled, b, update);
  update();
}

}  // namespace kv

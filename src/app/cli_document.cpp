// Documents on the command line; see the header.
#include "app/cli_document.h"

#include "formats/document_apply.h"
#include "formats/document_names.h"

namespace kv {

void load_document_into_panel(const DocumentData& doc, PanelRecord& panel, bool checked) {
  apply_option_changes(document_option_changes(doc, panel), panel);
  apply_document_values(doc, panel);
  if (!checked) return;
  for (int s = 0; s < kStoredValueCount; ++s) {
    RangeValue& field = s < kRangeCount ? panel.range[s] : panel.dialog_values[s - kRangeCount];
    if (field.text_stale) {
      field.text.clear();
      field.has_text = false;
    }
  }
}

bool is_document_path(const std::string& path) {
  return !path.empty() && propose_document_path(path) == path;
}

}  // namespace kv

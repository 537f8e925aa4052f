// Formula history and start-field labels; see the header.
#include "session/formula_history.h"

namespace kv {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char lower_ascii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The next character of text from pos on that is not blank; 0 at the end.
char next_significant(std::string_view text, size_t& pos) {
  while (pos < text.size() && is_blank(text[pos])) ++pos;
  return pos < text.size() ? lower_ascii(text[pos++]) : 0;
}

std::string_view before_semicolon(std::string_view text) {
  return text.substr(0, text.find(';'));
}

}  // namespace

bool same_history_entry(std::string_view a, std::string_view b) {
  a = before_semicolon(a);
  b = before_semicolon(b);
  size_t i = 0, j = 0;
  while (true) {
    const char ca = next_significant(a, i);
    const char cb = next_significant(b, j);
    if (ca != cb) return false;
    if (ca == 0) return true;
  }
}

bool record_in_history(FormulaHistory& history, std::string_view formula) {
  const std::string_view entry = before_semicolon(formula);
  size_t pos = 0;
  if (next_significant(entry, pos) == 0) return false;
  // Drop every equal entry, keeping the order of the others.
  size_t kept = 0;
  for (size_t i = 0; i < history.size(); ++i) {
    if (history[i].empty() || same_history_entry(history[i], entry)) continue;
    if (kept != i) history[kept] = std::move(history[i]);
    ++kept;
  }
  for (size_t i = kept; i < history.size(); ++i) history[i].clear();
  for (size_t i = history.size() - 1; i > 0; --i) history[i] = std::move(history[i - 1]);
  history[0].assign(entry);
  return true;
}

HistoryList refresh_history(PanelRecord& panel) {
  bool recorded = false;
  if (!panel.source.empty() && !panel.error.failed) {
    recorded = record_in_history(panel.history, panel.source);
  }
  HistoryList list;
  for (const std::string& entry : panel.history) {
    if (entry.empty()) break;
    list.items.push_back(entry);
  }
  if (recorded || panel.source.empty()) {
    list.edit_text = panel.history[0];
  } else {
    list.edit_text = panel.source;
  }
  return list;
}

StartLabels start_field_labels(std::string_view formula) {
  size_t pos = 0;
  const bool polar = next_significant(formula, pos) == 'r';
  // Built, not assigned from literals: g++ 12 warns falsely (-Wrestrict) at -O3.
  StartLabels labels{std::string(1, polar ? 't' : 'x'), {}};
  std::string name(1, polar ? 'r' : 'y');
  for (std::string& label : labels.values) {
    label = name;
    name += '\'';
  }
  return labels;
}

}  // namespace kv

// Texts of value tables and what the calculators hand to the drawing panels;
// see value_table.h.
#include "session/value_table.h"

#include <algorithm>

#include "expr/format.h"
#include "model/initial_contents.h"

namespace kv {

namespace {

constexpr const char* kBlanks = " \t\r\n";

bool is_blank_text(std::string_view text) {
  return text.find_first_not_of(kBlanks) == std::string_view::npos;
}

}  // namespace

TableText table_text(const TableResult& result) {
  TableText t;
  t.header = result.polar ? "x\ty\r\n" : "x\ty\ty'\r\n";
  t.rows.reserve(result.rows.size() * 40);
  size_t widest = 0;
  for (const TableRow& row : result.rows) {
    const std::string x = format_table_value(row.x, row.x_ok, result.max_magnitude);
    const std::string y = format_table_value(row.y, row.y_ok, result.max_magnitude);
    widest = std::max({widest, x.size() + 1, y.size() + 1});
    t.rows += x;
    t.rows += '\t';
    t.rows += y;
    t.rows += '\t';
    if (!result.polar) t.rows += format_table_value(row.dy, row.dy_ok, result.max_magnitude);
    t.rows += "\r\n";
  }
  t.tab_stop = 4 * static_cast<int>(widest + 2);
  return t;
}

std::string table_clipboard_text(const TableResult& result, const TableText& text,
                                 char decimal_separator) {
  if (result.formula.empty() || text.rows.empty()) return std::string();
  std::string out;
  if (result.formula.find('=') == std::string::npos) out += result.polar ? "r=" : "y=";
  out += result.formula;
  if (result.order >= 1) {
    const int order = std::min(result.order, static_cast<int>(result.start_texts.size()) - 1);
    out += result.polar ? "\r\n\r\nt0=" : "\r\n\r\nx0=";
    out += result.start_texts[0];
    for (int i = 0; i < order; ++i) {
      out += result.polar ? "\r\nr" : "\r\ny";
      out.append(static_cast<size_t>(i), '\'');
      out += result.polar ? "(t0)=" : "(x0)=";
      out += result.start_texts[1 + i];
    }
  }
  out += "\r\n\r\n";
  const size_t table_start = out.size();
  out += text.header;
  out += text.rows;
  if (decimal_separator == ',') std::replace(out.begin() + table_start, out.end(), '.', ',');
  return out;
}

bool append_to_function_list(std::string& function_source, std::string_view text) {
  if (is_blank_text(text)) return false;
  const size_t last = function_source.find_last_not_of(kBlanks);
  if (last == std::string::npos) {
    function_source.clear();
  } else {
    if (function_source[last] != ';') function_source += ';';
    function_source += "\r\n";
  }
  function_source += text;
  function_source += ';';
  return true;
}

void hand_equation_to_graph(const PanelRecord& table, PanelRecord& diffequ) {
  copy_dialog_fields(table, diffequ);
  diffequ.source = table.source;
}

}  // namespace kv

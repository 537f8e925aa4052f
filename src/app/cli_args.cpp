#include "app/cli_args.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "app/cli_texts.h"
#include "expr/messages.h"

namespace kv {

bool ArgReader::value(std::string_view option, std::string& out) {
  if (done()) {
    usage_error(std::string(option) + kExpectsValue);
    return false;
  }
  out = next();
  return true;
}

int usage_error(std::string_view line) {
  std::fprintf(stderr, kUsageLineFormat, static_cast<int>(line.size()), line.data());
  return kExitUsage;
}

int unknown_option(std::string_view arg) {
  if (!arg.empty() && arg[0] == '-') {
    return usage_error(kUnknownOption + std::string(arg) + kQuoteEnd);
  }
  return usage_error(kUnexpectedArgument + std::string(arg) + kQuoteEnd);
}

bool parse_number(std::string_view text, double& out) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (text.empty() || text[0] == '+') return false;
  const char* last = text.data() + text.size();
  double value = 0.0;
  auto res = std::from_chars(text.data(), last, value, std::chars_format::general);
  if (res.ec != std::errc() || res.ptr != last || !std::isfinite(value)) return false;
  out = value;
  return true;
}

bool parse_number_list(std::string_view text, size_t max_count, std::vector<double>& out) {
  out.clear();
  while (true) {
    size_t comma = text.find(',');
    double value;
    if (out.size() == max_count || !parse_number(text.substr(0, comma), value)) return false;
    out.push_back(value);
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
  }
}

void print_formula_message(int msg) {
  const char* text = message_text(msg);
  std::fprintf(stderr, "%s\n", text ? text : message_text(kMsgInvalidExpression));
}

bool flush_stdout() {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  std::fputs(kOutputNotWritten, stderr);
  return false;
}

std::string format_exact(double value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 17);
  return std::string(buf, res.ptr);
}

}  // namespace kv

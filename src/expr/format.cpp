// Number formatting. std::to_chars with a precision prints exactly as printf
// does in the "C" locale ("%.*f", "%.*g"), without ever reading the locale,
// so the texts here stay the same whatever the GUI layer sets.
#include "expr/format.h"

#include <charconv>
#include <cmath>

namespace kv {
namespace {

// Room for the fixed notation of the largest double with 340 decimals.
constexpr size_t kBufferSize = 1024;
constexpr int kMaxDecimals = 340;

std::string to_text(double value, std::chars_format fmt, int precision) {
  char buf[kBufferSize];
  auto res = std::to_chars(buf, buf + sizeof buf, value, fmt, precision);
  if (res.ec != std::errc()) return std::string();
  return std::string(buf, res.ptr);
}

// "1.5e+05" -> "1.5E+5", "2e-10" -> "2E-10".
void upper_exponent_without_zeros(std::string& text) {
  size_t e = text.find('e');
  if (e == std::string::npos) return;
  text[e] = 'E';
  size_t digits = e + 1;
  if (digits < text.size() && (text[digits] == '+' || text[digits] == '-')) ++digits;
  size_t first = digits;
  while (first + 1 < text.size() && text[first] == '0') ++first;
  text.erase(digits, first - digits);
}

// Number of decimals a grid of width step needs: how often the step must be
// multiplied by 10 to reach 1.
int decimals_for_step(double step) {
  if (!(step > 0.0)) return 14;
  int d = 0;
  while (step < 1.0 && d < kMaxDecimals) {
    step *= 10.0;
    ++d;
  }
  return d;
}

// The mantissa text of the scientific form: first digit, ".", the rest, trimmed.
std::string mantissa(char first, const std::string& rest) {
  std::string m(1, first);
  m += '.';
  m += rest;
  trim_decimal_text(m);
  return m;
}

// Rewrites a long plain number as mantissa·10exponent where the form of the
// tick labels allows it; other texts are returned unchanged.
std::string scientific_form(const std::string& text) {
  bool negative = !text.empty() && text[0] == '-';
  std::string body = text.substr(negative ? 1 : 0);
  if (body.empty()) return text;
  std::string m;
  int exponent = 0;
  if (body.find('.') == std::string::npos && body[0] != '0') {
    exponent = static_cast<int>(body.size()) - 1;
    m = mantissa(body[0], body.substr(1));
  } else if (body.size() > 2 && body[0] == '0' && body[1] == '.') {
    size_t nz = body.find_first_not_of('0', 2);
    if (nz == std::string::npos) return text;
    exponent = -static_cast<int>(nz - 1);
    m = mantissa(body[nz], body.substr(nz + 1));
  } else {
    return text;
  }
  std::string out = negative ? "-" : "";
  out += m;
  out += kMiddleDot;
  out += "10";
  out += std::to_string(exponent);
  return out;
}

}  // namespace

void trim_decimal_text(std::string& text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  if (text.find('.') == std::string::npos) return;
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
}

std::string format_table_value(double value, bool defined, double max_magnitude) {
  // A NaN cannot come out of the evaluator; should one arrive anyway it has no
  // value to show, like an undefined one.
  if (!defined || std::isnan(value)) return "Error";
  if (std::fabs(value) >= max_magnitude) return value >= 0 ? "+Infinity" : "-Infinity";
  if (value > -1e-13 && value < 1e-13) value = 0.0;
  std::string text = to_text(value, std::chars_format::general, 6);
  upper_exponent_without_zeros(text);
  return text;
}

std::string format_scaled_value(double value, double step, bool allow_scientific) {
  if (std::isnan(value) || std::fabs(value) > 1e15) return std::string();
  if (value > -1e-14 && value < 1e-14) return "0";
  std::string text = to_text(value, std::chars_format::fixed, decimals_for_step(step));
  trim_decimal_text(text);
  if (allow_scientific && text.size() >= 8) return scientific_form(text);
  return text;
}

std::string format_full_value(double value) {
  std::string text = to_text(value, std::chars_format::fixed, 14);
  trim_decimal_text(text);
  return text;
}

}  // namespace kv

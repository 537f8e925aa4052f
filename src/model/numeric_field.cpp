// Numeric input fields, evaluated through the expression language in a
// temporary context that lives for one field only.
#include "model/numeric_field.h"

#include <charconv>
#include <cstdlib>

#include "expr/compiler.h"
#include "expr/evaluator.h"
#include "expr/limits.h"

namespace kv {
namespace {

// Decimal exponent of the leading digit of a number text that from_chars
// accepted but could not represent; positive means it was too large.
long leading_exponent(std::string_view num) {
  size_t i = 0;
  if (i < num.size() && num[i] == '-') ++i;
  long int_digits = 0, frac_zeros = 0;
  bool seen_nonzero = false;
  for (; i < num.size() && num[i] >= '0' && num[i] <= '9'; ++i) {
    if (num[i] != '0') seen_nonzero = true;
    if (seen_nonzero) ++int_digits;
  }
  if (i < num.size() && num[i] == '.') {
    for (++i; i < num.size() && num[i] >= '0' && num[i] <= '9'; ++i) {
      if (num[i] != '0') seen_nonzero = true;
      if (!seen_nonzero) ++frac_zeros;
    }
  }
  long exponent = 0;
  if (i < num.size() && (num[i] == 'e' || num[i] == 'E')) {
    // strtol saturates at LONG_MAX/LONG_MIN, which is right for this purpose.
    exponent = std::strtol(std::string(num.substr(i + 1)).c_str(), nullptr, 10);
  }
  // A saturated exponent decides on its own; adding to it could overflow.
  if (exponent > 1000000 || exponent < -1000000) return exponent;
  return exponent + (int_digits > 0 ? int_digits - 1 : -(frac_zeros + 1));
}

}  // namespace

double parse_plain_number(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  if (i < text.size() && text[i] == '+') {
    ++i;
    if (i < text.size() && text[i] == '-') return 0.0;  // "+-1" is not a number
  }
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  double value = 0.0;
  auto res = std::from_chars(first, last, value, std::chars_format::general);
  if (res.ec == std::errc::invalid_argument) return 0.0;
  if (res.ec == std::errc::result_out_of_range) {
    std::string_view num(first, static_cast<size_t>(res.ptr - first));
    if (leading_exponent(num) < 0) return 0.0;
    return num[0] == '-' ? -kUndefined : kUndefined;
  }
  return value;
}

int evaluate_numeric_field(RangeValue& field, bool empty_is_error, double angle,
                           const CompileEnv& env) {
  if (!field.has_text) return kMsgNone;
  ExprPanel panel;
  panel.role = kPanelNumericField;
  panel.angle_mode = angle;
  panel.set_limits(kMaxMagnitude, kZeroToleranceDrawing, kLiteralLimitDrawing);
  panel.source = field.text;
  if (!compile_formulas(panel, env)) {
    return panel.error.message != kMsgNone ? panel.error.message : kMsgInvalidExpression;
  }
  if (panel.count() == 0) {
    if (empty_is_error) return kMsgInvalidExpression;
    field.value = kUndefined;
    return kMsgNone;
  }
  if (panel.count() > 1) return kMsgInvalidExpression;
  panel.current = 0;
  const double vars[6] = {1.0, 1.0, 1.0, 1.0, 1.0, 1.0};
  field.value = evaluate_formula(panel, vars, env.surface);
  if (panel.error.failed) {
    return panel.error.message != kMsgNone ? panel.error.message : kMsgInvalidExpression;
  }
  if (panel.formulas[0]->eval_error) return kMsgUndefinedValue;
  return kMsgNone;
}

bool read_numeric_field_text(RangeValue& field, std::string_view text, PendingError& error,
                             int control_id, bool empty_is_error, double angle,
                             const CompileEnv& env) {
  field.text.assign(text);
  field.has_text = true;
  field.text_stale = false;
  int msg = evaluate_numeric_field(field, empty_is_error, angle, env);
  if (msg == kMsgNone) return true;
  error.report(msg, control_id);
  return false;
}

int copy_numeric_field(RangeValue& target, const RangeValue& source, bool reevaluate,
                       double angle, const CompileEnv& env) {
  target = source;
  if (!reevaluate || !source.has_text || source.text_stale) return kMsgNone;
  RangeValue scratch = source;
  int msg = evaluate_numeric_field(scratch, false, angle, env);
  if (msg == kMsgNone) target.value = scratch.value;
  return msg;
}

void set_numeric_field_from_text(RangeValue& field, std::string_view text) {
  field.text.assign(text);
  field.has_text = true;
  field.text_stale = false;
  field.value = parse_plain_number(text);
}

}  // namespace kv

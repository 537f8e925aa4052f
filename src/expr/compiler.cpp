// The expression compiler: in-place text rewritings instead of a syntax tree.
//
// The source is normalised, keywords become one-byte operation codes,
// implicit multiplications and factorials are made explicit, and every infix
// operator is rewritten into a two-argument prefix call, lowest precedence
// first. The first error ends the compilation and leaves no formula behind.
#include "expr/compiler.h"

#include <cstring>
#include <memory>

#include "expr/evaluator.h"
#include "expr/keywords.h"
#include "expr/messages.h"
#include "expr/opcodes.h"
#include "expr/top_level.h"

namespace kv {
namespace {

using op::is_digit;
using op::is_literal_char;
using op::is_operator_char;

constexpr uint8_t kSup2 = 0xB2;  // "²" in Windows-1252
constexpr uint8_t kSup3 = 0xB3;  // "³"
constexpr int kLengthLimit = 512;
// Operation count beyond which a formula is rejected before the rewriting
// while the length limit is on: far above the limit, so that the usual
// messages of shorter faulty formulas still come first.
constexpr int kEarlyRejectLimited = 4 * kLengthLimit;

// Per-formula bookkeeping of the compiler.
struct Scratch {
  int operations = 0;
  int expected_commas = 0;
};

// Removes blanks and folds the alternative spellings of a few characters.
std::string normalise(const std::string& src) {
  std::string out;
  out.reserve(src.size() + 1);
  for (size_t i = 0; i < src.size(); ++i) {
    char c = src[i];
    switch (c) {
      case '\t': case '\n': case '\r': case ' ': break;
      case '#': out += '\''; break;
      case '*':
        if (i + 1 < src.size() && src[i + 1] == '*') { out += '^'; ++i; } else { out += '*'; }
        break;
      case ':': out += '/'; break;
      case '[': case '{': out += '('; break;
      case ']': case '}': out += ')'; break;
      default: out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
  }
  if (!out.empty() && out.back() != ';') out += ';';
  return out;
}

bool is_letter(char c) { return c >= 'a' && c <= 'z'; }

// Counts the primes at text[pos]: "'" counts one, '"' two.
int read_primes(const std::string& text, size_t& pos) {
  int k = 0;
  for (;; ++pos) {
    if (text[pos] == '\'') k += 1;
    else if (text[pos] == '"') k += 2;
    else return k;
  }
}

bool diffequ_allowed(const ExprPanel& panel, const CompileEnv& env) {
  return env.surface == kPanelDiffEqu || panel.role == kPanelTableDiffEqu;
}

// "f(x)=", "f(t)=", "y'..=", "y'..(x)=", "r'..=", "r'..(t)=" at the start of a formula.
int recognise_prefix(const std::string& text, size_t& pos, CompiledFormula& f,
                     const ExprPanel& panel, const CompileEnv& env) {
  if (text.compare(pos, 5, "f(x)=") == 0) { f.kind |= kCartesian; pos += 5; return kMsgNone; }
  if (text.compare(pos, 5, "f(t)=") == 0) { f.kind |= kPolar; pos += 5; return kMsgNone; }
  char head = text[pos];
  if (head != 'y' && head != 'r') return kMsgNone;
  size_t p = pos + 1;
  int k = read_primes(text, p);
  const char* arg = head == 'y' ? "(x)=" : "(t)=";
  size_t skip = 0;
  if (text[p] == '=') skip = 1;
  else if (text.compare(p, 4, arg) == 0) skip = 4;
  if (skip == 0) {
    if (head == 'y') f.kind |= kCartesian;  // the "y" is then read as a variable
    return kMsgNone;
  }
  f.kind |= head == 'y' ? kCartesian : kPolar;
  f.order = k;
  pos = p + skip;
  if (k > 0) {
    if (!diffequ_allowed(panel, env)) return kMsgNoDiffEqu;
    if (k > 5) return kMsgOrderTooHigh;
  }
  return kMsgNone;
}

// What the tokeniser reads: a formula of the long-standing forms, one side of an
// equation or inequality (y is a variable, t is refused), or one component
// of a parametric pair (only t).
enum class Reading : uint8_t { kFormula, kRelationSides, kPairPart };

struct Tokeniser {
  const std::string& text;
  size_t end;  // position of the formula's ';'
  CompiledFormula& f;
  Scratch& s;
  std::string& code;
  Reading reading = Reading::kFormula;
  int y_message = kMsgOnlyX;  // y in a function of x alone
  int depth = 0;
  bool in_pipe = false;
  int pipe_depth = 0;

  int variable(size_t& pos) {  // y or r with its primes
    ++pos;
    int k = read_primes(text, pos);
    if (k >= f.order) return kMsgDerivativeTooHigh;
    code += static_cast<char>(op::kY + k);
    return kMsgNone;
  }

  // y as the second coordinate of the plane; its derivatives mean a
  // differential equation, which is not drawn here.
  int plane_y(size_t& pos) {
    ++pos;
    if (read_primes(text, pos) > 0) return kMsgNoDiffEqu;
    f.kind |= kCartesian;
    code += static_cast<char>(op::kY);
    return kMsgNone;
  }

  int keyword(size_t& pos) {
    const Keyword* k = match_keyword(text, pos);
    if (!k) return kMsgInvalidExpression;
    code += static_cast<char>(k->code);
    pos += k->spelling.size();
    if (k->code == op::kRand || k->code == op::kFrac) f.discontinuous = true;
    if (k->function) {
      ++s.operations;
      s.expected_commas += op::arity(k->code) - 1;
    }
    return kMsgNone;
  }

  int run(size_t pos) {
    const size_t first = pos;
    while (pos < end) {
      uint8_t c = static_cast<uint8_t>(text[pos]);
      uint8_t next = static_cast<uint8_t>(text[pos + 1]);  // the ';' at worst
      int msg = kMsgNone;
      switch (c) {
        case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7':
        case '8': case '9': case '.': case ',': case '*': case '/': case '^': case '!':
          code += static_cast<char>(c);
          ++pos;
          break;
        case '+': {
          if (next == '*' || next == '/' || next == '^') return kMsgInvalidExpression;
          uint8_t prev = pos > first ? static_cast<uint8_t>(text[pos - 1]) : 0;
          bool drop = pos == first || is_operator_char(prev) || next == '-' || prev == '(' ||
                      prev == ',';
          if (!drop) code += '+';
          ++pos;
          break;
        }
        case '-':
          if (next == '-') { code += '+'; pos += 2; } else { code += '-'; ++pos; }
          break;
        case '(':
          if (++depth > kMaxNesting) return kMsgTooLong;
          if (in_pipe) ++pipe_depth;
          code += static_cast<char>(op::kOpen);
          ++pos;
          break;
        case ')':
          --depth;
          if (in_pipe && --pipe_depth < 0) return kMsgPipe;
          if (depth < 0) return kMsgBrackets;
          code += static_cast<char>(op::kClose);
          ++pos;
          break;
        case '|':
          if (!in_pipe) {
            code += static_cast<char>(op::kAbs);
            code += static_cast<char>(op::kOpen);
            ++s.operations;
            in_pipe = true;
            pipe_depth = 0;
          } else {
            if (pipe_depth != 0) return kMsgPipe;
            code += static_cast<char>(op::kClose);
            in_pipe = false;
          }
          ++pos;
          break;
        case kSup2: case kSup3:
          code += '^';
          code += c == kSup2 ? '2' : '3';
          ++pos;
          break;
        case 'x':
          if (reading == Reading::kPairPart) return kMsgWrongVariable;
          f.kind |= kCartesian;
          code += static_cast<char>(op::kX);
          ++pos;
          break;
        case 't':
          if (text.compare(pos, 3, "tan") == 0) { msg = keyword(pos); break; }
          if (reading == Reading::kRelationSides) return kMsgTInImplicit;
          f.kind |= kPolar;
          code += static_cast<char>(op::kX);
          ++pos;
          break;
        case 'y':
          if (reading == Reading::kRelationSides) {
            msg = plane_y(pos);
            break;
          }
          if (reading == Reading::kPairPart) return kMsgYInPair;
          if (f.order == 0) return y_message;
          f.kind |= kCartesian;
          msg = variable(pos);
          break;
        case 'r':
          if (!is_letter(static_cast<char>(next)) || (next != 'a' && next != 'o')) {
            if (f.order == 0) return kMsgInvalidExpression;
            f.kind |= kPolar;
            msg = variable(pos);
          } else {
            msg = keyword(pos);
          }
          break;
        case 'e':
          if (text.compare(pos, 4, "exp(") == 0) { msg = keyword(pos); break; }
          code += static_cast<char>(op::kE);
          ++pos;
          break;
        default:
          msg = keyword(pos);
      }
      if (msg != kMsgNone) return msg;
    }
    if (in_pipe) return kMsgPipe;
    if (depth != 0) return kMsgBrackets;
    if (f.kind == 0) f.kind = kCartesian;
    if (f.kind == (kCartesian | kPolar)) return kMsgWrongVariable;
    return kMsgNone;
  }
};

void insert(std::string& code, size_t at, std::initializer_list<uint8_t> bytes) {
  std::string b;
  for (uint8_t c : bytes) b += static_cast<char>(c);
  code.insert(at, b);
}

uint8_t at(const std::string& code, size_t i) { return static_cast<uint8_t>(code[i]); }

// Scans backwards from the byte before `from` for the start of the operand
// that ends there: brackets balance, and at balance 0 a byte for which
// `stops` holds ends the scan. Returns the operand's first position, or
// npos when the start of the code is reached with unclosed brackets.
template <class Stops>
size_t operand_start(const std::string& code, size_t from, Stops stops) {
  int balance = 0;
  long j = static_cast<long>(from) - 1;
  for (; j >= 0; --j) {
    uint8_t b = at(code, j);
    if (b == op::kClose) {
      ++balance;
    } else if (b == op::kOpen) {
      if (--balance < 0) break;
    } else if (balance == 0 && stops(b)) {
      break;
    }
  }
  if (j < 0 && balance > 0) return std::string::npos;
  return static_cast<size_t>(j + 1);
}

// Turns the "!" at position bang into fac( ... ). Returns the new position of
// the closing bracket that replaced it, or an error through msg.
size_t rewrite_factorial(std::string& code, size_t bang, Scratch& s, int& msg) {
  size_t start = operand_start(code, bang, [](uint8_t b) { return is_operator_char(b) || b == '!'; });
  if (start == std::string::npos || at(code, start) == '!') {
    msg = kMsgFactorial;
    return bang;
  }
  code[bang] = static_cast<char>(op::kClose);
  insert(code, start, {op::kFac, op::kOpen});
  ++s.operations;
  ++s.expected_commas;
  return bang + 2;
}

// Inserts the implicit "*" and rewrites the factorials, in one pass.
int implicit_and_factorials(std::string& code, Scratch& s) {
  for (size_t i = 0; i + 1 < code.size(); ++i) {
    uint8_t c = at(code, i);
    uint8_t next = at(code, i + 1);
    if (is_operator_char(next) || next == op::kClose || next == ',' || next == '!') {
      if (next == '!') {
        int msg = kMsgNone;
        size_t closing = rewrite_factorial(code, i + 1, s, msg);
        if (msg != kMsgNone) return msg;
        i = closing - 1;
      }
      continue;
    }
    if (op::is_leaf_symbol(c) || c == op::kClose || (is_digit(c) && !is_literal_char(next))) {
      code.insert(i + 1, 1, '*');
    }
  }
  return kMsgNone;
}

// Scans forwards from `from` for the end of the operand that starts there:
// brackets balance, a closing bracket at balance 0 ends it, and at balance 0
// a position for which `stops` holds ends it. `unclosed` tells whether the end
// of the code was reached inside brackets.
template <class Stops>
size_t operand_end(const std::string& code, size_t from, Stops stops, bool& unclosed) {
  int balance = 0;
  size_t e = from;
  for (; e < code.size(); ++e) {
    uint8_t b = at(code, e);
    if (b == op::kOpen) {
      ++balance;
    } else if (b == op::kClose) {
      if (balance == 0) break;
      --balance;
    } else if (balance == 0 && stops(e, b)) {
      break;
    }
  }
  unclosed = e == code.size() && balance > 0;
  return e;
}

// Unary minus at position i: 0 and brackets around it and its operand. A "^"
// and an operator right after it belong to the operand, so "2^-x" stays whole.
void wrap_unary_minus(std::string& code, size_t& i) {
  bool unclosed = false;
  size_t e = operand_end(code, i + 1, [&code](size_t p, uint8_t b) {
    if (b == '^') return false;
    if (is_operator_char(b) && at(code, p - 1) == '^') return false;
    return b == ',' || is_operator_char(b);
  }, unclosed);
  code.insert(e, 1, static_cast<char>(op::kClose));
  insert(code, i, {op::kOpen, '0'});
  i += 2;
}

// One pass of the operator rewriting for the operators first and second
// (second may be 0).
int rewrite_pass(std::string& code, uint8_t first, uint8_t second, uint8_t first_code,
                 uint8_t second_code, Scratch& s) {
  const bool additive = first == '+';
  for (size_t i = 0; i < code.size(); ++i) {
    uint8_t c = at(code, i);
    if (c != first && (second == 0 || c != second)) continue;
    uint8_t next = i + 1 < code.size() ? at(code, i + 1) : 0;
    uint8_t prev = i > 0 ? at(code, i - 1) : 0;
    if (next == 0 || next == ',' || next == op::kClose) return kMsgInvalidExpression;
    bool multiplicative = c == '*' || c == '/' || c == '^';
    if (multiplicative && (i == 0 || prev == ',' || prev == op::kOpen)) return kMsgInvalidExpression;
    if (!multiplicative && (next == '*' || next == '/' || next == '^')) return kMsgInvalidExpression;
    if (additive && c == '-' &&
        (i == 0 || prev == op::kOpen || is_operator_char(prev) || prev == ',')) {
      wrap_unary_minus(code, i);
    }
    // Left operand.
    size_t start = operand_start(code, i, [](uint8_t b) { return b == ',' || b == '-'; });
    if (start == std::string::npos) return kMsgBrackets;
    insert(code, start, {c == first ? first_code : second_code, op::kOpen});
    i += 2;
    ++s.operations;
    ++s.expected_commas;
    code[i] = ',';
    // Right operand.
    bool unclosed = false;
    size_t e = operand_end(code, i + 1, [&](size_t p, uint8_t b) {
      return b == ',' || b == first ||
             (second != 0 && b == second && !is_operator_char(at(code, p - 1)));
    }, unclosed);
    if (unclosed) return kMsgBrackets;
    code.insert(e, 1, static_cast<char>(op::kClose));
  }
  return kMsgNone;
}

int rewrite_operators(std::string& code, Scratch& s) {
  int msg = rewrite_pass(code, '+', '-', op::kAdd, op::kSub, s);
  if (msg == kMsgNone) msg = rewrite_pass(code, '*', '/', op::kMul, op::kDiv, s);
  if (msg == kMsgNone) msg = rewrite_pass(code, '^', 0, op::kPow, 0, s);
  return msg;
}

// The operation count the rewriting will reach, read off the tokenised code
// in one pass: functions and pipes so far, every operator and "!", and every
// "*" that implicit_and_factorials will insert (the same rule, with a "!"
// standing for the bracket that replaces it). Exact when the formula
// compiles.
long operations_ahead(const std::string& code, const Scratch& s) {
  long n = s.operations;
  for (size_t i = 0; i < code.size(); ++i) {
    const uint8_t c = at(code, i);
    n += is_operator_char(c) || c == '!';
    if (i + 1 == code.size()) break;
    const uint8_t next = at(code, i + 1);
    if (is_operator_char(next) || next == op::kClose || next == ',' || next == '!') continue;
    n += op::is_leaf_symbol(c) || c == op::kClose || c == '!' ||
         (is_digit(c) && !is_literal_char(next));
  }
  return n;
}

// Each rewriting step inserts into the code and scans an operand, so the
// whole rewriting costs about operations x code length; refusing by that
// product keeps every compilation within a fixed amount of work.
bool rewriting_too_long(const std::string& code, long operations, bool length_limit) {
  if (code.size() > kMaxCodeBytes) return true;
  if (length_limit && operations > kEarlyRejectLimited) return true;
  const double final_bytes = static_cast<double>(code.size()) + 4.0 * static_cast<double>(operations);
  return static_cast<double>(operations) * final_bytes > static_cast<double>(kMaxRewriteWork);
}

int nesting_depth(const std::string& code) {
  int depth = 0, deepest = 0;
  for (char c : code) {
    if (static_cast<uint8_t>(c) == op::kOpen) deepest = std::max(deepest, ++depth);
    else if (static_cast<uint8_t>(c) == op::kClose) --depth;
  }
  return deepest;
}

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The formula's span in the un-normalised source, starting the walk at src_pos.
void record_span(const std::string& src, size_t& src_pos, CompiledFormula& f) {
  size_t p = src_pos;
  while (p < src.size() && is_blank(src[p])) ++p;
  size_t semi = src.find(';', p);
  if (semi == std::string::npos) semi = src.size();
  size_t e = semi;
  while (e > p && is_blank(src[e - 1])) --e;
  f.source_start = p;
  f.source_length = e - p;
  src_pos = semi < src.size() ? semi + 1 : semi;
}

// Too many commas: the decimal-point variant when a comma stands between two digits.
int comma_message(const std::string& src, const CompiledFormula& f) {
  for (size_t k = 1; k + 1 < f.source_length; ++k) {
    size_t p = f.source_start + k;
    if (src[p] == ',' && is_digit(static_cast<uint8_t>(src[p - 1])) &&
        is_digit(static_cast<uint8_t>(src[p + 1]))) {
      return kMsgCommaDecimal;
    }
  }
  return kMsgComma;
}

int count_commas(const std::string& code) {
  int n = 0;
  for (char c : code) n += c == ',';
  return n;
}

// The steps after the tokeniser for a code of the plane forms. kMsgComma
// stands for too many commas, whose text the caller chooses.
int rewrite_plane_code(CompiledFormula& f, Scratch& s, const CompileEnv& env) {
  if (rewriting_too_long(f.code, operations_ahead(f.code, s), env.length_limit)) return kMsgTooLong;
  int msg = implicit_and_factorials(f.code, s);
  if (msg == kMsgNone) msg = rewrite_operators(f.code, s);
  if (msg != kMsgNone) return msg;
  if (env.length_limit && s.operations > kLengthLimit) return kMsgTooLong;
  if (nesting_depth(f.code) > kMaxNesting) return kMsgTooLong;
  f.operations = s.operations;
  f.subdivision = s.operations <= 128 ? 6 : s.operations <= 256 ? 4 : 2;
  return count_commas(f.code) > s.expected_commas ? kMsgComma : kMsgNone;
}

// Tokenises and rewrites `piece` (ending in ';') into f.
int compile_piece(const std::string& piece, Reading reading, CompiledFormula& f,
                  const CompileEnv& env) {
  Scratch s;
  Tokeniser tok{piece, piece.size() - 1, f, s, f.code};
  tok.reading = reading;
  const int msg = tok.run(0);
  return msg != kMsgNone ? msg : rewrite_plane_code(f, s, env);
}

// An equation or inequality: the code of (left)-(right), compared with 0.
int compile_relation(const std::string& text, size_t pos, size_t end, const TopLevel& t,
                     CompiledFormula& f, const CompileEnv& env) {
  if (t.relations > 1) return kMsgChainedRelation;
  const size_t right = t.relation + t.relation_length;
  if (t.relation == pos || right == end) return kMsgEmptySide;
  std::string piece;
  piece.reserve(end - pos + 6);
  piece.append("(").append(text, pos, t.relation - pos).append(")-(");
  piece.append(text, right, end - right).append(");");
  const int msg = compile_piece(piece, Reading::kRelationSides, f, env);
  f.kind = kCartesian | kImplicit;
  f.relation = t.relation_kind;
  return msg;
}

// A parametric pair "(x(t), y(t))". Returns false for a pair without t,
// which keeps its old reading (and its comma message).
bool compile_pair(const std::string& text, size_t pos, size_t end, const TopLevel& t,
                  CompiledFormula& f, const CompileEnv& env, int& msg) {
  const std::string first = text.substr(pos + 1, t.comma - pos - 1) + ";";
  const std::string second = text.substr(t.comma + 1, end - t.comma - 2) + ";";
  if (first.size() == 1 || second.size() == 1) {
    msg = kMsgInvalidExpression;
    return true;
  }
  auto y = std::make_shared<CompiledFormula>();
  msg = compile_piece(first, Reading::kPairPart, f, env);
  if (msg == kMsgNone) msg = compile_piece(second, Reading::kPairPart, *y, env);
  if (msg == kMsgNone && !f.is_polar() && !y->is_polar()) return false;
  f.kind = kPolar | kParametric;
  y->kind = kPolar;
  f.operations += y->operations;
  if (msg == kMsgNone && env.length_limit && f.operations > kLengthLimit) msg = kMsgTooLong;
  f.second = std::move(y);
  return true;
}

// Equations, inequalities and parametric pairs are drawing forms of the
// panel "Function"; everywhere else their texts keep their old refusals.
bool plane_forms_allowed(const ExprPanel& panel, const CompileEnv& env) {
  return env.surface == kPanelFunction && panel.role == kPanelFunction;
}

// Parametric pairs are also rows of the value table's function page.
bool pairs_allowed(const ExprPanel& panel, const CompileEnv& env) {
  return plane_forms_allowed(panel, env) || panel.role == kPanelTable;
}

// The plane forms. Returns false when the formula is none of them (its text
// then takes the old path), else true with the outcome in msg.
bool compile_plane_form(const ExprPanel& panel, const CompileEnv& env, const std::string& text,
                        size_t pos, size_t end, size_t& src_pos, CompiledFormula& f, int& msg) {
  const TopLevel t = scan_top_level(text, pos, end);
  if (!t.balanced) return false;
  if (t.relations > 0) {
    if (!plane_forms_allowed(panel, env)) return false;
    // "y=...", "f(x)=..." and the other prefixes keep their meaning; a
    // second relation after them is a chain.
    CompiledFormula trial;
    size_t p = pos;
    if (recognise_prefix(text, p, trial, panel, env) != kMsgNone) return false;
    if (p != pos) {
      if (t.relations == 1) return false;
      msg = kMsgChainedRelation;
      return true;
    }
    record_span(panel.source, src_pos, f);
    msg = compile_relation(text, pos, end, t, f, env);
  } else if (t.bracketed && t.inner_commas == 1 && pairs_allowed(panel, env)) {
    CompiledFormula pair;
    if (!compile_pair(text, pos, end, t, pair, env, msg)) return false;
    record_span(panel.source, src_pos, pair);
    pair.colour_slot = f.colour_slot;
    f = std::move(pair);
  } else {
    return false;
  }
  if (msg == kMsgComma) msg = comma_message(panel.source, f);
  return true;
}

int compile_one(ExprPanel& panel, const CompileEnv& env, const std::string& text, size_t& pos,
                size_t& src_pos, CompiledFormula& f) {
  const size_t end = text.find(';', pos);
  const bool plane = plane_forms_allowed(panel, env);
  if (plane || pairs_allowed(panel, env)) {
    int msg = kMsgNone;
    if (compile_plane_form(panel, env, text, pos, end, src_pos, f, msg)) {
      if (msg == kMsgNone) pos = end + 1;
      return msg;
    }
  }
  Scratch s;
  const size_t formula_start = pos;
  int msg = recognise_prefix(text, pos, f, panel, env);
  if (msg != kMsgNone) return msg;
  if (pos > end) return kMsgInvalidExpression;  // defensive: a prefix never crosses the ';'
  Tokeniser tok{text, end, f, s, f.code};
  // Without a prefix, y beside x asks for a relation that is missing.
  if (plane && pos == formula_start) tok.y_message = kMsgNoRelation;
  msg = tok.run(pos);
  if (msg != kMsgNone) return msg;
  if (rewriting_too_long(f.code, operations_ahead(f.code, s), env.length_limit)) return kMsgTooLong;
  msg = implicit_and_factorials(f.code, s);
  if (msg != kMsgNone) return msg;
  if (panel.role == kPanelIntegral && f.is_polar()) return kMsgPolarNotAllowed;
  record_span(panel.source, src_pos, f);
  msg = rewrite_operators(f.code, s);
  if (msg != kMsgNone) return msg;
  if (env.length_limit && s.operations > kLengthLimit) return kMsgTooLong;
  if (nesting_depth(f.code) > kMaxNesting) return kMsgTooLong;
  f.operations = s.operations;
  f.subdivision = s.operations <= 128 ? 6 : s.operations <= 256 ? 4 : 2;
  if (count_commas(f.code) > s.expected_commas) return comma_message(panel.source, f);
  pos = end + 1;
  return kMsgNone;
}

}  // namespace

bool compile_formulas(ExprPanel& panel, const CompileEnv& env) {
  panel.formulas.clear();
  panel.current = -1;
  ++panel.generation;
  panel.random = env.random;
  const std::string text = normalise(panel.source);
  const int surface_offset = env.surface == kPanelIntegral ? 1 : 0;
  MathEnv math{panel.angle_mode, panel.limits.zero_tolerance, panel.limits.max_magnitude,
               env.surface == kPanelDiffEqu};
  size_t pos = 0, src_pos = 0;
  while (pos < text.size()) {
    auto f = std::make_unique<CompiledFormula>();
    int count = panel.count() + 1;
    if (env.palette_size != 0) f->colour_slot = (count - 1 + surface_offset) % env.palette_size + 5;
    int msg = compile_one(panel, env, text, pos, src_pos, *f);
    if (msg != kMsgNone) {
      panel.formulas.clear();
      panel.current = -1;
      panel.error.message = msg;
      return false;
    }
    build_program(*f, math, panel.limits.literal_limit);
    if (f->second) build_program(*f->second, math, panel.limits.literal_limit);
    panel.formulas.push_back(std::move(f));
  }
  panel.current = panel.count() - 1;
  return true;
}

}  // namespace kv

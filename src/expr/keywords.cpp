// The keyword table is generated once from the base names: the inverse
// functions also accept "ar", "arc" and "area" for their leading "a"; "cosin"
// stands for "cos", "cotan" for "cot" and "cosec" for "csc" inside any name.
#include "expr/keywords.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "expr/opcodes.h"

namespace kv {
namespace {

struct Base {
  const char* name;
  uint8_t code;
};

constexpr Base kFunctions[] = {
    {"abs", op::kAbs},     {"acos", op::kAcos},     {"acosh", op::kAcosh},   {"acot", op::kAcot},
    {"acoth", op::kAcoth}, {"acsc", op::kAcsc},     {"acsch", op::kAcsch},   {"asec", op::kAsec},
    {"asech", op::kAsech}, {"asin", op::kAsin},     {"asinh", op::kAsinh},   {"atan", op::kAtan},
    {"atan2", op::kAtan2}, {"atanh", op::kAtanh},   {"cbrt", op::kCbrt},     {"ceil", op::kCeil},
    {"cos", op::kCos},     {"cosh", op::kCosh},     {"cot", op::kCot},       {"coth", op::kCoth},
    {"csc", op::kCsc},     {"csch", op::kCsch},     {"d", op::kDeriv},       {"exp", op::kExp},
    {"fac", op::kFac},     {"floor", op::kFloor},   {"frac", op::kFrac},     {"gamma", op::kGamma},
    {"gaussd", op::kGaussd}, {"i_ell1", op::kIEll1}, {"i_ell2", op::kIEll2}, {"i_ellc1", op::kIEllc1},
    {"i_ellc2", op::kIEllc2}, {"i_elliptic1", op::kIEll1}, {"i_elliptic2", op::kIEll2},
    {"i_ellipticc1", op::kIEllc1}, {"i_ellipticc2", op::kIEllc2},
    {"ln", op::kLn},       {"log", op::kLn},        {"lg", op::kLg},         {"log10", op::kLg},
    {"lb", op::kLb},       {"log2", op::kLb},       {"logn", op::kLogn},     {"max", op::kMax},
    {"min", op::kMin},     {"root", op::kRoot},     {"p", op::kPow},         {"pow", op::kPow},
    {"round", op::kRound}, {"sec", op::kSec},       {"sech", op::kSech},     {"sgn", op::kSgn},
    {"sin", op::kSin},     {"sinh", op::kSinh},     {"sqr", op::kSqr},       {"sqrt", op::kSqrt},
    {"tan", op::kTan},     {"tanh", op::kTanh},
};

constexpr Base kConstants[] = {
    {"ln2", op::kLn2},       {"ln10", op::kLn10},       {"log2e", op::kLog2e},
    {"log10e", op::kLog10e}, {"pi", op::kPi},           {"sqrt2", op::kSqrt2},
    {"sqr2", op::kSqrt2},    {"sqrt1_2", op::kSqrt1_2}, {"sqr1_2", op::kSqrt1_2},
    {"rand", op::kRand},     {"random", op::kRand},
};

bool is_inverse(uint8_t code) {
  return (code >= op::kAcos && code <= op::kAcsch) || code == op::kAsec || code == op::kAsech ||
         code == op::kAsin || code == op::kAsinh || code == op::kAtan || code == op::kAtan2 ||
         code == op::kAtanh;
}

// Every spelling of a name after the "cosin", "cotan" and "cosec" substitutions.
std::vector<std::string> substitutions(const std::string& name) {
  std::vector<std::string> out{name};
  auto replace_all = [&out](const std::string& from, const std::string& to) {
    std::vector<std::string> more;
    for (const std::string& s : out) {
      size_t at = s.find(from);
      if (at != std::string::npos) more.push_back(s.substr(0, at) + to + s.substr(at + from.size()));
    }
    out.insert(out.end(), more.begin(), more.end());
  };
  replace_all("cos", "cosin");
  replace_all("cot", "cotan");
  replace_all("csc", "cosec");
  return out;
}

struct Table {
  std::vector<std::string> storage;
  std::vector<Keyword> words;  // longest spelling first
  std::array<std::pair<uint32_t, uint32_t>, 256> by_letter{};

  Table() {
    std::vector<std::pair<std::string, Base>> all;
    for (const Base& b : kFunctions) {
      for (const std::string& s : substitutions(b.name)) {
        all.push_back({s, b});
        if (is_inverse(b.code)) {
          for (const char* prefix : {"ar", "arc", "area"}) all.push_back({prefix + s.substr(1), b});
        }
      }
    }
    for (const Base& b : kConstants) all.push_back({b.name, b});
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
      if (a.first[0] != b.first[0]) return a.first[0] < b.first[0];
      return a.first.size() > b.first.size();
    });
    storage.reserve(all.size());
    for (const auto& [s, b] : all) storage.push_back(s);
    for (size_t i = 0; i < all.size(); ++i) {
      const Base& b = all[i].second;
      bool function = !(b.code >= op::kE && b.code <= op::kRand);
      words.push_back({storage[i], b.code, function});
    }
    for (size_t i = 0; i < words.size(); ++i) {
      auto& range = by_letter[static_cast<uint8_t>(words[i].spelling[0])];
      if (range.second == 0) range.first = static_cast<uint32_t>(i);
      range.second = static_cast<uint32_t>(i + 1);
    }
  }
};

const Table& table() {
  static const Table t;  // immutable after construction
  return t;
}

}  // namespace

std::vector<KeywordName> keyword_names() {
  std::vector<KeywordName> out;
  for (const Base& b : kFunctions) out.push_back({b.name, true});
  for (const Base& b : kConstants) out.push_back({b.name, false});
  return out;
}

const Keyword* match_keyword(std::string_view text, size_t pos) {
  const Table& t = table();
  auto [first, last] = t.by_letter[static_cast<uint8_t>(text[pos])];
  for (uint32_t i = first; i < last; ++i) {
    const Keyword& k = t.words[i];
    if (text.compare(pos, k.spelling.size(), k.spelling) != 0) continue;
    if (k.function) {
      size_t after = pos + k.spelling.size();
      if (after >= text.size() || text[after] != '(') continue;
    }
    return &k;
  }
  return nullptr;
}

}  // namespace kv

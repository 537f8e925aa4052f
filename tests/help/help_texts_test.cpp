// The two help texts: every name of the formula language is explained, only
// tags of the language are used and they are balanced, and every character
// survives the conversion to Windows-1252.
#include "help/help_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expr/cp1252.h"
#include "expr/keywords.h"
#include "help/help_text.h"

namespace kv {
namespace {

struct Text {
  const char* name;
  std::string_view source;
};

std::vector<Text> both() {
  return {{"full help", full_help_source()}, {"quick reference", quick_reference_source()}};
}

// The text a reader sees: the runs without the tags.
std::string plain(std::string_view source) {
  HelpDocument d;
  parse_help_document(d, source);
  std::string out;
  for (const HelpRun& r : d.runs) out += d.text.substr(r.text_start, r.text_length) + " ";
  return out;
}

bool name_char(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'; }

// The name as a word of its own; a function name directly followed by "(".
bool mentions(const std::string& text, std::string_view name, bool function) {
  for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
    const size_t end = at + name.size();
    if (at > 0 && name_char(text[at - 1])) continue;
    if (function ? end < text.size() && text[end] == '(' : end >= text.size() || !name_char(text[end])) {
      return true;
    }
  }
  return false;
}

TEST(HelpTexts, EveryFunctionAndConstantIsExplainedInBothTexts) {
  std::vector<KeywordName> names = keyword_names();
  names.push_back({"e", false});
  for (const std::string_view rule : {"ar", "arc", "area", "cosin", "cotan", "cosec"}) {
    names.push_back({rule, false});
  }
  for (const Text& t : both()) {
    const std::string text = plain(t.source);
    for (const KeywordName& k : names) EXPECT_TRUE(mentions(text, k.name, k.function)) << t.name << ": " << k.name;
  }
}

TEST(HelpTexts, OnlyKnownTagsAndEveryStyleTagIsClosed) {
  for (const Text& t : both()) {
    std::string open;  // letters of the open style and list tags
    const std::string_view s = t.source;
    for (size_t i = s.find('<'); i != std::string_view::npos; i = s.find('<', i + 1)) {
      const bool closing = i + 1 < s.size() && s[i + 1] == '/';
      const size_t letter = i + (closing ? 2 : 1);
      ASSERT_TRUE(letter + 1 < s.size() && s[letter + 1] == '>') << t.name << " at " << s.substr(i, 20);
      const char c = s[letter];
      ASSERT_NE(std::string_view(closing ? "bicahntl" : "bicahsnpdtl").find(c), std::string_view::npos)
          << t.name << " at " << s.substr(i, 20);
      if (c == 'n' || c == 'p' || c == 'd') continue;
      if (!closing) {
        open += c;
      } else {
        ASSERT_FALSE(open.empty()) << t.name << " at " << s.substr(i, 40);
        ASSERT_EQ(open.back(), c) << t.name << " at " << s.substr(i, 40);
        open.pop_back();
      }
    }
    EXPECT_TRUE(open.empty()) << t.name << " leaves open: " << open;
  }
}

TEST(HelpTexts, SectionsAndCharacterSet) {
  const char* full[] = {"Funktionsausdrücke", "Rechenzeichen, Hilfsfunktionen", "Ableitung",
                        "Vordefinierte Konstanten", "Polarkoordinaten", "Mehrere Funktionen eingeben",
                        "Eingabe in Zahlenfelder", "Kurvendiskussion", "Zoom", "Mausgesten", "Tastaturkürzel", "Drag&Drop",
                        "Kommandozeilen-Optionen"};
  for (const char* h : full) {
    EXPECT_NE(full_help_source().find("<h><c>" + std::string(h) + "</c></h>"), std::string::npos) << h;
  }
  const char* quick[] = {"Rechenzeichen, Hilfsfunktionen", "Vordefinierte Konstanten", "Polarkoordinaten",
                         "Kurvendiskussion", "Ausführlichere Hilfe per F1-Taste"};
  for (const char* h : quick) {
    EXPECT_NE(quick_reference_source().find("<h><c>" + std::string(h) + "</c></h>"), std::string::npos) << h;
  }
  for (const Text& t : both()) {
    const std::string bytes = utf8_to_cp1252(t.source);
    EXPECT_EQ(cp1252_to_utf8(bytes), t.source) << t.name;
    for (unsigned char c : bytes) EXPECT_GE(c, 0x20) << t.name;
  }
  EXPECT_EQ(full_help_text(), utf8_to_cp1252(full_help_source()));
}

}  // namespace
}  // namespace kv

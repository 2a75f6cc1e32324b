// Placeholder until the Unicode-aware tokenizer lands: ASCII letters and
// digits folded to lower case, every other byte of 0x80 and above a letter.
#include "book/search_tokens.h"

namespace vexmar::book {

std::vector<SearchToken> Tokenize(std::string_view utf8) {
  std::vector<SearchToken> tokens;
  std::size_t start = 0;
  bool inWord = false;
  for (std::size_t at = 0; at <= utf8.size(); ++at) {
    const unsigned char c = at < utf8.size() ? static_cast<unsigned char>(utf8[at]) : ' ';
    const bool letter =
        (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0x80;
    if (letter && !inWord) start = at;
    if (!letter && inWord) {
      std::string term(utf8.substr(start, at - start));
      for (char& ch : term) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
      }
      tokens.push_back({std::move(term), start, at - start});
    }
    inWord = letter;
  }
  return tokens;
}

}  // namespace vexmar::book

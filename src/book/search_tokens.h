#pragma once
// The words of a text as the search finds them: the book's index and the
// reader's queries go through this one function, so a word typed finds the
// word written whatever its form.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vexmar::book {

struct SearchToken {
  std::string term;    // normalised (NFC) and case-folded, UTF-8
  std::size_t offset;  // where the word stands in the text it was read from, in bytes
  std::size_t length;
};

// Letters and digits make words (a word's position is its index in the
// result). Runs of Chinese, Japanese and Korean characters, which are
// written without spaces, become overlapping pairs of characters ("日本語"
// gives "日本" and "本語"); a lone such character is a word of its own.
std::vector<SearchToken> Tokenize(std::string_view utf8);

// The same tokens, each handed to `visit` as it is found, without a string
// of its own: `term` holds only until `visit` returns. The index of a book's
// pages reads some ten million words this way.
using TokenVisitor =
    std::function<void(std::string_view term, std::size_t offset, std::size_t length)>;
void ForEachToken(std::string_view utf8, const TokenVisitor& visit);

}  // namespace vexmar::book

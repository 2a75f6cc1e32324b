#pragma once
// The words of a text as the search finds them: the book's index and the
// reader's queries go through this one function, so a word typed finds the
// word written whatever its form.
#include <cstddef>
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

}  // namespace vexmar::book

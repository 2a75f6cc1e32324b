#pragma once
// What the search needs to know of each character, from tables generated
// out of the Unicode Character Database at build time.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexmar::book::unicode {

enum class CharKind : std::uint8_t {
  Other,  // separates words: spaces, punctuation, symbols
  Letter,
  Mark,  // combining marks, part of the word they follow
  Digit,
  Ideograph,  // Han, Hiragana, Katakana, Hangul: searched by pairs
  Ignorable,  // the soft hyphen and zero-width joiners: inside a word, not in its term
};

struct CharInfo {
  CharKind kind;
  std::uint8_t combiningClass;  // canonical combining class (0 for starters)
  bool hasSearchForm;           // case folding or decomposition changes it
  bool changesAlone;            // its term on its own is not itself ("É", not "é")
  bool composesWithPrevious;    // it may compose with the character before it
  // Non-zero when its term on its own is the one character this far away,
  // a plain starter, as for most capitals (É + 32 is é).
  std::int32_t termShift;
};

CharInfo InfoOf(char32_t c);

// Decodes the character at text[at] into `c` and advances past it, as
// utf::NextCodePoint does (a malformed byte is U+FFFD), and tells what it is.
CharInfo ReadChar(std::string_view text, std::size_t& at, char32_t& c);

// Appends the character's case-folded, canonically decomposed form.
void AppendSearchForm(char32_t c, std::u32string& out);

// The fold of the one combining mark that folds to a letter (the Greek
// ypogegrammeni, to iota), made once marks are in canonical order, so that
// the letter stands where the mark's class put it; any other character as it is.
char32_t FoldAfterOrdering(char32_t c);

// The canonical composite of two characters as NFC composes them; 0 when none.
char32_t Composite(char32_t first, char32_t second);

}  // namespace vexmar::book::unicode

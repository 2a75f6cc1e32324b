#pragma once
// Character references in a web page's text (&amp;, &#233;, &#xE9;), read as
// browsers read them.
#include <cstddef>
#include <string_view>

namespace vexmar::book {

struct CharacterReference {
  char32_t code = 0;       // 0: the '&' starts no reference and is text
  std::size_t length = 0;  // its bytes, from the '&' through an optional ';'
};

// The reference at text[at], which is '&'. Named ones are HTML 4's and
// &apos;; a number that names no character gives U+FFFD, and 128 to 159
// the characters Windows-1252 has there, as in browsers.
CharacterReference ReadCharacterReference(std::string_view text, std::size_t at);

}  // namespace vexmar::book

#pragma once
// The form in which the search stores and looks up a word.
#include <string>
#include <string_view>

namespace vexmar::book {

// The word (well-formed UTF-8) case-folded with Unicode's full folding and
// normalised to NFC, without the soft hyphens and zero-width joiners in it:
// "É", "E" with a combining acute and "é" all give "é"; "Straße" gives
// "strasse".
std::string SearchForm(std::string_view word);

}  // namespace vexmar::book

#pragma once
// The form in which the search stores and looks up a word.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexmar::book {

// The word (well-formed UTF-8) case-folded with Unicode's full folding and
// normalised to NFC, without the soft hyphens and zero-width joiners in it:
// "É", "E" with a combining acute and "é" all give "é"; "Straße" gives
// "strasse". Keeps its working space from one word to the next.
class SearchFormer {
 public:
  std::string operator()(std::string_view word);

 private:
  struct Code {
    char32_t c;
    std::uint8_t combiningClass;
    bool composesWithPrevious;
  };
  void OrderMarks();
  void Compose();

  std::u32string forms_;
  std::vector<Code> codes_;
};

inline std::string SearchForm(std::string_view word) {
  return SearchFormer()(word);
}

}  // namespace vexmar::book

#include "book/search_form.h"

#include <cstddef>

#include "book/unicode_tables.h"
#include "platform/text/utf.h"  // the encoder

namespace vexmar::book {

std::string SearchFormer::operator()(std::string_view word) {
  codes_.clear();
  for (std::size_t at = 0; at < word.size();) {
    char32_t c = 0;
    const unicode::CharInfo info = unicode::ReadChar(word, at, c);
    if (info.kind == unicode::CharKind::Ignorable) continue;
    if (!info.hasSearchForm) {
      codes_.push_back({c, info.combiningClass, info.composesWithPrevious});
      continue;
    }
    forms_.clear();
    unicode::AppendSearchForm(c, forms_);
    for (const char32_t formed : forms_) {
      const unicode::CharInfo formedInfo = unicode::InfoOf(formed);
      codes_.push_back({formed, formedInfo.combiningClass, formedInfo.composesWithPrevious});
    }
  }
  OrderMarks();
  for (Code& code : codes_) {
    const char32_t folded = unicode::FoldAfterOrdering(code.c);
    if (folded == code.c) continue;
    const unicode::CharInfo info = unicode::InfoOf(folded);
    code = {folded, info.combiningClass, info.composesWithPrevious};
  }
  Compose();
  std::string out;
  out.reserve(word.size());
  for (const Code& code : codes_) utf::AppendUtf8(out, code.c);
  return out;
}

// Canonical order: each run of non-starters sorted by combining class,
// keeping the order of equal classes. Runs are a few marks long, so an
// insertion sort, which keeps that order and needs no memory.
void SearchFormer::OrderMarks() {
  for (std::size_t at = 1; at < codes_.size(); ++at) {
    const Code code = codes_[at];
    if (code.combiningClass == 0) continue;
    std::size_t to = at;
    while (to > 0 && codes_[to - 1].combiningClass > code.combiningClass) {
      codes_[to] = codes_[to - 1];
      --to;
    }
    codes_[to] = code;
  }
}

// Canonical composition: each character joins the last starter before it
// unless a character between them has a class as high as its own or is a
// starter itself.
void SearchFormer::Compose() {
  std::size_t kept = 0;
  std::size_t starter = std::u32string::npos;
  std::uint8_t lastClass = 0;
  for (const Code& code : codes_) {
    if (starter != std::u32string::npos && code.composesWithPrevious &&
        (starter == kept - 1 || (lastClass != 0 && lastClass < code.combiningClass))) {
      if (const char32_t composite = unicode::Composite(codes_[starter].c, code.c)) {
        codes_[starter].c = composite;
        continue;
      }
    }
    if (code.combiningClass == 0) starter = kept;
    lastClass = code.combiningClass;
    codes_[kept++] = code;
  }
  codes_.resize(kept);
}

}  // namespace vexmar::book

#include "book/search_form.h"

#include <algorithm>
#include <cstddef>

#include "book/unicode_tables.h"
#include "platform/text/utf.h"

namespace vexmar::book {
namespace {

using unicode::CharKind;
using unicode::InfoOf;

std::uint8_t CombiningClassOf(char32_t c) { return InfoOf(c).combiningClass; }

// Canonical order: each run of non-starters sorted by combining class,
// keeping the order of equal classes.
void OrderMarks(std::u32string& codes) {
  std::size_t at = 0;
  while (at < codes.size()) {
    if (CombiningClassOf(codes[at]) == 0) {
      ++at;
      continue;
    }
    std::size_t end = at + 1;
    while (end < codes.size() && CombiningClassOf(codes[end]) != 0) ++end;
    std::stable_sort(codes.begin() + static_cast<std::ptrdiff_t>(at),
                     codes.begin() + static_cast<std::ptrdiff_t>(end),
                     [](char32_t a, char32_t b) { return CombiningClassOf(a) < CombiningClassOf(b); });
    at = end;
  }
}

// Canonical composition: each character joins the last starter before it
// unless a character between them has a class as high as its own or is a
// starter itself.
std::u32string Compose(const std::u32string& codes) {
  std::u32string out;
  out.reserve(codes.size());
  std::size_t starter = std::u32string::npos;
  std::uint8_t lastClass = 0;
  for (const char32_t c : codes) {
    const std::uint8_t cls = CombiningClassOf(c);
    if (starter != std::u32string::npos) {
      const bool adjacent = starter == out.size() - 1;
      if (adjacent || (lastClass != 0 && lastClass < cls)) {
        if (const char32_t composite = unicode::Composite(out[starter], c)) {
          out[starter] = composite;
          continue;
        }
      }
    }
    if (cls == 0) starter = out.size();
    lastClass = cls;
    out += c;
  }
  return out;
}

}  // namespace

std::string SearchForm(std::string_view word) {
  std::u32string codes;
  codes.reserve(word.size());
  for (std::size_t at = 0; at < word.size();) {
    const char32_t c = utf::NextCodePoint(word, at);
    const unicode::CharInfo info = InfoOf(c);
    if (info.kind == CharKind::Ignorable) continue;
    if (info.changes) {
      unicode::AppendSearchForm(c, codes);
    } else {
      codes += c;
    }
  }
  OrderMarks(codes);
  for (char32_t& c : codes) c = unicode::FoldAfterOrdering(c);
  std::string out;
  out.reserve(word.size());
  for (const char32_t c : Compose(codes)) utf::AppendUtf8(out, c);
  return out;
}

}  // namespace vexmar::book

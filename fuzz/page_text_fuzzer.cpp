// libFuzzer entry for a page's text and the search's words: any bytes, read
// as a web page and as a text file, and tokenized as they are. Nothing may
// fault; every title, heading, text and term is well-formed UTF-8, every
// word lies within the text it was read from, in order, and its term is
// the full search form of its bytes, whichever shortcut made it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "book/page_text.h"
#include "book/search_form.h"
#include "book/search_tokens.h"
#include "platform/text/utf.h"

namespace {

// Each byte as the Latin-1 character of its number, as a code page would.
std::string Latin1(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) vexmar::utf::AppendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

void CheckWords(std::string_view text) {
  std::size_t previousEnd = 0;
  for (const vexmar::book::SearchToken& token : vexmar::book::Tokenize(text)) {
    if (token.length == 0 || token.offset > text.size() ||
        token.length > text.size() - token.offset || token.term.empty() ||
        !vexmar::utf::IsValidUtf8(token.term) ||
        token.term != vexmar::book::SearchForm(text.substr(token.offset, token.length))) {
      std::abort();
    }
    // Words follow one another; a pair overlaps only the pair before it.
    if (token.offset + token.length < previousEnd) std::abort();
    previousEnd = token.offset + token.length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const bool webPage : {true, false}) {
    const vexmar::book::PageText page = vexmar::book::ReadPageText(bytes, webPage, Latin1);
    for (const std::string* part : {&page.title, &page.heading, &page.text}) {
      if (!vexmar::utf::IsValidUtf8(*part)) std::abort();
    }
    CheckWords(page.text);
  }
  CheckWords(bytes);
  return 0;
}

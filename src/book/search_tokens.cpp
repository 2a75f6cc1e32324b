// Words are runs of letters, marks and digits; anything else (spaces,
// punctuation, an apostrophe, symbols, a malformed byte) ends a word. The
// soft hyphen and the zero-width joiners continue a word and are left out
// of its term. Chinese, Japanese and Korean characters, with the marks that
// follow them, are paired into overlapping bigrams, since those scripts put
// no spaces between words; a run of one character is a word of its own.
//
// Most words need nothing but ASCII lower-casing: their bytes are copied as
// they are, and only a word holding a character that folding or NFC would
// change goes through the full search form.
#include "book/search_tokens.h"

#include <array>
#include <cstdint>

#include "book/search_form.h"
#include "book/unicode_tables.h"

namespace vexmar::book {
namespace {

using unicode::CharKind;

constexpr std::array<bool, 128> kAsciiWordChars = [] {
  std::array<bool, 128> table{};
  for (std::size_t c = '0'; c <= '9'; ++c) table[c] = true;
  for (std::size_t c = 'a'; c <= 'z'; ++c) table[c] = table[c - 'a' + 'A'] = true;
  return table;
}();

std::size_t Byte(char c) {
  return static_cast<unsigned char>(c);
}
bool IsAscii(char c) {
  return Byte(c) < 0x80;
}

// A stretch of the text (a word, or one character of a bigram run with its
// marks) and whether its bytes are its term already.
struct Piece {
  std::size_t start = 0;
  std::size_t end = 0;
  bool plain = true;  // nothing in it that folding or NFC changes but ASCII capitals
  bool open = false;
};

bool NeedsSearchForm(const unicode::CharInfo& info) {
  return info.changesAlone || info.combiningClass != 0 || info.composesWithPrevious ||
         info.kind == CharKind::Ignorable;
}

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text) : text_(text) { tokens_.reserve(text.size() / 6); }

  std::vector<SearchToken> Run() {
    std::size_t at = 0;
    while (at < text_.size()) {
      const std::size_t start = at;
      const auto byte = static_cast<unsigned char>(text_[at]);
      if (byte < 0x80) {
        // A run of ASCII letters and digits, or of ASCII separators, at once.
        const bool inWord = kAsciiWordChars[byte];
        while (at < text_.size() && IsAscii(text_[at]) &&
               kAsciiWordChars[Byte(text_[at])] == inWord) {
          ++at;
        }
        if (inWord) {
          if (unit_.open) EndRun();
          Extend(word_, start, at, true);
        } else {
          EndAll();
        }
        continue;
      }
      char32_t c = 0;
      const unicode::CharInfo info = unicode::ReadChar(text_, at, c);
      Take(info, start, at);
    }
    EndAll();
    return std::move(tokens_);
  }

 private:
  void Take(const unicode::CharInfo& info, std::size_t start, std::size_t end) {
    const bool plain = !NeedsSearchForm(info);
    switch (info.kind) {
      case CharKind::Letter:
      case CharKind::Digit:
        EndRun();
        Extend(word_, start, end, plain);
        break;
      case CharKind::Mark:
        Extend(unit_.open ? unit_ : word_, start, end, plain);
        break;
      case CharKind::Ignorable:
        if (unit_.open) Extend(unit_, start, end, false);
        if (word_.open) Extend(word_, start, end, false);
        break;
      case CharKind::Ideograph:
        EndWord();
        if (unit_.open && info.composesWithPrevious) {
          Extend(unit_, start, end, plain);
          break;
        }
        EndUnit();
        Extend(unit_, start, end, plain);
        break;
      case CharKind::Other:
        EndAll();
        break;
    }
  }

  static void Extend(Piece& piece, std::size_t start, std::size_t end, bool plain) {
    if (!piece.open) piece = {start, end, true, true};
    piece.end = end;
    piece.plain = piece.plain && plain;
  }

  std::string TermOf(const Piece& piece) {
    const std::string_view bytes = text_.substr(piece.start, piece.end - piece.start);
    if (!piece.plain) return searchForm_(bytes);
    std::string term(bytes);
    for (char& c : term) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return term;
  }

  void EndWord() {
    if (!word_.open) return;
    tokens_.push_back({TermOf(word_), word_.start, word_.end - word_.start});
    word_.open = false;
  }

  // One character of a run is complete: it pairs with the one before it,
  // which ends where it starts.
  void EndUnit() {
    if (!unit_.open) return;
    if (previous_.open) {
      const std::size_t length = unit_.end - previous_.start;
      tokens_.push_back({previous_.plain && unit_.plain
                             ? std::string(text_.substr(previous_.start, length))
                             : TermOf(previous_) + TermOf(unit_),
                         previous_.start, length});
      paired_ = true;
    }
    previous_ = unit_;
    unit_.open = false;
  }

  void EndRun() {
    EndUnit();
    if (previous_.open && !paired_) {
      tokens_.push_back({TermOf(previous_), previous_.start, previous_.end - previous_.start});
    }
    previous_.open = false;
    paired_ = false;
  }

  void EndAll() {
    EndWord();
    EndRun();
  }

  std::string_view text_;
  std::vector<SearchToken> tokens_;
  SearchFormer searchForm_;
  Piece word_;
  Piece unit_;           // the run's character being read
  Piece previous_;       // the run's character before it
  bool paired_ = false;  // the run has given a bigram
};

}  // namespace

std::vector<SearchToken> Tokenize(std::string_view utf8) {
  return Tokenizer(utf8).Run();
}

}  // namespace vexmar::book

// Words are runs of letters, marks and digits; anything else (spaces,
// punctuation, an apostrophe, symbols, a malformed byte) ends a word. The
// soft hyphen and the zero-width joiners continue a word and are left out
// of its term. Chinese, Japanese and Korean characters, with the marks that
// follow them, are paired into overlapping bigrams, since those scripts put
// no spaces between words; a run of one character is a word of its own.
//
// Most words need nothing but ASCII lower-casing: their bytes are copied as
// they are. Capitals whose term is one letter a fixed distance away (É to é)
// are moved by that distance; only a word holding any other character that
// folding or NFC would change goes through the full search form.
#include "book/search_tokens.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "book/search_form.h"
#include "book/unicode_tables.h"
#include "platform/text/utf.h"

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

// What makes a piece of text its term, cheapest first.
enum class Work : std::uint8_t {
  Copy,   // its bytes, ASCII capitals lower-cased
  Shift,  // and capitals moved to their small letters
  Full,   // the full search form
};

Work WorkFor(const unicode::CharInfo& info) {
  if (info.combiningClass != 0 || info.composesWithPrevious || info.kind == CharKind::Ignorable ||
      (info.changesAlone && info.termShift == 0)) {
    return Work::Full;
  }
  return info.changesAlone ? Work::Shift : Work::Copy;
}

// A stretch of the text (a word, or one character of a bigram run with its
// marks) and what makes it its term.
struct Piece {
  std::size_t start = 0;
  std::size_t end = 0;
  Work work = Work::Copy;
  bool open = false;
};

class Tokenizer {
 public:
  Tokenizer(std::string_view text, const TokenVisitor& visit) : text_(text), visit_(visit) {}

  void Run() {
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
          Extend(word_, start, at, Work::Copy);
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
  }

 private:
  void Take(const unicode::CharInfo& info, std::size_t start, std::size_t end) {
    const Work work = WorkFor(info);
    switch (info.kind) {
      case CharKind::Letter:
      case CharKind::Digit:
        EndRun();
        Extend(word_, start, end, work);
        break;
      case CharKind::Mark:
        Extend(unit_.open ? unit_ : word_, start, end, work);
        break;
      case CharKind::Ignorable:
        if (unit_.open) Extend(unit_, start, end, work);
        if (word_.open) Extend(word_, start, end, work);
        break;
      case CharKind::Ideograph:
        EndWord();
        if (unit_.open && info.composesWithPrevious) {
          Extend(unit_, start, end, work);
          break;
        }
        EndUnit();
        Extend(unit_, start, end, work);
        break;
      case CharKind::Other:
        EndAll();
        break;
    }
  }

  static void Extend(Piece& piece, std::size_t start, std::size_t end, Work work) {
    if (!piece.open) piece = {start, end, Work::Copy, true};
    piece.end = end;
    piece.work = std::max(piece.work, work);
  }

  // The piece's term, appended to `term`.
  void AppendTerm(const Piece& piece, std::string& term) {
    const std::string_view bytes = text_.substr(piece.start, piece.end - piece.start);
    if (piece.work == Work::Full) {
      term += searchForm_(bytes);
      return;
    }
    const std::size_t from = term.size();
    if (piece.work == Work::Copy) {
      term.append(bytes);
    } else {
      for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t start = at;
        while (at < bytes.size() && IsAscii(bytes[at])) ++at;
        term.append(bytes, start, at - start);
        if (at == bytes.size()) break;
        const std::size_t first = at;
        char32_t code = 0;
        const std::int32_t shift = unicode::ReadChar(bytes, at, code).termShift;
        if (shift == 0) {
          term.append(bytes, first, at - first);
        } else {
          utf::AppendUtf8(term, static_cast<char32_t>(static_cast<std::int32_t>(code) + shift));
        }
      }
    }
    for (std::size_t at = from; at < term.size(); ++at) {
      if (term[at] >= 'A' && term[at] <= 'Z') term[at] = static_cast<char>(term[at] - 'A' + 'a');
    }
  }

  // A piece whose bytes are its term (no capitals, nothing to fold) needs no copy.
  std::string_view TermOf(const Piece& piece) {
    const std::string_view bytes = text_.substr(piece.start, piece.end - piece.start);
    if (piece.work == Work::Copy &&
        std::none_of(bytes.begin(), bytes.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
      return bytes;
    }
    term_.clear();
    AppendTerm(piece, term_);
    return term_;
  }

  void EndWord() {
    if (!word_.open) return;
    visit_(TermOf(word_), word_.start, word_.end - word_.start);
    word_.open = false;
  }

  // One character of a run is complete: it pairs with the one before it,
  // which ends where it starts.
  void EndUnit() {
    if (!unit_.open) return;
    if (previous_.open) {
      const std::size_t length = unit_.end - previous_.start;
      if (previous_.work == Work::Copy && unit_.work == Work::Copy) {
        visit_(text_.substr(previous_.start, length), previous_.start, length);
      } else {
        term_.clear();
        AppendTerm(previous_, term_);
        AppendTerm(unit_, term_);
        visit_(term_, previous_.start, length);
      }
      paired_ = true;
    }
    previous_ = unit_;
    unit_.open = false;
  }

  void EndRun() {
    EndUnit();
    if (previous_.open && !paired_) {
      visit_(TermOf(previous_), previous_.start, previous_.end - previous_.start);
    }
    previous_.open = false;
    paired_ = false;
  }

  void EndAll() {
    EndWord();
    EndRun();
  }

  std::string_view text_;
  const TokenVisitor& visit_;
  std::string term_;  // the term being handed over, when it is not the text's own bytes
  SearchFormer searchForm_;
  Piece word_;
  Piece unit_;           // the run's character being read
  Piece previous_;       // the run's character before it
  bool paired_ = false;  // the run has given a bigram
};

}  // namespace

void ForEachToken(std::string_view utf8, const TokenVisitor& visit) {
  Tokenizer(utf8, visit).Run();
}

std::vector<SearchToken> Tokenize(std::string_view utf8) {
  std::vector<SearchToken> tokens;
  tokens.reserve(utf8.size() / 6);
  ForEachToken(utf8, [&tokens](std::string_view term, std::size_t offset, std::size_t length) {
    tokens.push_back({std::string(term), offset, length});
  });
  return tokens;
}

}  // namespace vexmar::book

#include "book/unicode_tables.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "platform/text/utf.h"

namespace vexmar::book::unicode {
namespace {

struct CharRecord {
  std::uint8_t kind;
  std::uint8_t combiningClass;
  std::uint8_t flags;
  std::uint8_t second;  // the number of a composing second code point, else 0
  std::uint8_t shift;   // the number of the distance to its term (kShifts), else 0
};
constexpr std::uint8_t kHasForm = 1;
constexpr std::uint8_t kHangulSecond = 2;
constexpr std::uint8_t kChangesAlone = 4;

#include "unicode_tables.inc"

// Hangul syllables compose and decompose by arithmetic.
constexpr char32_t kSyllableFirst = 0xAC00, kSyllableCount = 11172;
constexpr char32_t kLeadFirst = 0x1100, kLeadCount = 19;
constexpr char32_t kVowelFirst = 0x1161, kVowelCount = 21;
constexpr char32_t kTrailFirst = 0x11A7, kTrailCount = 28;  // kTrailFirst itself means none

constexpr char32_t kMaxCodePoint = 0x10FFFF;

const CharRecord& RecordOf(char32_t c) {
  if (c > kMaxCodePoint) return kRecords[0];
  const unsigned midMask = (1U << kMidShift) - 1;
  const unsigned lowMask = (1U << kBlockShift) - 1;
  const unsigned mid = kTop[c >> (kBlockShift + kMidShift)];
  const unsigned block = kMid[(mid << kMidShift) | ((c >> kBlockShift) & midMask)];
  return kRecords[kLow[(block << kBlockShift) | (c & lowMask)]];
}

// Where the keys equal to `c` lie among keys stored by page: the pages
// (code point >> 8) that hold any, where each page's keys start, and each
// key's low byte. An empty range when there is none.
struct Range {
  std::size_t begin = 0;
  std::size_t end = 0;
};
template <std::size_t kPages, std::size_t kKeys>
Range FindPaged(char32_t c, const std::uint16_t (&pages)[kPages],
                const std::uint16_t (&pageStarts)[kPages + 1], const std::uint8_t (&lows)[kKeys]) {
  if (c > kMaxCodePoint) return {};
  const auto page = static_cast<std::uint16_t>(c >> 8);
  const auto* found = std::lower_bound(std::begin(pages), std::end(pages), page);
  if (found == std::end(pages) || *found != page) return {};
  const auto n = static_cast<std::size_t>(found - std::begin(pages));
  const auto keys = std::equal_range(lows + pageStarts[n], lows + pageStarts[n + 1],
                                     static_cast<std::uint8_t>(c & 0xFF));
  return {static_cast<std::size_t>(keys.first - lows),
          static_cast<std::size_t>(keys.second - lows)};
}

std::size_t FormLength(std::size_t n) {
  return (kFormLengths[n / 2] >> (n % 2 * 4)) & 0xF;
}

}  // namespace

CharInfo InfoOf(char32_t c) {
  const CharRecord& record = RecordOf(c);
  return {static_cast<CharKind>(record.kind),
          record.combiningClass,
          (record.flags & kHasForm) != 0,
          (record.flags & kChangesAlone) != 0,
          record.second != 0 || (record.flags & kHangulSecond) != 0,
          kShifts[record.shift]};
}

CharInfo ReadChar(std::string_view text, std::size_t& at, char32_t& c) {
  // One-, two- and three-byte sequences, most of the world's text, decoded
  // here; anything else as the codec decodes it.
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t left = text.size() - at;
  if (lead < 0x80) {
    ++at;
    c = lead;
    return InfoOf(c);
  }
  if (lead >= 0xC2 && lead < 0xE0 && left >= 2) {
    const auto next = static_cast<unsigned char>(text[at + 1]);
    if ((next & 0xC0) == 0x80) {
      at += 2;
      c = ((lead & 0x1Fu) << 6) | (next & 0x3Fu);
      return InfoOf(c);
    }
  } else if (lead >= 0xE0 && lead < 0xF0 && left >= 3) {
    const auto second = static_cast<unsigned char>(text[at + 1]);
    const auto third = static_cast<unsigned char>(text[at + 2]);
    c = ((lead & 0x0Fu) << 12) | ((second & 0x3Fu) << 6) | (third & 0x3Fu);
    if ((second & 0xC0) == 0x80 && (third & 0xC0) == 0x80 && c >= 0x800 &&
        (c < 0xD800 || c > 0xDFFF)) {
      at += 3;
      return InfoOf(c);
    }
  }
  c = utf::NextCodePoint(text, at);
  return InfoOf(c);
}

void AppendSearchForm(char32_t c, std::u32string& out) {
  const Range found = FindPaged(c, kFormPages, kFormPageStarts, kFormLows);
  if (found.begin == found.end) {
    out += c;
    return;
  }
  const std::size_t n = found.begin;
  std::size_t at = kFormStrideStarts[n / kFormStride];
  for (std::size_t k = n - n % kFormStride; k < n; ++k) at += FormLength(k);
  const std::size_t end = at + FormLength(n);
  for (; at < end; ++at) {
    const char32_t unit = kFormUnits[at];
    if (unit >= 0xD800 && unit < 0xDC00 && at + 1 < end) {
      out += 0x10000 + ((unit - 0xD800) << 10) + (kFormUnits[++at] - 0xDC00);
    } else {
      out += unit;
    }
  }
}

char32_t FoldAfterOrdering(char32_t c) {
  return c == kLateFoldMark ? kLateFoldLetter : c;
}

char32_t Composite(char32_t first, char32_t second) {
  const CharRecord& secondRecord = RecordOf(second);
  if (secondRecord.flags & kHangulSecond) {
    if (first >= kLeadFirst && first < kLeadFirst + kLeadCount && second >= kVowelFirst &&
        second < kVowelFirst + kVowelCount) {
      return kSyllableFirst +
             ((first - kLeadFirst) * kVowelCount + (second - kVowelFirst)) * kTrailCount;
    }
    const bool trail = second > kTrailFirst && second < kTrailFirst + kTrailCount;
    const bool lvSyllable = first >= kSyllableFirst && first < kSyllableFirst + kSyllableCount &&
                            (first - kSyllableFirst) % kTrailCount == 0;
    return trail && lvSyllable ? first + (second - kTrailFirst) : 0;
  }
  if (secondRecord.second == 0) return 0;
  const Range firsts =
      FindPaged(first, kCompositionPages, kCompositionPageStarts, kCompositionLows);
  for (std::size_t n = firsts.begin; n < firsts.end; ++n) {
    if (kCompositionSeconds[n] == secondRecord.second) return (first & ~0xFFFFu) | kComposites[n];
  }
  return 0;
}

}  // namespace vexmar::book::unicode

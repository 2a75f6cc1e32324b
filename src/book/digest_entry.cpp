#include "book/digest_entry.h"

#include <algorithm>

#include "book/book_format.h"

namespace vexmar::book {
namespace {

namespace format = book_format;

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

int HexValue(char c) {
  return c <= '9' ? c - '0' : c - 'a' + 10;
}

// An identifier is a name (no control characters; a type also no space) or
// "#" and a number below 65536.
bool IsIdentifier(std::string_view id, bool allowSpace) {
  if (id.empty()) return false;
  for (const char c : id) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || (!allowSpace && c == ' ')) return false;
  }
  if (id[0] != '#') return true;
  if (id.size() < 2 || id.size() > 6) return false;
  unsigned number = 0;
  for (const char c : id.substr(1)) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  return number <= 0xFFFF;
}

DigestReading Damaged(std::string reason) {
  DigestReading reading;
  reading.reason = std::move(reason);
  return reading;
}

// "HEX TYPE NAME": the name runs to the end of the line and may hold spaces.
bool ParseLine(std::string_view line, DigestedEntry& entry) {
  constexpr size_t kHexDigits = 64;
  if (line.size() < kHexDigits + 4 || line[kHexDigits] != ' ') return false;
  for (size_t i = 0; i < kHexDigits; i += 2) {
    if (!IsHexDigit(line[i]) || !IsHexDigit(line[i + 1])) return false;
    entry.sha256[i / 2] = static_cast<uint8_t>(HexValue(line[i]) * 16 + HexValue(line[i + 1]));
  }
  const std::string_view rest = line.substr(kHexDigits + 1);
  const size_t space = rest.find(' ');
  if (space == std::string_view::npos) return false;
  entry.type = std::string(rest.substr(0, space));
  entry.name = std::string(rest.substr(space + 1));
  return IsIdentifier(entry.type, false) && IsIdentifier(entry.name, true);
}

}  // namespace

std::string NumberedId(unsigned number) {
  return "#" + std::to_string(number);
}

std::string WriteDigestEntry(const std::vector<DigestedEntry>& entries) {
  std::string text =
      std::string(format::kDigestHeader) + " " + std::to_string(format::kDigestVersion) + "\n";
  for (const DigestedEntry& entry : entries) {
    text += ToHex(entry.sha256) + " " + entry.type + " " + entry.name + "\n";
  }
  return text + format::kDigestEnd + " " + std::to_string(entries.size()) + "\n";
}

DigestReading ParseDigestEntry(std::string_view bytes) {
  if (bytes.size() > format::kMaxDigestBytes) {
    return Damaged("the digest is " + std::to_string(bytes.size()) + " bytes long, far too long");
  }
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) return Damaged("the digest's last line is cut short");
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  const std::string header = std::string(format::kDigestHeader) + " ";
  if (lines.empty() || lines[0].substr(0, header.size()) != header) {
    return Damaged("the digest does not begin with \"" + header + "\"");
  }
  const std::string_view version = lines[0].substr(header.size());
  if (version != std::to_string(format::kDigestVersion)) {
    const bool number =
        !version.empty() && version.size() <= 9 &&
        std::all_of(version.begin(), version.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!number) return Damaged("the digest's version is not a number");
    DigestReading newer;
    newer.state = DigestState::kNewer;
    newer.reason =
        "the digest is of version " + std::string(version) + ", newer than this reader knows";
    return newer;
  }
  const size_t count = lines.size() - 2;
  if (lines.size() < 2 ||
      lines.back() != std::string(format::kDigestEnd) + " " + std::to_string(count)) {
    return Damaged("the digest does not end with its count of entries");
  }
  DigestReading reading;
  reading.entries.resize(count);
  for (size_t i = 0; i < count; ++i) {
    if (!ParseLine(lines[i + 1], reading.entries[i])) {
      return Damaged("line " + std::to_string(i + 2) + " of the digest is malformed");
    }
  }
  DigestCheck keys(reading.entries);
  if (const DigestedEntry* twice = keys.Repeated()) {
    return Damaged("the digest names " + twice->type + " " + twice->name + " twice");
  }
  reading.state = DigestState::kReadable;
  return reading;
}

DigestCheck::DigestCheck(std::vector<DigestedEntry> entries)
    : entries_(std::move(entries)), checked_(entries_.size(), false) {
  byKey_.resize(entries_.size());
  for (size_t i = 0; i < byKey_.size(); ++i) byKey_[i] = i;
  std::sort(byKey_.begin(), byKey_.end(), [this](size_t a, size_t b) {
    const DigestedEntry& x = entries_[a];
    const DigestedEntry& y = entries_[b];
    return x.type != y.type ? x.type < y.type : x.name < y.name;
  });
}

const DigestedEntry* DigestCheck::Find(std::string_view type, std::string_view name) const {
  const auto at = std::lower_bound(byKey_.begin(), byKey_.end(), 0, [&](size_t i, int) {
    const DigestedEntry& e = entries_[i];
    return e.type != type ? e.type < type : e.name < name;
  });
  if (at == byKey_.end()) return nullptr;
  const DigestedEntry& found = entries_[*at];
  return found.type == type && found.name == name ? &found : nullptr;
}

const DigestedEntry* DigestCheck::Repeated() const {
  for (size_t i = 1; i < byKey_.size(); ++i) {
    const DigestedEntry& a = entries_[byKey_[i - 1]];
    const DigestedEntry& b = entries_[byKey_[i]];
    if (a.type == b.type && a.name == b.name) return &b;
  }
  return nullptr;
}

DigestCheck::Verdict DigestCheck::Check(std::string_view type, std::string_view name,
                                        const Sha256Digest& actual) {
  const DigestedEntry* found = Find(type, name);
  if (found == nullptr) return Verdict::kUnknown;
  checked_[static_cast<size_t>(found - entries_.data())] = true;
  return found->sha256 == actual ? Verdict::kIntact : Verdict::kDamaged;
}

std::vector<const DigestedEntry*> DigestCheck::Unchecked() const {
  std::vector<const DigestedEntry*> left;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!checked_[i]) left.push_back(&entries_[i]);
  }
  return left;
}

}  // namespace vexmar::book

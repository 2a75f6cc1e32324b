#include "build/version_info.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/text/text.h"

namespace vexmar::build {
namespace {

// Nine values of this many units and their keys stay well inside the
// block's 64 KiB; file properties show only the first hundred or so.
constexpr std::size_t kMaxValueUnits = 3000;

// One node of the block: wLength, wValueLength, wType, the key, then the
// value and the children, each starting on a 32-bit boundary. Offsets are
// counted from the start of the block, which the resource engine aligns.
class Node {
 public:
  explicit Node(const std::string& key) {
    Word(0);  // wLength, known at the end
    Word(0);  // wValueLength
    Word(1);  // wType: text
    Text(text::Utf8ToUtf16(key));
    Align();
  }
  Node& Binary(const std::vector<std::uint8_t>& value) {
    SetWord(2, static_cast<std::uint16_t>(value.size()));  // in bytes
    SetWord(4, 0);
    bytes_.insert(bytes_.end(), value.begin(), value.end());
    return *this;
  }
  Node& String(const std::string& value) {
    std::u16string units = text::Utf8ToUtf16(value);
    // Every length in the block is 16 bits: a title of tens of thousands of
    // characters is cut here (between characters) rather than wrap a length.
    if (units.size() > kMaxValueUnits) {
      units.resize(kMaxValueUnits);
      if (units.back() >= 0xD800 && units.back() <= 0xDBFF) units.pop_back();
    }
    SetWord(2, static_cast<std::uint16_t>(units.size() + 1));  // in words, with the zero
    Text(units);
    return *this;
  }
  Node& Child(const Node& child) {
    Align();
    const std::string done = child.Bytes();
    bytes_.insert(bytes_.end(), done.begin(), done.end());
    return *this;
  }
  std::string Bytes() const {
    const std::size_t length = bytes_.size();  // wLength, at the start
    std::string out{static_cast<char>(length), static_cast<char>(length >> 8)};
    out.append(bytes_.begin() + 2, bytes_.end());
    return out;
  }

 private:
  void Word(std::uint16_t w) {
    bytes_.push_back(static_cast<std::uint8_t>(w));
    bytes_.push_back(static_cast<std::uint8_t>(w >> 8));
  }
  void SetWord(std::size_t at, std::uint16_t w) {
    bytes_[at] = static_cast<std::uint8_t>(w);
    bytes_[at + 1] = static_cast<std::uint8_t>(w >> 8);
  }
  void Text(const std::u16string& units) {
    for (char16_t unit : units) Word(static_cast<std::uint16_t>(unit));
    Word(0);
  }
  void Align() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }

  std::vector<std::uint8_t> bytes_;
};

void Dword(std::vector<std::uint8_t>& out, std::uint32_t d) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(d >> shift));
}

// Days from 1 January 1970 to the date (proleptic Gregorian calendar).
std::int64_t DaysSinceEpoch(const text::Date& d) {
  const int y = d.year - (d.month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yearOfEra = y - era * 400;
  const int dayOfYear = (153 * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
}

std::string TwoDigits(int n) {
  return (n < 10 ? "0" : "") + std::to_string(n);
}

// VS_FIXEDFILEINFO. The version is the build day, YEAR.MONTH.DAY.0, so a
// later book of the same title has a higher version; the file date is the
// day's midnight, UTC, as a FILETIME.
std::vector<std::uint8_t> FixedInfo(const text::Date& day) {
  const std::uint32_t high =
      (static_cast<std::uint32_t>(day.year) << 16) | static_cast<std::uint32_t>(day.month);
  const std::uint32_t low = static_cast<std::uint32_t>(day.day) << 16;
  const std::uint64_t fileTime =
      static_cast<std::uint64_t>(DaysSinceEpoch(day) + 134774) * 86400ULL * 10000000ULL;
  std::vector<std::uint8_t> out;
  for (std::uint32_t d :
       {0xFEEF04BDu, 0x00010000u, high, low, high, low,
        0x3Fu,        // dwFileFlagsMask
        0u,           // dwFileFlags
        0x00040004u,  // VOS_NT_WINDOWS32
        1u,           // VFT_APP
        0u,           // dwFileSubtype
        static_cast<std::uint32_t>(fileTime >> 32), static_cast<std::uint32_t>(fileTime)}) {
    Dword(out, d);
  }
  return out;
}

std::string WithoutExe(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return name;
  return text::ToLower(name.substr(dot)) == ".exe" ? name.substr(0, dot) : name;
}

}  // namespace

std::string VersionResource(const BookVersion& v) {
  const text::Date& d = v.builtOn;
  const std::string version =
      std::to_string(d.year) + "." + std::to_string(d.month) + "." + std::to_string(d.day) + ".0";
  const std::string isoDate =
      std::to_string(d.year) + "-" + TwoDigits(d.month) + "-" + TwoDigits(d.day);
  const std::pair<const char*, std::string> strings[] = {
      {"CompanyName", v.author},
      {"FileDescription", v.title},
      {"FileVersion", version},
      {"InternalName", WithoutExe(v.fileName)},
      {"LegalCopyright", "\xC2\xA9 " + std::to_string(d.year) + " " + v.author},
      {"OriginalFilename", v.fileName},
      {"ProductName", v.title},
      {"ProductVersion", version},
      {"Comments", "Built on " + isoDate},
  };
  Node table("040904B0");  // US English, UTF-16
  for (const auto& [key, value] : strings) table.Child(Node(key).String(value));
  std::vector<std::uint8_t> translation;
  Dword(translation, 0x04B00409u);  // language 0x0409, code page 1200
  Node root("VS_VERSION_INFO");
  root.Binary(FixedInfo(d));
  root.Child(Node("StringFileInfo").Child(table));
  root.Child(Node("VarFileInfo").Child(Node("Translation").Binary(translation)));
  return root.Bytes();
}

}  // namespace vexmar::build

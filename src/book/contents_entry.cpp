// Layout, version 1, integers little-endian:
//   "VXCT"  u32 version  u32 page count
//   per page: u32 name length, the name, u32 title length, the title
// and nothing after the last page.
#include "book/contents_entry.h"

#include <cstdint>

#include "platform/text/utf.h"

namespace vexmar::book {
namespace {

constexpr std::string_view kMagic = "VXCT";
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kEmptyPageBytes = 8;

void PutU32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

std::uint32_t U32At(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int k = 3; k >= 0; --k) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
  }
  return value;
}

bool IsControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// Valid UTF-8 without control characters, at most `limit` bytes.
std::string Printable(std::string_view text, std::size_t limit) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const char32_t c = utf::NextCodePoint(text, at);
    const std::size_t before = out.size();
    utf::AppendUtf8(out, IsControl(c) ? U' ' : c);
    if (out.size() > limit) {
      out.resize(before);
      break;
    }
  }
  return out;
}

bool IsPrintable(std::string_view text) {
  if (!utf::IsValidUtf8(text)) return false;
  for (std::size_t at = 0; at < text.size();) {
    if (IsControl(utf::NextCodePoint(text, at))) return false;
  }
  return true;
}

void PutText(std::string& out, const std::string& text) {
  PutU32(out, static_cast<std::uint32_t>(text.size()));
  out += text;
}

}  // namespace

std::string WriteContentsEntry(const std::vector<ContentsPage>& pages) {
  std::string out(kMagic);
  PutU32(out, kVersion);
  PutU32(out, static_cast<std::uint32_t>(pages.size()));
  for (const ContentsPage& page : pages) {
    // No stored name comes near the limit: a Windows path is 32,767 units.
    PutText(out, Printable(page.name, kMaxContentsBytes));
    PutText(out, Printable(page.title, kMaxContentsTitleBytes));
  }
  return out;
}

Result<std::vector<ContentsPage>> ReadContentsEntry(std::string_view bytes) {
  const auto damaged = [](const std::string& why) {
    return Fail("the book's contents are damaged: " + why);
  };
  if (bytes.size() > kMaxContentsBytes) return damaged("the entry is too long");
  if (bytes.size() < kHeaderBytes || bytes.substr(0, kMagic.size()) != kMagic) {
    return damaged("it does not start as contents do");
  }
  const std::uint32_t version = U32At(bytes, 4);
  if (version != kVersion) {
    return Fail("the book's contents are of version " + std::to_string(version) +
                ", which this reader does not know");
  }
  const std::uint32_t count = U32At(bytes, 8);
  // Every page takes room, so a claimed count is checked before anything is
  // made for it.
  if (count > (bytes.size() - kHeaderBytes) / kEmptyPageBytes) {
    return damaged("it claims more pages than it holds");
  }
  std::vector<ContentsPage> pages;
  pages.reserve(count);
  std::size_t at = kHeaderBytes;
  const auto text = [&](std::string& into) {
    if (bytes.size() - at < 4) return false;
    const std::uint32_t length = U32At(bytes, at);
    at += 4;
    if (length > bytes.size() - at) return false;
    into.assign(bytes.substr(at, length));
    at += length;
    return IsPrintable(into);
  };
  for (std::uint32_t i = 0; i < count; ++i) {
    ContentsPage page;
    if (!text(page.name) || !text(page.title) || page.name.empty()) {
      return damaged("page " + std::to_string(i + 1) + " is cut short or not text");
    }
    pages.push_back(std::move(page));
  }
  if (at != bytes.size()) return damaged("bytes follow the last page");
  return pages;
}

}  // namespace vexmar::book

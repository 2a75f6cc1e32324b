#include "platform/text/text.h"

namespace vexmar::text {

std::string ToAnsiOrMarkedUtf8(std::string_view utf8) {
  if (FitsAnsi(utf8)) {
    std::string ansi = Utf8ToAnsi(utf8);
    if (ansi.compare(0, kUtf8Mark.size(), kUtf8Mark) != 0) return ansi;
  }
  return std::string(kUtf8Mark) + utf::Transcode<std::string>(utf8, utf::AppendUtf8);
}

std::string FromAnsiOrMarkedUtf8(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Mark.size()) != kUtf8Mark) return AnsiToUtf8(bytes);
  return utf::Transcode<std::string>(bytes.substr(kUtf8Mark.size()), utf::AppendUtf8);
}

std::string_view TrimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string ForTerminal(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(utf8.size());
  const auto escape = [&out](unsigned char byte) {
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
  };
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    const unsigned char next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
    if (byte < 0x20 || byte == 0x7F) {
      escape(byte);
    } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
      escape(byte);
      escape(next);
      ++i;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

std::string AsSentence(std::string reason) {
  if (!reason.empty() && reason[0] >= 'a' && reason[0] <= 'z') {
    reason[0] = static_cast<char>(reason[0] - 'a' + 'A');
  }
  if (reason.empty() || reason.back() != '.') reason += '.';
  return reason;
}

}  // namespace vexmar::text

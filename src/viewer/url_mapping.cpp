#include "viewer/url_mapping.h"

#include <algorithm>
#include <cctype>

#include "book/entry_name.h"
#include "book/percent_decode.h"
#include "platform/text/utf.h"

namespace vexmar::viewer {
namespace {

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) {
    return false;
  }
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[i]) != AsciiLower(prefix[i])) {
      return false;
    }
  }
  return true;
}

bool IsUnreserved(unsigned char c) {
  return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string BookUrlFor(std::string_view file_name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string url = kBookUrlPrefix;
  for (const char c : file_name) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsUnreserved(byte) || c == '/') {
      url += c;
    } else if (c == '\\') {
      url += '/';
    } else {
      url += '%';
      url += kHex[byte >> 4];
      url += kHex[byte & 0x0F];
    }
  }
  return url;
}

std::optional<std::string> BookPathFromUrl(std::string_view url, book::AnsiDecoder decode) {
  if (!StartsWithNoCase(url, kBookUrlPrefix)) {
    return std::nullopt;
  }
  std::string_view rest = url.substr(sizeof(kBookUrlPrefix) - 1);
  rest = rest.substr(0, rest.find_first_of("?#"));
  const std::optional<std::string> decoded = book::PercentDecode(rest, decode);
  if (!decoded) {
    return std::nullopt;
  }
  std::vector<std::string> segments;
  size_t start = 0;
  while (start <= decoded->size()) {
    size_t end = decoded->find_first_of("/\\", start);
    if (end == std::string::npos) {
      end = decoded->size();
    }
    const std::string segment = decoded->substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) {
        segments.pop_back();
      }
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  if (segments.empty()) {
    return std::nullopt;
  }
  std::string path;
  for (const std::string& segment : segments) {
    if (!path.empty()) {
      path += '/';
    }
    path += segment;
  }
  return path;
}

std::vector<std::string> EntryCandidates(std::string_view path) {
  std::string stored = book::UpperCaseName(path);
  std::replace(stored.begin(), stored.end(), '/', '\\');
  std::vector<std::string> candidates{std::move(stored)};
  const size_t slash = path.rfind('/');
  if (slash != std::string_view::npos && slash + 1 < path.size()) {
    candidates.push_back(book::UpperCaseName(path.substr(slash + 1)));
  }
  return candidates;
}

bool HasScheme(std::string_view url) {
  for (size_t i = 0; i < url.size(); ++i) {
    const auto c = static_cast<unsigned char>(url[i]);
    if (c == ':') {
      return i > 0;
    }
    const bool letter = std::isalpha(c) != 0;
    if (!letter && (i == 0 || (std::isdigit(c) == 0 && c != '+' && c != '-' && c != '.'))) {
      return false;
    }
  }
  return false;
}

LinkKind ClassifyLink(std::string_view url) {
  if (StartsWithNoCase(url, std::string(kBookScheme) + ":")) {
    return LinkKind::kBook;
  }
  for (const char* scheme : {"http:", "https:", "mailto:"}) {
    if (StartsWithNoCase(url, scheme)) {
      return LinkKind::kExternal;
    }
  }
  return LinkKind::kOther;
}

std::string WebLinkTarget(std::string_view address) {
  if (address.empty()) {
    return {};
  }
  for (const char* scheme : {"http://", "https://", "mailto:"}) {
    if (StartsWithNoCase(address, scheme)) {
      return std::string(address);
    }
  }
  const size_t at_sign = address.find('@');
  if (at_sign != std::string_view::npos && at_sign > 0 &&
      address.find('/') == std::string_view::npos) {
    return "mailto:" + std::string(address);
  }
  return "http://" + std::string(address);
}

}  // namespace vexmar::viewer

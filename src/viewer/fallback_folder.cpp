#include "viewer/fallback_folder.h"

namespace vexmar::viewer {
namespace {

// A decimal number of at most ten digits that fits 32 bits.
std::optional<uint32_t> ParseNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 10) {
    return std::nullopt;
  }
  uint64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > 0xFFFFFFFFu) {
    return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

}  // namespace

std::string FallbackFolderName(uint32_t process_id, uint32_t unique) {
  return std::string(kFallbackFolderPrefix) + std::to_string(process_id) + "-" +
         std::to_string(unique);
}

std::optional<uint32_t> FallbackFolderOwner(std::string_view folder_name) {
  const std::string_view prefix = kFallbackFolderPrefix;
  if (folder_name.substr(0, prefix.size()) != prefix) {
    return std::nullopt;
  }
  const std::string_view rest = folder_name.substr(prefix.size());
  const size_t dash = rest.find('-');
  if (dash == std::string_view::npos || !ParseNumber(rest.substr(dash + 1))) {
    return std::nullopt;
  }
  return ParseNumber(rest.substr(0, dash));
}

}  // namespace vexmar::viewer

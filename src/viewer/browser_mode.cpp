#include "viewer/browser_mode.h"

namespace vexmar::viewer {
namespace {

constexpr uint32_t kNewest = 11000;

uint32_t LeadingNumber(std::string_view text) {
  uint32_t number = 0;
  size_t digits = 0;
  for (; digits < text.size() && digits < 4 && text[digits] >= '0' && text[digits] <= '9';
       ++digits) {
    number = number * 10 + static_cast<uint32_t>(text[digits] - '0');
  }
  return digits == 0 ? 0 : number;
}

}  // namespace

uint32_t BrowserEmulationValue(std::string_view svc_version, std::string_view version) {
  // IE10 and IE11 keep "Version" at 9.10 and 9.11 for old installers'
  // sake and give the truth in "svcVersion".
  uint32_t major = LeadingNumber(svc_version);
  if (major == 0) {
    major = LeadingNumber(version);
  }
  if (major >= 8 && major <= 10) {
    return major * 1000;
  }
  // IE11, or a version this code cannot read: ask for the newest mode.
  return kNewest;
}

}  // namespace vexmar::viewer

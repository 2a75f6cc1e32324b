#include "viewer/entry_name.h"

#include <set>

#include "viewer/utf8.h"

namespace vexmar::viewer {
namespace {

char32_t UpperCaseCodePoint(char32_t c) {
  if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
    return c - 0x20;
  }
  if (c == 0xFF) {
    return 0x178;
  }
  // Latin Extended-A pairs upper/lower in alternation; where the pairing
  // starts on an odd code point the lower case letter is the even one.
  if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
    return (c & 1u) != 0 ? c - 1 : c;
  }
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
    return (c & 1u) == 0 ? c - 1 : c;
  }
  if (c == 0x192) {
    return 0x191;
  }
  // Greek: final sigma upper-cases to sigma; accented vowels have their own.
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) {
    return c - 0x20;
  }
  if (c == 0x3C2) {
    return 0x3A3;
  }
  if (c == 0x3AC) {
    return 0x386;
  }
  if (c >= 0x3AD && c <= 0x3AF) {
    return c - 0x25;
  }
  if (c == 0x3CC) {
    return 0x38C;
  }
  if (c == 0x3CD || c == 0x3CE) {
    return c - 0x3F;
  }
  if (c >= 0x430 && c <= 0x44F) {
    return c - 0x20;
  }
  if (c >= 0x450 && c <= 0x45F) {
    return c - 0x50;
  }
  if (c == 0x491) {
    return 0x490;
  }
  return c;
}

bool IsReservedDeviceName(std::string_view name) {
  // Windows maps these to devices whatever the extension: "nul.htm" too.
  const std::string stem = UpperCaseName(name.substr(0, name.find('.')));
  static const char* const kDevices[] = {"CON",  "PRN",  "AUX",  "NUL",  "CONIN$", "CONOUT$",
                                         "COM1", "COM2", "COM3", "COM4", "COM5",   "COM6",
                                         "COM7", "COM8", "COM9", "LPT1", "LPT2",   "LPT3",
                                         "LPT4", "LPT5", "LPT6", "LPT7", "LPT8",   "LPT9"};
  std::string trimmed = stem;
  while (!trimmed.empty() && trimmed.back() == ' ') {
    trimmed.pop_back();
  }
  for (const char* device : kDevices) {
    if (trimmed == device) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string UpperCaseName(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  utf8::ForEachCodePoint(utf8, [&out](char32_t c) { utf8::Append(out, UpperCaseCodePoint(c)); });
  return out;
}

std::optional<std::string> UnsafeNameReason(std::string_view name) {
  if (name.empty()) {
    return "it is empty";
  }
  if (name == "." || name == "..") {
    return "it names a folder";
  }
  if (!utf8::IsValid(name)) {
    return "it is not valid text";
  }
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '/') {
      return "it contains a folder separator";
    }
    if (c == ':') {
      return "it contains a drive or stream separator \":\"";
    }
    if (byte < 0x20 || byte == 0x7F) {
      return "it contains a control character";
    }
    if (c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*') {
      return std::string("it contains the character \"") + c + "\"";
    }
  }
  if (name.back() == '.' || name.back() == ' ') {
    // Windows drops trailing dots and blanks, so the file would get another name.
    return "it ends with a dot or a blank";
  }
  if (IsReservedDeviceName(name)) {
    return "it is the name of a device";
  }
  return std::nullopt;
}

std::vector<ExtractStep> PlanExtraction(const std::vector<std::string>& names) {
  std::vector<ExtractStep> steps;
  std::set<std::string> taken;
  for (const std::string& name : names) {
    ExtractStep step{name, {}};
    if (const auto reason = UnsafeNameReason(name)) {
      step.refusal = *reason;
    } else if (!taken.insert(UpperCaseName(name)).second) {
      step.refusal = "another entry has the same name apart from letter case";
    }
    steps.push_back(std::move(step));
  }
  return steps;
}

}  // namespace vexmar::viewer

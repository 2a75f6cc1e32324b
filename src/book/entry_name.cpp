#include "book/entry_name.h"

#include <algorithm>

#include "platform/resources/upper_case.h"
#include "platform/text/utf.h"

namespace vexmar::book {
namespace {

// The compiler's resource engine stores names upper-cased with exactly the
// loader's table; comparing with the same table finds every entry that
// FindResource would.
char32_t UpperCaseCodePoint(char32_t c) {
  return c < 0x10000 ? resources::UpperCaseUnit(static_cast<char16_t>(c)) : c;
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
  for (size_t at = 0; at < utf8.size();) {
    utf::AppendUtf8(out, UpperCaseCodePoint(utf::NextCodePoint(utf8, at)));
  }
  return out;
}

std::optional<std::string> UnsafeNameReason(std::string_view name) {
  if (name.empty()) {
    return "it is empty";
  }
  if (name == "." || name == "..") {
    return "it names a folder";
  }
  if (!utf::IsValidUtf8(name)) {
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

std::optional<std::string> UnsafeEntryPathReason(std::string_view name) {
  if (name.find('\\') == std::string_view::npos) {
    return UnsafeNameReason(name);
  }
  for (size_t start = 0;;) {
    const size_t end = std::min(name.find('\\', start), name.size());
    const std::string_view part = name.substr(start, end - start);
    if (part.empty()) {
      return "it has an empty part (a \"\\\" at its start or end, or two in a row)";
    }
    if (auto reason = UnsafeNameReason(part)) {
      // "it names a folder" becomes "its part \"..\" names a folder".
      return "its part \"" + std::string(part) + "\"" + reason->substr(2);
    }
    if (end == name.size()) {
      return std::nullopt;
    }
    start = end + 1;
  }
}

// Only safe names' folders count: an unsafe name is refused anyway.
void ExtractionPlanner::ReserveFoldersOf(const std::string& name) {
  if (UnsafeEntryPathReason(name)) return;
  for (size_t at = name.find('\\'); at != std::string::npos; at = name.find('\\', at + 1)) {
    folders_.insert(UpperCaseName(name.substr(0, at)));
  }
}

ExtractStep ExtractionPlanner::Next(std::string name) {
  ExtractStep step{std::move(name), {}};
  if (const auto reason = UnsafeEntryPathReason(step.name)) {
    step.refusal = *reason;
  } else if (folders_.count(UpperCaseName(step.name)) > 0) {
    // A file of the same name could not be made beside the folder, nor the
    // folder beside it.
    step.refusal = "it is the name of a folder that other entries are in";
  } else if (!taken_.insert(UpperCaseName(step.name)).second) {
    step.refusal = "another entry has the same name apart from letter case";
  }
  return step;
}

std::vector<ExtractStep> PlanExtraction(const std::vector<std::string>& names) {
  ExtractionPlanner planner;
  for (const std::string& name : names) planner.ReserveFoldersOf(name);
  std::vector<ExtractStep> steps;
  for (const std::string& name : names) steps.push_back(planner.Next(name));
  return steps;
}

}  // namespace vexmar::book

#include "help/help_fields.h"

namespace vexmar::help {
namespace {

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// Consumes one field delimiter at `i`: a comma, or a line end of CR, LF or CR LF.
std::size_t SkipDelimiter(std::string_view text, std::size_t i) {
  if (i >= text.size()) return i;
  if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') return i + 2;
  return i + 1;
}

}  // namespace

std::vector<std::string> SplitHelpFields(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size()) {
      fields.emplace_back();  // only blanks were left: one empty field
      break;
    }
    std::string field;
    if (text[i] == '"') {
      const auto close = text.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? text.size() : close;
      field.assign(text.substr(i + 1, end - i - 1));
      i = end == text.size() ? end : end + 1;
      while (i < text.size() && text[i] != ',' && !IsLineEnd(text[i])) ++i;
    } else {
      const std::size_t start = i;
      while (i < text.size() && text[i] != ',' && !IsLineEnd(text[i])) ++i;
      field.assign(text.substr(start, i - start));
    }
    fields.push_back(std::move(field));
    i = SkipDelimiter(text, i);
  }
  return fields;
}

}  // namespace vexmar::help

#include "viewer/reader_state.h"

#include <optional>
#include <vector>

#include "book/entry_name.h"
#include "book/sha256.h"

namespace vexmar::viewer {
namespace {

constexpr char kHeader[] = "vexmar-reader 1";
// Far beyond any screen, so a number that is no place is refused.
constexpr long kMaxCoordinate = 1000000;

std::optional<int> Number(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 7) return std::nullopt;
  long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > kMaxCoordinate) return std::nullopt;
  return static_cast<int>(negative ? -value : value);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (size_t at = 0;;) {
    const size_t end = text.find(separator, at);
    parts.push_back(text.substr(at, end == std::string_view::npos ? end : end - at));
    if (end == std::string_view::npos) return parts;
    at = end + 1;
  }
}

bool ReadPlace(std::string_view value, ReaderState& state) {
  const std::vector<std::string_view> fields = Split(value, ' ');
  if (fields.size() != 5) return false;
  int numbers[5];
  for (size_t i = 0; i < 5; ++i) {
    const std::optional<int> number = Number(fields[i]);
    if (!number) return false;
    numbers[i] = *number;
  }
  if (numbers[2] <= numbers[0] || numbers[3] <= numbers[1] || numbers[4] < 0 || numbers[4] > 1) {
    return false;
  }
  state.left = numbers[0];
  state.top = numbers[1];
  state.right = numbers[2];
  state.bottom = numbers[3];
  state.maximized = numbers[4] == 1;
  state.hasPlace = true;
  return true;
}

}  // namespace

std::string WriteReaderState(const ReaderState& state) {
  std::string text = std::string(kHeader) + "\n";
  if (!state.page.empty()) text += "page\t" + state.page + "\n";
  if (state.paneWidth > 0) text += "pane\t" + std::to_string(state.paneWidth) + "\n";
  if (state.hasPlace) {
    text += "place\t" + std::to_string(state.left) + " " + std::to_string(state.top) + " " +
            std::to_string(state.right) + " " + std::to_string(state.bottom) + " " +
            (state.maximized ? "1" : "0") + "\n";
  }
  return text;
}

ReaderState ReadReaderState(std::string_view bytes) {
  if (bytes.size() > kMaxReaderStateBytes || bytes.empty() || bytes.back() != '\n') return {};
  std::vector<std::string_view> lines = Split(bytes.substr(0, bytes.size() - 1), '\n');
  if (lines.front() != kHeader) return {};
  ReaderState state;
  for (size_t i = 1; i < lines.size(); ++i) {
    const size_t tab = lines[i].find('\t');
    if (tab == std::string_view::npos) return {};
    const std::string_view key = lines[i].substr(0, tab);
    const std::string_view value = lines[i].substr(tab + 1);
    if (key == "page") {
      // A name as the book stores it: one line, a name that could be a file.
      if (value.empty() || value.find('\r') != std::string_view::npos) return {};
      state.page = std::string(value);
    } else if (key == "pane") {
      const std::optional<int> width = Number(value);
      if (!width || *width <= 0) return {};
      state.paneWidth = *width;
    } else if (key == "place") {
      if (!ReadPlace(value, state)) return {};
    }
    // Other keys are a later viewer's; this one keeps what it knows.
  }
  return state;
}

std::string ReaderStateFileName(std::string_view bookPath) {
  return book::ToHex(book::Sha256Of(book::UpperCaseName(bookPath))).substr(0, 32) + ".txt";
}

}  // namespace vexmar::viewer

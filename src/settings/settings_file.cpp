#include "settings/settings_file.h"

#include <charconv>

namespace vexmar::settings {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string ListLine(const ui::CheckList& list) {
  if (list.Count() == 0) return std::string(kBlank) + ":" + std::string(kBlank);
  std::string line;
  for (int i = 0; i < list.Count(); ++i) {
    if (i > 0) line += ':';
    line += list.Entry(i);
  }
  return line;
}

// An empty line, or one whose first piece is the placeholder (exactly, case
// matters), loads no entries; a list holds 32,767 entries at most, so pieces
// past that are not loaded.
void FillList(ui::CheckList& list, const std::string& line) {
  list.Clear();
  const std::vector<std::string> pieces = SplitListLine(line);
  if (pieces.empty() || pieces.front() == kBlank) return;
  for (const std::string& piece : pieces) {
    if (!list.Add(piece)) break;
  }
}

// Only a whole decimal number counts; anything else is unusable.
bool ReadNumber(const std::string& line, int& value) {
  const char* end = line.data() + line.size();
  const auto [ptr, ec] = std::from_chars(line.data(), end, value);
  return ec == std::errc() && ptr == end && !line.empty();
}

}  // namespace

std::string FormatSettingsFile(workspace::FrmMain& w) {
  std::string text;
  auto line = [&text](const std::string& value) {
    text += value;
    text += kLineEnd;
  };
  line(w.txttitle.Text());
  line(w.txtAuthor.Text());
  line(w.txtURLText.Text());
  line(w.txtURL.Text());
  line(w.txtpath.Text());
  line(ListLine(w.lstFiles));
  line(w.txthomepage.Text());
  line(std::to_string(w.chkTOC.Value()));
  // The contents list is stored only while the table of contents is on.
  const bool tocOn = w.chkTOC.Value() == 1 && w.lstTOC.Count() > 0;
  line(tocOn ? ListLine(w.lstTOC) : std::string(kBlank) + ":" + std::string(kBlank));
  line(w.txtoutfolder.Text());
  line(w.txtoutfile.Text());
  line(std::string(kBlank));
  line(std::string(kBlank));
  return text;
}

std::vector<std::string> SplitSettingsLines(std::string_view text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  for (;;) {
    const auto end = text.find(kLineEnd);
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + kLineEnd.size());
  }
  return lines;
}

std::vector<std::string> SplitListLine(std::string_view line) {
  std::vector<std::string> pieces;
  if (line.empty()) return pieces;
  for (;;) {
    const auto colon = line.find(':');
    pieces.emplace_back(line.substr(0, colon));
    if (colon == std::string_view::npos) break;
    line.remove_prefix(colon + 1);
  }
  return pieces;
}

void ApplySettingsLines(workspace::FrmMain& w, const std::vector<std::string>& lines) {
  auto has = [&lines](std::size_t number) { return lines.size() >= number; };
  auto at = [&lines](std::size_t number) -> const std::string& { return lines[number - 1]; };

  ui::TextBox* const textLines[] = {&w.txttitle, &w.txtAuthor, &w.txtURLText, &w.txtURL,
                                    &w.txtpath};
  for (std::size_t n = 1; n <= 5; ++n) {
    if (has(n)) textLines[n - 1]->SetText(at(n));
  }
  if (has(5)) w.ProjectFolder = at(5);
  if (has(6)) FillList(w.lstFiles, at(6));
  if (has(7)) w.txthomepage.SetText(at(7));
  int toc = 0;
  // Setting a new value runs the switch's reaction, which shows or hides the
  // contents list before its entries are loaded.
  if (has(8) && ReadNumber(at(8), toc) && toc >= 0 && toc <= 2) w.chkTOC.SetValue(toc);
  if (has(9)) FillList(w.lstTOC, at(9));
  if (has(10)) w.txtoutfolder.SetText(at(10));
  if (has(11)) w.txtoutfile.SetText(at(11));
}

}  // namespace vexmar::settings

#include "workspace/included_files.h"

#include <algorithm>

#include "platform/text/text.h"
#include "workspace/book_files.h"
#include "workspace/subfolder_scan.h"

namespace vexmar::workspace {
namespace {

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Characters that Windows keeps out of file names: a suffix holding one
// would match nothing, and a separator would reach into folders.
bool NoFileNameHolds(std::string_view suffix) {
  for (const char c : suffix) {
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace

Result<IncludedSuffixes> IncludedSuffixes::Parse(std::string_view list) {
  IncludedSuffixes parsed;
  for (std::size_t start = 0; start <= list.size();) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    const std::string_view item = text::TrimSpaces(list.substr(start, comma - start));
    start = comma + 1;
    if (item.empty()) continue;
    if (text::ToLower(item) == "web") {
      const std::vector<std::string> web = Parse(kWebSuffixes).value().lowered_;
      parsed.lowered_.insert(parsed.lowered_.end(), web.begin(), web.end());
      continue;
    }
    if (NoFileNameHolds(item)) {
      return Fail("\"" + text::ForTerminal(item) + "\" cannot end a file name");
    }
    parsed.lowered_.push_back(text::ToLower(item));
  }
  if (parsed.lowered_.empty()) return Fail("the list names no suffix");
  return parsed;
}

bool IncludedSuffixes::Matches(std::string_view name) const {
  if (lowered_.empty()) return false;
  const std::string lowered = text::ToLower(name);
  for (const std::string& suffix : lowered_) {
    if (EndsWith(lowered, suffix)) return true;
  }
  return false;
}

Result<std::vector<std::string>> ListIncludedEntries(fs::FileSystem& files,
                                                     const std::string& projectFolder,
                                                     const IncludedSuffixes& included,
                                                     bool subfolders, std::size_t room) {
  // What the seven suffixes offer is listed already, by the scan before.
  const auto wanted = [&included](std::string_view name) {
    return included.Matches(name) && !QualifiesForBook(name);
  };
  std::vector<std::string> entries;
  const auto listing = files.ListNormalFiles(projectFolder);
  for (std::string name = listing->Next(); !name.empty(); name = listing->Next()) {
    if (!wanted(name)) continue;
    if (entries.size() >= room) return Fail("more than " + std::to_string(room) + " files");
    entries.push_back(std::move(name));
  }
  if (!subfolders) return entries;
  Result<std::vector<std::string>> below =
      ListSubfolderEntries(files, projectFolder, room - entries.size(), wanted);
  if (!below) return below.error();
  for (std::string& entry : below.value()) entries.push_back(std::move(entry));
  return entries;
}

}  // namespace vexmar::workspace

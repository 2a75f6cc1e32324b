#include "workspace/subfolder_scan.h"

#include <algorithm>

#include "platform/text/text.h"
#include "workspace/book_files.h"

namespace vexmar::workspace {
namespace {

// Entries name their folders with "\"; the disk wants its own separator.
std::string FolderOnDisk(const std::string& projectFolder, std::string prefix) {
  std::replace(prefix.begin(), prefix.end(), '\\', fs::PathSeparator());
  return projectFolder + prefix;
}

std::vector<std::string> SortedSubfolders(fs::FileSystem& files, const std::string& folder) {
  std::vector<std::pair<std::string, std::string>> keyed;  // lower-cased name, name
  const auto listing = files.ListSubfolders(folder);
  for (std::string name = listing->Next(); !name.empty(); name = listing->Next()) {
    keyed.emplace_back(text::ToLower(name), std::move(name));
  }
  std::sort(keyed.begin(), keyed.end());
  std::vector<std::string> names;
  for (auto& [key, name] : keyed) names.push_back(std::move(name));
  return names;
}

}  // namespace

Result<std::vector<std::string>> ListSubfolderEntries(fs::FileSystem& files,
                                                      const std::string& projectFolder,
                                                      std::size_t room, const NameFilter& wanted) {
  std::vector<std::string> entries;
  // Folders still to visit, as entry prefixes ("images\icons\"); the last
  // is the next. A stack of our own, so a deep tree cannot exhaust the call
  // stack.
  std::vector<std::string> pending;
  const auto queueSubfoldersOf = [&](const std::string& prefix) {
    const std::vector<std::string> names =
        SortedSubfolders(files, FolderOnDisk(projectFolder, prefix));
    for (auto it = names.rbegin(); it != names.rend(); ++it) pending.push_back(prefix + *it + '\\');
  };
  queueSubfoldersOf("");
  while (!pending.empty()) {
    const std::string prefix = std::move(pending.back());
    pending.pop_back();
    const auto listing = files.ListNormalFiles(FolderOnDisk(projectFolder, prefix));
    for (std::string name = listing->Next(); !name.empty(); name = listing->Next()) {
      if (!(wanted ? wanted(name) : QualifiesForBook(name))) continue;
      if (entries.size() >= room) {
        return Fail("more than " + std::to_string(room) + " files in its sub-folders");
      }
      entries.push_back(prefix + name);
    }
    queueSubfoldersOf(prefix);
  }
  return entries;
}

}  // namespace vexmar::workspace

#include "cli/outside_links.h"

#include <algorithm>
#include <filesystem>

#include "build/project_bounds.h"

namespace vexmar::cli {
namespace {

namespace stdfs = std::filesystem;

// A canonical path without the empty last element a trailing separator
// leaves, so that comparing elements compares folders.
stdfs::path Resolved(const std::string& path, std::error_code& error) {
  stdfs::path resolved = stdfs::canonical(stdfs::u8path(path), error);
  if (!resolved.has_filename()) resolved = resolved.parent_path();
  return resolved;
}

bool Within(const stdfs::path& folder, const stdfs::path& file) {
  const auto [inFolder, inFile] =
      std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
  return inFolder == folder.end() && inFile != file.end();
}

}  // namespace

std::vector<OutsideLink> LinksLeavingTheProject(const std::string& projectFolder,
                                                const std::vector<std::string>& entries) {
  std::vector<OutsideLink> links;
  std::error_code error;
  const stdfs::path folder = Resolved(projectFolder, error);
  if (error) return links;
  for (const std::string& entry : entries) {
    const stdfs::path file = Resolved(build::PathInProject(projectFolder, entry), error);
    if (!error && !Within(folder, file)) links.push_back({entry, file.u8string()});
  }
  return links;
}

}  // namespace vexmar::cli

#pragma once
// File kinds an author adds to a book beyond the seven suffixes the window's
// scan offers: the style sheets, scripts, fonts and vector pictures of a web
// project. The command line lists them; the window keeps its own scan, and
// a settings file that names them opens there like any other.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/file_system.h"
#include "platform/result.h"

namespace vexmar::workspace {

// What "web" stands for: the usual files of a web site besides its pages
// and the pictures the scan already offers.
inline constexpr const char* kWebSuffixes =
    ".css,.js,.svg,.woff,.woff2,.ttf,.ico,.webp,.bmp,.json,.xml,.pdf";

class IncludedSuffixes {
 public:
  IncludedSuffixes() = default;

  // From a comma-separated list (".css,.js", "web,.mp3"). Each item is a
  // suffix matched as written at the end of a name (".css" matches
  // "Site.CSS"), so a name without an extension can be named whole. An item
  // that no file name can end in (a folder separator, ":", a wildcard) is an
  // error, and so is a list that names nothing.
  static Result<IncludedSuffixes> Parse(std::string_view list);

  // Whether `name` (a bare file name) ends in one of the suffixes, letter
  // case aside.
  bool Matches(std::string_view name) const;

 private:
  std::vector<std::string> lowered_;
};

// The files of the project folder (ending in the separator) that `included`
// matches and the window's scan does not offer (QualifiesForBook), as
// entries: the folder's own in listing order, then, when `subfolders`, those
// of its sub-folders in the order of ListSubfolderEntries. More than `room`
// is an error.
Result<std::vector<std::string>> ListIncludedEntries(fs::FileSystem& files,
                                                     const std::string& projectFolder,
                                                     const IncludedSuffixes& included,
                                                     bool subfolders, std::size_t room);

}  // namespace vexmar::workspace

#pragma once
// The files of a project folder's sub-folders, for a book made of a whole
// web project (pictures in images\, styles in css\). The main window's own
// scan lists the top folder alone; this one goes on below it.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/file_system.h"
#include "platform/result.h"

namespace vexmar::workspace {

// Which names a scan takes.
using NameFilter = std::function<bool(std::string_view)>;

// The files that `wanted` takes (QualifiesForBook when none is given) in
// every sub-folder of `projectFolder` (ending in the separator), at any
// depth, as entries relative to it with "\" between the parts on every
// platform ("images\logo.gif"), as the book stores them.
//
// Each folder's own files come first, in the order its listing gives them
// (as the top folder's do), then its sub-folders, depth first, in the order
// of their names with letter case aside (ties by the exact name): the same
// tree gives the same list on every disk, whatever order it lists folders
// in. Hidden and system folders and links to folders are not entered
// (FileSystem::ListSubfolders).
//
// More than `room` entries is an error: the file list would drop the rest
// without a word.
Result<std::vector<std::string>> ListSubfolderEntries(fs::FileSystem& files,
                                                      const std::string& projectFolder,
                                                      std::size_t room,
                                                      const NameFilter& wanted = nullptr);

}  // namespace vexmar::workspace

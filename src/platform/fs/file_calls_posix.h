#pragma once
// The POSIX calls that the file system and its temporary files share, with
// failures in the words the program's messages use.
#include <sys/stat.h>

#include <string>
#include <string_view>

#include "platform/result.h"

namespace vexmar::fs::posix {

Error ErrnoError(int error);
Status WriteAll(int fd, std::string_view content);
// What open() would give a new file: 0666 less the process's umask.
mode_t NewFileMode();
// Root may write anything, so the mode bits are asked directly: a file the
// author made read-only is neither rewritten nor replaced by a rename, as
// Windows refuses both.
bool IsReadOnly(const struct stat& st);
// The folder part of a path, with its trailing "/"; empty for a bare name.
std::string FolderOf(const std::string& path);
// Makes a rename in the path's folder lasting.
Status SyncFolderOf(const std::string& path);

}  // namespace vexmar::fs::posix

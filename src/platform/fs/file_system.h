#pragma once
// The file system as the program's commands see it. Commands reach it through
// this interface, never directly, so tests can hand them a folder in any
// listing order or a disk that fails at a chosen step.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace vexmar::fs {

// The folder separator of the platform: "\" on Windows, "/" elsewhere. Folder
// texts the program produces end with it.
char PathSeparator();

// The folder that holds the running program, with a trailing separator.
std::string ProgramFolder();

// A listing of "normal" files, one name at a time: ordinary files, read-only
// ones included; no folders, no hidden or system files (on Linux a hidden
// file is one whose name starts with "."; names Windows cannot hold are left
// out as well, since an e-book cannot carry them).
class FileListing {
 public:
  virtual ~FileListing() = default;
  // The next bare file name, or an empty text when there are no more or the
  // listing failed; after the first empty text it stays empty.
  virtual std::string Next() = 0;
};

// Bytes handed over piece by piece, so that a file of any size is written
// through a small buffer.
class ContentSource {
 public:
  virtual ~ContentSource() = default;
  // The next piece (valid until the next call), empty at the end, or why
  // the bytes could not be had.
  virtual Result<std::string_view> Next() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // `pattern` is a path whose last component may hold the wildcards * and ?.
  // A path ending in the separator lists every name in that folder; a path
  // without wildcards looks up that one file. The folder part is not searched
  // recursively.
  virtual std::unique_ptr<FileListing> ListNormalFiles(const std::string& pattern) = 0;

  // The sub-folders of `folder` (a folder text ending in the separator), one
  // bare name at a time, in the order the platform gives them: no hidden or
  // system folders, and no links to folders, which could lead out of the
  // project or round in a circle; names Windows cannot hold are left out,
  // as they are of ListNormalFiles.
  virtual std::unique_ptr<FileListing> ListSubfolders(const std::string& folder) = 0;

  // The whole file as raw bytes, or why it cannot be read.
  virtual Result<std::string> ReadWholeFile(const std::string& path) = 0;
  // The file's bytes handed to `piece` in order, a small buffer at a time,
  // so a file of any size is read in bounded memory.
  virtual Status ReadInPieces(const std::string& path,
                              const std::function<void(std::string_view)>& piece) = 0;

  // Replaces the file's content, or creates it. The bytes go to a temporary
  // file beside it first (temporary_file.h), which is flushed to the disk and
  // then renamed over the old one, so a full disk, a crash or a power cut
  // never leaves half a file. A read-only file is not replaced.
  Status WriteWholeFile(const std::string& path, std::string_view content);
  // The same with the content drawn from `content` until it ends; when it
  // fails, the old file stays as it was.
  virtual Status WriteFileFrom(const std::string& path, ContentSource& content) = 0;

  // Whether the file can be opened for reading now (it exists, is a file,
  // and the author may read it).
  virtual Status CheckReadable(const std::string& path) = 0;

  // Copies a file into a new temporary file beside `beside`, made as
  // temporary_file.h makes them and flushed to the disk; returns its path.
  // The caller renames it into place or deletes it.
  virtual Result<std::string> CopyToTemporary(const std::string& from,
                                              const std::string& beside) = 0;
  // Renames a file, replacing a file of the target's name; both in one
  // folder. The file's data is already on the disk (a kept temporary file);
  // the rename itself is made lasting. A read-only target is not replaced.
  virtual Status Rename(const std::string& from, const std::string& to) = 0;
  virtual Status Delete(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Creates one folder; its parent must exist.
  virtual Status CreateFolder(const std::string& path) = 0;
};

// The machine's own file system.
FileSystem& RealFileSystem();

}  // namespace vexmar::fs

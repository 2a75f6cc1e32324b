#pragma once
// The one way the program makes a file that will replace another: a new
// file beside the target, filled, flushed to the disk and renamed over it,
// so a failure, a kill or a power cut leaves either the old file or the new
// one, never half of one.
//
// The temporary name is `.vexmar-KKKKKKKK-PPPPPPPP-RRRRRRRR.tmp`: K a hash
// of the target's name, P the process, R random. It is short (far under any
// platform's limit, whatever the target is called), cannot be guessed, and
// says whose it is, so the next write of the same target removes what a
// killed process left behind. The file is created exclusively and never
// through a link planted at its name.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace vexmar::fs {

class ContentSource;  // file_system.h

class TemporaryFile {
 public:
  // A new, empty file in the target's folder. Temporary files of the same
  // target whose process no longer runs are removed first.
  static Result<TemporaryFile> CreateBeside(const std::string& target);

  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&& other) noexcept;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  // A file neither kept nor renamed into place is closed and deleted.
  ~TemporaryFile();

  const std::string& Path() const { return path_; }
  Status Write(std::string_view bytes);
  // Writes what `content` hands out, piece by piece, until it ends.
  Status WriteFrom(ContentSource& content);
  // Overwrites bytes already written (a checksum known only at the end).
  Status WriteAt(std::uint64_t offset, std::string_view bytes);

  // Flushes the file to the disk and renames it over the target (which
  // keeps its permissions; a read-only target is refused), then makes the
  // rename itself lasting. On failure the file is deleted.
  Status ReplaceTarget();
  // Flushes the file to the disk and closes it under its temporary name,
  // which the caller now owns: it renames or deletes the file itself.
  Result<std::string> Keep();

 private:
  TemporaryFile(std::string target, std::string path, std::intptr_t handle)
      : target_(std::move(target)), path_(std::move(path)), handle_(handle) {}
  Status FlushAndClose();
  void Discard();

  std::string target_;
  std::string path_;
  static constexpr std::intptr_t kNoHandle = -1;  // a closed file, on either platform
  std::intptr_t handle_;                          // the platform's open file
};

// The temporary name (no folder) for the target with this process and draw.
// A target that is itself a temporary file of ours hands on its key, so
// every file a build makes on its way to one book carries that book's key.
std::string TemporaryName(const std::string& target, std::uint32_t process, std::uint32_t draw);

// The process that made a temporary file of this target, if `name` is one.
bool IsTemporaryOf(const std::string& target, const std::string& name, std::uint32_t* process);

// Where the random part of a name comes from. Tests hand in a sequence they
// know, to plant links at the names a build will try; returns the previous.
using NameDraw = std::uint32_t (*)();
NameDraw SetNameDraw(NameDraw draw);
std::uint32_t DrawForName();

}  // namespace vexmar::fs

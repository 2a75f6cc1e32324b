// Temporary files on POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <utility>

#include "platform/fs/file_calls_posix.h"
#include "platform/fs/temporary_file.h"

namespace vexmar::fs {
namespace {

using posix::ErrnoError;

// Names are drawn again while they are taken; this many taken names in a
// row mean something other than chance is at work.
constexpr int kTries = 64;

// Only a process known to be gone gives up its files: one of another user
// (EPERM) or a number no process of ours could have is left alone.
bool ProcessHasEnded(std::uint32_t process) {
  if (process == 0 || process > static_cast<std::uint32_t>(INT_MAX)) return false;
  return kill(static_cast<pid_t>(process), 0) != 0 && errno == ESRCH;
}

// What killed processes left beside this target. unlink removes a link
// itself, never what it points at.
void RemoveStaleTemporaries(const std::string& target) {
  const std::string folder = posix::FolderOf(target);
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    std::uint32_t process = 0;
    if (IsTemporaryOf(target, entry->d_name, &process) && ProcessHasEnded(process)) {
      unlink((folder + entry->d_name).c_str());
    }
  }
  closedir(dir);
}

int Fd(std::intptr_t handle) {
  return static_cast<int>(handle);
}

}  // namespace

Result<TemporaryFile> TemporaryFile::CreateBeside(const std::string& target) {
  RemoveStaleTemporaries(target);
  const std::string folder = posix::FolderOf(target);
  const auto process = static_cast<std::uint32_t>(getpid());
  for (int i = 0; i < kTries; ++i) {
    std::string path = folder + TemporaryName(target, process, DrawForName());
    // Exclusive, so a name someone planted (a link above all) is passed
    // over, never opened; private until it is complete.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) return TemporaryFile(target, std::move(path), fd);
    if (errno != EEXIST) return ErrnoError(errno);
  }
  return Fail("every temporary name tried beside it was taken");
}

Status TemporaryFile::Write(std::string_view bytes) {
  return posix::WriteAll(Fd(handle_), bytes);
}

Status TemporaryFile::WriteAt(std::uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = pwrite(Fd(handle_), bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrnoError(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
    offset += static_cast<std::uint64_t>(n);
  }
  return {};
}

// The file takes the target's permissions (a new file's usual ones when
// there is none), always writable by its owner while it is ours.
Status TemporaryFile::FlushAndClose() {
  const int fd = Fd(std::exchange(handle_, kNoHandle));
  struct stat st {};
  const mode_t mode = stat(target_.c_str(), &st) == 0 ? st.st_mode & 07777 : posix::NewFileMode();
  Status flushed;
  if (fchmod(fd, mode | S_IWUSR) != 0 || fsync(fd) != 0) flushed = ErrnoError(errno);
  if (close(fd) != 0 && flushed) flushed = ErrnoError(errno);
  return flushed;
}

void TemporaryFile::Discard() {
  if (handle_ != kNoHandle) close(Fd(std::exchange(handle_, kNoHandle)));
  if (!path_.empty()) unlink(std::exchange(path_, {}).c_str());
}

Status TemporaryFile::ReplaceTarget() {
  struct stat st {};
  Status done;
  if (stat(target_.c_str(), &st) == 0 && posix::IsReadOnly(st)) {
    done = Fail("the file is read-only", ErrorKind::ReadOnly);
  }
  if (done) done = FlushAndClose();
  if (done && rename(path_.c_str(), target_.c_str()) != 0) done = ErrnoError(errno);
  if (!done) {
    Discard();
    return done;
  }
  path_.clear();
  return posix::SyncFolderOf(target_);
}

Result<std::string> TemporaryFile::Keep() {
  const Status flushed = FlushAndClose();
  if (!flushed) {
    Discard();
    return flushed.error();
  }
  return std::exchange(path_, {});
}

}  // namespace vexmar::fs

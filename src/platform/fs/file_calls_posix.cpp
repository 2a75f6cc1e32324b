#include "platform/fs/file_calls_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vexmar::fs::posix {

Error ErrnoError(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return Fail("the file or its folder does not exist", ErrorKind::NotFound);
    case EACCES:
    case EPERM:
      return Fail("access is denied", ErrorKind::AccessDenied);
    case ENOSPC:
    case EDQUOT:
      return Fail("the disk is full", ErrorKind::DiskFull);
    case EROFS:
      return Fail("the disk is read-only", ErrorKind::ReadOnly);
    case EISDIR:
      return Fail("it is a folder", ErrorKind::NotAFolder);
    case EBUSY:
    case ETXTBSY:
      return Fail("the file is in use", ErrorKind::InUse);
    default:
      return Fail(std::strerror(error));
  }
}

Status WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t n = write(fd, content.data(), content.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrnoError(errno);
    }
    content.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

bool IsReadOnly(const struct stat& st) {
  return !S_ISDIR(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A rename is only lasting once the folder that holds the name is on the
// disk: after a power cut the file is then the new one, never the old.
// File systems that cannot flush a folder (EINVAL) keep their own order.
Status SyncFolderOf(const std::string& path) {
  const std::string folder = FolderOf(path);
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return ErrnoError(errno);
  const bool synced = fsync(fd) == 0 || errno == EINVAL;
  const int error = errno;
  close(fd);
  if (!synced) return ErrnoError(error);
  return {};
}

}  // namespace vexmar::fs::posix

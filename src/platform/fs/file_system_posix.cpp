// The file system on Linux. Windows semantics are kept where the program
// relies on them: "normal" files only, and only names an e-book can carry.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/fs/file_system.h"
#include "platform/fs/wildcard.h"

namespace vexmar::fs {
namespace {

// Windows refuses these characters in file names; a file named so on Linux
// could never be stored under its name in an e-book.
bool WindowsCanHold(std::string_view name) {
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
      return false;
    }
  }
  return true;
}

bool IsNormalFile(const std::string& folder, const std::string& name) {
  if (name.empty() || name[0] == '.' || !WindowsCanHold(name)) return false;
  struct stat st {};
  return stat((folder + name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// lstat, not stat: a link to a folder is a link, and is not entered.
bool IsPlainFolder(const std::string& folder, const std::string& name) {
  if (name.empty() || name[0] == '.' || !WindowsCanHold(name)) return false;
  struct stat st {};
  return lstat((folder + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

using NameTest = bool (*)(const std::string& folder, const std::string& name);

class PosixListing final : public FileListing {
 public:
  PosixListing(std::string folder, std::string pattern, NameTest wanted)
      : folder_(std::move(folder)), pattern_(std::move(pattern)), wanted_(wanted) {
    dir_ = opendir(folder_.empty() ? "." : folder_.c_str());
  }
  ~PosixListing() override {
    if (dir_ != nullptr) closedir(dir_);
  }
  PosixListing(const PosixListing&) = delete;
  PosixListing& operator=(const PosixListing&) = delete;

  std::string Next() override {
    while (dir_ != nullptr) {
      const dirent* entry = readdir(dir_);
      if (entry == nullptr) {
        closedir(dir_);
        dir_ = nullptr;
        break;
      }
      std::string name = entry->d_name;
      if (MatchesWildcard(pattern_, name) && wanted_(folder_, name)) return name;
    }
    return {};
  }

 private:
  std::string folder_;
  std::string pattern_;
  NameTest wanted_;
  DIR* dir_ = nullptr;
};

// A lookup of one named file: yields that name once when it is a normal file.
class SingleFileListing final : public FileListing {
 public:
  explicit SingleFileListing(std::string name) : name_(std::move(name)) {}
  std::string Next() override { return std::exchange(name_, std::string()); }

 private:
  std::string name_;
};

// Failures in the words the program's messages use.
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

// What open() would give a new file: 0666 less the process's umask.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
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

Status WriteAll(int fd, ContentSource& content) {
  for (;;) {
    const Result<std::string_view> piece = content.Next();
    if (!piece) return piece.error();
    if (piece.value().empty()) return {};
    if (Status written = WriteAll(fd, piece.value()); !written) return written;
  }
}

// Root may write anything, so the mode bits are asked directly: a file the
// author made read-only is neither rewritten nor replaced by a rename, as
// Windows refuses both.
bool IsReadOnly(const struct stat& st) {
  return !S_ISDIR(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// A rename is only lasting once the folder that holds the name is on the
// disk: after a power cut the file is then the new one, never the old.
// File systems that cannot flush a folder (EINVAL) keep their own order.
Status SyncFolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return ErrnoError(errno);
  const bool synced = fsync(fd) == 0 || errno == EINVAL;
  const int error = errno;
  close(fd);
  if (!synced) return ErrnoError(error);
  return {};
}

class PosixFileSystem final : public FileSystem {
 public:
  std::unique_ptr<FileListing> ListNormalFiles(const std::string& pattern) override {
    const auto slash = pattern.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    if (name.empty()) name = "*";
    if (!HasWildcard(name)) {
      return std::make_unique<SingleFileListing>(IsNormalFile(folder, name) ? name : "");
    }
    return std::make_unique<PosixListing>(std::move(folder), std::move(name), IsNormalFile);
  }

  std::unique_ptr<FileListing> ListSubfolders(const std::string& folder) override {
    return std::make_unique<PosixListing>(folder, "*", IsPlainFolder);
  }

  Result<std::string> ReadWholeFile(const std::string& path) override {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ErrnoError(errno);
    std::string content;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
      content.reserve(static_cast<std::size_t>(st.st_size));
    }
    char buffer[64 * 1024];
    for (;;) {
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n == 0) break;
      if (n < 0) {
        const int error = errno;
        close(fd);
        return ErrnoError(error);
      }
      content.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return content;
  }

  Status WriteFileFrom(const std::string& path, ContentSource& content) override {
    struct stat st {};
    const bool exists = stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return Fail("it is a folder", ErrorKind::NotAFolder);
    if (exists && IsReadOnly(st)) return Fail("the file is read-only", ErrorKind::ReadOnly);
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // A hidden sibling: never listed as a project file, and on the same
    // disk, so the rename cannot fail half-way.
    std::string temp = folder + "." + name + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return ErrnoError(errno);
    const Status written = WriteAll(fd, content);
    // The temporary file starts private (mkostemp); the result gets the old
    // file's permissions, or a new file's usual ones.
    if (written) fchmod(fd, exists ? st.st_mode & 07777 : NewFileMode());
    const bool synced = written && fsync(fd) == 0;
    const int syncError = errno;
    close(fd);
    if (!written || !synced) {
      unlink(temp.c_str());
      if (!written) return written;
      return ErrnoError(syncError);
    }
    if (rename(temp.c_str(), path.c_str()) != 0) {
      const int error = errno;
      unlink(temp.c_str());
      return ErrnoError(error);
    }
    return SyncFolderOf(path);
  }

  Status CheckReadable(const std::string& path) override {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ErrnoError(errno);
    struct stat st {};
    const bool isFile = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    if (!isFile) return Fail("it is not a file", ErrorKind::NotAFolder);
    return {};
  }

  Status Copy(const std::string& from, const std::string& to) override {
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return ErrnoError(errno);
    struct stat st {};
    if (stat(to.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      close(in);
      return Fail("it is a folder", ErrorKind::NotAFolder);
    }
    const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
      const int error = errno;
      close(in);
      return ErrnoError(error);
    }
    Status copied;
    char buffer[64 * 1024];
    while (copied) {
      const ssize_t n = read(in, buffer, sizeof buffer);
      if (n == 0) break;
      if (n < 0) {
        copied = ErrnoError(errno);
        break;
      }
      copied = WriteAll(out, std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    close(in);
    if (close(out) != 0 && copied) copied = ErrnoError(errno);
    return copied;
  }

  Status Rename(const std::string& from, const std::string& to) override {
    struct stat st {};
    if (stat(to.c_str(), &st) == 0 && IsReadOnly(st)) {
      return Fail("the file is read-only", ErrorKind::ReadOnly);
    }
    if (rename(from.c_str(), to.c_str()) != 0) return ErrnoError(errno);
    return SyncFolderOf(to);
  }

  Status Delete(const std::string& path) override {
    if (unlink(path.c_str()) != 0) return ErrnoError(errno);
    return {};
  }

  bool FolderExists(const std::string& path) override {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  Status CreateFolder(const std::string& path) override {
    if (mkdir(path.c_str(), 0755) != 0) return ErrnoError(errno);
    return {};
  }
};

}  // namespace

char PathSeparator() {
  return '/';
}

std::string ProgramFolder() {
  std::array<char, PATH_MAX> buffer{};
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return "./";
  std::string path(buffer.data(), static_cast<std::size_t>(n));
  return path.substr(0, path.rfind('/') + 1);
}

FileSystem& RealFileSystem() {
  static PosixFileSystem instance;
  return instance;
}

}  // namespace vexmar::fs

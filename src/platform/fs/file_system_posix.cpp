// The file system on Linux. Windows semantics are kept where the program
// relies on them: "normal" files only, and only names an e-book can carry.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <utility>

#include "platform/fs/file_calls_posix.h"
#include "platform/fs/file_system.h"
#include "platform/fs/temporary_file.h"
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

using posix::ErrnoError;

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
    std::string content;
    const Status read = ReadInPieces(path, [&](std::string_view piece) { content += piece; });
    if (!read) return read.error();
    return content;
  }

  Status ReadInPieces(const std::string& path,
                      const std::function<void(std::string_view)>& piece) override {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ErrnoError(errno);
    char buffer[64 * 1024];
    for (;;) {
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n == 0) break;
      if (n < 0) {
        const int error = errno;
        close(fd);
        return ErrnoError(error);
      }
      piece(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    close(fd);
    return {};
  }

  Status WriteFileFrom(const std::string& path, ContentSource& content) override {
    struct stat st {};
    const bool exists = stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return Fail("it is a folder", ErrorKind::NotAFolder);
    if (exists && posix::IsReadOnly(st)) return Fail("the file is read-only", ErrorKind::ReadOnly);
    auto temp = TemporaryFile::CreateBeside(path);
    if (!temp) return temp.error();
    const Status written = temp->WriteFrom(content);
    if (!written) return written;
    return temp->ReplaceTarget();
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

  Result<std::string> CopyToTemporary(const std::string& from, const std::string& beside) override {
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return ErrnoError(errno);
    auto temp = TemporaryFile::CreateBeside(beside);
    Status copied = temp ? Status{} : Status{temp.error()};
    char buffer[64 * 1024];
    while (copied) {
      const ssize_t n = read(in, buffer, sizeof buffer);
      if (n == 0) break;
      if (n < 0) {
        copied = ErrnoError(errno);
        break;
      }
      copied = temp->Write(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    close(in);
    if (!copied) return copied.error();
    return temp->Keep();
  }

  Status Rename(const std::string& from, const std::string& to) override {
    struct stat st {};
    if (stat(to.c_str(), &st) == 0 && posix::IsReadOnly(st)) {
      return Fail("the file is read-only", ErrorKind::ReadOnly);
    }
    if (rename(from.c_str(), to.c_str()) != 0) return ErrnoError(errno);
    return posix::SyncFolderOf(to);
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

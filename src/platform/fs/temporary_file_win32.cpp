// Temporary files on Windows.
#include <windows.h>

#include <utility>

#include "platform/fs/file_calls_win32.h"
#include "platform/fs/temporary_file.h"

namespace vexmar::fs {
namespace {

using win32::LastError;
using win32::Wide;

// Names are drawn again while they are taken; this many taken names in a
// row mean something other than chance is at work.
constexpr int kTries = 64;

// Only a process known to be gone gives up its files: Windows answers an
// unknown process number with ERROR_INVALID_PARAMETER, while one of another
// account (access denied) is left alone.
bool ProcessHasEnded(std::uint32_t process) {
  const HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process);
  if (handle == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
  const bool ended = WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
  CloseHandle(handle);
  return ended;
}

// What killed processes left beside this target. DeleteFileW removes a
// link itself, never what it points at.
void RemoveStaleTemporaries(const std::string& target) {
  const std::wstring folder = Wide(win32::FolderOf(target));
  WIN32_FIND_DATAW data{};
  const HANDLE find = FindFirstFileExW((folder + L".vexmar-*.tmp").c_str(), FindExInfoBasic, &data,
                                       FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::uint32_t process = 0;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        IsTemporaryOf(target, win32::Utf8(data.cFileName), &process) && ProcessHasEnded(process)) {
      DeleteFileW((folder + data.cFileName).c_str());
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

HANDLE Handle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

Result<TemporaryFile> TemporaryFile::CreateBeside(const std::string& target) {
  RemoveStaleTemporaries(target);
  const std::string folder = win32::FolderOf(target);
  const auto process = static_cast<std::uint32_t>(GetCurrentProcessId());
  for (int i = 0; i < kTries; ++i) {
    std::string path = folder + TemporaryName(target, process, DrawForName());
    // CREATE_NEW fails on any name that exists, a link included, so a name
    // someone planted is passed over, never opened.
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      return TemporaryFile(target, std::move(path), reinterpret_cast<std::intptr_t>(file));
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return LastError();
  }
  return Fail("every temporary name tried beside it was taken");
}

Status TemporaryFile::Write(std::string_view bytes) {
  return win32::WriteAll(Handle(handle_), bytes);
}

Status TemporaryFile::WriteAt(std::uint64_t offset, std::string_view bytes) {
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(offset);
  const LARGE_INTEGER end{};
  if (!SetFilePointerEx(Handle(handle_), at, nullptr, FILE_BEGIN)) return LastError();
  const Status written = win32::WriteAll(Handle(handle_), bytes);
  if (!SetFilePointerEx(Handle(handle_), end, nullptr, FILE_END) && written) return LastError();
  return written;
}

Status TemporaryFile::FlushAndClose() {
  const HANDLE file = Handle(std::exchange(handle_, kNoHandle));
  Status flushed;
  if (!FlushFileBuffers(file)) flushed = LastError();
  CloseHandle(file);
  return flushed;
}

void TemporaryFile::Discard() {
  if (handle_ != kNoHandle) CloseHandle(Handle(std::exchange(handle_, kNoHandle)));
  if (!path_.empty()) DeleteFileW(Wide(std::exchange(path_, {})).c_str());
}

Status TemporaryFile::ReplaceTarget() {
  const std::wstring target = Wide(target_);
  Status done;
  if (win32::IsReadOnlyFile(target)) done = Fail("the file is read-only", ErrorKind::ReadOnly);
  if (done) done = FlushAndClose();
  if (done && !MoveFileExW(Wide(path_).c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    done = LastError();
  }
  if (!done) {
    Discard();
    return done;
  }
  path_.clear();
  return {};
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

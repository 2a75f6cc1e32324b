#include "viewer/book_maker_win32.h"

#include <shellapi.h>

#include <filesystem>

#include "platform/resources/resource_update.h"
#include "viewer/book_format.h"

namespace vexmar::viewer::testing {

namespace {

// The build passes Unix paths; Wine shows the Unix root as drive Z:.
std::wstring FromBuild(const wchar_t* unix_path) {
  std::wstring path = std::wstring(L"Z:") + unix_path;
  for (wchar_t& c : path) {
    c = c == L'/' ? L'\\' : c;
  }
  return path;
}

}  // namespace

std::wstring StubPath() {
  return FromBuild(VEXMAR_VIEWER_STUB);
}
std::wstring RecordingStubPath() {
  return FromBuild(VEXMAR_VIEWER_RECORDING_STUB);
}

std::wstring TempPath() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return temp;
}

DWORD RunViewerWindow(const std::wstring& program, const std::wstring& scratch_folder) {
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  DWORD exit_code = 0xFFFFFFFF;
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     scratch_folder.c_str(), &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_TIMEOUT) {
      TerminateProcess(process.hProcess, 0xDEAD);
    }
    GetExitCodeProcess(process.hProcess, &exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  return exit_code;
}

namespace {

std::vector<uint8_t> ToBytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace

// Books are made with the project's own resource engine, as the compiler
// makes them.
bool MakeBook(const std::wstring& path, const std::string* record,
              const std::vector<BookFile>& files, std::string& error, const std::wstring& stub,
              uint16_t record_language) {
  using resources::ResourceId;
  if (!CopyFileW(stub.c_str(), path.c_str(), FALSE)) {
    error = "cannot copy the stub: " + std::to_string(GetLastError());
    return false;
  }
  if (record == nullptr && files.empty()) {
    return true;
  }
  auto update = resources::ResourceUpdate::Begin(std::filesystem::path(path));
  if (!update) {
    error = update.error().reason;
    return false;
  }
  const auto settings_type = ResourceId::FromUtf8(book_format::kSettingsType);
  const auto settings_id = ResourceId::Number(book_format::kSettingsId);
  const auto file_type = ResourceId::Number(book_format::kFileType);
  if (record != nullptr) {
    const resources::Status set = update->Update(settings_type.value(), settings_id.value(),
                                                 record_language, ToBytes(*record));
    if (!set) {
      error = set.error().reason;
      return false;
    }
  }
  for (const BookFile& file : files) {
    const std::u16string name(file.entry_name.begin(), file.entry_name.end());
    const auto id = ResourceId::FromText(name);
    if (!id) {
      error = id.error().reason;
      return false;
    }
    const resources::Status set =
        update->Update(file_type.value(), id.value(), book_format::kLanguage, ToBytes(file.bytes));
    if (!set) {
      error = set.error().reason;
      return false;
    }
  }
  const auto committed = update->Commit();
  if (!committed) {
    error = committed.error().reason;
    return false;
  }
  return true;
}

std::string ReadFileBytes(const std::wstring& path) {
  std::string bytes;
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return bytes;
  }
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  CloseHandle(file);
  return bytes;
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring MakeScratchFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  static unsigned counter = 0;
  const std::wstring folder = std::wstring(temp) + L"vexmar-viewer-test-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++counter);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + L"\\";
}

void RemoveFolder(const std::wstring& folder) {
  std::wstring from = folder;
  if (!from.empty() && from.back() == L'\\') {
    from.pop_back();
  }
  from.push_back(L'\0');  // SHFileOperation takes a double-terminated list
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationW(&operation);
}

RunResult RunViewer(const std::wstring& program, const std::wstring& arguments,
                    const std::wstring& scratch_folder) {
  RunResult result;
  const std::wstring out_path = scratch_folder + L"out.txt";
  const std::wstring err_path = scratch_folder + L"err.txt";
  DeleteFileW(out_path.c_str());
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE err = CreateFileW(err_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                 CREATE_ALWAYS, 0, nullptr);
  std::wstring command = L"\"" + program + L"\" " + arguments + L" /out \"" + out_path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdError = err;
  startup.hStdOutput = err;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     scratch_folder.c_str(), &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_TIMEOUT) {
      TerminateProcess(process.hProcess, 0xDEAD);
    }
    GetExitCodeProcess(process.hProcess, &result.exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(err);
  result.out = ReadFileBytes(out_path);
  result.err = ReadFileBytes(err_path);
  return result;
}

}  // namespace vexmar::viewer::testing

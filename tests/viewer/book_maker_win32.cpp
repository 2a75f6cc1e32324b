#include "viewer/book_maker_win32.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "book/book_format.h"
#include "platform/resources/resource_update.h"

namespace vexmar::viewer::testing {

std::wstring TempPath() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return temp;
}

// Books are made with the project's own resource engine, as the compiler
// makes them.
std::string MakeBook(const std::wstring& path, const std::string* record,
                     const std::vector<BookFile>& files, const std::wstring& stub,
                     uint16_t record_language) {
  using resources::ResourceId;
  if (!CopyFileW(stub.c_str(), path.c_str(), FALSE)) {
    return "cannot copy the stub: " + std::to_string(GetLastError());
  }
  if (record == nullptr && files.empty()) return "";
  auto update = resources::ResourceUpdate::Begin(std::filesystem::path(path));
  if (!update) return update.error().reason;
  std::vector<std::tuple<ResourceId, resources::Result<ResourceId>, uint16_t, std::string>> puts;
  if (record != nullptr) {
    puts.emplace_back(ResourceId::FromUtf8(book_format::kSettingsType).value(),
                      ResourceId::Number(book_format::kSettingsId), record_language, *record);
  }
  for (const BookFile& file : files) {
    puts.emplace_back(
        ResourceId::Number(book_format::kFileType).value(),
        ResourceId::FromText(std::u16string(file.entry_name.begin(), file.entry_name.end())),
        book_format::kLanguage, file.bytes);
  }
  for (const auto& [type, id, language, bytes] : puts) {
    if (!id) return id.error().reason;
    const resources::Status set =
        update->Update(type, id.value(), language, {bytes.begin(), bytes.end()});
    if (!set) return set.error().reason;
  }
  const auto committed = update->Commit();
  return committed ? "" : committed.error().reason;
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

RunResult RunViewer(const std::wstring& program, const std::wstring& arguments,
                    const std::wstring& folder) {
  RunResult result;
  const bool switches = !arguments.empty();
  const std::wstring out_path = folder + (switches ? L"out.txt" : L"shell.log");
  const std::wstring err_path = folder + L"err.txt";
  DeleteFileW(out_path.c_str());
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE err = CreateFileW(err_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                 CREATE_ALWAYS, 0, nullptr);
  if (switches) {
    command += L" " + arguments + L" /out \"" + out_path + L"\"";
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = startup.hStdOutput = err;
  } else {
    SetEnvironmentVariableW(L"VEXMAR_VIEWER_SHELL_LOG", out_path.c_str());
  }
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, switches, 0, nullptr,
                     folder.c_str(), &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_TIMEOUT) {
      TerminateProcess(process.hProcess, 0xDEAD);
    }
    GetExitCodeProcess(process.hProcess, &result.exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  SetEnvironmentVariableW(L"VEXMAR_VIEWER_SHELL_LOG", nullptr);
  CloseHandle(err);
  result.out = ReadFileBytes(out_path);
  result.err = ReadFileBytes(err_path);
  for (const std::string& line : Lines(switches ? "" : result.out)) {
    const size_t tab = line.find('\t');
    if (tab != std::string::npos) result.log[line.substr(0, tab)].push_back(line.substr(tab + 1));
  }
  return result;
}

}  // namespace vexmar::viewer::testing

#include "viewer/console_win32.h"

#include "viewer/win32_text.h"

namespace vexmar::viewer {
namespace {

bool IsValid(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

HANDLE StandardHandle(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  if (IsValid(handle)) {
    return handle;
  }
  // Started from a console without redirection: a GUI program gets no
  // handles, but may borrow the parent's console.
  static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
  if (!attached) {
    return INVALID_HANDLE_VALUE;
  }
  handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
  if (IsValid(handle)) {
    SetStdHandle(which, handle);
  }
  return handle;
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != FALSE;
}

}  // namespace

Output Output::Open(const std::string& out_path, DWORD std_handle) {
  if (!out_path.empty()) {
    const HANDLE file = CreateFileW(Widen(out_path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return Output(file, true, false);
  }
  const HANDLE handle = StandardHandle(std_handle);
  return Output(handle, false, IsValid(handle) && IsConsole(handle));
}

Output::Output(Output&& other) noexcept
    : handle_(other.handle_), owned_(other.owned_), isConsole_(other.isConsole_) {
  other.handle_ = INVALID_HANDLE_VALUE;
  other.owned_ = false;
}

Output::~Output() {
  if (owned_ && ok()) {
    CloseHandle(handle_);
  }
}

bool Output::WriteBytes(std::string_view bytes) {
  while (ok() && !bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = bytes.size() > 0x100000 ? 0x100000 : static_cast<DWORD>(bytes.size());
    if (!WriteFile(handle_, bytes.data(), chunk, &written, nullptr) || written == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return ok();
}

bool Output::WriteText(std::string_view utf8) {
  if (!isConsole_) {
    return WriteBytes(utf8);
  }
  const std::wstring wide = Widen(utf8);
  DWORD written = 0;
  return WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) !=
         FALSE;
}

void PrintError(std::string_view utf8_line) {
  Output error = Output::Open({}, STD_ERROR_HANDLE);
  error.WriteText(std::string(utf8_line) + "\r\n");
}

}  // namespace vexmar::viewer

#pragma once
// Where the switches print: the console of the program that started the
// viewer (a GUI program has none of its own), a redirected handle, or the
// file named with /out.
#include <windows.h>

#include <string>
#include <string_view>

namespace vexmar::viewer {

class Output {
 public:
  // With an empty path: standard output, attaching to the parent's console
  // when the handle is missing.
  static Output Open(const std::string& out_path, DWORD std_handle = STD_OUTPUT_HANDLE);
  ~Output();
  Output(Output&& other) noexcept;
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  Output& operator=(Output&&) = delete;

  bool ok() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  // Text in UTF-8; bytes go out as they are (a console gets UTF-16 text).
  bool WriteText(std::string_view utf8);
  bool WriteBytes(std::string_view bytes);

 private:
  Output(HANDLE handle, bool owned, bool is_console)
      : handle_(handle), owned_(owned), isConsole_(is_console) {}

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool owned_ = false;
  bool isConsole_ = false;
};

// A line on standard error (the console of the parent when there is one).
void PrintError(std::string_view utf8_line);

}  // namespace vexmar::viewer

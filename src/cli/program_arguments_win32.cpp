// main's argv is in the ANSI code page, which turns a folder or title it
// cannot hold into "?"; the wide command line holds every script.
#include <windows.h>

// After windows.h, which it needs.
#include <shellapi.h>

#include "cli/program_arguments.h"
#include "platform/text/utf.h"

namespace vexmar::cli {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    const std::wstring_view arg = wide[i];
    args.push_back(utf::Utf16ToUtf8(std::u16string(arg.begin(), arg.end())));
  }
  LocalFree(wide);
  return args;
}

}  // namespace vexmar::cli

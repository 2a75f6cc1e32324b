// The e-book viewer: every e-book is a copy of this program with the book's
// settings record and files in its resources.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>
#include <vector>

#include "viewer/book_loader_win32.h"
#include "viewer/command_line.h"
#include "viewer/console_win32.h"
#include "viewer/desktop_win32.h"
#include "viewer/dll_search_win32.h"
#include "viewer/show_book_win32.h"
#include "viewer/switches_win32.h"
#include "viewer/win32_text.h"

namespace {

std::vector<std::string> CommandLineWords() {
  std::vector<std::string> words;
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) {
    return words;
  }
  for (int i = 1; i < count; ++i) {
    words.push_back(vexmar::viewer::Narrow(argv[i]));
  }
  LocalFree(argv);
  return words;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  using namespace vexmar::viewer;
  // Before anything can pull in a DLL.
  RestrictDllSearchToSystem32();
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

  const vexmar::Result<Options> options = ParseCommandLine(CommandLineWords());
  if (!options) {
    const std::string text = options.error().reason + "\n\n" + kUsageText;
    PrintError(text);
    if (GetStdHandle(STD_ERROR_HANDLE) == nullptr) {
      ShowMessageBox(nullptr, text, kViewerTitle, MB_ICONERROR);
    }
    return kExitUsage;
  }
  const BookImage book = LoadBookImage(instance);
  if (options->command != Command::kShow) {
    return RunSwitch(options.value(), book);
  }
  return ShowBook(instance, book, options.value(), show);
}

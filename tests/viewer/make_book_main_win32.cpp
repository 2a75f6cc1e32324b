// make_book STUB OUTPUT RECORD FILE...: a book from the given files, made
// with the project's resource engine, for benchmarks and trying the viewer
// by hand. Entry names are the files' names, upper-cased by the engine.
#include <cstdio>
#include <string>
#include <vector>

#include "viewer/book_maker_win32.h"

int wmain(int argc, wchar_t** argv) {
  using namespace vexmar::viewer::testing;
  if (argc < 4) {
    std::fputs("usage: make_book STUB OUTPUT RECORD FILE...\n", stderr);
    return 2;
  }
  const std::string record(argv[3], argv[3] + wcslen(argv[3]));
  std::vector<BookFile> files;
  for (int i = 4; i < argc; ++i) {
    const std::wstring path = argv[i];
    files.push_back({path.substr(path.find_last_of(L"\\/") + 1), ReadFileBytes(path)});
  }
  const std::string error = MakeBook(argv[2], &record, files, argv[1]);
  if (!error.empty()) std::fprintf(stderr, "make_book: %s\n", error.c_str());
  return error.empty() ? 0 : 1;
}

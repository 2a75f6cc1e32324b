// vexmar-ebc inspect and extract: what an e-book carries, read back from
// its resource table as the viewer reads it.
#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <iostream>

#include "book/entry_name.h"
#include "cli/arguments.h"
#include "cli/book_reader.h"
#include "cli/commands.h"
#include "cli/console_program.h"
#include "platform/fs/file_system.h"
#include "platform/text/text.h"

namespace vexmar::cli {
namespace {

constexpr const char* kInspectUsage =
    "usage: vexmar-ebc inspect BOOK.exe\n"
    "Prints the e-book's nine settings fields and every file it carries with its size.\n";
constexpr const char* kExtractUsage =
    "usage: vexmar-ebc extract BOOK.exe DIR\n"
    "Writes every file the e-book carries into DIR (made when missing), files of\n"
    "sub-folders (IMAGES\\LOGO.GIF) into sub-folders of DIR. A name that would land\n"
    "outside DIR, or on a file written before, is refused.\n";

// Parses the command line and reads the book; false when the command ends.
bool Open(const char* command, const char* usage, const std::vector<std::string>& args,
          const CommandSyntax& syntax, Arguments& a, BookContents& book, int& exitCode) {
  const ParsedArguments parsed = ParseArguments(syntax, args);
  a = parsed.arguments;
  if (a.help) {
    std::cout << usage;
    exitCode = kExitDone;
    return false;
  }
  if (!parsed.error.empty()) {
    std::cerr << "vexmar-ebc " << command << ": " << parsed.error << "\n\n" << usage;
    exitCode = kExitUsage;
    return false;
  }
  Result<BookContents> read = ReadBook(AbsolutePath(a.positionals[0]));
  if (!read) {
    std::cerr << "vexmar-ebc " << command << ": " << a.positionals[0]
              << " is no e-book: " << text::ForTerminal(read.error().reason) << "\n";
    exitCode = kExitFailed;
    return false;
  }
  book = std::move(read).value();
  return true;
}

// Makes the folders a file of a sub-folder goes into (IMAGES for
// IMAGES\LOGO.GIF) one part at a time; the parts have passed
// PlanExtraction. A part that exists must be a folder of its own, as a link
// there would carry the file out of DIR. Empty when they are there.
std::string MakeFoldersFor(const std::string& folder, const std::string& name) {
  std::filesystem::path path = std::filesystem::u8path(folder);
  std::size_t start = 0;
  for (std::size_t at = name.find('\\'); at != std::string::npos; at = name.find('\\', start)) {
    path /= std::filesystem::u8path(name.substr(start, at - start));
    std::error_code error;
    std::filesystem::create_directory(path, error);
    if (error) return error.message();
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(path, error))) {
      return path.u8string() + " is a link or a file, not a folder";
    }
    start = at + 1;
  }
  return {};
}

}  // namespace

int InspectCommand(const std::vector<std::string>& args) {
  Arguments a;
  BookContents book;
  int exitCode = kExitDone;
  if (!Open("inspect", kInspectUsage, args, {{"BOOK.exe"}, {}, {}}, a, book, exitCode)) {
    return exitCode;
  }
  static constexpr const char* kNames[] = {"title",      "author",    "index page",
                                           "build date", "link text", "link address",
                                           "reserved",   "reserved",  "reserved"};
  for (std::size_t i = 0; i < book.record.fields.size(); ++i) {
    std::cout << std::left << std::setw(14) << (std::string(kNames[i]) + ":")
              << text::ForTerminal(book.record.fields[i]) << "\n";
  }
  std::cout << "files (" << book.files.size() << "):\n";
  for (const BookFileEntry& file : book.files) {
    // Names and fields are the book's, which anyone may have made.
    std::cout << "  " << std::left << std::setw(32) << text::ForTerminal(file.name) << std::right
              << std::setw(10) << file.data.size() << " bytes\n";
  }
  return kExitDone;
}

int ExtractCommand(const std::vector<std::string>& args) {
  Arguments a;
  BookContents book;
  int exitCode = kExitDone;
  if (!Open("extract", kExtractUsage, args, {{"BOOK.exe", "DIR"}, {}, {}}, a, book, exitCode)) {
    return exitCode;
  }
  const std::string folder = AbsolutePath(a.positionals[1]);
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::u8path(folder), error);
  if (error) {
    std::cerr << "vexmar-ebc extract: cannot make " << folder << ": " << error.message() << "\n";
    return kExitFailed;
  }
  std::vector<std::string> names;
  for (const BookFileEntry& file : book.files) names.push_back(file.name);
  const std::vector<book::ExtractStep> plan = book::PlanExtraction(names);
  int refused = 0;
  for (std::size_t i = 0; i < plan.size(); ++i) {
    if (!plan[i].refusal.empty()) {
      std::cerr << "vexmar-ebc extract: refused " << text::ForTerminal(plan[i].name) << ": "
                << text::ForTerminal(plan[i].refusal) << "\n";
      ++refused;
      continue;
    }
    std::string relative = plan[i].name;
    std::replace(relative.begin(), relative.end(), '\\', fs::PathSeparator());
    const std::string path = folder + fs::PathSeparator() + relative;
    const std::string noFolder = MakeFoldersFor(folder, plan[i].name);
    const Status written = noFolder.empty()
                               ? fs::RealFileSystem().WriteWholeFile(path, book.files[i].data)
                               : Status{Fail(noFolder)};
    if (!written) {
      std::cerr << "vexmar-ebc extract: " << path << ": " << written.error().reason << "\n";
      ++refused;
      continue;
    }
    std::cout << path << "\n";
  }
  return refused == 0 ? kExitDone : kExitFailed;
}

}  // namespace vexmar::cli

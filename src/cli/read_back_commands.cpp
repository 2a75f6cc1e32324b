// vexmar-ebc inspect and extract: what an e-book carries, read back from
// its resource table as the viewer reads it.
#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <optional>

#include "book/entry_name.h"
#include "cli/arguments.h"
#include "cli/book_reader.h"
#include "cli/commands.h"
#include "cli/console_program.h"
#include "cli/digest_line.h"
#include "cli/reader_lines.h"
#include "platform/fs/file_system.h"
#include "platform/text/text.h"

namespace vexmar::cli {
namespace {

constexpr const char* kInspectUsage =
    "usage: vexmar-ebc inspect BOOK.exe\n"
    "Prints the e-book's nine settings fields and every file it carries with its size,\n"
    "then whether its entries match the digest the build wrote into it, and how many\n"
    "pages its contents and its search index hold.\n";
constexpr const char* kExtractUsage =
    "usage: vexmar-ebc extract BOOK.exe DIR\n"
    "Writes every file the e-book carries into DIR (made when missing), files of\n"
    "sub-folders (IMAGES\\LOGO.GIF) into sub-folders of DIR. A name that would land\n"
    "outside DIR, or on a file written before, is refused.\n";

// Parses the command line and opens the book; nothing when the command ends.
std::optional<BookReader> Open(const char* command, const char* usage,
                               const std::vector<std::string>& args, const CommandSyntax& syntax,
                               Arguments& a, int& exitCode) {
  const ParsedArguments parsed = ParseArguments(syntax, args);
  a = parsed.arguments;
  if (a.help) {
    std::cout << usage;
    exitCode = kExitDone;
    return std::nullopt;
  }
  if (!parsed.error.empty()) {
    std::cerr << "vexmar-ebc " << command << ": " << parsed.error << "\n\n" << usage;
    exitCode = kExitUsage;
    return std::nullopt;
  }
  Result<BookReader> read = BookReader::Open(AbsolutePath(a.positionals[0]));
  if (!read) {
    std::cerr << "vexmar-ebc " << command << ": " << a.positionals[0]
              << " is no e-book: " << text::ForTerminal(read.error().reason) << "\n";
    exitCode = kExitFailed;
    return std::nullopt;
  }
  return std::move(read).value();
}

// A book read once already that fails on the second reading changed on disk
// in between.
int WalkFailed(const char* command, const std::string& path, const Error& error) {
  std::cerr << "vexmar-ebc " << command << ": " << path
            << " could not be read to the end: " << text::ForTerminal(error.reason) << "\n";
  return kExitFailed;
}

// No file system holds a longer name (Windows counts UTF-16 units); the
// planner, which remembers every name, is spared them.
constexpr std::size_t kMaxNameUnits = 255;

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
  int exitCode = kExitDone;
  std::optional<BookReader> book =
      Open("inspect", kInspectUsage, args, {{"BOOK.exe"}, {}, {}}, a, exitCode);
  if (!book) return exitCode;
  static constexpr const char* kNames[] = {"title",      "author",    "index page",
                                           "build date", "link text", "link address",
                                           "reserved",   "reserved",  "reserved"};
  const book::BookRecord& record = book->record();
  for (std::size_t i = 0; i < record.fields.size(); ++i) {
    std::cout << std::left << std::setw(14) << (std::string(kNames[i]) + ":")
              << text::ForTerminal(record.fields[i]) << "\n";
  }
  std::cout << "files (" << book->fileCount() << "):\n";
  const Status listed = book->ForEachFile([](const BookFile& file) {
    // Names and fields are the book's, which anyone may have made.
    std::cout << "  " << std::left << std::setw(32) << text::ForTerminal(file.name) << std::right
              << std::setw(10) << file.size << " bytes\n";
    return Status{};
  });
  if (!listed) return WalkFailed("inspect", a.positionals[0], listed.error());
  const Result<std::string> digest = DigestVerdict(*book);
  if (!digest) return WalkFailed("inspect", a.positionals[0], digest.error());
  std::cout << std::left << std::setw(14) << "digest:" << text::ForTerminal(digest.value()) << "\n";
  const Result<std::string> contents = ContentsLine(*book);
  if (!contents) return WalkFailed("inspect", a.positionals[0], contents.error());
  std::cout << std::left << std::setw(14) << "contents:" << text::ForTerminal(contents.value())
            << "\n";
  const Result<std::string> search = SearchLine(*book);
  if (!search) return WalkFailed("inspect", a.positionals[0], search.error());
  std::cout << std::left << std::setw(14) << "search:" << text::ForTerminal(search.value()) << "\n";
  return kExitDone;
}

int ExtractCommand(const std::vector<std::string>& args) {
  Arguments a;
  int exitCode = kExitDone;
  std::optional<BookReader> book =
      Open("extract", kExtractUsage, args, {{"BOOK.exe", "DIR"}, {}, {}}, a, exitCode);
  if (!book) return exitCode;
  const std::string folder = AbsolutePath(a.positionals[1]);
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::u8path(folder), error);
  if (error) {
    std::cerr << "vexmar-ebc extract: cannot make " << folder << ": " << error.message() << "\n";
    return kExitFailed;
  }
  // The first walk reads names only: the folders every entry goes into.
  book::ExtractionPlanner planner;
  const Status named = book->ForEachFile([&](const BookFile& file) {
    planner.ReserveFoldersOf(file.name);
    return Status{};
  });
  if (!named) return WalkFailed("extract", a.positionals[0], named.error());
  int refused = 0;
  const Status walked = book->ForEachFile([&](const BookFile& file) {
    const book::ExtractStep step =
        text::Utf8ToUtf16(file.name).size() > kMaxNameUnits
            ? book::ExtractStep{file.name, "it is longer than " + std::to_string(kMaxNameUnits) +
                                               " characters"}
            : planner.Next(file.name);
    if (!step.refusal.empty()) {
      std::cerr << "vexmar-ebc extract: refused " << text::ForTerminal(step.name) << ": "
                << text::ForTerminal(step.refusal) << "\n";
      ++refused;
      return Status{};
    }
    // The bytes go from the book to the file in pieces, never whole.
    std::string relative = step.name;
    std::replace(relative.begin(), relative.end(), '\\', fs::PathSeparator());
    const std::string path = folder + fs::PathSeparator() + relative;
    const std::string noFolder = MakeFoldersFor(folder, step.name);
    const Status written = noFolder.empty()
                               ? fs::RealFileSystem().WriteFileFrom(path, *book->Content(file))
                               : Status{Fail(noFolder)};
    if (!written) {
      std::cerr << "vexmar-ebc extract: " << path << ": " << written.error().reason << "\n";
      ++refused;
      return Status{};
    }
    std::cout << path << "\n";
    return Status{};
  });
  if (!walked) return WalkFailed("extract", a.positionals[0], walked.error());
  return refused == 0 ? kExitDone : kExitFailed;
}

}  // namespace vexmar::cli

#pragma once
// The e-book image: a copy of the viewer stub with the settings record and
// every checked file written into its resource table.
#include <string>
#include <vector>

#include "build/resource_updates.h"
#include "platform/fs/file_system.h"

namespace vexmar::build {

// The settings record's fields, as the build captured them.
struct BookSettings {
  std::string title;
  std::string author;
  std::string indexPage;
  std::string buildDate;
  std::string linkText;
  std::string linkAddress;
};

// title:author:index page:build date:link text:link address:blank:blank:blank
std::string SettingsRecord(const BookSettings& settings);

// Writes the settings entry into the file in one update of its own; a
// failure says why. The record is ANSI text when every field fits the code
// page, as books have always carried it, and UTF-8 behind its mark otherwise,
// so no title, author or page name loses a character.
Status WriteSettingsResource(ResourceUpdates& resources, const std::string& path,
                             const std::string& record);

struct BookFile {
  std::string entryText;  // the entry of the file list, the name in the book
  std::string path;       // where the file is
};

// BookFailed: the file entries could not be written into the book itself.
// Unexpected: the stub could not be copied or the book renamed.
enum class Outcome { StubMissing, SettingsFailed, FileFailed, BookFailed, Unexpected, Done };

// How an assembly ended. There is no default outcome: every way out of the
// assembly names its own, and every failure carries its Error.
struct AssemblyResult {
  AssemblyResult(Outcome how, Error why, std::string file = {})
      : outcome(how), error(std::move(why)), failedFile(std::move(file)) {}
  static AssemblyResult Done() { return {Outcome::Done, Error{}}; }

  Outcome outcome;
  Error error;
  std::string failedFile;  // FileFailed: the file that could not go in
};

// An entry the build adds beside the files: the version information, an icon.
// A digested entry gets its line in the book's digest (after the settings
// record's, before the files'), hashed from `data`.
struct BookEntry {
  EntryId type;
  EntryId name;
  int language;
  std::string data;
  bool digested = false;
};

struct AssemblyInputs {
  std::string outputPath;
  std::string stubPath;
  BookSettings settings;
  std::vector<BookFile> files;  // the checked files, in list order
  // Types whose stub entries the book does not keep (its version, its icon),
  // then the entries it gets instead; both go in with the files.
  std::vector<int> replacedTypes;
  std::vector<BookEntry> entries;
  // The contents and the search index of the pages (reader_entries.h), which
  // the digest covers; only the build's benchmark and a test go without.
  bool readerEntries = true;
};

// Builds the e-book. It is made under a temporary name beside the output
// (platform/fs/temporary_file.h) and renamed over it only when complete, so
// a failed build leaves no partial book behind and an earlier book of that
// name whole; no failure reason names the temporary file.
AssemblyResult AssembleEbook(fs::FileSystem& files, ResourceUpdates& resources,
                             const AssemblyInputs& inputs);

// The name a file is stored under: its entry text in upper case as Windows
// stores names. Resource names are UTF-16, so every script keeps its true
// name and a link to the file finds it on any machine. A
// file of a sub-folder keeps its folder, "\" between the parts whichever
// separator the entry was written with, so the viewer finds it the same way
// on every machine the book was built on.
std::string StoredEntryName(const std::string& entryText);

}  // namespace vexmar::build

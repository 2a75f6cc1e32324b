#pragma once
// The link check before a build: every reference of every checked page and
// style sheet, resolved as the viewer will resolve it inside the book, so
// the author hears of a broken picture or a dead link before the book is in
// a reader's hands. The window's Compile and vexmar-ebc run this same code.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/fs/file_system.h"

namespace vexmar::build {

enum class FindingKind {
  Missing,    // the target is no file of the project folder
  Unchecked,  // a file of the project, but not checked: the book will not carry it
  Unlisted,   // a file of the project of a kind no scan offered (style.css): --include lists it
  Anchor,     // "page.htm#name", and that page has no such id or <a name>
  Outside,    // an absolute path, a drive, file:, "/path", or ".." past the top
  Home,       // the home page is not checked, so the book cannot open
};

// "missing", "unchecked", "unlisted", "anchor", "outside", "home": fixed
// words that scripts read.
const char* KindWord(FindingKind kind);

struct LinkFinding {
  FindingKind kind;
  std::string page;    // relative to the project folder, "\" between folders
  std::size_t line;    // of the reference in the page; 0 for the page as a whole
  std::string target;  // as written in the page; empty for the page as a whole
};

struct LinkCheckInput {
  std::string projectFolder;  // with a trailing separator
  std::vector<std::string> checkedEntries;
  std::string homePage;
  // Every entry of the file list, checked or not. A kind of file the window's
  // scan does not offer is one the author included when the list holds a
  // file of that kind; an unchecked link to any other is `Unlisted`.
  std::vector<std::string> listedEntries;
};

// Sorted by page, then by place in the page. Pages are .htm and .html files
// and style sheets .css files, in any letter case; letter case alone is
// never a finding (the book folds it), nor is a web address.
std::vector<LinkFinding> CheckLinks(fs::FileSystem& files, const LinkCheckInput& input);

// One finding as a sentence for the author, on one line.
std::string InPlainWords(const LinkFinding& finding);

}  // namespace vexmar::build

#pragma once
// The version information a book carries, so Windows' file properties (and
// the tools readers trust) show what the book is: its title, its author,
// its file name and the day it was built, in place of the viewer's own.
#include <string>

#include "platform/text/short_date.h"

namespace vexmar::build {

struct BookVersion {
  std::string title;     // FileDescription, ProductName
  std::string author;    // CompanyName; LegalCopyright "© YEAR AUTHOR"
  std::string fileName;  // OriginalFilename; InternalName without ".exe"
  text::Date builtOn;    // the version numbers YEAR.MONTH.DAY.0, the file date, Comments
};

// RT_VERSION and the name of the only version entry Windows reads.
inline constexpr int kVersionType = 16;
inline constexpr int kVersionName = 1;

// A VS_VERSIONINFO block (the layout VerQueryValue reads): the fixed file
// information, one string table for US English in UTF-16 (040904B0), so any
// character of a title or author goes in as it is, and its translation.
std::string VersionResource(const BookVersion& version);

}  // namespace vexmar::build

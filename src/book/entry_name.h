#pragma once
// Names of the book's file entries: how they compare, and which of them may
// become a file on disk.
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vexmar::book {

// Upper case as the resource loader compares names: one character at a time,
// one-to-one ("ä" to "Ä", "ÿ" to "Ÿ", "ß" stays, "ı" stays).
std::string UpperCaseName(std::string_view utf8);

// Why an entry name must not become a file in the extract folder, or nothing
// when it is a plain file name there. Book files are bare names, so any
// separator, drive, stream, device or trailing-dot name is refused.
std::optional<std::string> UnsafeNameReason(std::string_view name);

// Why an entry name must not become a file under the extract folder, or
// nothing when it may. Files of sub-folders are stored with "\" between the
// parts ("IMAGES\LOGO.GIF"); each part must be a plain name there
// (UnsafeNameReason), so no part is empty, "." or "..", and "/" is refused.
std::optional<std::string> UnsafeEntryPathReason(std::string_view name);

struct ExtractStep {
  std::string name;
  // Empty when the entry may be written.
  std::string refusal;
};

// Decides entry by entry: a name that is unsafe, that equals an earlier name
// apart from letter case (it would overwrite that file on Windows' file
// systems), or that names a folder other entries are written into (IMAGES
// beside IMAGES\LOGO.GIF) is refused. The folders are known once every name
// has been reserved, before the first step; a reader that streams the book
// walks its names twice.
class ExtractionPlanner {
 public:
  void ReserveFoldersOf(const std::string& name);
  ExtractStep Next(std::string name);

 private:
  std::set<std::string> folders_;
  std::set<std::string> taken_;
};

// One step per entry, in order, as the planner decides them.
std::vector<ExtractStep> PlanExtraction(const std::vector<std::string>& names);

}  // namespace vexmar::book

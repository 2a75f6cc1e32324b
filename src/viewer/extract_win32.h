#pragma once
// Writes the book's files into a folder, files of sub-folders into
// sub-folders of it, refusing every name that could land outside it (see
// PlanExtraction).
#include <string>
#include <vector>

#include "viewer/entry_index.h"

namespace vexmar::viewer {

struct ExtractReport {
  bool folderOk = false;
  size_t written = 0;
  std::vector<std::string> refused;  // "NAME: reason"
  std::vector<std::string> failed;   // could not be written
  std::vector<std::string> empty;    // written, but hold no bytes
};

// Creates `folder` (and its parents) when missing.
ExtractReport ExtractEntries(const EntryIndex& entries, const std::wstring& folder);

// Writes one file whole; false when it could not.
bool WriteWholeFile(const std::wstring& path, const uint8_t* data, size_t size);

}  // namespace vexmar::viewer

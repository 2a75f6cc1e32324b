#pragma once
// Lays out a resource section for a set of entries: directory tables, then
// name strings, then data entries, then the data, each blob 8-aligned with
// zero fill. The layout depends only on the entry set, so the same entries
// always give the same bytes.
#include <cstdint>
#include <vector>

#include "platform/resources/entry_set.h"
#include "platform/resources/result.h"

namespace vexmar::resources {

struct TreeLayout {
  // Directories, strings and data entries: everything before the data.
  std::vector<uint8_t> metadata;
  struct Blob {
    uint64_t offset;  // from the start of the section
    const EntryValue* value;
  };
  std::vector<Blob> blobs;  // in offset order
  uint64_t size = 0;        // up to the end of the last blob
};

// `section_rva` is where the section will be mapped; data entries hold RVAs.
// Fails when the section would not fit below 4 GiB.
Result<TreeLayout> LayOutTree(const EntrySet& entries, uint32_t section_rva);

}  // namespace vexmar::resources

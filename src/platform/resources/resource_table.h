#pragma once
// The reader: the resource tree of a PE file as the loader sees it. Every
// offset is checked against the tree and the file, the tree may be at most
// three levels deep (type, name, language) and a directory reached twice is
// reported as a loop, so a damaged or hostile file gives an error, never a
// read outside the file.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/resources/byte_io.h"
#include "platform/resources/pe_image.h"
#include "platform/resources/resource_id.h"
#include "platform/resources/result.h"

namespace vexmar::resources {

struct ResourceEntry {
  ResourceId type;
  ResourceId name;
  uint16_t language = 0;
  uint32_t codePage = 0;
  uint32_t dataRva = 0;
  uint32_t size = 0;
  uint64_t fileOffset = 0;  // of the data
};

class ResourceTable {
 public:
  // Reads the tree that DataDirectory[2] points to. An image without one
  // has an empty table.
  static Result<ResourceTable> Read(ByteSource& file, const PeImage& image);

  // Every entry, in the order the directories list them (not re-sorted).
  const std::vector<ResourceEntry>& entries() const { return entries_; }
  // The section that holds the tree, or -1 when there is none.
  int section_index() const { return sectionIndex_; }

  // The loader's lookup: a string type or name is upper-cased first, each
  // directory is binary-searched as stored (so a badly ordered file misses
  // entries here just as FindResource would), and the language falls back
  // to the neutral sublanguage, then LANG_NEUTRAL; a neutral query also
  // takes en-US and finally the first language listed. The thread and user
  // locales Windows also tries are not part of a portable engine.
  Result<ResourceEntry> Find(const ResourceId& type, const ResourceId& name,
                             uint16_t language) const;

  // One directory as stored; `validate` checks their order and counts.
  struct Child {
    ResourceId id;
    bool storedAsName = false;  // bit 31 of the Name field
    int directory = -1;         // index into directories() or -1
    int entry = -1;             // index into entries() or -1
  };
  struct Directory {
    uint64_t treeOffset = 0;
    uint16_t namedCount = 0;
    uint16_t idCount = 0;
    std::vector<Child> children;
  };
  const std::vector<Directory>& directories() const { return directories_; }

 private:
  friend class TableBuilder;
  const Child* Search(const Directory& directory, const ResourceId& id) const;

  std::vector<ResourceEntry> entries_;
  std::vector<Directory> directories_;
  int sectionIndex_ = -1;
};

// The same tree read without keeping it: `visit` gets every data entry in
// the order the directories list them, and a failure it returns ends the
// walk. Memory stays small whatever the tree holds.
Status WalkResourceEntries(ByteSource& file, const PeImage& image,
                           const std::function<Status(const ResourceEntry&)>& visit);

// Reads the bytes of one entry.
Result<std::vector<uint8_t>> ReadEntryData(ByteSource& file, const ResourceEntry& entry);

// Opens a file and reads its headers and resource table in one call.
struct ResourceFile {
  PeImage image;
  ResourceTable table;
};
Result<ResourceFile> ReadResourceFile(ByteSource& file);

}  // namespace vexmar::resources

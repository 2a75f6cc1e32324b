#include "platform/resources/resource_table.h"

#include <algorithm>
#include <functional>
#include <unordered_set>

#include "platform/resources/upper_case.h"

namespace vexmar::resources {

namespace {

using resource_directory_entry::kHighBit;
constexpr size_t kMaxDepth = 3;
// Directory entries the reader follows in one tree. A book holds at most
// 32,767 files (two entries each), a program a few hundred resources; the
// bound keeps the time and memory of a hostile tree, whose overlapping
// directories could otherwise list billions of entries, small.
constexpr uint64_t kMaxTreeEntries = uint64_t{1} << 18;

}  // namespace

// What the parser hands on: the table keeps everything, a walk only the
// data entries.
class TreeListener {
 public:
  virtual ~TreeListener() = default;
  // Returns the index later children refer to, or -1.
  virtual int AddDirectory(const ResourceTable::Directory& header) = 0;
  virtual void AddChild(int directory, ResourceTable::Child child) = 0;
  virtual Result<int> AddEntry(ResourceEntry entry) = 0;
};

// Walks the tree once, depth first, reporting every directory and every data
// entry to the listener.
class TreeParser {
 public:
  TreeParser(ByteSource& file, const PeImage& image, TreeListener& listener)
      : file_(file), image_(image), listener_(listener) {}

  Status Parse(uint64_t tree_file_offset, uint64_t tree_size) {
    treeOffset_ = tree_file_offset;
    treeSize_ = tree_size;
    auto root = ParseDirectory(0, 1, {});
    if (!root) return root.error();
    return {};
  }

 private:
  struct Path {
    ResourceId type;
    ResourceId name;
  };

  Status ReadTree(uint64_t offset, void* out, size_t length) {
    if (offset > treeSize_ || length > treeSize_ - offset) {
      return Fail("the resource tree points outside its section (offset " + std::to_string(offset) +
                  ")");
    }
    return file_.Read(treeOffset_ + offset, out, length);
  }

  Result<ResourceId> ReadName(uint32_t offset) {
    using resource_string::kLengthSize;
    using resource_string::kUnitSize;
    uint8_t length_bytes[kLengthSize];
    if (auto status = ReadTree(offset, length_bytes, kLengthSize); !status) {
      return status.error();
    }
    const size_t length = length_bytes[0] | (size_t{length_bytes[1]} << 8);
    if (uint64_t{offset} + kLengthSize + kUnitSize * uint64_t{length} > treeSize_) {
      return Fail("a resource name is longer than its section");
    }
    std::vector<uint8_t> bytes(kUnitSize * length);
    if (auto status = ReadTree(uint64_t{offset} + kLengthSize, bytes.data(), bytes.size());
        !status) {
      return status.error();
    }
    std::u16string name(length, u'\0');
    for (size_t i = 0; i < length; ++i) {
      name[i] = static_cast<char16_t>(bytes[kUnitSize * i] | (bytes[kUnitSize * i + 1] << 8));
    }
    return ResourceId::Stored(std::move(name));
  }

  // Returns the listener's index of the directory.
  Result<int> ParseDirectory(uint64_t offset, size_t depth, const Path& path) {
    if (!visited_.insert(offset).second) {
      return Fail("the resource tree loops (a directory is reached twice)");
    }
    uint8_t header[resource_directory::kSize];
    if (auto status = ReadTree(offset, header, sizeof header); !status) {
      return status.error();
    }
    ResourceTable::Directory directory;
    directory.treeOffset = offset;
    const ByteView header_view(header, sizeof header);
    if (!header_view.U16(resource_directory::kNumberOfNamedEntries, directory.namedCount) ||
        !header_view.U16(resource_directory::kNumberOfIdEntries, directory.idCount)) {
      return Fail("a resource directory header is cut short");
    }
    const uint64_t count = uint64_t{directory.namedCount} + directory.idCount;
    const uint64_t entries_at = offset + resource_directory::kSize;
    if (entries_at + resource_directory_entry::kSize * count > treeSize_) {
      return Fail("a resource directory has more entries than its section holds");
    }
    entriesSeen_ += count;
    if (entriesSeen_ > kMaxTreeEntries) {
      return Fail("the resource tree has more than " + std::to_string(kMaxTreeEntries) +
                  " entries");
    }
    std::vector<uint8_t> raw(static_cast<size_t>(resource_directory_entry::kSize * count));
    if (auto status = ReadTree(entries_at, raw.data(), raw.size()); !status) {
      return status.error();
    }
    const int index = listener_.AddDirectory(directory);
    const ByteView entries(raw);
    for (uint64_t i = 0; i < count; ++i) {
      const uint64_t at = resource_directory_entry::kSize * i;
      uint32_t name_field = 0;
      uint32_t target = 0;
      if (!entries.U32(at + resource_directory_entry::kName, name_field) ||
          !entries.U32(at + resource_directory_entry::kOffsetToData, target)) {
        return Fail("a resource directory entry is cut short");
      }
      ResourceTable::Child child;
      child.storedAsName = (name_field & kHighBit) != 0;
      if (child.storedAsName) {
        auto name = ReadName(name_field & ~kHighBit);
        if (!name) {
          return name.error();
        }
        child.id = std::move(name.value());
      } else {
        child.id = ResourceId::StoredNumber(static_cast<uint16_t>(name_field & 0xFFFF));
      }
      const bool is_directory = (target & kHighBit) != 0;
      if (is_directory != (depth < kMaxDepth)) {
        return Fail(is_directory ? "the resource tree is deeper than type, name and language"
                                 : "the resource tree has data above the language level");
      }
      if (depth == kMaxDepth && child.storedAsName) {
        return Fail("the resource tree has a language given as a name");
      }
      if (is_directory) {
        const Path next = depth == 1 ? Path{child.id, {}} : Path{path.type, child.id};
        auto below = ParseDirectory(target & ~kHighBit, depth + 1, next);
        if (!below) {
          return below.error();
        }
        child.directory = below.value();
      } else {
        auto entry = ParseDataEntry(target, path, child.id.number());
        if (!entry) {
          return entry.error();
        }
        auto added = listener_.AddEntry(std::move(entry.value()));
        if (!added) {
          return added.error();
        }
        child.entry = added.value();
      }
      listener_.AddChild(index, std::move(child));
    }
    return index;
  }

  Result<ResourceEntry> ParseDataEntry(uint32_t offset, const Path& path, uint16_t language) {
    uint8_t raw[resource_data_entry::kSize];
    if (auto status = ReadTree(offset, raw, sizeof raw); !status) {
      return status.error();
    }
    ResourceEntry entry;
    entry.type = path.type;
    entry.name = path.name;
    entry.language = language;
    const ByteView view(raw, sizeof raw);
    if (!view.U32(resource_data_entry::kDataRva, entry.dataRva) ||
        !view.U32(resource_data_entry::kDataSize, entry.size) ||
        !view.U32(resource_data_entry::kCodePage, entry.codePage)) {
      return Fail("a resource data entry is cut short");
    }
    // The data may legally lie in any section, not only the resource one.
    auto file_offset = image_.RvaToFileOffset(entry.dataRva, entry.size);
    if (!file_offset) {
      return Fail("a resource data entry (" + entry.type.ToDisplay() + "/" +
                  entry.name.ToDisplay() +
                  ") points outside the image: " + file_offset.error().reason);
    }
    entry.fileOffset = file_offset.value();
    return entry;
  }

  ByteSource& file_;
  const PeImage& image_;
  TreeListener& listener_;
  uint64_t treeOffset_ = 0;
  uint64_t treeSize_ = 0;
  uint64_t entriesSeen_ = 0;
  std::unordered_set<uint64_t> visited_;
};

namespace {

// Finds the tree that DataDirectory[2] points to and parses it; -1 as the
// section when the image has none.
Status ParseTree(ByteSource& file, const PeImage& image, TreeListener& listener,
                 int& section_index) {
  section_index = -1;
  const DataDirectory directory = image.Directory(kResourceDirectory);
  if (directory.rva == 0 && directory.size == 0) {
    return {};
  }
  section_index = image.SectionIndexForRva(directory.rva);
  if (section_index < 0) {
    return Fail("the resource directory lies in no section");
  }
  // The tree is bounded by its section's file data, not by the directory
  // size, which linkers do not always get right.
  const SectionHeader& section = image.sections[static_cast<size_t>(section_index)];
  const uint64_t start = directory.rva - section.virtualAddress;
  const uint64_t raw = std::min<uint64_t>(section.rawSize, section.MappedSize());
  if (start >= raw) {
    return Fail("the resource directory lies outside its section's file data");
  }
  TreeParser parser(file, image, listener);
  return parser.Parse(uint64_t{section.rawPointer} + start, raw - start);
}

// Hands each data entry on as it is found and keeps nothing.
class EntryWalker final : public TreeListener {
 public:
  explicit EntryWalker(const std::function<Status(const ResourceEntry&)>& visit) : visit_(visit) {}
  int AddDirectory(const ResourceTable::Directory&) override { return -1; }
  void AddChild(int, ResourceTable::Child) override {}
  Result<int> AddEntry(ResourceEntry entry) override {
    if (auto status = visit_(entry); !status) return status.error();
    return -1;
  }

 private:
  const std::function<Status(const ResourceEntry&)>& visit_;
};

}  // namespace

// Keeps every directory and entry.
class TableBuilder final : public TreeListener {
 public:
  explicit TableBuilder(ResourceTable& table) : table_(table) {}
  int AddDirectory(const ResourceTable::Directory& header) override {
    table_.directories_.push_back(header);
    return static_cast<int>(table_.directories_.size() - 1);
  }
  void AddChild(int directory, ResourceTable::Child child) override {
    table_.directories_[static_cast<size_t>(directory)].children.push_back(std::move(child));
  }
  Result<int> AddEntry(ResourceEntry entry) override {
    table_.entries_.push_back(std::move(entry));
    return static_cast<int>(table_.entries_.size() - 1);
  }

 private:
  ResourceTable& table_;
};

Result<ResourceTable> ResourceTable::Read(ByteSource& file, const PeImage& image) {
  ResourceTable table;
  TableBuilder builder(table);
  if (auto status = ParseTree(file, image, builder, table.sectionIndex_); !status) {
    return status.error();
  }
  return table;
}

Status WalkResourceEntries(ByteSource& file, const PeImage& image,
                           const std::function<Status(const ResourceEntry&)>& visit) {
  EntryWalker walker(visit);
  int section_index = -1;
  return ParseTree(file, image, walker, section_index);
}

const ResourceTable::Child* ResourceTable::Search(const Directory& directory,
                                                  const ResourceId& id) const {
  // The loader searches the named range and the ID range separately, each
  // by bisection, trusting the counts; so does this.
  size_t low = id.is_number() ? directory.namedCount : 0;
  size_t high =
      id.is_number() ? size_t{directory.namedCount} + directory.idCount : directory.namedCount;
  high = std::min(high, directory.children.size());
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    const ResourceId& candidate = directory.children[middle].id;
    if (candidate == id) {
      return &directory.children[middle];
    }
    if (candidate.is_number() != id.is_number()) {
      return nullptr;
    }
    if (candidate < id) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return nullptr;
}

Result<ResourceEntry> ResourceTable::Find(const ResourceId& type, const ResourceId& name,
                                          uint16_t language) const {
  auto normalised = [](const ResourceId& id) {
    return id.is_number() ? id : ResourceId::Stored(UpperCaseName(id.name()));
  };
  if (directories_.empty()) {
    return Fail("the file has no resources");
  }
  const Child* type_child = Search(directories_[0], normalised(type));
  if (type_child == nullptr || type_child->directory < 0) {
    return Fail("resource type " + type.ToDisplay() + " not found");
  }
  const Directory& names = directories_[static_cast<size_t>(type_child->directory)];
  const Child* name_child = Search(names, normalised(name));
  if (name_child == nullptr || name_child->directory < 0) {
    return Fail("resource " + type.ToDisplay() + "/" + name.ToDisplay() + " not found");
  }
  const Directory& languages = directories_[static_cast<size_t>(name_child->directory)];
  const uint16_t primary = language & 0x3FF;
  std::vector<uint16_t> wanted = {language, static_cast<uint16_t>(primary), 0};
  if (primary == 0) {
    wanted.push_back(0x0409);
  }
  for (uint16_t candidate : wanted) {
    const Child* found = Search(languages, ResourceId::StoredNumber(candidate));
    if (found != nullptr && found->entry >= 0) {
      return entries_[static_cast<size_t>(found->entry)];
    }
  }
  if (primary == 0 && !languages.children.empty() && languages.children[0].entry >= 0) {
    return entries_[static_cast<size_t>(languages.children[0].entry)];
  }
  return Fail("resource " + type.ToDisplay() + "/" + name.ToDisplay() + " has no language " +
              std::to_string(language));
}

Result<std::vector<uint8_t>> ReadEntryData(ByteSource& file, const ResourceEntry& entry) {
  return ReadBytes(file, entry.fileOffset, entry.size);
}

Result<ResourceFile> ReadResourceFile(ByteSource& file) {
  auto image = ReadPeImage(file);
  if (!image) {
    return image.error();
  }
  auto table = ResourceTable::Read(file, image.value());
  if (!table) {
    return table.error();
  }
  return ResourceFile{std::move(image.value()), std::move(table.value())};
}

}  // namespace vexmar::resources

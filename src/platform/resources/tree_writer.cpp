#include "platform/resources/tree_writer.h"

#include "platform/resources/byte_io.h"
#include "platform/resources/pe_image.h"

namespace vexmar::resources {
namespace {

using resource_directory_entry::kHighBit;
constexpr uint64_t kDataAlignment = 8;
constexpr uint64_t kDataEntryAlignment = 4;
constexpr size_t kMaxEntriesPerDirectory = 0xFFFF;
// Windows and Wine write version 4.0; Characteristics and TimeDateStamp
// stay 0 so the output is reproducible.
constexpr uint16_t kDirectoryMajorVersion = 4;

// The named and the numbered entries of a directory are counted in 16 bits
// each.
bool FitsDirectory(size_t named, size_t numbered) {
  return named <= kMaxEntriesPerDirectory && numbered <= kMaxEntriesPerDirectory;
}

struct NameGroup {
  const ResourceId* name;
  std::vector<EntrySet::const_iterator> languages;
};
struct TypeGroup {
  const ResourceId* type;
  std::vector<NameGroup> names;
};

std::vector<TypeGroup> Group(const EntrySet& entries) {
  std::vector<TypeGroup> types;
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    if (types.empty() || *types.back().type != it->first.type) {
      types.push_back({&it->first.type, {}});
    }
    auto& names = types.back().names;
    if (names.empty() || *names.back().name != it->first.name) {
      names.push_back({&it->first.name, {}});
    }
    names.back().languages.push_back(it);
  }
  return types;
}

size_t CountNamed(const std::vector<TypeGroup>& types) {
  size_t named = 0;
  for (const TypeGroup& type : types) named += type.type->is_number() ? 0u : 1u;
  return named;
}

size_t CountNamed(const std::vector<NameGroup>& names) {
  size_t named = 0;
  for (const NameGroup& name : names) named += name.name->is_number() ? 0u : 1u;
  return named;
}

// Step 1: every directory can count its entries.
Status CheckCounts(const std::vector<TypeGroup>& types) {
  for (const TypeGroup& type : types) {
    for (const NameGroup& name : type.names) {
      if (!FitsDirectory(0, name.languages.size())) {
        return Fail("too many languages for resource " + name.name->ToDisplay());
      }
    }
    const size_t named = CountNamed(type.names);
    if (!FitsDirectory(named, type.names.size() - named)) {
      return Fail("too many resources of type " + type.type->ToDisplay());
    }
  }
  const size_t named = CountNamed(types);
  if (!FitsDirectory(named, types.size() - named)) {
    return Fail("too many resource types");
  }
  return {};
}

// Where the metadata goes, from the start of the section: the root, then
// the type directories, the name directories, the strings and the data
// entries.
struct MetadataPlaces {
  std::vector<uint64_t> typeDirectories;
  std::vector<uint64_t> nameDirectories;  // in walk order
  std::vector<uint64_t> strings;          // one per named type and name, in walk order
  uint64_t dataEntries = 0;
  uint64_t end = 0;
};

uint64_t DirectorySize(size_t entries) {
  return resource_directory::kSize + resource_directory_entry::kSize * uint64_t{entries};
}

// Step 2: the size and place of everything before the data.
MetadataPlaces PlaceMetadata(const std::vector<TypeGroup>& types, size_t entry_count) {
  MetadataPlaces places;
  uint64_t position = DirectorySize(types.size());
  for (const TypeGroup& type : types) {
    places.typeDirectories.push_back(position);
    position += DirectorySize(type.names.size());
  }
  for (const TypeGroup& type : types) {
    for (const NameGroup& name : type.names) {
      places.nameDirectories.push_back(position);
      position += DirectorySize(name.languages.size());
    }
  }
  auto add_string = [&](const ResourceId& id) {
    if (!id.is_number()) {
      places.strings.push_back(position);
      position +=
          resource_string::kLengthSize + resource_string::kUnitSize * uint64_t{id.name().size()};
    }
  };
  for (const TypeGroup& type : types) {
    add_string(*type.type);
    for (const NameGroup& name : type.names) add_string(*name.name);
  }
  places.dataEntries = AlignUp(position, kDataEntryAlignment);
  places.end = places.dataEntries + resource_data_entry::kSize * uint64_t{entry_count};
  return places;
}

// Step 2, continued: the data follows the metadata, each blob aligned.
Status PlaceData(const EntrySet& entries, uint32_t section_rva, TreeLayout& layout) {
  uint64_t position = layout.metadata.size();
  for (const auto& entry : entries) {
    position = AlignUp(position, kDataAlignment);
    if (entry.second.data.size() > 0xFFFFFFFFull) {
      return Fail("resource " + entry.first.name.ToDisplay() + " is larger than 4 GiB");
    }
    layout.blobs.push_back({position, &entry.second});
    position += entry.second.data.size();
  }
  if (!layout.blobs.empty() && layout.blobs.back().offset == position) {
    // An empty last entry would point just past the section; one byte of
    // fill keeps its RVA inside, for readers that check that strictly.
    ++position;
  }
  layout.size = position;
  if (uint64_t{section_rva} + AlignUp(layout.size, 0x1000) > 0xFFFFFFFFull) {
    return Fail("the image would exceed 4 GiB");
  }
  return {};
}

// Step 3: fills in the directories, strings and data entries. The offsets
// were checked to lie below 2 GiB before the metadata was made.
class TableWriter {
 public:
  TableWriter(const MetadataPlaces& places, uint32_t section_rva, TreeLayout& layout)
      : places_(places), sectionRva_(section_rva), layout_(layout), out_(layout.metadata) {}

  void Write(const std::vector<TypeGroup>& types) {
    const size_t named_types = CountNamed(types);
    WriteDirectoryHeader(0, named_types, types.size() - named_types);
    for (size_t t = 0; t < types.size(); ++t) {
      const TypeGroup& type = types[t];
      const uint64_t type_at = places_.typeDirectories[t];
      WriteDirectoryEntry(0, t, NameField(*type.type), kHighBit | Offset32(type_at));
      const size_t named_names = CountNamed(type.names);
      WriteDirectoryHeader(type_at, named_names, type.names.size() - named_names);
      for (size_t n = 0; n < type.names.size(); ++n) {
        const NameGroup& name = type.names[n];
        const uint64_t name_at = places_.nameDirectories[nameDirectory_++];
        WriteDirectoryEntry(type_at, n, NameField(*name.name), kHighBit | Offset32(name_at));
        WriteLanguages(name, name_at);
      }
    }
  }

 private:
  void WriteLanguages(const NameGroup& name, uint64_t name_at) {
    WriteDirectoryHeader(name_at, 0, name.languages.size());
    for (size_t l = 0; l < name.languages.size(); ++l, ++leaf_) {
      const uint64_t entry_at = places_.dataEntries + resource_data_entry::kSize * leaf_;
      WriteDirectoryEntry(name_at, l, name.languages[l]->first.language, Offset32(entry_at));
      const TreeLayout::Blob& blob = layout_.blobs[leaf_];
      StoreU32(At(entry_at + resource_data_entry::kDataRva),
               static_cast<uint32_t>(sectionRva_ + blob.offset));
      StoreU32(At(entry_at + resource_data_entry::kDataSize),
               static_cast<uint32_t>(blob.value->data.size()));
      StoreU32(At(entry_at + resource_data_entry::kCodePage), blob.value->codePage);
    }
  }

  // A number, or the offset of the name's string, written at its next place.
  uint32_t NameField(const ResourceId& id) {
    if (id.is_number()) {
      return id.number();
    }
    const uint64_t at = places_.strings[string_++];
    StoreU16(At(at), static_cast<uint16_t>(id.name().size()));
    for (size_t i = 0; i < id.name().size(); ++i) {
      StoreU16(At(at + resource_string::kLengthSize + resource_string::kUnitSize * i),
               static_cast<uint16_t>(id.name()[i]));
    }
    return kHighBit | Offset32(at);
  }

  void WriteDirectoryHeader(uint64_t at, size_t named, size_t numbered) {
    StoreU16(At(at + resource_directory::kMajorVersion), kDirectoryMajorVersion);
    StoreU16(At(at + resource_directory::kNumberOfNamedEntries), static_cast<uint16_t>(named));
    StoreU16(At(at + resource_directory::kNumberOfIdEntries), static_cast<uint16_t>(numbered));
  }

  void WriteDirectoryEntry(uint64_t directory_at, size_t index, uint32_t name, uint32_t target) {
    const uint64_t at = directory_at + DirectorySize(index);
    StoreU32(At(at + resource_directory_entry::kName), name);
    StoreU32(At(at + resource_directory_entry::kOffsetToData), target);
  }

  uint8_t* At(uint64_t offset) { return &out_[static_cast<size_t>(offset)]; }
  static uint32_t Offset32(uint64_t offset) { return static_cast<uint32_t>(offset); }

  const MetadataPlaces& places_;
  const uint32_t sectionRva_;
  const TreeLayout& layout_;
  std::vector<uint8_t>& out_;
  size_t string_ = 0;
  size_t nameDirectory_ = 0;
  size_t leaf_ = 0;
};

}  // namespace

Result<TreeLayout> LayOutTree(const EntrySet& entries, uint32_t section_rva) {
  const std::vector<TypeGroup> types = Group(entries);
  if (auto counted = CheckCounts(types); !counted) {
    return counted.error();
  }
  const MetadataPlaces places = PlaceMetadata(types, entries.size());
  if (places.end >= kHighBit) {
    return Fail("the resource directories would not fit in 2 GiB");
  }
  TreeLayout layout;
  layout.metadata.assign(static_cast<size_t>(places.end), 0);
  if (auto placed = PlaceData(entries, section_rva, layout); !placed) {
    return placed.error();
  }
  TableWriter(places, section_rva, layout).Write(types);
  return layout;
}

}  // namespace vexmar::resources

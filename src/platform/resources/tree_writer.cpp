#include "platform/resources/tree_writer.h"

#include "platform/resources/byte_io.h"
#include "platform/resources/pe_image.h"

namespace vexmar::resources {
namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint64_t kDataAlignment = 8;
constexpr size_t kMaxEntriesPerDirectory = 0xFFFF;

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

size_t CountNamed(const std::vector<const ResourceId*>& ids) {
  size_t named = 0;
  for (const ResourceId* id : ids) {
    named += id->is_number() ? 0u : 1u;
  }
  return named;
}

// Offsets into the metadata are below 2 GiB (checked before it is built).
uint8_t* At(std::vector<uint8_t>& out, uint64_t offset) {
  return &out[static_cast<size_t>(offset)];
}

void WriteDirectoryHeader(std::vector<uint8_t>& out, uint64_t at, size_t named, size_t numbered) {
  // Characteristics and TimeDateStamp stay 0 so the output is reproducible;
  // version 4.0 is what Windows and Wine write.
  StoreU16(At(out, at + 8), 4);
  StoreU16(At(out, at + 12), static_cast<uint16_t>(named));
  StoreU16(At(out, at + 14), static_cast<uint16_t>(numbered));
}

}  // namespace

Result<TreeLayout> LayOutTree(const EntrySet& entries, uint32_t section_rva) {
  const std::vector<TypeGroup> types = Group(entries);
  size_t named_types = 0;
  for (const TypeGroup& type : types) {
    named_types += type.type->is_number() ? 0u : 1u;
    size_t named_names = 0;
    for (const NameGroup& name : type.names) {
      named_names += name.name->is_number() ? 0u : 1u;
      if (!FitsDirectory(0, name.languages.size())) {
        return Fail("too many languages for resource " + name.name->ToDisplay());
      }
    }
    if (!FitsDirectory(named_names, type.names.size() - named_names)) {
      return Fail("too many resources of type " + type.type->ToDisplay());
    }
  }
  if (!FitsDirectory(named_types, types.size() - named_types)) {
    return Fail("too many resource types");
  }
  // Pass 1: offsets of every directory, string and data entry.
  uint64_t position = 16 + 8 * uint64_t{types.size()};
  std::vector<uint64_t> type_directories;
  std::vector<uint64_t> name_directories;
  for (const TypeGroup& type : types) {
    type_directories.push_back(position);
    position += 16 + 8 * uint64_t{type.names.size()};
  }
  for (const TypeGroup& type : types) {
    for (const NameGroup& name : type.names) {
      name_directories.push_back(position);
      position += 16 + 8 * uint64_t{name.languages.size()};
    }
  }
  std::vector<uint64_t> strings;  // one per named type and named name, in walk order
  auto add_string = [&](const ResourceId& id) {
    if (!id.is_number()) {
      strings.push_back(position);
      position += 2 + 2 * uint64_t{id.name().size()};
    }
  };
  for (const TypeGroup& type : types) {
    add_string(*type.type);
    for (const NameGroup& name : type.names) {
      add_string(*name.name);
    }
  }
  position = AlignUp(position, 4);
  const uint64_t data_entries = position;
  position += 16 * uint64_t{entries.size()};
  if (position >= kHighBit) {
    return Fail("the resource directories would not fit in 2 GiB");
  }
  TreeLayout layout;
  layout.metadata.assign(static_cast<size_t>(position), 0);
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

  // Pass 2: fill in the tables.
  std::vector<uint8_t>& out = layout.metadata;
  size_t string_index = 0;
  auto name_field = [&](const ResourceId& id) -> uint32_t {
    if (id.is_number()) {
      return id.number();
    }
    const uint64_t at = strings[string_index++];
    StoreU16(At(out, at), static_cast<uint16_t>(id.name().size()));
    for (size_t i = 0; i < id.name().size(); ++i) {
      StoreU16(At(out, at + 2 + 2 * i), static_cast<uint16_t>(id.name()[i]));
    }
    return kHighBit | static_cast<uint32_t>(at);
  };
  std::vector<const ResourceId*> type_ids;
  for (const TypeGroup& type : types) {
    type_ids.push_back(type.type);
  }
  WriteDirectoryHeader(out, 0, CountNamed(type_ids), types.size() - CountNamed(type_ids));
  size_t name_directory_index = 0;
  size_t leaf = 0;
  for (size_t t = 0; t < types.size(); ++t) {
    const TypeGroup& type = types[t];
    StoreU32(At(out, 16 + 8 * t), name_field(*type.type));
    StoreU32(At(out, 16 + 8 * t + 4), kHighBit | static_cast<uint32_t>(type_directories[t]));
    std::vector<const ResourceId*> name_ids;
    for (const NameGroup& name : type.names) {
      name_ids.push_back(name.name);
    }
    const uint64_t type_at = type_directories[t];
    WriteDirectoryHeader(out, type_at, CountNamed(name_ids),
                         name_ids.size() - CountNamed(name_ids));
    for (size_t n = 0; n < type.names.size(); ++n) {
      const NameGroup& name = type.names[n];
      const uint64_t name_at = name_directories[name_directory_index++];
      StoreU32(At(out, type_at + 16 + 8 * n), name_field(*name.name));
      StoreU32(At(out, type_at + 16 + 8 * n + 4), kHighBit | static_cast<uint32_t>(name_at));
      WriteDirectoryHeader(out, name_at, 0, name.languages.size());
      for (size_t l = 0; l < name.languages.size(); ++l, ++leaf) {
        const uint64_t entry_at = data_entries + 16 * leaf;
        StoreU32(At(out, name_at + 16 + 8 * l), name.languages[l]->first.language);
        StoreU32(At(out, name_at + 16 + 8 * l + 4), static_cast<uint32_t>(entry_at));
        const TreeLayout::Blob& blob = layout.blobs[leaf];
        StoreU32(At(out, entry_at), static_cast<uint32_t>(section_rva + blob.offset));
        StoreU32(At(out, entry_at + 4), static_cast<uint32_t>(blob.value->data.size()));
        StoreU32(At(out, entry_at + 8), blob.value->code_page);
      }
    }
  }
  return layout;
}

}  // namespace vexmar::resources

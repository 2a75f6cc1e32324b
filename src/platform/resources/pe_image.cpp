#include "platform/resources/pe_image.h"

#include <algorithm>

namespace vexmar::resources {
namespace {

constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr size_t kMaxDirectories = 16;
// The loader refuses more; a larger count is a damaged header.
constexpr uint16_t kMaxSections = 96;

bool IsPowerOfTwo(uint32_t value) {
  return value != 0 && (value & (value - 1)) == 0;
}

}  // namespace

uint64_t AlignUp(uint64_t value, uint64_t alignment) {
  return alignment <= 1 ? value : (value + alignment - 1) / alignment * alignment;
}

std::string SectionHeader::Name() const {
  const auto end = std::find(name.begin(), name.end(), '\0');
  return std::string(name.begin(), end);
}

int PeImage::SectionIndexForRva(uint32_t rva) const {
  for (size_t i = 0; i < sections.size(); ++i) {
    const SectionHeader& section = sections[i];
    if (rva >= section.virtual_address && rva - section.virtual_address < section.MappedSize()) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

Result<uint64_t> PeImage::RvaToFileOffset(uint64_t rva, uint64_t length) const {
  for (const SectionHeader& section : sections) {
    const uint64_t start = section.virtual_address;
    // Empty data may sit right at the end of a section: nothing is read.
    const bool inside =
        length == 0 ? rva - start <= section.MappedSize() : rva - start < section.MappedSize();
    if (rva < start || !inside) {
      continue;
    }
    const uint64_t in_section = rva - start;
    const uint64_t raw = std::min<uint64_t>(section.raw_size, section.MappedSize());
    if (in_section > raw || length > raw - in_section) {
      return Fail("data at RVA " + std::to_string(rva) + " runs past the file data of section " +
                  section.Name());
    }
    return uint64_t{section.raw_pointer} + in_section;
  }
  return Fail("RVA " + std::to_string(rva) + " lies in no section");
}

uint64_t PeImage::SectionDataEnd() const {
  uint64_t end = size_of_headers;
  for (const SectionHeader& section : sections) {
    if (section.raw_size != 0) {
      end = std::max(end, section.RawEnd());
    }
  }
  return end;
}

Result<PeImage> ReadPeImage(ByteSource& file) {
  PeImage image;
  image.file_size = file.size();
  uint8_t dos[64];
  if (image.file_size < sizeof dos || !file.Read(0, dos, sizeof dos)) {
    return Fail("not a PE file: too short for a DOS header");
  }
  const ByteView dos_view(dos, sizeof dos);
  uint16_t magic = 0;
  uint32_t e_lfanew = 0;
  dos_view.U16(0, magic);
  dos_view.U32(0x3C, e_lfanew);
  if (magic != 0x5A4D) {
    return Fail("not a PE file: no MZ signature");
  }
  // Signature, file header and the first 2 bytes of the optional header.
  uint8_t nt[4 + 20 + 2];
  if (uint64_t{e_lfanew} + sizeof nt > image.file_size || !file.Read(e_lfanew, nt, sizeof nt)) {
    return Fail("not a PE file: e_lfanew points past the end of the file");
  }
  const ByteView nt_view(nt, sizeof nt);
  uint32_t signature = 0;
  uint16_t section_count = 0;
  uint16_t optional_size = 0;
  uint16_t optional_magic = 0;
  nt_view.U32(0, signature);
  nt_view.U16(4 + 2, section_count);
  nt_view.U32(4 + 8, image.pointer_to_symbol_table);
  nt_view.U32(4 + 12, image.number_of_symbols);
  nt_view.U16(4 + 16, optional_size);
  nt_view.U16(4 + 20, optional_magic);
  if (signature != 0x00004550) {
    return Fail("not a PE file: no PE signature at e_lfanew");
  }
  if (optional_magic != kPe32Magic && optional_magic != kPe32PlusMagic) {
    return Fail("not a PE file: unknown optional header magic " + std::to_string(optional_magic));
  }
  image.pe32plus = optional_magic == kPe32PlusMagic;
  image.file_header_offset = uint64_t{e_lfanew} + 4;
  image.optional_header_offset = image.file_header_offset + 20;
  const uint32_t fixed_size = image.pe32plus ? 112 : 96;
  if (optional_size < fixed_size) {
    return Fail("truncated headers: the optional header is too small");
  }
  auto optional = ReadBytes(file, image.optional_header_offset, optional_size);
  if (!optional) {
    return Fail("truncated headers: the optional header runs past the end of the file");
  }
  const ByteView opt(optional.value());
  uint32_t directory_count = 0;
  opt.U32(8, image.size_of_initialized_data);
  opt.U32(32, image.section_alignment);
  opt.U32(36, image.file_alignment);
  opt.U32(56, image.size_of_image);
  opt.U32(60, image.size_of_headers);
  opt.U32(64, image.checksum);
  opt.U32(fixed_size - 4, directory_count);
  if (!IsPowerOfTwo(image.file_alignment) || !IsPowerOfTwo(image.section_alignment) ||
      image.file_alignment > image.section_alignment) {
    return Fail("damaged headers: FileAlignment and SectionAlignment are not valid alignments");
  }
  // A missing directory entry means "absent"; entries past 16 do not exist.
  directory_count = std::min<uint32_t>(directory_count, kMaxDirectories);
  directory_count = std::min<uint32_t>(directory_count, (optional_size - fixed_size) / 8);
  for (uint32_t i = 0; i < directory_count; ++i) {
    DataDirectory directory;
    opt.U32(fixed_size + 8 * i, directory.rva);
    opt.U32(fixed_size + 8 * i + 4, directory.size);
    image.directories.push_back(directory);
  }

  if (section_count > kMaxSections) {
    return Fail("damaged headers: " + std::to_string(section_count) + " sections");
  }
  image.section_table_offset = image.optional_header_offset + optional_size;
  const uint64_t table_end = image.section_table_offset + kSectionHeaderSize * section_count;
  if (table_end > image.file_size) {
    return Fail("the section table lies outside the file");
  }
  if (table_end > image.size_of_headers) {
    return Fail("the section table lies outside SizeOfHeaders");
  }
  auto table = ReadBytes(file, image.section_table_offset, table_end - image.section_table_offset);
  if (!table) {
    return table.error();
  }
  const ByteView table_view(table.value());
  for (uint16_t i = 0; i < section_count; ++i) {
    SectionHeader section;
    const uint64_t at = kSectionHeaderSize * uint64_t{i};
    std::copy_n(table.value().begin() + static_cast<std::ptrdiff_t>(at), 8, section.name.begin());
    table_view.U32(at + 8, section.virtual_size);
    table_view.U32(at + 12, section.virtual_address);
    table_view.U32(at + 16, section.raw_size);
    table_view.U32(at + 20, section.raw_pointer);
    table_view.U32(at + 36, section.characteristics);
    if (section.raw_size != 0 && section.RawEnd() > image.file_size) {
      return Fail("truncated file: the data of section " + section.Name() +
                  " runs past the end of the file");
    }
    if (uint64_t{section.virtual_address} + section.MappedSize() > 0xFFFFFFFFull) {
      return Fail("damaged headers: section " + section.Name() + " ends past 4 GiB");
    }
    image.sections.push_back(section);
  }
  return image;
}

}  // namespace vexmar::resources

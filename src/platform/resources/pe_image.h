#pragma once
// The headers of a PE32 or PE32+ file, parsed with every offset checked
// against the file, together with the file offsets of the fields an update
// rewrites.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/resources/byte_io.h"
#include "platform/resources/result.h"

namespace vexmar::resources {

enum DirectoryIndex : size_t {
  kResourceDirectory = 2,
  kCertificateDirectory = 4,
  kRelocationDirectory = 5,
  kDebugDirectory = 6,
  kBoundImportDirectory = 11,
};

constexpr uint32_t kSectionInitializedData = 0x00000040;
constexpr uint32_t kSectionUninitializedData = 0x00000080;
constexpr uint32_t kSectionDiscardable = 0x02000000;
constexpr uint32_t kSectionRead = 0x40000000;
constexpr size_t kSectionHeaderSize = 40;

struct DataDirectory {
  uint32_t rva = 0;  // a file offset for the certificate table
  uint32_t size = 0;
};

struct SectionHeader {
  std::array<char, 8> name{};
  uint32_t virtual_size = 0;
  uint32_t virtual_address = 0;
  uint32_t raw_size = 0;
  uint32_t raw_pointer = 0;
  uint32_t characteristics = 0;

  std::string Name() const;
  // The address range the loader maps: VirtualSize, or the raw size when a
  // linker left VirtualSize 0.
  uint64_t MappedSize() const { return virtual_size != 0 ? virtual_size : raw_size; }
  uint64_t RawEnd() const { return uint64_t{raw_pointer} + raw_size; }
};

struct PeImage {
  bool pe32plus = false;
  uint64_t file_size = 0;
  uint64_t file_header_offset = 0;  // IMAGE_FILE_HEADER, after "PE\0\0"
  uint64_t optional_header_offset = 0;
  uint64_t section_table_offset = 0;
  uint32_t pointer_to_symbol_table = 0;
  uint32_t number_of_symbols = 0;
  uint32_t section_alignment = 0;
  uint32_t file_alignment = 0;
  uint32_t size_of_image = 0;
  uint32_t size_of_headers = 0;
  uint32_t size_of_initialized_data = 0;
  uint32_t checksum = 0;
  std::vector<DataDirectory> directories;  // NumberOfRvaAndSizes of them, at most 16
  std::vector<SectionHeader> sections;

  // File offsets of the fields an update may rewrite.
  uint64_t PointerToSymbolTableOffset() const { return file_header_offset + 8; }
  uint64_t SizeOfInitializedDataOffset() const { return optional_header_offset + 8; }
  uint64_t SizeOfImageOffset() const { return optional_header_offset + 56; }
  uint64_t CheckSumOffset() const { return optional_header_offset + 64; }
  uint64_t NumberOfSectionsOffset() const { return file_header_offset + 2; }
  uint64_t DirectoryOffset(size_t index) const {
    return optional_header_offset + (pe32plus ? 112 : 96) + 8 * uint64_t{index};
  }
  uint64_t SectionHeaderOffset(size_t index) const {
    return section_table_offset + kSectionHeaderSize * uint64_t{index};
  }

  DataDirectory Directory(size_t index) const {
    return index < directories.size() ? directories[index] : DataDirectory{};
  }
  // The section whose mapped range holds `rva`, or -1.
  int SectionIndexForRva(uint32_t rva) const;
  // The file offset of [rva, rva + length) when the range lies in the file
  // data of one section; a failure names what was wrong.
  Result<uint64_t> RvaToFileOffset(uint64_t rva, uint64_t length) const;
  // The end of the last section's file data; the overlay starts here.
  uint64_t SectionDataEnd() const;
};

Result<PeImage> ReadPeImage(ByteSource& file);

uint64_t AlignUp(uint64_t value, uint64_t alignment);

}  // namespace vexmar::resources

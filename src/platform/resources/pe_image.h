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

// The layout of the structures the engine reads and writes, each field as
// an offset from the start of its own structure. They are named here once,
// so the reader, the planner and the tree writer cannot disagree.
namespace dos_header {
constexpr size_t kSize = 64;
constexpr uint64_t kMagic = 0;
constexpr uint64_t kNewHeader = 0x3C;     // e_lfanew: where "PE\0\0" is
constexpr uint16_t kMagicValue = 0x5A4D;  // "MZ"
}  // namespace dos_header

namespace pe_signature {
constexpr size_t kSize = 4;
constexpr uint32_t kValue = 0x00004550;  // "PE\0\0"
}  // namespace pe_signature

namespace file_header {  // IMAGE_FILE_HEADER, right after the signature
constexpr size_t kSize = 20;
constexpr uint64_t kNumberOfSections = 2;
constexpr uint64_t kPointerToSymbolTable = 8;
constexpr uint64_t kNumberOfSymbols = 12;
constexpr uint64_t kSizeOfOptionalHeader = 16;
}  // namespace file_header

namespace optional_header {  // its first fields are the same in PE32 and PE32+
constexpr uint64_t kMagic = 0;
constexpr size_t kMagicSize = 2;
constexpr uint16_t kPe32 = 0x10B;
constexpr uint16_t kPe32Plus = 0x20B;
constexpr uint64_t kSizeOfInitializedData = 8;
constexpr uint64_t kSectionAlignment = 32;
constexpr uint64_t kFileAlignment = 36;
constexpr uint64_t kSizeOfImage = 56;
constexpr uint64_t kSizeOfHeaders = 60;
constexpr uint64_t kCheckSum = 64;
// The data directories follow the fixed part, whose last field is
// NumberOfRvaAndSizes. PE32+ holds its image base and its stack and heap
// sizes in 64 bits, which makes the fixed part 16 bytes longer.
constexpr uint64_t kDirectoriesPe32 = 96;
constexpr uint64_t kDirectoriesPe32Plus = 112;
constexpr size_t kNumberOfRvaAndSizesSize = 4;
}  // namespace optional_header

namespace data_directory {
constexpr size_t kSize = 8;
constexpr uint64_t kAddress = 0;  // an RVA; a file offset for the certificate table
constexpr uint64_t kDataSize = 4;
// Entries past 16 do not exist, whatever NumberOfRvaAndSizes says.
constexpr size_t kMaxCount = 16;
}  // namespace data_directory

namespace section_header {
constexpr size_t kSize = 40;
constexpr uint64_t kName = 0;
constexpr size_t kNameSize = 8;
constexpr uint64_t kVirtualSize = 8;
constexpr uint64_t kVirtualAddress = 12;
constexpr uint64_t kSizeOfRawData = 16;
constexpr uint64_t kPointerToRawData = 20;
constexpr uint64_t kCharacteristics = 36;
// The loader refuses more; a larger count is a damaged header.
constexpr size_t kMaxCount = 96;
}  // namespace section_header

namespace debug_directory {  // one IMAGE_DEBUG_DIRECTORY entry
constexpr size_t kSize = 28;
constexpr uint64_t kAddressOfRawData = 20;
constexpr uint64_t kPointerToRawData = 24;
}  // namespace debug_directory

namespace coff_symbol {
constexpr size_t kSize = 18;
}  // namespace coff_symbol

// The resource tree: directories, each followed by its entries; strings
// (a 16-bit length, then UTF-16 code units); data entries.
namespace resource_directory {
constexpr size_t kSize = 16;
constexpr uint64_t kMajorVersion = 8;
constexpr uint64_t kNumberOfNamedEntries = 12;
constexpr uint64_t kNumberOfIdEntries = 14;
}  // namespace resource_directory

namespace resource_directory_entry {
constexpr size_t kSize = 8;
constexpr uint64_t kName = 0;
constexpr uint64_t kOffsetToData = 4;
// Set in Name: the rest is the offset of a string. Set in OffsetToData: the
// rest is the offset of a subdirectory, not of a data entry. Offsets in the
// tree therefore stay below it.
constexpr uint32_t kHighBit = 0x80000000u;
}  // namespace resource_directory_entry

namespace resource_string {
constexpr size_t kLengthSize = 2;
constexpr size_t kUnitSize = 2;
}  // namespace resource_string

namespace resource_data_entry {
constexpr size_t kSize = 16;
constexpr uint64_t kDataRva = 0;
constexpr uint64_t kDataSize = 4;
constexpr uint64_t kCodePage = 8;
}  // namespace resource_data_entry

struct DataDirectory {
  uint32_t rva = 0;  // a file offset for the certificate table
  uint32_t size = 0;
};

struct SectionHeader {
  std::array<char, section_header::kNameSize> name{};
  uint32_t virtualSize = 0;
  uint32_t virtualAddress = 0;
  uint32_t rawSize = 0;
  uint32_t rawPointer = 0;
  uint32_t characteristics = 0;

  std::string Name() const;
  // The address range the loader maps: VirtualSize, or the raw size when a
  // linker left VirtualSize 0.
  uint64_t MappedSize() const { return virtualSize != 0 ? virtualSize : rawSize; }
  uint64_t RawEnd() const { return uint64_t{rawPointer} + rawSize; }
};

struct PeImage {
  bool pe32plus = false;
  uint64_t fileSize = 0;
  uint64_t fileHeaderOffset = 0;  // IMAGE_FILE_HEADER, after "PE\0\0"
  uint64_t optionalHeaderOffset = 0;
  uint64_t sectionTableOffset = 0;
  uint32_t pointerToSymbolTable = 0;
  uint32_t numberOfSymbols = 0;
  uint32_t sectionAlignment = 0;
  uint32_t fileAlignment = 0;
  uint32_t sizeOfImage = 0;
  uint32_t sizeOfHeaders = 0;
  uint32_t sizeOfInitializedData = 0;
  uint32_t checksum = 0;
  std::vector<DataDirectory> directories;  // NumberOfRvaAndSizes of them, at most 16
  std::vector<SectionHeader> sections;

  // File offsets of the fields an update may rewrite.
  uint64_t PointerToSymbolTableOffset() const {
    return fileHeaderOffset + file_header::kPointerToSymbolTable;
  }
  uint64_t SizeOfInitializedDataOffset() const {
    return optionalHeaderOffset + optional_header::kSizeOfInitializedData;
  }
  uint64_t SizeOfImageOffset() const {
    return optionalHeaderOffset + optional_header::kSizeOfImage;
  }
  uint64_t CheckSumOffset() const { return optionalHeaderOffset + optional_header::kCheckSum; }
  uint64_t NumberOfSectionsOffset() const {
    return fileHeaderOffset + file_header::kNumberOfSections;
  }
  // Where the data directories begin, from the start of the optional header.
  uint64_t DirectoriesStart() const {
    return pe32plus ? optional_header::kDirectoriesPe32Plus : optional_header::kDirectoriesPe32;
  }
  uint64_t DirectoryOffset(size_t index) const {
    return optionalHeaderOffset + DirectoriesStart() + data_directory::kSize * uint64_t{index};
  }
  uint64_t SectionHeaderOffset(size_t index) const {
    return sectionTableOffset + section_header::kSize * uint64_t{index};
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

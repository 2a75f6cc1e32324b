#include "platform/resources/pe_image.h"

#include <algorithm>

namespace vexmar::resources {
namespace {

bool IsPowerOfTwo(uint32_t value) {
  return value != 0 && (value & (value - 1)) == 0;
}

// Reads the fields of one header from a buffer that holds it whole; a
// field that lies outside the buffer makes the whole header unreadable.
class Fields {
 public:
  explicit Fields(ByteView view) : view_(view) {}
  Fields& U16(uint64_t offset, uint16_t& out) {
    ok_ = ok_ && view_.U16(offset, out);
    return *this;
  }
  Fields& U32(uint64_t offset, uint32_t& out) {
    ok_ = ok_ && view_.U32(offset, out);
    return *this;
  }
  bool ok() const { return ok_; }

 private:
  ByteView view_;
  bool ok_ = true;
};

// The file offset of the signature, from e_lfanew.
Result<uint32_t> ReadDosHeader(ByteSource& file) {
  uint8_t dos[dos_header::kSize];
  if (file.size() < sizeof dos || !file.Read(0, dos, sizeof dos)) {
    return Fail("not a PE file: too short for a DOS header");
  }
  uint16_t magic = 0;
  uint32_t e_lfanew = 0;
  Fields fields(ByteView(dos, sizeof dos));
  if (!fields.U16(dos_header::kMagic, magic).U32(dos_header::kNewHeader, e_lfanew).ok() ||
      magic != dos_header::kMagicValue) {
    return Fail("not a PE file: no MZ signature");
  }
  return e_lfanew;
}

// The signature, the file header and the optional header's magic; returns
// the number of sections.
Result<uint16_t> ReadFileHeader(ByteSource& file, uint32_t e_lfanew, PeImage& image) {
  uint8_t nt[pe_signature::kSize + file_header::kSize + optional_header::kMagicSize];
  if (uint64_t{e_lfanew} + sizeof nt > image.fileSize || !file.Read(e_lfanew, nt, sizeof nt)) {
    return Fail("not a PE file: e_lfanew points past the end of the file");
  }
  constexpr uint64_t kFileHeader = pe_signature::kSize;
  constexpr uint64_t kOptionalHeader = kFileHeader + file_header::kSize;
  uint32_t signature = 0;
  uint16_t section_count = 0;
  uint16_t optional_size = 0;
  uint16_t optional_magic = 0;
  Fields fields(ByteView(nt, sizeof nt));
  fields.U32(0, signature)
      .U16(kFileHeader + file_header::kNumberOfSections, section_count)
      .U32(kFileHeader + file_header::kPointerToSymbolTable, image.pointerToSymbolTable)
      .U32(kFileHeader + file_header::kNumberOfSymbols, image.numberOfSymbols)
      .U16(kFileHeader + file_header::kSizeOfOptionalHeader, optional_size)
      .U16(kOptionalHeader + optional_header::kMagic, optional_magic);
  if (!fields.ok() || signature != pe_signature::kValue) {
    return Fail("not a PE file: no PE signature at e_lfanew");
  }
  if (optional_magic != optional_header::kPe32 && optional_magic != optional_header::kPe32Plus) {
    return Fail("not a PE file: unknown optional header magic " + std::to_string(optional_magic));
  }
  image.pe32plus = optional_magic == optional_header::kPe32Plus;
  image.fileHeaderOffset = uint64_t{e_lfanew} + kFileHeader;
  image.optionalHeaderOffset = uint64_t{e_lfanew} + kOptionalHeader;
  image.sectionTableOffset = image.optionalHeaderOffset + optional_size;
  return section_count;
}

Status ReadOptionalHeader(ByteSource& file, PeImage& image) {
  const uint64_t optional_size = image.sectionTableOffset - image.optionalHeaderOffset;
  const uint64_t directories = image.DirectoriesStart();
  if (optional_size < directories) {
    return Fail("truncated headers: the optional header is too small");
  }
  auto optional = ReadBytes(file, image.optionalHeaderOffset, optional_size);
  if (!optional) {
    return Fail("truncated headers: the optional header runs past the end of the file");
  }
  uint32_t directory_count = 0;
  Fields fields{ByteView(optional.value())};
  fields.U32(optional_header::kSizeOfInitializedData, image.sizeOfInitializedData)
      .U32(optional_header::kSectionAlignment, image.sectionAlignment)
      .U32(optional_header::kFileAlignment, image.fileAlignment)
      .U32(optional_header::kSizeOfImage, image.sizeOfImage)
      .U32(optional_header::kSizeOfHeaders, image.sizeOfHeaders)
      .U32(optional_header::kCheckSum, image.checksum)
      .U32(directories - optional_header::kNumberOfRvaAndSizesSize, directory_count);
  if (!fields.ok()) {
    return Fail("truncated headers: the optional header is too small");
  }
  if (!IsPowerOfTwo(image.fileAlignment) || !IsPowerOfTwo(image.sectionAlignment) ||
      image.fileAlignment > image.sectionAlignment) {
    return Fail("damaged headers: FileAlignment and SectionAlignment are not valid alignments");
  }
  // A missing directory entry means "absent".
  const uint64_t present =
      std::min<uint64_t>({directory_count, data_directory::kMaxCount,
                          (optional_size - directories) / data_directory::kSize});
  for (uint64_t i = 0; i < present; ++i) {
    const uint64_t at = directories + data_directory::kSize * i;
    DataDirectory directory;
    fields.U32(at + data_directory::kAddress, directory.rva)
        .U32(at + data_directory::kDataSize, directory.size);
    if (!fields.ok()) {
      return Fail("truncated headers: a data directory lies outside the optional header");
    }
    image.directories.push_back(directory);
  }
  return {};
}

Status ReadSectionTable(ByteSource& file, uint16_t section_count, PeImage& image) {
  if (section_count > section_header::kMaxCount) {
    return Fail("damaged headers: " + std::to_string(section_count) + " sections");
  }
  const uint64_t table_end = image.SectionHeaderOffset(section_count);
  if (table_end > image.fileSize) {
    return Fail("the section table lies outside the file");
  }
  if (table_end > image.sizeOfHeaders) {
    return Fail("the section table lies outside SizeOfHeaders");
  }
  auto table = ReadBytes(file, image.sectionTableOffset, table_end - image.sectionTableOffset);
  if (!table) {
    return table.error();
  }
  Fields fields{ByteView(table.value())};
  for (uint16_t i = 0; i < section_count; ++i) {
    SectionHeader section;
    const uint64_t at = section_header::kSize * uint64_t{i};
    std::copy_n(table.value().begin() + static_cast<std::ptrdiff_t>(at + section_header::kName),
                section_header::kNameSize, section.name.begin());
    fields.U32(at + section_header::kVirtualSize, section.virtualSize)
        .U32(at + section_header::kVirtualAddress, section.virtualAddress)
        .U32(at + section_header::kSizeOfRawData, section.rawSize)
        .U32(at + section_header::kPointerToRawData, section.rawPointer)
        .U32(at + section_header::kCharacteristics, section.characteristics);
    if (!fields.ok()) {
      return Fail("the section table lies outside the file");
    }
    if (section.rawSize != 0 && section.RawEnd() > image.fileSize) {
      return Fail("truncated file: the data of section " + section.Name() +
                  " runs past the end of the file");
    }
    if (uint64_t{section.virtualAddress} + section.MappedSize() > 0xFFFFFFFFull) {
      return Fail("damaged headers: section " + section.Name() + " ends past 4 GiB");
    }
    image.sections.push_back(section);
  }
  return {};
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
    if (rva >= section.virtualAddress && rva - section.virtualAddress < section.MappedSize()) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

Result<uint64_t> PeImage::RvaToFileOffset(uint64_t rva, uint64_t length) const {
  for (const SectionHeader& section : sections) {
    const uint64_t start = section.virtualAddress;
    // Empty data may sit right at the end of a section: nothing is read.
    const bool inside =
        length == 0 ? rva - start <= section.MappedSize() : rva - start < section.MappedSize();
    if (rva < start || !inside) {
      continue;
    }
    const uint64_t in_section = rva - start;
    const uint64_t raw = std::min<uint64_t>(section.rawSize, section.MappedSize());
    if (in_section > raw || length > raw - in_section) {
      return Fail("data at RVA " + std::to_string(rva) + " runs past the file data of section " +
                  section.Name());
    }
    return uint64_t{section.rawPointer} + in_section;
  }
  return Fail("RVA " + std::to_string(rva) + " lies in no section");
}

uint64_t PeImage::SectionDataEnd() const {
  uint64_t end = sizeOfHeaders;
  for (const SectionHeader& section : sections) {
    if (section.rawSize != 0) {
      end = std::max(end, section.RawEnd());
    }
  }
  return end;
}

Result<PeImage> ReadPeImage(ByteSource& file) {
  PeImage image;
  image.fileSize = file.size();
  auto new_header = ReadDosHeader(file);
  if (!new_header) {
    return new_header.error();
  }
  auto section_count = ReadFileHeader(file, new_header.value(), image);
  if (!section_count) {
    return section_count.error();
  }
  if (auto status = ReadOptionalHeader(file, image); !status) {
    return status.error();
  }
  if (auto status = ReadSectionTable(file, section_count.value(), image); !status) {
    return status.error();
  }
  return image;
}

}  // namespace vexmar::resources

#include "platform/resources/validate.h"

#include <algorithm>

#include "platform/resources/pe_checksum.h"
#include "platform/resources/pe_image.h"
#include "platform/resources/resource_table.h"

namespace vexmar::resources {
namespace {

void CheckSections(const PeImage& image, std::vector<std::string>& findings) {
  std::vector<SectionHeader> by_address = image.sections;
  std::sort(by_address.begin(), by_address.end(),
            [](const auto& a, const auto& b) { return a.virtualAddress < b.virtualAddress; });
  uint64_t image_end = 0;
  for (size_t i = 0; i < by_address.size(); ++i) {
    const SectionHeader& section = by_address[i];
    const std::string name = "section " + section.Name();
    if (section.virtualAddress % image.sectionAlignment != 0) {
      findings.push_back(name + ": VirtualAddress is not a multiple of SectionAlignment");
    }
    if (section.rawSize != 0 && section.rawPointer % image.fileAlignment != 0) {
      findings.push_back(name + ": PointerToRawData is not a multiple of FileAlignment");
    }
    if (section.rawSize % image.fileAlignment != 0) {
      findings.push_back(name + ": SizeOfRawData is not a multiple of FileAlignment");
    }
    const uint64_t end =
        AlignUp(section.virtualAddress + std::max<uint64_t>(section.MappedSize(), section.rawSize),
                image.sectionAlignment);
    if (i + 1 < by_address.size() && end > by_address[i + 1].virtualAddress) {
      findings.push_back(name + " overlaps section " + by_address[i + 1].Name());
    }
    image_end = std::max(
        image_end, AlignUp(section.virtualAddress + section.MappedSize(), image.sectionAlignment));
  }
  for (size_t i = 0; i < image.sections.size(); ++i) {
    for (size_t j = i + 1; j < image.sections.size(); ++j) {
      const SectionHeader& a = image.sections[i];
      const SectionHeader& b = image.sections[j];
      if (a.rawSize != 0 && b.rawSize != 0 && a.rawPointer < b.RawEnd() &&
          b.rawPointer < a.RawEnd()) {
        findings.push_back("the file data of sections " + a.Name() + " and " + b.Name() +
                           " overlap");
      }
    }
  }
  if (image.sizeOfImage != image_end) {
    findings.push_back("SizeOfImage is " + std::to_string(image.sizeOfImage) + ", expected " +
                       std::to_string(image_end));
  }
  if (image.sizeOfHeaders % image.fileAlignment != 0) {
    findings.push_back("SizeOfHeaders is not a multiple of FileAlignment");
  }
}

void CheckDirectories(const PeImage& image, std::vector<std::string>& findings) {
  for (size_t i = 0; i < image.directories.size(); ++i) {
    const DataDirectory& directory = image.directories[i];
    if (directory.rva == 0 && directory.size == 0) {
      continue;
    }
    if (i == kCertificateDirectory) {
      if (uint64_t{directory.rva} + directory.size > image.fileSize || directory.rva % 8 != 0) {
        findings.push_back("the certificate table lies outside the file or is not 8-aligned");
      }
      continue;
    }
    if (i == kBoundImportDirectory) {
      continue;  // lives in the headers
    }
    const int section = image.SectionIndexForRva(directory.rva);
    if (section < 0) {
      findings.push_back("data directory " + std::to_string(i) + " lies in no section");
      continue;
    }
    const SectionHeader& header = image.sections[static_cast<size_t>(section)];
    if (uint64_t{directory.rva} + directory.size > header.virtualAddress + header.MappedSize()) {
      findings.push_back("data directory " + std::to_string(i) + " runs past its section");
    }
  }
  if (image.pointerToSymbolTable != 0) {
    const uint64_t strings =
        uint64_t{image.pointerToSymbolTable} + coff_symbol::kSize * uint64_t{image.numberOfSymbols};
    if (strings + 4 > image.fileSize) {
      findings.push_back("the COFF symbol or string table lies past the end of the file");
    }
  }
}

void CheckTree(const PeImage& image, const ResourceTable& table,
               std::vector<std::string>& findings) {
  if (table.section_index() >= 0 &&
      image.Directory(kResourceDirectory).rva !=
          image.sections[static_cast<size_t>(table.section_index())].virtualAddress) {
    findings.push_back("the resource root is not at the start of its section");
  }
  for (const ResourceTable::Directory& directory : table.directories()) {
    if (directory.treeOffset % 4 != 0) {
      findings.push_back("a resource directory is not 4-aligned");
    }
    for (size_t i = 0; i < directory.children.size(); ++i) {
      const ResourceTable::Child& child = directory.children[i];
      if (child.storedAsName != (i < directory.namedCount)) {
        findings.push_back("a resource directory's named and ID counts do not match its entries");
        break;
      }
      if (i > 0 && !(directory.children[i - 1].id < child.id)) {
        findings.push_back("resource directory entries are out of order at " +
                           child.id.ToDisplay());
      }
    }
  }
  for (const ResourceEntry& entry : table.entries()) {
    auto found = table.Find(entry.type, entry.name, entry.language);
    if (!found || found.value().dataRva != entry.dataRva) {
      findings.push_back("resource " + entry.type.ToDisplay() + "/" + entry.name.ToDisplay() + "/" +
                         std::to_string(entry.language) + " is not found by the loader's search");
    }
    if (entry.dataRva % 4 != 0) {
      findings.push_back("resource data of " + entry.name.ToDisplay() + " is not 4-aligned");
    }
  }
}

void CheckChecksum(ByteSource& file, const PeImage& image, std::vector<std::string>& findings) {
  if (image.checksum == 0) {
    return;
  }
  PeChecksum sum;
  std::vector<uint8_t> buffer(1 << 20);
  for (uint64_t at = 0; at < file.size(); at += buffer.size()) {
    const size_t take = static_cast<size_t>(std::min<uint64_t>(buffer.size(), file.size() - at));
    if (!file.Read(at, buffer.data(), take)) {
      findings.push_back("the file cannot be read for its checksum");
      return;
    }
    const uint64_t field = image.CheckSumOffset();
    for (uint64_t p = std::max(at, field); p < std::min(at + take, field + 4); ++p) {
      buffer[static_cast<size_t>(p - at)] = 0;
    }
    sum.Add(buffer.data(), take);
  }
  if (sum.Finish() != image.checksum) {
    findings.push_back("CheckSum is stale");
  }
}

}  // namespace

std::vector<std::string> Validate(ByteSource& file) {
  std::vector<std::string> findings;
  auto image = ReadPeImage(file);
  if (!image) {
    findings.push_back(image.error().reason);
    return findings;
  }
  auto table = ResourceTable::Read(file, image.value());
  if (!table) {
    findings.push_back(table.error().reason);
    return findings;
  }
  CheckSections(image.value(), findings);
  CheckDirectories(image.value(), findings);
  CheckTree(image.value(), table.value(), findings);
  CheckChecksum(file, image.value(), findings);
  return findings;
}

}  // namespace vexmar::resources

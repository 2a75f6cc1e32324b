#include "resource_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/resources/byte_io.h"
#include "platform/resources/pe_checksum.h"
#include "platform/resources/validate.h"

namespace vexmar::resources::testing {

bool HaveFixtures() {
  return std::filesystem::exists(std::filesystem::u8path(FixturePath("exe32.exe")));
}

std::string FixturePath(const std::string& name) {
  return std::string(VEXMAR_RESOURCE_FIXTURES) + "/" + name;
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

Bytes LoadFixture(const std::string& name) {
  Bytes bytes = ReadFileBytes(FixturePath(name));
  EXPECT_FALSE(bytes.empty()) << "fixture " << name << " is missing";
  return bytes;
}

ResourceId Id(const std::string& text) {
  if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
    return ResourceId::Number(static_cast<uint32_t>(std::stoul(text))).value();
  }
  auto id = ResourceId::FromUtf8(text);
  EXPECT_TRUE(id.ok()) << text;
  return id.ok() ? id.value() : ResourceId::StoredNumber(1);
}

Bytes ToBytes(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

std::vector<EntrySnapshot> Snapshot(const Bytes& image) {
  MemorySource source(image);
  auto file = ReadResourceFile(source);
  EXPECT_TRUE(file.ok()) << (file.ok() ? "" : file.error().reason);
  std::vector<EntrySnapshot> entries;
  if (!file.ok()) {
    return entries;
  }
  for (const ResourceEntry& entry : file.value().table.entries()) {
    auto data = ReadEntryData(source, entry);
    entries.push_back({entry.type.ToDisplay(), entry.name.ToDisplay(), entry.language,
                       entry.code_page, data.ok() ? data.value() : Bytes{}});
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return std::tie(a.type, a.name, a.language) < std::tie(b.type, b.name, b.language);
  });
  return entries;
}

std::string Describe(const std::vector<EntrySnapshot>& entries) {
  std::ostringstream out;
  for (const EntrySnapshot& entry : entries) {
    out << entry.type << "/" << entry.name << "/" << entry.language << " cp" << entry.code_page
        << " " << entry.data.size() << " bytes\n";
  }
  return out.str();
}

Bytes Apply(const Bytes& input, const std::function<void(ResourceEditor&)>& edit,
            CommitReport* report, bool keep_existing) {
  MemorySource source(input);
  auto editor = ResourceEditor::Open(source, keep_existing);
  if (!editor.ok()) {
    ADD_FAILURE() << "open: " << editor.error().reason;
    return {};
  }
  edit(editor.value());
  MemorySink sink;
  auto written = editor.value().Write(source, sink);
  if (!written.ok()) {
    ADD_FAILURE() << "write: " << written.error().reason;
    return {};
  }
  if (report != nullptr) {
    *report = written.value();
  }
  EXPECT_EQ(written.value().file_size, sink.bytes().size());
  return std::move(sink.bytes());
}

std::string ApplyError(const Bytes& input, const std::function<void(ResourceEditor&)>& edit) {
  MemorySource source(input);
  auto editor = ResourceEditor::Open(source, true);
  if (!editor.ok()) {
    return editor.error().reason;
  }
  edit(editor.value());
  MemorySink sink;
  auto written = editor.value().Write(source, sink);
  return written.ok() ? "" : written.error().reason;
}

std::vector<std::string> ValidateImage(const Bytes& image) {
  MemorySource source(image);
  return Validate(source);
}

void ExpectFindsAll(const Bytes& image, const std::vector<EntrySnapshot>& entries) {
  MemorySource source(image);
  auto file = ReadResourceFile(source);
  ASSERT_TRUE(file.ok()) << file.error().reason;
  for (const EntrySnapshot& entry : entries) {
    SCOPED_TRACE(entry.type + "/" + entry.name + "/" + std::to_string(entry.language));
    auto id_of = [](const std::string& display) {
      return display[0] == '"' ? Id(display.substr(1, display.size() - 2)) : Id(display);
    };
    auto found = file.value().table.Find(id_of(entry.type), id_of(entry.name), entry.language);
    ASSERT_TRUE(found.ok()) << found.error().reason;
    EXPECT_EQ(found.value().language, entry.language);
    auto data = ReadEntryData(source, found.value());
    ASSERT_TRUE(data.ok());
    EXPECT_EQ(data.value(), entry.data);
  }
}

Bytes Slice(const Bytes& bytes, uint64_t offset, uint64_t length) {
  const uint64_t begin = std::min<uint64_t>(offset, bytes.size());
  const uint64_t end = std::min<uint64_t>(bytes.size(), begin + length);
  return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(begin),
               bytes.begin() + static_cast<std::ptrdiff_t>(end));
}

uint32_t U32At(const Bytes& bytes, uint64_t offset) {
  uint32_t value = 0;
  EXPECT_TRUE(ByteView(bytes).U32(offset, value)) << "offset " << offset;
  return value;
}

void PutU32(Bytes& bytes, uint64_t offset, uint32_t value) {
  ASSERT_LE(offset + 4, bytes.size());
  StoreU32(&bytes[static_cast<size_t>(offset)], value);
}

void PutU16(Bytes& bytes, uint64_t offset, uint16_t value) {
  ASSERT_LE(offset + 2, bytes.size());
  StoreU16(&bytes[static_cast<size_t>(offset)], value);
}

void AddCertificate(Bytes& image, size_t blob_size) {
  MemorySource source(image);
  auto pe = ReadPeImage(source);
  ASSERT_TRUE(pe.ok());
  image.resize((image.size() + 7) / 8 * 8, 0);
  const uint64_t at = image.size();
  Bytes blob(blob_size, 0xC5);
  StoreU32(blob.data(), static_cast<uint32_t>(blob_size));
  StoreU16(blob.data() + 4, 0x0200);  // WIN_CERT_REVISION_2_0
  StoreU16(blob.data() + 6, 0x0002);  // WIN_CERT_TYPE_PKCS_SIGNED_DATA
  image.insert(image.end(), blob.begin(), blob.end());
  PutU32(image, pe.value().DirectoryOffset(kCertificateDirectory), static_cast<uint32_t>(at));
  PutU32(image, pe.value().DirectoryOffset(kCertificateDirectory) + 4,
         static_cast<uint32_t>(blob_size));
}

uint32_t SectionRva(const SyntheticImage& image, size_t index) {
  uint32_t rva = 0x1000;
  for (size_t i = 0; i < index; ++i) {
    const auto& section = image.sections[i];
    const uint32_t size =
        std::max<uint32_t>(section.virtual_size, static_cast<uint32_t>(section.data.size()));
    rva += std::max<uint32_t>(0x1000, (size + 0xFFF) / 0x1000 * 0x1000);
  }
  return rva;
}

Bytes Build(const SyntheticImage& image) {
  constexpr uint32_t kHeaders = 0x400;
  constexpr uint32_t kLfanew = 0x80;
  Bytes out(kHeaders, 0);
  out[0] = 'M';
  out[1] = 'Z';
  StoreU32(&out[0x3C], kLfanew);
  StoreU32(&out[kLfanew], 0x00004550);
  const uint32_t file_header = kLfanew + 4;
  const uint16_t optional_size = image.pe32plus ? 240 : 224;
  StoreU16(&out[file_header], image.pe32plus ? 0x8664 : 0x14C);
  StoreU16(&out[file_header + 2], static_cast<uint16_t>(image.sections.size()));
  StoreU16(&out[file_header + 16], optional_size);
  StoreU16(&out[file_header + 18], 0x0102);
  const uint32_t opt = file_header + 20;
  StoreU16(&out[opt], image.pe32plus ? 0x20B : 0x10B);
  StoreU32(&out[opt + 32], 0x1000);
  StoreU32(&out[opt + 36], 0x200);
  StoreU16(&out[opt + 40], 4);  // MajorOperatingSystemVersion
  StoreU16(&out[opt + 48], 4);  // MajorSubsystemVersion
  StoreU32(&out[opt + 60], kHeaders);
  StoreU16(&out[opt + 68], 3);  // console
  const uint32_t directories = opt + (image.pe32plus ? 112 : 96);
  StoreU32(&out[directories - 4], 16);
  for (const auto& [index, directory] : image.directories) {
    StoreU32(&out[directories + 8 * index], directory.first);
    StoreU32(&out[directories + 8 * index + 4], directory.second);
  }
  const uint32_t table = opt + optional_size;
  uint32_t initialized = 0;
  for (size_t i = 0; i < image.sections.size(); ++i) {
    const SyntheticSection& section = image.sections[i];
    const uint32_t raw_size = static_cast<uint32_t>((section.data.size() + 0x1FF) / 0x200 * 0x200);
    const uint32_t raw_pointer = static_cast<uint32_t>(out.size());
    const uint32_t at = table + 40 * static_cast<uint32_t>(i);
    std::copy_n(section.name.begin(), std::min<size_t>(8, section.name.size()), &out[at]);
    StoreU32(&out[at + 8], section.virtual_size != 0 ? section.virtual_size
                                                     : static_cast<uint32_t>(section.data.size()));
    StoreU32(&out[at + 12], SectionRva(image, i));
    StoreU32(&out[at + 16], raw_size);
    StoreU32(&out[at + 20], raw_size != 0 ? raw_pointer : 0);
    StoreU32(&out[at + 36], section.characteristics);
    if ((section.characteristics & 0x40) != 0) {
      initialized += raw_size;
    }
    out.insert(out.end(), section.data.begin(), section.data.end());
    out.resize(raw_pointer + raw_size, 0);
  }
  StoreU32(&out[opt + 8], initialized);
  StoreU32(&out[opt + 56], SectionRva(image, image.sections.size()));
  out.insert(out.end(), image.overlay.begin(), image.overlay.end());
  if (image.checksum) {
    PeChecksum sum;
    sum.Add(out.data(), out.size());
    StoreU32(&out[opt + 64], sum.Finish());
  }
  return out;
}

Bytes OneEntryTree(uint32_t rva) {
  Bytes tree(98, 0);
  auto directory = [&](size_t at, uint16_t named, uint16_t ids) {
    StoreU16(&tree[at + 8], 4);
    StoreU16(&tree[at + 12], named);
    StoreU16(&tree[at + 14], ids);
  };
  directory(0, 0, 1);
  StoreU32(&tree[16], 10);
  StoreU32(&tree[20], 0x80000000u | 24);
  directory(24, 1, 0);
  StoreU32(&tree[40], 0x80000000u | 88);
  StoreU32(&tree[44], 0x80000000u | 48);
  directory(48, 0, 1);
  StoreU32(&tree[64], 1033);
  StoreU32(&tree[68], 72);
  StoreU32(&tree[72], rva + 96);
  StoreU32(&tree[76], 2);
  StoreU16(&tree[88], 2);
  StoreU16(&tree[90], 'A');
  StoreU16(&tree[92], 'B');
  tree[96] = 'x';
  tree[97] = 'y';
  return tree;
}

}  // namespace vexmar::resources::testing

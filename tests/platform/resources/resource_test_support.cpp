#include "resource_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/resources/byte_io.h"
#include "platform/resources/pe_checksum.h"
#include "platform/resources/validate.h"

namespace vexmar::resources::testing {
namespace {
std::string FixturePath(const std::string& name) {
  return std::string(VEXMAR_RESOURCE_FIXTURES) + "/" + name;
}
}  // namespace

const std::vector<std::string> kFixtureNames = {"exe32.exe",
                                                "exe32-rsrc-last.exe",
                                                "exe32-unstripped.exe",
                                                "exe32-no-resources.exe",
                                                "lib32.dll",
                                                "exe64.exe",
                                                "lib64.dll"};

std::string FixtureTestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

bool HaveFixtures() {
  return std::filesystem::exists(std::filesystem::u8path(FixturePath("exe32.exe")));
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

Bytes ToBytes(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

Bytes Pattern(size_t size, uint32_t seed) {
  Bytes bytes(size);
  for (uint8_t& byte : bytes) {
    seed = seed * 1103515245u + 12345u;
    byte = static_cast<uint8_t>(seed >> 16);
  }
  return bytes;
}

ResourceId Id(const std::string& text) {
  if (text.size() >= 2 && text[0] == '"') {
    return ResourceId::FromUtf8(text.substr(1, text.size() - 2)).value();
  }
  if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
    return ResourceId::Number(static_cast<uint32_t>(std::stoul(text))).value();
  }
  auto id = ResourceId::FromUtf8(text);
  EXPECT_TRUE(id.ok()) << text;
  return id.ok() ? id.value() : ResourceId::StoredNumber(1);
}

void Put(ResourceEditor& editor, const std::string& type, const std::string& name,
         uint16_t language, Bytes data) {
  const Status set = editor.Set(Id(type), Id(name), language, EntryData::Bytes(std::move(data)));
  EXPECT_TRUE(set.ok()) << type << "/" << name << ": " << set.error().reason;
}

Edit PutOne(const std::string& type, const std::string& name, uint16_t language, Bytes data) {
  return [=](ResourceEditor& editor) { Put(editor, type, name, language, data); };
}

void PrintTo(const EntrySnapshot& entry, std::ostream* out) {
  *out << entry.type << "/" << entry.name << "/" << entry.language << " cp" << entry.code_page
       << " " << entry.data.size() << " bytes";
}

std::vector<EntrySnapshot> Snapshot(const Bytes& image) {
  MemorySource source(image);
  auto file = ReadResourceFile(source);
  EXPECT_TRUE(file.ok()) << file.error().reason;
  if (!file.ok()) return {};
  std::vector<EntrySnapshot> entries;
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

namespace {
// The reason an update fails, or "" with the image in `output`.
std::string Update(const Bytes& input, const Edit& edit, bool keep_existing, MemorySink& output,
                   CommitReport* report) {
  MemorySource source(input);
  auto editor = ResourceEditor::Open(source, keep_existing);
  if (!editor.ok()) return "open: " + editor.error().reason;
  if (edit) edit(editor.value());
  auto written = editor.value().Write(source, output);
  if (!written.ok()) return "write: " + written.error().reason;
  EXPECT_EQ(written.value().file_size, output.bytes().size());
  if (report != nullptr) *report = written.value();
  return "";
}
}  // namespace

Bytes Apply(const Bytes& input, const Edit& edit, CommitReport* report, bool keep_existing) {
  MemorySink sink;
  const std::string error = Update(input, edit, keep_existing, sink, report);
  if (!error.empty()) {
    ADD_FAILURE() << error;
    return {};
  }
  return std::move(sink.bytes());
}

std::string ApplyError(const Bytes& input, const Edit& edit, Bytes* output) {
  MemorySink sink;
  const std::string error = Update(input, edit, true, sink, nullptr);
  if (error.empty() && output != nullptr) *output = std::move(sink.bytes());
  return error;
}

std::vector<std::string> ValidateImage(const Bytes& image) {
  MemorySource source(image);
  return Validate(source);
}

PeImage ReadPe(const Bytes& image) {
  MemorySource source(image);
  auto pe = ReadPeImage(source);
  EXPECT_TRUE(pe.ok()) << pe.error().reason;
  return pe.ok() ? pe.value() : PeImage{};
}

void ExpectFindsAll(const Bytes& image, const std::vector<EntrySnapshot>& entries) {
  MemorySource source(image);
  auto file = ReadResourceFile(source);
  ASSERT_TRUE(file.ok()) << file.error().reason;
  for (const EntrySnapshot& entry : entries) {
    SCOPED_TRACE(entry.type + "/" + entry.name + "/" + std::to_string(entry.language));
    auto found = file.value().table.Find(Id(entry.type), Id(entry.name), entry.language);
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
  const PeImage pe = ReadPe(image);
  image.resize((image.size() + 7) / 8 * 8, 0);
  const uint64_t at = image.size();
  Bytes blob(blob_size, 0xC5);
  StoreU32(blob.data(), static_cast<uint32_t>(blob_size));
  StoreU16(blob.data() + 4, 0x0200);  // WIN_CERT_REVISION_2_0
  StoreU16(blob.data() + 6, 0x0002);  // WIN_CERT_TYPE_PKCS_SIGNED_DATA
  image.insert(image.end(), blob.begin(), blob.end());
  PutU32(image, pe.DirectoryOffset(kCertificateDirectory), static_cast<uint32_t>(at));
  PutU32(image, pe.DirectoryOffset(kCertificateDirectory) + 4, static_cast<uint32_t>(blob_size));
}

namespace {
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
}  // namespace

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

}  // namespace vexmar::resources::testing

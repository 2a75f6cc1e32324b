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

const std::vector<std::string> kFixtureNames = {"exe32.exe",
                                                "exe32-rsrc-last.exe",
                                                "exe32-unstripped.exe",
                                                "exe32-no-resources.exe",
                                                "lib32.dll",
                                                "exe64.exe",
                                                "lib64.dll"};

std::string FixtureTestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) c = isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

bool HaveFixtures() {
  return std::filesystem::exists(std::string(VEXMAR_RESOURCE_FIXTURES) + "/exe32.exe");
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(std::filesystem::u8path(path), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

Bytes LoadFixture(const std::string& name) {
  Bytes bytes = ReadFileBytes(std::string(VEXMAR_RESOURCE_FIXTURES) + "/" + name);
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
  const bool quoted = text.size() >= 2 && text[0] == '"';
  auto id = isdigit(static_cast<unsigned char>(text[0]))
                ? ResourceId::Number(static_cast<uint32_t>(std::stoul(text)))
                : ResourceId::FromUtf8(quoted ? text.substr(1, text.size() - 2) : text);
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

void PrintTo(const Entry& entry, std::ostream* out) {
  *out << entry.type << "/" << entry.name << "/" << entry.language << " cp" << entry.code_page
       << " " << entry.data.size() << " bytes";
}

std::vector<Entry> Snapshot(const Bytes& image) {
  MemorySource source(image);
  auto file = ReadResourceFile(source);
  EXPECT_TRUE(file.ok()) << file.error().reason;
  if (!file.ok()) return {};
  std::vector<Entry> entries;
  for (const ResourceEntry& entry : file.value().table.entries()) {
    auto data = ReadEntryData(source, entry);
    entries.push_back({entry.type.ToDisplay(), entry.name.ToDisplay(), entry.language,
                       data.ok() ? data.value() : Bytes{}, entry.codePage});
  }
  std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.Key() < b.Key(); });
  return entries;
}

std::string ApplyError(const Bytes& input, const Edit& edit, Bytes* output, CommitReport* report,
                       bool keep_existing) {
  MemorySource source(input);
  auto editor = ResourceEditor::Open(source, keep_existing);
  if (!editor.ok()) return "open: " + editor.error().reason;
  if (edit) edit(editor.value());
  MemorySink sink;
  auto written = editor.value().Write(source, sink);
  if (!written.ok()) return "write: " + written.error().reason;
  EXPECT_EQ(written.value().fileSize, sink.bytes().size());
  if (report != nullptr) *report = written.value();
  if (output != nullptr) *output = std::move(sink.bytes());
  return "";
}

Bytes Apply(const Bytes& input, const Edit& edit, CommitReport* report, bool keep_existing) {
  Bytes output;
  EXPECT_EQ(ApplyError(input, edit, &output, report, keep_existing), "");
  return output;
}

std::vector<std::string> ValidateImage(const Bytes& image) {
  MemorySource source(image);
  return Validate(source);
}

void PutU32(Bytes& bytes, uint64_t offset, uint32_t value) {
  ASSERT_LE(offset + 4, bytes.size());
  StoreU32(&bytes[static_cast<size_t>(offset)], value);
}

Bytes Build(const SyntheticImage& image) {
  constexpr uint32_t kHeaders = 0x400, kPe = 0x80, kOpt = kPe + 24;
  const uint32_t optional_size = image.pe32plus ? 240 : 224;
  const uint32_t directories = kOpt + (image.pe32plus ? 112 : 96);
  Bytes out(kHeaders, 0);
  const std::pair<uint32_t, uint32_t> fields[] = {
      {0, 'M' | 'Z' << 8},
      {0x3C, kPe},
      {kPe, 0x4550},  // "PE"
      {kPe + 4, (image.pe32plus ? 0x8664u : 0x14Cu) | uint32_t(image.sections.size()) << 16},
      {kPe + 20, optional_size | 0x0102u << 16},  // executable, 32-bit
      {kOpt, image.pe32plus ? 0x20B : 0x10B},
      {kOpt + 32, 0x1000},
      {kOpt + 36, 0x200},
      {kOpt + 40, 4},
      {kOpt + 48, 4},  // operating system and subsystem version 4
      {kOpt + 60, kHeaders},
      {kOpt + 68, 3},
      {directories - 4, 16}};  // console, 16 directories
  for (const auto& [at, value] : fields) PutU32(out, at, value);
  for (const auto& [index, rva, size] : image.directories) {
    PutU32(out, directories + 8 * index, rva);
    PutU32(out, directories + 8 * index + 4, size);
  }
  uint32_t initialized = 0, rva = 0x1000;
  for (size_t i = 0; i < image.sections.size(); ++i) {
    const SyntheticSection& section = image.sections[i];
    const uint32_t size = static_cast<uint32_t>(section.data.size());
    const uint32_t raw_size = (size + 0x1FF) & ~0x1FFu, raw_pointer = uint32_t(out.size());
    const uint32_t at = kOpt + optional_size + 40 * static_cast<uint32_t>(i);
    std::copy_n(section.name.begin(), std::min<size_t>(8, section.name.size()), &out[at]);
    PutU32(out, at + 8, section.virtual_size != 0 ? section.virtual_size : size);
    PutU32(out, at + 12, rva);
    PutU32(out, at + 16, raw_size);
    PutU32(out, at + 20, raw_size != 0 ? raw_pointer : 0);
    PutU32(out, at + 36, section.characteristics);
    if ((section.characteristics & 0x40) != 0) initialized += raw_size;
    out.insert(out.end(), section.data.begin(), section.data.end());
    out.resize(raw_pointer + raw_size, 0);
    rva += std::max<uint32_t>(0x1000, (std::max(section.virtual_size, size) + 0xFFF) & ~0xFFFu);
  }
  PutU32(out, kOpt + 8, initialized);
  PutU32(out, kOpt + 56, rva);  // SizeOfImage
  out.insert(out.end(), image.overlay.begin(), image.overlay.end());
  if (image.checksum) {
    PeChecksum sum;
    sum.Add(out.data(), out.size());
    PutU32(out, kOpt + 64, sum.Finish());
  }
  return out;
}

}  // namespace vexmar::resources::testing

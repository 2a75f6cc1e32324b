// Damaged and hostile files: each fault gives a readable error from the
// reader, the updater and validate, and never a read outside the buffer
// (the linux-asan preset runs these under AddressSanitizer).
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "platform/resources/resource_editor.h"
#include "platform/resources/resource_table.h"
#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

using testing::Bytes;

constexpr uint32_t kLfanew = 0x80;
constexpr uint32_t kOptionalHeader = kLfanew + 24;
constexpr uint32_t kTreeFileOffset = 0x600;  // .text at 0x400, .rsrc after it

testing::SyntheticImage OneEntryImage() {
  testing::SyntheticImage image;
  image.sections.push_back({".text", Bytes(0x10, 0xC3), 0, 0x60000020});
  image.sections.push_back({".rsrc", {}, 0, 0x40000040});
  const uint32_t rva = testing::SectionRva(image, 1);
  image.sections[1].data = testing::OneEntryTree(rva);
  image.sections[1].data.resize(128, 0);  // room for one more directory at 100
  image.directories.push_back({kResourceDirectory, {rva, 98}});
  return image;
}

struct Fault {
  const char* name;
  std::function<void(Bytes&)> damage;
  const char* reason;  // part of the expected error
};

const Fault kFaults[] = {
    {"TruncatedFile", [](Bytes& b) { b.resize(kTreeFileOffset + 50); }, "truncated file"},
    {"ShorterThanADosHeader", [](Bytes& b) { b.resize(40); }, "too short"},
    {"NoMzSignature", [](Bytes& b) { b[0] = 'X'; }, "no MZ signature"},
    {"ELfanewOutOfRange", [](Bytes& b) { testing::PutU32(b, 0x3C, 0xFFFFFFF0u); },
     "e_lfanew points past the end"},
    {"UnknownOptionalHeaderMagic", [](Bytes& b) { testing::PutU16(b, kOptionalHeader, 0x107); },
     "optional header magic"},
    {"SectionTablePastTheEnd",
     [](Bytes& b) {
       testing::PutU16(b, kLfanew + 6, 90);
       b.resize(0x800);
     },
     "section table lies outside"},
    {"SectionTablePastSizeOfHeaders",
     [](Bytes& b) { testing::PutU32(b, kOptionalHeader + 60, 0x180); }, "outside SizeOfHeaders"},
    {"ResourceDirectoryInNoSection",
     [](Bytes& b) { testing::PutU32(b, kOptionalHeader + 96 + 16, 0x90000); },
     "lies in no section"},
    {"DirectoryCountsPastItsSection",
     [](Bytes& b) { testing::PutU16(b, kTreeFileOffset + 14, 0xFFFF); }, "more entries than"},
    {"SelfReferencingDirectory",
     [](Bytes& b) { testing::PutU32(b, kTreeFileOffset + 20, 0x80000000u); }, "loops"},
    {"DirectoryPointingBackUpTheTree",
     [](Bytes& b) { testing::PutU32(b, kTreeFileOffset + 44, 0x80000000u | 24); }, "loops"},
    {"TreeDeeperThanThreeLevels",
     [](Bytes& b) { testing::PutU32(b, kTreeFileOffset + 68, 0x80000000u | 100); },
     "deeper than type, name and language"},
    {"DataAboveTheLanguageLevel", [](Bytes& b) { testing::PutU32(b, kTreeFileOffset + 20, 72); },
     "data above the language"},
    {"DirectoryOffsetOutsideTheSection",
     [](Bytes& b) { testing::PutU32(b, kTreeFileOffset + 20, 0x80000000u | 0x7FFFFFF0u); },
     "points outside its section"},
    {"DataEntryPointsOutsideTheImage",
     [](Bytes& b) { testing::PutU32(b, kTreeFileOffset + 72, 0x7FFF0000u); },
     "points outside the image"},
    {"DataEntrySizePastItsSection",
     [](Bytes& b) { testing::PutU32(b, kTreeFileOffset + 76, 0xFFFFFFF0u); },
     "points outside the image"},
    {"NameLongerThanTheSection", [](Bytes& b) { testing::PutU16(b, kTreeFileOffset + 88, 0xFFFF); },
     "longer than its section"},
};

class MalformedInput : public ::testing::TestWithParam<Fault> {};

TEST_P(MalformedInput, IsRefusedWithItsReason) {
  Bytes image = testing::Build(OneEntryImage());
  ASSERT_EQ(testing::ValidateImage(image), std::vector<std::string>{});
  GetParam().damage(image);

  MemorySource source(image);
  auto file = ReadResourceFile(source);
  ASSERT_FALSE(file.ok());
  EXPECT_NE(file.error().reason.find(GetParam().reason), std::string::npos) << file.error().reason;
  EXPECT_FALSE(ResourceEditor::Open(source, true).ok());
  const auto findings = testing::ValidateImage(image);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0], file.error().reason);
}

INSTANTIATE_TEST_SUITE_P(Faults, MalformedInput, ::testing::ValuesIn(kFaults),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(MalformedInput, TooFewDataDirectoriesMeansNoResourcesAndAClearUpdateError) {
  testing::SyntheticImage synthetic;
  synthetic.sections.push_back({".text", Bytes(0x10, 0xC3), 0, 0x60000020});
  Bytes image = testing::Build(synthetic);
  testing::PutU32(image, kOptionalHeader + 92, 2);  // NumberOfRvaAndSizes
  MemorySource source(image);
  auto file = ReadResourceFile(source);
  ASSERT_TRUE(file.ok()) << file.error().reason;
  EXPECT_TRUE(file.value().table.entries().empty());
  const std::string error = testing::ApplyError(image, [](ResourceEditor& editor) {
    ASSERT_TRUE(editor.Set(testing::Id("1"), testing::Id("1"), 0, EntryData::Bytes({1})).ok());
  });
  EXPECT_NE(error.find("NumberOfRvaAndSizes"), std::string::npos) << error;
}

// Random damage to a real executable: whatever happens must be an error or
// an output our own reader accepts with the new entry in it.
TEST(MalformedInput, RandomByteDamageNeverEscapesTheBuffer) {
  if (!testing::HaveFixtures()) {
    GTEST_SKIP() << "no mingw fixtures";
  }
  const Bytes original = testing::LoadFixture("exe32.exe");
  MemorySource original_source(original);
  const PeImage pe = ReadPeImage(original_source).value();
  const uint64_t tree =
      pe.sections[static_cast<size_t>(
                      ResourceTable::Read(original_source, pe).value().section_index())]
          .raw_pointer;
  std::mt19937 random(42);
  for (int round = 0; round < 3000; ++round) {
    Bytes image = original;
    const int damages = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < damages; ++i) {
      // Mostly the headers and the tree, where the parsing happens.
      const uint64_t region = random() % 2 == 0 ? 0 : tree;
      const uint64_t at = region + random() % 0x400;
      image[static_cast<size_t>(at)] = static_cast<uint8_t>(random());
    }
    MemorySource source(image);
    (void)testing::ValidateImage(image);
    auto editor = ResourceEditor::Open(source, true);
    if (!editor.ok()) {
      continue;
    }
    ASSERT_TRUE(editor.value()
                    .Set(testing::Id("CUSTOM"), testing::Id("101"), 1033, EntryData::Bytes({7, 7}))
                    .ok());
    MemorySink sink;
    if (!editor.value().Write(source, sink).ok()) {
      continue;
    }
    MemorySource written(sink.bytes());
    auto reread = ReadResourceFile(written);
    ASSERT_TRUE(reread.ok()) << "round " << round << ": " << reread.error().reason;
    auto found = reread.value().table.Find(testing::Id("CUSTOM"), testing::Id("101"), 1033);
    ASSERT_TRUE(found.ok()) << "round " << round;
    EXPECT_EQ(ReadEntryData(written, found.value()).value(), (Bytes{7, 7}));
  }
}

}  // namespace
}  // namespace vexmar::resources

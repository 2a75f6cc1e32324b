// Damaged and hostile files: each fault gives a readable error from the
// reader, the updater and validate, and never a read outside the buffer
// (the linux-asan preset runs these under AddressSanitizer).
#include <gtest/gtest.h>

#include <random>

#include "platform/resources/byte_io.h"
#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

using testing::Bytes;

constexpr uint32_t kLfanew = 0x80;
constexpr uint32_t kOptionalHeader = kLfanew + 24;
constexpr uint32_t kTreeFileOffset = 0x600;  // .text at 0x400, .rsrc after it

// A hand-written tree of one entry, type 10 / "AB" / 1033 with the data
// "xy", for a section at `rva`. Offsets: root 0, type directory 24, language
// directory 48, data entry 72, name string 88, data 96; the faults below
// damage these fields.
Bytes OneEntryTree(uint32_t rva) {
  Bytes tree(128, 0);  // room for one more directory at 100
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

Bytes OneEntryImage() {
  return testing::Build({false,
                         {{".text", Bytes(0x10, 0xC3), 0, 0x60000020},
                          {".rsrc", OneEntryTree(0x2000), 0, 0x40000040}},
                         {{kResourceDirectory, {0x2000, 98}}}});
}

// A field overwritten with `value` (`width` bytes, none when 0), then the
// file cut to `truncate_to` bytes (when not 0).
struct Fault {
  const char* name;
  uint64_t at;
  uint32_t value;
  int width;
  const char* reason;  // part of the expected error
  size_t truncate_to = 0;
};

constexpr uint64_t kTree = kTreeFileOffset;
const Fault kFaults[] = {
    {"TruncatedFile", 0, 0, 0, "truncated file", kTree + 50},
    {"ShorterThanADosHeader", 0, 0, 0, "too short", 40},
    {"NoMzSignature", 0, 'X' | 'Z' << 8, 2, "no MZ signature"},
    {"ELfanewOutOfRange", 0x3C, 0xFFFFFFF0u, 4, "e_lfanew points past the end"},
    {"UnknownOptionalHeaderMagic", kOptionalHeader, 0x107, 2, "optional header magic"},
    {"SectionTablePastTheEnd", kLfanew + 6, 90, 2, "section table lies outside", 0x800},
    {"SectionTablePastSizeOfHeaders", kOptionalHeader + 60, 0x180, 4, "outside SizeOfHeaders"},
    {"ResourceDirectoryInNoSection", kOptionalHeader + 96 + 16, 0x90000, 4, "lies in no section"},
    {"DirectoryCountsPastItsSection", kTree + 14, 0xFFFF, 2, "more entries than"},
    {"SelfReferencingDirectory", kTree + 20, 0x80000000u, 4, "loops"},
    {"DirectoryPointingBackUpTheTree", kTree + 44, 0x80000000u | 24, 4, "loops"},
    {"TreeDeeperThanThreeLevels", kTree + 68, 0x80000000u | 100, 4,
     "deeper than type, name and language"},
    {"DataAboveTheLanguageLevel", kTree + 20, 72, 4, "data above the language"},
    {"DirectoryOffsetOutsideTheSection", kTree + 20, 0xFFFFFFF0u, 4, "points outside its section"},
    {"DataEntryPointsOutsideTheImage", kTree + 72, 0x7FFF0000u, 4, "points outside the image"},
    {"DataEntrySizePastItsSection", kTree + 76, 0xFFFFFFF0u, 4, "points outside the image"},
    {"NameLongerThanTheSection", kTree + 88, 0xFFFF, 2, "longer than its section"},
};

class MalformedInput : public ::testing::TestWithParam<Fault> {};

TEST_P(MalformedInput, IsRefusedWithItsReason) {
  Bytes image = OneEntryImage();
  ASSERT_EQ(testing::ValidateImage(image), std::vector<std::string>{});
  const Fault& fault = GetParam();
  if (fault.width == 2) testing::PutU16(image, fault.at, static_cast<uint16_t>(fault.value));
  if (fault.width == 4) testing::PutU32(image, fault.at, fault.value);
  if (fault.truncate_to != 0) image.resize(fault.truncate_to);

  MemorySource source(image);
  auto file = ReadResourceFile(source);
  ASSERT_FALSE(file.ok());
  EXPECT_NE(file.error().reason.find(fault.reason), std::string::npos) << file.error().reason;
  EXPECT_FALSE(ResourceEditor::Open(source, true).ok());
  EXPECT_EQ(testing::ValidateImage(image), std::vector<std::string>{file.error().reason});
}

INSTANTIATE_TEST_SUITE_P(Faults, MalformedInput, ::testing::ValuesIn(kFaults),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(MalformedInput, TooFewDataDirectoriesMeansNoResourcesAndAClearUpdateError) {
  Bytes image = testing::Build({false, {{".text", Bytes(0x10, 0xC3), 0, 0x60000020}}});
  testing::PutU32(image, kOptionalHeader + 92, 2);  // NumberOfRvaAndSizes
  MemorySource source(image);
  auto file = ReadResourceFile(source);
  ASSERT_TRUE(file.ok()) << file.error().reason;
  EXPECT_TRUE(file.value().table.entries().empty());
  const std::string error = testing::ApplyError(image, testing::PutOne("1", "1", 0, {1}));
  EXPECT_NE(error.find("NumberOfRvaAndSizes"), std::string::npos) << error;
}

// Random damage to a real executable: whatever happens must be an error or
// an output our own reader accepts with the new entry in it.
TEST(MalformedInput, RandomByteDamageNeverEscapesTheBuffer) {
  VEXMAR_REQUIRE_FIXTURES();
  const Bytes original = testing::LoadFixture("exe32.exe");
  const PeImage pe = testing::ReadPe(original);
  const uint64_t tree = pe.RvaToFileOffset(pe.Directory(kResourceDirectory).rva, 16).value();
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
    (void)testing::ValidateImage(image);
    Bytes output;
    if (testing::ApplyError(image, testing::PutOne("CUSTOM", "101", 1033, {7, 7}), &output) != "") {
      continue;
    }
    SCOPED_TRACE(round);
    ASSERT_NO_FATAL_FAILURE(
        testing::ExpectFindsAll(output, {{"\"CUSTOM\"", "101", 1033, 0, {7, 7}}}));
  }
}

}  // namespace
}  // namespace vexmar::resources

// Section layouts the linkers rarely produce, built by hand: the four of
// Wine's conformance test, a data section after the resources, no room for
// a new section header, and debug data that moves.
#include <gtest/gtest.h>

#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

using testing::Bytes;
using testing::Id;

constexpr uint32_t kData = 0xC0000040;
constexpr uint32_t kCode = 0x60000020;
constexpr uint32_t kRelocations = 0x42000040;
const std::vector<std::string> kSound;  // what ValidateImage reports for a sound file

// An empty but valid tree (root only) for a section.
Bytes EmptyTree() {
  Bytes tree(16, 0);
  tree[8] = 4;
  return tree;
}

struct Layout {
  const char* name;
  testing::SyntheticImage image;
  Placement small;   // where a one-entry tree goes
  Placement growth;  // and where two pages of data go after that
  bool sound_input = true;
};

std::vector<Layout> Layouts() {
  const testing::SyntheticSection text{".text", Bytes(0x20, 0xC3), 0, kCode};
  const testing::SyntheticSection rsrc{".rsrc", EmptyTree(), 0x1000, kData};
  Bytes second_half(0x810, 0);
  second_half[0x808] = 4;
  Bytes relocations(0x10, 0);
  relocations[4] = 0x10;  // one empty block of 16 bytes
  const std::pair<size_t, std::pair<uint32_t, uint32_t>> tree{kResourceDirectory, {0x2000, 16}};
  constexpr auto kInPlace = Placement::kResizedInPlace;
  constexpr auto kMoved = Placement::kFollowingMoved;
  return {
      {"ResourceSectionLast", {false, {text, rsrc}, {tree}, {}, true}, kInPlace, kInPlace},
      // Validate reports the mid-section root; the update moves it to the start.
      {"DirectoryInTheSecondHalf",
       {false, {text, {".rsrc", second_half, 0x1000, kData}}, {{kResourceDirectory, {0x2800, 16}}}},
       kInPlace,
       kInPlace,
       false},
      {"FollowedByRelocations",
       {false,
        {text, rsrc, {".reloc", relocations, 0, kRelocations}},
        {tree, {kRelocationDirectory, {0x3000, 0x10}}}},
       kMoved,
       kMoved},
      // A stale 8-byte .rsrc no directory points to; the appended section is
      // then the last one.
      {"StaleEightByteSection",
       {false, {text, {".rsrc", Bytes(8, 0), 0, kData}}},
       Placement::kNewSection,
       kInPlace},
      {"FollowedByADataSection",
       {true,
        {text, {".rsrc", EmptyTree(), 0, kData}, {".data", Bytes(0x40, 0x11), 0, kData}},
        {tree}},
       Placement::kRewrittenInSection,
       Placement::kNewSection},
  };
}

class SectionLayout : public ::testing::TestWithParam<Layout> {};

void ExpectRootAtSectionStart(const Bytes& output) {
  const PeImage image = testing::ReadPe(output);
  const DataDirectory directory = image.Directory(kResourceDirectory);
  const int section = image.SectionIndexForRva(directory.rva);
  ASSERT_GE(section, 0);
  const SectionHeader& header = image.sections[static_cast<size_t>(section)];
  EXPECT_EQ(directory.rva, header.virtual_address);
  // Characteristics 0, TimeDateStamp 0, version 4.0.
  EXPECT_EQ(testing::Slice(output, header.raw_pointer, 12),
            (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0}));
}

TEST_P(SectionLayout, EmptyThenOneEntryThenTwoPagesOfData) {
  const Bytes input = testing::Build(GetParam().image);
  if (GetParam().sound_input) {
    ASSERT_EQ(testing::ValidateImage(input), kSound);
  }
  for (const bool keep : {true, false}) {
    SCOPED_TRACE(keep ? "keeping entries" : "deleting entries");
    const Bytes output = testing::Apply(input, {}, nullptr, keep);
    EXPECT_EQ(testing::ValidateImage(output), kSound);
    EXPECT_TRUE(testing::Snapshot(output).empty());
    ExpectRootAtSectionStart(output);
  }

  CommitReport report;
  const Bytes small =
      testing::Apply(input, testing::PutOne("4656", "17767", 0xABCD, {1, 2, 3, 4}), &report);
  EXPECT_EQ(report.placement, GetParam().small) << PlacementName(report.placement);
  EXPECT_EQ(testing::ValidateImage(small), kSound);
  ExpectRootAtSectionStart(small);
  EXPECT_EQ(testing::Snapshot(small),
            (std::vector<testing::EntrySnapshot>{{"4656", "17767", 0xABCD, 0, {1, 2, 3, 4}}}));

  const Bytes large =
      testing::Apply(small, testing::PutOne("type", "name", 0, Bytes(0x2000, 0x5A)), &report);
  EXPECT_EQ(report.placement, GetParam().growth) << PlacementName(report.placement);
  EXPECT_EQ(testing::ValidateImage(large), kSound);
  ExpectRootAtSectionStart(large);
  // Lower-case names given by the caller are found in any case.
  MemorySource source(large);
  auto file = ReadResourceFile(source);
  ASSERT_TRUE(file.ok());
  EXPECT_TRUE(file.value().table.Find(Id("type"), Id("name"), 0).ok());
  EXPECT_TRUE(file.value().table.Find(Id("TYPE"), Id("Name"), 0).ok());
  EXPECT_TRUE(file.value().table.Find(Id("4656"), Id("17767"), 0xABCD).ok());
}

INSTANTIATE_TEST_SUITE_P(Layouts, SectionLayout, ::testing::ValuesIn(Layouts()),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(SectionLayoutEdges, MovedRelocationsShiftTheirDirectoryAndImageSize) {
  const Bytes input = testing::Build(Layouts()[2].image);
  const Bytes output = testing::Apply(input, testing::PutOne("10", "1", 0, Bytes(0x2000, 1)));
  const PeImage before = testing::ReadPe(input);
  const PeImage after = testing::ReadPe(output);
  // 0x2000 bytes of data and the tree need three pages instead of one.
  EXPECT_EQ(after.sections[2].virtual_address, before.sections[2].virtual_address + 0x2000);
  EXPECT_EQ(after.Directory(kRelocationDirectory).rva,
            before.Directory(kRelocationDirectory).rva + 0x2000);
  EXPECT_EQ(after.size_of_image, before.size_of_image + 0x2000);
  EXPECT_EQ(testing::Slice(output, after.sections[2].raw_pointer, 0x10),
            testing::Slice(input, before.sections[2].raw_pointer, 0x10));
}

TEST(SectionLayoutEdges, NoRoomForASectionHeaderIsAClearError) {
  Bytes input = testing::Build(Layouts()[4].image);
  // Headers end right after the section table of three.
  const PeImage image = testing::ReadPe(input);
  testing::PutU32(input, image.optional_header_offset + 60,
                  static_cast<uint32_t>(image.SectionHeaderOffset(3) + 8));
  const std::string error =
      testing::ApplyError(input, testing::PutOne("10", "1", 0, Bytes(0x3000, 1)));
  EXPECT_NE(error.find("not enough room in the headers"), std::string::npos) << error;
}

TEST(SectionLayoutEdges, DebugDataFollowsWhenItMoves) {
  // .text holds a debug directory with two entries: one whose data is
  // mapped in a discardable section after .reloc, one unmapped in the
  // overlay. Both must still point at their bytes after the growth.
  const Bytes mapped_debug(0x30, 0xDD);
  const Bytes overlay_debug(0x20, 0xEE);
  Bytes input =
      testing::Build({false,
                      {{".text", Bytes(0x100, 0), 0, kCode},
                       {".rsrc", EmptyTree(), 0, kData},
                       {".reloc", Bytes(0x10, 0), 0, kRelocations},
                       {".debug", mapped_debug, 0, 0x42000040}},
                      {{kResourceDirectory, {0x2000, 16}}, {kDebugDirectory, {0x1040, 56}}},
                      overlay_debug});
  {
    const PeImage pe = testing::ReadPe(input);
    const uint64_t entry = pe.sections[0].raw_pointer + 0x40;
    testing::PutU32(input, entry + 16, 0x30);
    testing::PutU32(input, entry + 20, pe.sections[3].virtual_address);
    testing::PutU32(input, entry + 24, pe.sections[3].raw_pointer);
    testing::PutU32(input, entry + 28 + 16, 0x20);
    testing::PutU32(input, entry + 28 + 24, static_cast<uint32_t>(pe.SectionDataEnd()));
  }
  CommitReport report;
  const Bytes output =
      testing::Apply(input, testing::PutOne("10", "1", 0, Bytes(0x5000, 1)), &report);
  ASSERT_EQ(report.placement, Placement::kFollowingMoved);
  EXPECT_EQ(testing::ValidateImage(output), kSound);
  const PeImage pe = testing::ReadPe(output);
  const uint64_t entry = pe.sections[0].raw_pointer + 0x40;
  const uint32_t mapped_rva = testing::U32At(output, entry + 20);
  EXPECT_EQ(mapped_rva, pe.sections[3].virtual_address);
  EXPECT_EQ(testing::Slice(output, pe.RvaToFileOffset(mapped_rva, 0x30).value(), 0x30),
            mapped_debug);
  EXPECT_EQ(testing::Slice(output, testing::U32At(output, entry + 24), 0x30), mapped_debug);
  EXPECT_EQ(testing::Slice(output, testing::U32At(output, entry + 28 + 24), 0x20), overlay_debug);
}

}  // namespace
}  // namespace vexmar::resources

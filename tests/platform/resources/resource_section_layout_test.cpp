// Section layouts the linkers rarely produce, built by hand: the four of
// Wine's conformance test, a data section after the resources, no room for
// a new section header, and debug data that moves.
#include <gtest/gtest.h>

#include "platform/resources/pe_image.h"
#include "platform/resources/resource_table.h"
#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

using testing::Bytes;
using testing::Id;
using testing::SyntheticImage;

constexpr uint32_t kData = 0xC0000040;
constexpr uint32_t kCode = 0x60000020;
constexpr uint32_t kRelocations = 0x42000040;

// An empty but valid tree (root only) for a section.
Bytes EmptyTree() {
  Bytes tree(16, 0);
  tree[8] = 4;
  return tree;
}

struct Layout {
  const char* name;
  SyntheticImage image;
  Placement small;   // where a one-entry tree goes
  Placement growth;  // and where two pages of data go after that
  bool sound_input = true;
};

std::vector<Layout> Layouts() {
  std::vector<Layout> layouts;
  {
    SyntheticImage image;
    image.sections = {{".text", Bytes(0x20, 0xC3), 0, kCode},
                      {".rsrc", EmptyTree(), 0x1000, kData}};
    image.directories = {{kResourceDirectory, {testing::SectionRva(image, 1), 16}}};
    image.checksum = true;
    layouts.push_back(
        {"ResourceSectionLast", image, Placement::kResizedInPlace, Placement::kResizedInPlace});
  }
  {
    // The directory in the second half of the last section.
    SyntheticImage image;
    Bytes data(0x810, 0);
    data[0x808] = 4;
    image.sections = {{".text", Bytes(0x20, 0xC3), 0, kCode}, {".rsrc", data, 0x1000, kData}};
    image.directories = {{kResourceDirectory, {testing::SectionRva(image, 1) + 0x800, 16}}};
    // Validate reports the mid-section root; the update moves it to the start.
    layouts.push_back({"DirectoryInTheSecondHalf", image, Placement::kResizedInPlace,
                       Placement::kResizedInPlace, false});
  }
  {
    SyntheticImage image;
    Bytes relocations(0x10, 0);
    relocations[4] = 0x10;  // one empty block of 16 bytes
    image.sections = {{".text", Bytes(0x20, 0xC3), 0, kCode},
                      {".rsrc", EmptyTree(), 0x1000, kData},
                      {".reloc", relocations, 0, kRelocations}};
    image.directories = {{kResourceDirectory, {testing::SectionRva(image, 1), 16}},
                         {kRelocationDirectory, {testing::SectionRva(image, 2), 0x10}}};
    layouts.push_back(
        {"FollowedByRelocations", image, Placement::kFollowingMoved, Placement::kFollowingMoved});
  }
  {
    // A stale 8-byte .rsrc that no directory points to.
    SyntheticImage image;
    image.sections = {{".text", Bytes(0x20, 0xC3), 0, kCode}, {".rsrc", Bytes(8, 0), 0, kData}};
    // The first update appends a section, which is then the last one.
    layouts.push_back(
        {"StaleEightByteSection", image, Placement::kNewSection, Placement::kResizedInPlace});
  }
  {
    SyntheticImage image;
    image.pe32plus = true;
    image.sections = {{".text", Bytes(0x20, 0xC3), 0, kCode},
                      {".rsrc", EmptyTree(), 0, kData},
                      {".data", Bytes(0x40, 0x11), 0, kData}};
    image.directories = {{kResourceDirectory, {testing::SectionRva(image, 1), 16}}};
    layouts.push_back(
        {"FollowedByADataSection", image, Placement::kRewrittenInSection, Placement::kNewSection});
  }
  return layouts;
}

class SectionLayout : public ::testing::TestWithParam<Layout> {};

void ExpectRootAtSectionStart(const Bytes& output) {
  MemorySource source(output);
  const PeImage image = ReadPeImage(source).value();
  const DataDirectory directory = image.Directory(kResourceDirectory);
  const int section = image.SectionIndexForRva(directory.rva);
  ASSERT_GE(section, 0);
  const SectionHeader& header = image.sections[static_cast<size_t>(section)];
  EXPECT_EQ(directory.rva, header.virtual_address);
  // Characteristics 0, TimeDateStamp 0, version 4.0.
  const Bytes root = testing::Slice(output, header.raw_pointer, 12);
  EXPECT_EQ(root, (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0}));
}

TEST_P(SectionLayout, EmptyUpdatesKeepTheFileSound) {
  const Bytes input = testing::Build(GetParam().image);
  if (GetParam().sound_input) {
    ASSERT_EQ(testing::ValidateImage(input), std::vector<std::string>{});
  }
  for (const bool keep : {true, false}) {
    SCOPED_TRACE(keep ? "keeping entries" : "deleting entries");
    const Bytes output = testing::Apply(
        input, [](auto&) {}, nullptr, keep);
    EXPECT_EQ(testing::ValidateImage(output), std::vector<std::string>{});
    EXPECT_TRUE(testing::Snapshot(output).empty());
    ExpectRootAtSectionStart(output);
  }
}

TEST_P(SectionLayout, OneEntryAndTwoPagesOfData) {
  const Bytes input = testing::Build(GetParam().image);
  CommitReport first;
  const Bytes small = testing::Apply(
      input,
      [](ResourceEditor& editor) {
        ASSERT_TRUE(
            editor.Set(Id("4656"), Id("17767"), 0xABCD, EntryData::Bytes({1, 2, 3, 4})).ok());
      },
      &first);
  EXPECT_EQ(first.placement, GetParam().small) << PlacementName(first.placement);
  EXPECT_EQ(testing::ValidateImage(small), std::vector<std::string>{});
  ExpectRootAtSectionStart(small);
  EXPECT_EQ(testing::Snapshot(small),
            (std::vector<testing::EntrySnapshot>{{"4656", "17767", 0xABCD, 0, {1, 2, 3, 4}}}));

  CommitReport report;
  const Bytes large = testing::Apply(
      small,
      [](ResourceEditor& editor) {
        ASSERT_TRUE(
            editor.Set(Id("type"), Id("name"), 0, EntryData::Bytes(Bytes(0x2000, 0x5A))).ok());
      },
      &report);
  EXPECT_EQ(report.placement, GetParam().growth) << PlacementName(report.placement);
  EXPECT_EQ(testing::ValidateImage(large), std::vector<std::string>{});
  ExpectRootAtSectionStart(large);
  // Lower-case names given by the caller are found lower-case too.
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
  const Layout layout = Layouts()[2];
  const Bytes input = testing::Build(layout.image);
  const Bytes output = testing::Apply(input, [](ResourceEditor& editor) {
    ASSERT_TRUE(editor.Set(Id("10"), Id("1"), 0, EntryData::Bytes(Bytes(0x2000, 1))).ok());
  });
  MemorySource in_source(input);
  MemorySource out_source(output);
  const PeImage before = ReadPeImage(in_source).value();
  const PeImage after = ReadPeImage(out_source).value();
  // 0x2000 bytes of data and the tree need three pages instead of one.
  EXPECT_EQ(after.sections[2].virtual_address, before.sections[2].virtual_address + 0x2000);
  EXPECT_EQ(after.Directory(kRelocationDirectory).rva,
            before.Directory(kRelocationDirectory).rva + 0x2000);
  EXPECT_EQ(after.size_of_image, before.size_of_image + 0x2000);
  EXPECT_EQ(testing::Slice(output, after.sections[2].raw_pointer, 0x10),
            testing::Slice(input, before.sections[2].raw_pointer, 0x10));
}

TEST(SectionLayoutEdges, SmallTreeIsRewrittenInsideASectionThatCannotMove) {
  Layout layout = Layouts()[4];
  CommitReport report;
  const Bytes output = testing::Apply(
      testing::Build(layout.image),
      [](ResourceEditor& editor) {
        ASSERT_TRUE(editor.Set(Id("10"), Id("1"), 0, EntryData::Bytes({1, 2})).ok());
      },
      &report);
  EXPECT_EQ(report.placement, Placement::kRewrittenInSection);
  EXPECT_EQ(testing::ValidateImage(output), std::vector<std::string>{});
}

TEST(SectionLayoutEdges, NoRoomForASectionHeaderIsAClearError) {
  Layout layout = Layouts()[4];
  Bytes input = testing::Build(layout.image);
  // Headers end right after the section table of three.
  MemorySource source(input);
  const PeImage image = ReadPeImage(source).value();
  testing::PutU32(input, image.optional_header_offset + 60,
                  static_cast<uint32_t>(image.SectionHeaderOffset(3) + 8));
  const std::string error = testing::ApplyError(input, [](ResourceEditor& editor) {
    ASSERT_TRUE(editor.Set(Id("10"), Id("1"), 0, EntryData::Bytes(Bytes(0x3000, 1))).ok());
  });
  EXPECT_NE(error.find("not enough room in the headers"), std::string::npos) << error;
}

TEST(SectionLayoutEdges, DebugDataFollowsWhenItMoves) {
  // .text holds a debug directory with two entries: one whose data is
  // mapped in a discardable section after .reloc, one unmapped in the
  // overlay. Both must still point at their bytes after the growth.
  SyntheticImage image;
  const Bytes mapped_debug(0x30, 0xDD);
  const Bytes overlay_debug(0x20, 0xEE);
  image.sections = {{".text", Bytes(0x100, 0), 0, kCode},
                    {".rsrc", EmptyTree(), 0, kData},
                    {".reloc", Bytes(0x10, 0), 0, kRelocations},
                    {".debug", mapped_debug, 0, 0x42000040}};
  const uint32_t text = testing::SectionRva(image, 0);
  image.directories = {{kResourceDirectory, {testing::SectionRva(image, 1), 16}},
                       {kDebugDirectory, {text + 0x40, 56}}};
  image.overlay = overlay_debug;
  Bytes input = testing::Build(image);
  {
    MemorySource source(input);
    const PeImage pe = ReadPeImage(source).value();
    const uint64_t entry = pe.sections[0].raw_pointer + 0x40;
    testing::PutU32(input, entry + 16, 0x30);
    testing::PutU32(input, entry + 20, pe.sections[3].virtual_address);
    testing::PutU32(input, entry + 24, pe.sections[3].raw_pointer);
    testing::PutU32(input, entry + 28 + 16, 0x20);
    testing::PutU32(input, entry + 28 + 24, static_cast<uint32_t>(pe.SectionDataEnd()));
  }
  CommitReport report;
  const Bytes output = testing::Apply(
      input,
      [](ResourceEditor& editor) {
        ASSERT_TRUE(editor.Set(Id("10"), Id("1"), 0, EntryData::Bytes(Bytes(0x5000, 1))).ok());
      },
      &report);
  ASSERT_EQ(report.placement, Placement::kFollowingMoved);
  EXPECT_EQ(testing::ValidateImage(output), std::vector<std::string>{});
  MemorySource source(output);
  const PeImage pe = ReadPeImage(source).value();
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

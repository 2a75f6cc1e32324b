// Updates of real mingw executables and DLLs in every section layout, and
// of hand-built layouts the linkers rarely produce: what must survive,
// where the new tree goes, and that the headers stay sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "platform/resources/byte_io.h"
#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

using namespace testing;  // NOLINT: the helpers of this suite
namespace fs = std::filesystem;
const std::vector<std::string> kSound;  // what ValidateImage reports for a sound file

PeImage ReadPe(const Bytes& image) {  // the headers, failing the test if unreadable
  MemorySource source(image);
  auto pe = ReadPeImage(source);
  EXPECT_TRUE(pe.ok()) << pe.error().reason;
  return pe.ok() ? pe.value() : PeImage{};
}

Bytes Slice(const Bytes& bytes, uint64_t offset, uint64_t length) {  // clamped to the end
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

// Appends a WIN_CERTIFICATE blob of 0xC5 bytes, 8-aligned, and points
// DataDirectory[4] at it.
void AddCertificate(Bytes& image, size_t blob_size) {
  const uint64_t directory = ReadPe(image).DirectoryOffset(kCertificateDirectory);
  image.resize((image.size() + 7) / 8 * 8, 0);
  const size_t at = image.size();
  image.resize(at + blob_size, 0xC5);
  PutU32(image, at, static_cast<uint32_t>(blob_size));
  PutU32(image, at + 4, 0x00020200);  // revision 2.0, PKCS signed data
  PutU32(image, directory, static_cast<uint32_t>(at));
  PutU32(image, directory + 4, static_cast<uint32_t>(blob_size));
}

// Every data directory but the tree and the certificate table still holds
// the bytes it held, wherever its section went.
void ExpectDirectoriesKeepTheirData(const Bytes& input, const Bytes& output) {
  const PeImage before = ReadPe(input), after = ReadPe(output);
  for (size_t i = 0; i < before.directories.size(); ++i) {
    const DataDirectory old = before.directories[i];
    if (i == kResourceDirectory || i == kCertificateDirectory || old.size == 0) continue;
    auto from = before.RvaToFileOffset(old.rva, old.size);
    auto to = after.RvaToFileOffset(after.Directory(i).rva, old.size);
    if (!from.ok()) continue;  // in the headers, as bound imports are
    ASSERT_TRUE(to.ok()) << "directory " << i;
    EXPECT_EQ(Slice(output, to.value(), old.size), Slice(input, from.value(), old.size)) << i;
  }
}

constexpr Placement kInPlace = Placement::kResizedInPlace, kMoved = Placement::kFollowingMoved,
                    kNew = Placement::kNewSection;

class EveryFixture : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryFixture, UpdatesKeepEverythingElseAndARepeatedCommitChangesNothing) {
  VEXMAR_REQUIRE_FIXTURES();
  const Bytes fixture = LoadFixture(GetParam());
  EXPECT_EQ(ValidateImage(fixture), kSound);  // our checksum against the one GNU ld wrote
  // A named entry, a replaced German one, a French one beside RCDATA 7's
  // two, a page that outgrows every fixture's section, and a thousand more.
  std::vector<Entry> changes = {{"\"CUSTOM\"", "101", 1033, ToBytes("Title:Author:index.htm")},
                                {"\"CUSTOM\"", "\"HELLO\"", 0x0407, ToBytes("neu")},
                                {"10", "7", 0x040C, ToBytes("french data")},
                                {"2110", "\"INDEX.HTM\"", 1033, Pattern(150 * 1024, 7)},
                                {"2110", "\"EMPTY.GIF\"", 1033, {}}};
  for (int i = 0; i < 1000; ++i) {
    const std::string name =
        i % 3 == 0 ? std::to_string(i + 1) : "\"PAGE" + std::to_string(i) + "\"";
    changes.push_back({"2110", name, 1033, Pattern(size_t(i % 97), uint32_t(i))});
  }
  const Edit edit = [&](ResourceEditor& editor) {
    for (const Entry& c : changes) Put(editor, c.type, c.name, c.language, c.data);
  };
  std::map<std::tuple<std::string, std::string, uint16_t>, Entry> expected;
  for (const Entry& entry : Snapshot(fixture)) expected[entry.Key()] = entry;
  for (const Entry& entry : changes) expected[entry.Key()] = entry;
  std::vector<Entry> grown;
  for (const auto& item : expected) grown.push_back(item.second);

  const Placement growth = GetParam() == "exe32-rsrc-last.exe"      ? kInPlace
                           : GetParam() == "exe32-no-resources.exe" ? kNew
                                                                    : kMoved;
  const Bytes overlay = Pattern(4097, 99);  // odd length on purpose
  const fs::path folder = fs::temp_directory_path() / ("vexmar-layout-" + GetParam());
  fs::create_directories(folder);
  std::string pefile_check = "/usr/bin/python3 " VEXMAR_RESOURCE_TEST_SOURCES "/check_pefile.py";
  for (const bool grow : {false, true}) {
    for (const bool signed_input : {false, true}) {
      const std::string variant =
          std::string(grow ? "grown" : "same") + (signed_input ? "-signed-" : "-");
      SCOPED_TRACE(variant);
      Bytes input = fixture;
      input.insert(input.end(), overlay.begin(), overlay.end());
      if (signed_input) AddCertificate(input, 1000);
      CommitReport report;
      const Bytes output = Apply(input, grow ? edit : Edit{}, &report);
      EXPECT_EQ(ValidateImage(output), kSound);
      EXPECT_EQ(Snapshot(output), grow ? grown : Snapshot(fixture));
      if (grow) {
        EXPECT_EQ(report.placement, growth) << PlacementName(report.placement);
      } else {
        EXPECT_EQ(Apply(output), output);  // a repeated commit changes nothing
      }
      ExpectDirectoriesKeepTheirData(input, output);

      // The overlay up to the certificate table stays at the end, and no
      // byte of the table is left.
      const PeImage in = ReadPe(input), out = ReadPe(output);
      EXPECT_EQ(report.signatureRemoved, signed_input);
      EXPECT_EQ(
          out.Directory(kCertificateDirectory).rva + out.Directory(kCertificateDirectory).size, 0u);
      const uint64_t kept = signed_input ? in.Directory(kCertificateDirectory).rva : input.size();
      const Bytes tail = Slice(input, fixture.size(), kept - fixture.size());
      ASSERT_GE(output.size(), tail.size());
      EXPECT_EQ(Slice(output, output.size() - tail.size(), tail.size()), tail);
      const Bytes marker(16, 0xC5);
      EXPECT_EQ(std::search(output.begin(), output.end(), marker.begin(), marker.end()),
                output.end());
      // mingw's long section names live in the COFF string table after the symbols.
      const uint64_t symbols = 18 * uint64_t{in.numberOfSymbols} + 64;
      EXPECT_EQ(Slice(input, in.pointerToSymbolTable, symbols),
                Slice(output, out.pointerToSymbolTable, symbols));
      for (size_t i = 0; i < in.sections.size(); ++i) {
        const SectionHeader &a = in.sections[i], &b = out.sections[i];
        if (a.Name() == ".rsrc") continue;
        EXPECT_EQ(Slice(input, a.rawPointer, a.rawSize), Slice(output, b.rawPointer, b.rawSize))
            << a.Name();
      }
      if (grow) WriteFileBytes((folder / (variant + GetParam())).u8string(), output);
      if (grow) pefile_check += " " + (folder / (variant + GetParam())).u8string();
    }
  }
#ifndef _WIN32
  // An independent reader: python3-pefile (of Debian's system Python) must
  // parse every output without a warning.
  EXPECT_EQ(std::system(pefile_check.c_str()), 0) << pefile_check;
#endif
  fs::remove_all(folder);
  // Without the existing entries only the new one is left, in less room.
  const Bytes emptied = Apply(fixture, PutOne("CUSTOM", "101", 1033, {9}), nullptr, false);
  EXPECT_EQ(ValidateImage(emptied), kSound);
  EXPECT_EQ(Snapshot(emptied), (std::vector<Entry>{{"\"CUSTOM\"", "101", 1033, {9}}}));
  EXPECT_LE(emptied.size(), fixture.size() + 0x200);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, EveryFixture, ::testing::ValuesIn(kFixtureNames),
                         FixtureTestName);

constexpr uint32_t kData = 0xC0000040, kCode = 0x60000020, kRelocations = 0x42000040;
const SyntheticSection kText{".text", Bytes(0x100, 0xC3), 0, kCode};

Bytes EmptyTree(size_t root = 0) {  // root only, at `root`
  Bytes tree(root + 16, 0);
  tree[root + 8] = 4;
  return tree;
}

struct Layout {
  const char* name;
  SyntheticImage image;
  Placement small;   // where a one-entry tree goes
  Placement growth;  // and where two pages of data go after that
};

const std::tuple<size_t, uint32_t, uint32_t> kTree{kResourceDirectory, 0x2000, 16};

// Layouts of Wine's own test of UpdateResource and a data section after the
// tree; the fixtures above have the tree last, and followed by relocations.
const Layout kLayouts[] = {
    // The update moves the root from mid-section to the start.
    {"DirectoryInTheSecondHalf",
     {false,
      {kText, {".rsrc", EmptyTree(0x800), 0x1000, kData}},
      {{kResourceDirectory, 0x2800, 16}}},
     kInPlace,
     kInPlace},
    // A stale 8-byte .rsrc no directory points to; the appended section is
    // then the last one.
    {"StaleEightByteSection", {false, {kText, {".rsrc", Bytes(8, 0), 0, kData}}}, kNew, kInPlace},
    {"FollowedByADataSection",
     {true,
      {kText, {".rsrc", EmptyTree(), 0, kData}, {".data", Bytes(0x40, 0x11), 0, kData}},
      {kTree}},
     Placement::kRewrittenInSection,
     kNew},
};

class SectionLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(SectionLayout, EmptyThenOneEntryThenTwoPagesOfData) {
  const Bytes input = Build(GetParam().image);
  const auto check = [&](const Bytes& output, const std::vector<Entry>& entries) {
    EXPECT_EQ(ValidateImage(output), kSound);  // the root at its section's start, among others
    EXPECT_EQ(Snapshot(output), entries);
    ExpectDirectoriesKeepTheirData(input, output);
  };
  for (const bool keep : {true, false}) check(Apply(input, {}, nullptr, keep), {});

  CommitReport report;
  const Entry small{"4656", "17767", 0xABCD, {1, 2, 3, 4}};
  const Bytes one =
      Apply(input, PutOne(small.type, small.name, small.language, small.data), &report);
  EXPECT_EQ(report.placement, GetParam().small) << PlacementName(report.placement);
  check(one, {small});
  const Bytes large = Apply(one, PutOne("type", "name", 0, Bytes(0x2000, 0x5A)), &report);
  EXPECT_EQ(report.placement, GetParam().growth) << PlacementName(report.placement);
  check(large, {{"\"TYPE\"", "\"NAME\"", 0, Bytes(0x2000, 0x5A)}, small});
}

INSTANTIATE_TEST_SUITE_P(Layouts, SectionLayout, ::testing::ValuesIn(kLayouts),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(SectionLayoutEdges, NoRoomForASectionHeaderIsAClearError) {
  Bytes input = Build(kLayouts[2].image);
  const PeImage image = ReadPe(input);
  PutU32(input, image.optionalHeaderOffset + 60, uint32_t(image.SectionHeaderOffset(3) + 8));
  const std::string error = ApplyError(input, PutOne("10", "1", 0, Bytes(0x3000, 1)));
  EXPECT_NE(error.find("not enough room in the headers"), std::string::npos) << error;
}

TEST(SectionLayoutEdges, DebugDataFollowsWhenItMoves) {
  // A debug directory in .text with two entries: one whose data is mapped
  // in a discardable section after .reloc, one unmapped in the overlay.
  const Bytes mapped(0x30, 0xDD), unmapped(0x20, 0xEE);
  Bytes input = Build({false,
                       {kText,
                        {".rsrc", EmptyTree(), 0, kData},
                        {".reloc", Bytes(0x10, 0), 0, kRelocations},
                        {".debug", mapped, 0, kRelocations}},
                       {kTree, {kDebugDirectory, 0x1040, 56}},
                       unmapped});
  const uint64_t entry = 0x400 + 0x40;  // in .text's file data
  PutU32(input, entry + 16, 0x30);      // SizeOfData
  PutU32(input, entry + 20, 0x4000);    // AddressOfRawData: .debug
  PutU32(input, entry + 24, 0xA00);     // PointerToRawData
  PutU32(input, entry + 28 + 16, 0x20);
  PutU32(input, entry + 28 + 24, 0xC00);  // the overlay
  CommitReport report;
  const Bytes output = Apply(input, PutOne("10", "1", 0, Bytes(0x5000, 1)), &report);
  ASSERT_EQ(report.placement, kMoved);
  EXPECT_EQ(ValidateImage(output), kSound);
  const PeImage pe = ReadPe(output);
  EXPECT_EQ(U32At(output, entry + 20), pe.sections[3].virtualAddress);
  EXPECT_EQ(Slice(output, U32At(output, entry + 24), 0x30), mapped);
  EXPECT_EQ(Slice(output, U32At(output, entry + 28 + 24), 0x20), unmapped);
}

}  // namespace
}  // namespace vexmar::resources

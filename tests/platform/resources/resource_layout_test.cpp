// Updates of real mingw executables and DLLs in every section layout: what
// must survive, where the new tree goes, and that the headers stay sound.
#include <gtest/gtest.h>

#include <map>

#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

using testing::Apply;
using testing::Bytes;
using testing::EntrySnapshot;
using testing::Pattern;
using testing::ToBytes;
using testing::ValidateImage;

const std::vector<std::string> kSound;  // what ValidateImage reports for a sound file

// Where a tree that outgrows its section goes, per fixture.
const std::map<std::string, Placement> kGrowth = {
    {"exe32.exe", Placement::kFollowingMoved},
    {"exe32-rsrc-last.exe", Placement::kResizedInPlace},
    {"exe32-unstripped.exe", Placement::kFollowingMoved},
    {"exe32-no-resources.exe", Placement::kNewSection},
    {"lib32.dll", Placement::kFollowingMoved},
    {"exe64.exe", Placement::kFollowingMoved},
    {"lib64.dll", Placement::kFollowingMoved},
};

class EveryFixture : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    VEXMAR_REQUIRE_FIXTURES();
    input_ = testing::LoadFixture(GetParam());
  }
  Bytes input_;
};

TEST_P(EveryFixture, UnchangedCommitIsStableAndDeletingExistingShrinks) {
  // Also checks our checksum against the one GNU ld wrote.
  EXPECT_EQ(ValidateImage(input_), kSound);
  CommitReport report;
  const Bytes once = Apply(input_, {}, &report);
  EXPECT_EQ(ValidateImage(once), kSound);
  EXPECT_EQ(testing::Snapshot(once), testing::Snapshot(input_));
  EXPECT_FALSE(report.signature_removed);
  // Committing the result again changes nothing at all.
  EXPECT_EQ(Apply(once), once);

  const Bytes emptied = Apply(input_, testing::PutOne("CUSTOM", "101", 1033, {9}), nullptr,
                              /*keep_existing=*/false);
  EXPECT_EQ(ValidateImage(emptied), kSound);
  EXPECT_EQ(testing::Snapshot(emptied),
            (std::vector<EntrySnapshot>{{"\"CUSTOM\"", "101", 1033, 0, {9}}}));
  EXPECT_LE(emptied.size(), input_.size() + 0x200);
}

TEST_P(EveryFixture, AddReplaceLanguagesAndAThousandEntriesKeepTheRest) {
  struct Change {
    std::string type, name;  // as the caller gives them
    EntrySnapshot entry;     // as the reader gives them back
  };
  std::vector<Change> changes = {
      {"CUSTOM", "101", {"\"CUSTOM\"", "101", 1033, 0, ToBytes("Title:Author:index.htm")}},
      // Outgrows every fixture's section.
      {"2110", "index.htm", {"2110", "\"INDEX.HTM\"", 1033, 0, Pattern(150 * 1024, 7)}},
      {"2110", "pic.gif", {"2110", "\"PIC.GIF\"", 1033, 0, {}}},
      // Replaces the German HELLO; adds French beside RCDATA 7's two.
      {"custom", "Hello", {"\"CUSTOM\"", "\"HELLO\"", 0x0407, 0, ToBytes("neu")}},
      {"10", "7", {"10", "7", 0x040C, 0, ToBytes("french data")}},
  };
  for (int i = 0; i < 1000; ++i) {
    const std::string number = std::to_string(i + 1), page = std::to_string(i);
    changes.push_back({"2110",
                       i % 3 == 0 ? number : "page" + page,
                       {"2110", i % 3 == 0 ? number : "\"PAGE" + page + "\"", 1033, 0,
                        Pattern(static_cast<size_t>(i % 97), static_cast<uint32_t>(i))}});
  }
  // Entries not replaced keep their bytes and code pages exactly.
  std::map<std::tuple<std::string, std::string, uint16_t>, EntrySnapshot> expected;
  for (const EntrySnapshot& entry : testing::Snapshot(input_)) {
    expected[{entry.type, entry.name, entry.language}] = entry;
  }
  for (const Change& c : changes)
    expected[{c.entry.type, c.entry.name, c.entry.language}] = c.entry;

  CommitReport report;
  const Bytes output = Apply(
      input_,
      [&](ResourceEditor& editor) {
        for (const Change& c : changes) {
          testing::Put(editor, c.type, c.name, c.entry.language, c.entry.data);
        }
      },
      &report);
  EXPECT_EQ(report.placement, kGrowth.at(GetParam())) << PlacementName(report.placement);
  EXPECT_EQ(ValidateImage(output), kSound);
  std::vector<EntrySnapshot> entries;
  for (const auto& [key, entry] : expected) entries.push_back(entry);  // in Snapshot's order
  EXPECT_EQ(testing::Snapshot(output), entries);
  testing::ExpectFindsAll(output, entries);
}

TEST_P(EveryFixture, OverlayAndCoffSymbolsSurviveAndACertificateIsDropped) {
  const Bytes overlay = Pattern(4097, 99);  // odd length on purpose
  for (const size_t data_size : {size_t{16}, size_t{300 * 1024}}) {
    for (const bool signed_input : {false, true}) {
      SCOPED_TRACE(std::to_string(data_size) + (signed_input ? " signed" : ""));
      Bytes input = input_;
      input.insert(input.end(), overlay.begin(), overlay.end());
      if (signed_input) testing::AddCertificate(input, 1000);
      const PeImage in_image = testing::ReadPe(input);
      CommitReport report;
      const Bytes output =
          Apply(input, testing::PutOne("2110", "A", 1033, Pattern(data_size, 3)), &report);
      EXPECT_EQ(ValidateImage(output), kSound);
      const PeImage out_image = testing::ReadPe(output);

      // Everything after the sections up to the certificate table stays, and
      // nothing of the table's bytes is left.
      EXPECT_EQ(report.signature_removed, signed_input);
      EXPECT_EQ(out_image.Directory(kCertificateDirectory).rva, 0u);
      EXPECT_EQ(out_image.Directory(kCertificateDirectory).size, 0u);
      const uint32_t kept_end =
          signed_input ? in_image.Directory(kCertificateDirectory).rva : uint32_t(input.size());
      const Bytes tail = testing::Slice(input, input_.size(), kept_end - input_.size());
      ASSERT_GE(output.size(), tail.size());
      EXPECT_TRUE(std::equal(tail.begin(), tail.end(),
                             output.end() - static_cast<std::ptrdiff_t>(tail.size())));
      const Bytes marker(16, 0xC5);
      EXPECT_EQ(std::search(output.begin(), output.end(), marker.begin(), marker.end()),
                output.end());

      if (in_image.pointer_to_symbol_table != 0) {
        // The symbol table and the string table after it hold mingw's long
        // section names; they must be found where the header says.
        const uint64_t length = 18 * uint64_t{in_image.number_of_symbols} + 64;
        EXPECT_EQ(testing::Slice(input, in_image.pointer_to_symbol_table, length),
                  testing::Slice(output, out_image.pointer_to_symbol_table, length));
      }
      // Sections other than the resources keep their bytes.
      for (size_t i = 0; i < in_image.sections.size(); ++i) {
        const SectionHeader& before = in_image.sections[i];
        const SectionHeader& after = out_image.sections[i];
        if (before.Name() == ".rsrc" || before.raw_size == 0) continue;
        SCOPED_TRACE(before.Name());
        ASSERT_EQ(before.raw_size, after.raw_size);
        EXPECT_EQ(testing::Slice(input, before.raw_pointer, before.raw_size),
                  testing::Slice(output, after.raw_pointer, after.raw_size));
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, EveryFixture, ::testing::ValuesIn(testing::kFixtureNames),
                         testing::FixtureTestName);

}  // namespace
}  // namespace vexmar::resources

// Updates of real mingw executables and DLLs in every section layout: what
// must survive, where the new tree goes, and that the headers stay sound.
#include <gtest/gtest.h>

#include "platform/resources/pe_image.h"
#include "platform/resources/resource_table.h"
#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

using testing::Apply;
using testing::Bytes;
using testing::Id;
using testing::Snapshot;
using testing::ValidateImage;

struct FixtureCase {
  const char* file;
  Placement growth;  // where a tree that outgrows its section goes
};

const FixtureCase kFixtures[] = {
    {"exe32.exe", Placement::kFollowingMoved},
    {"exe32-rsrc-last.exe", Placement::kResizedInPlace},
    {"exe32-unstripped.exe", Placement::kFollowingMoved},
    {"exe32-no-resources.exe", Placement::kNewSection},
    {"lib32.dll", Placement::kFollowingMoved},
    {"exe64.exe", Placement::kFollowingMoved},
    {"lib64.dll", Placement::kFollowingMoved},
};

class EveryFixture : public ::testing::TestWithParam<FixtureCase> {
 protected:
  void SetUp() override {
    if (!testing::HaveFixtures()) {
      GTEST_SKIP() << "no mingw fixtures";
    }
    input_ = testing::LoadFixture(GetParam().file);
  }
  Bytes input_;
};

Bytes Pattern(size_t size, uint32_t seed) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = static_cast<uint8_t>(seed >> 16);
  }
  return bytes;
}

TEST_P(EveryFixture, LinkerOutputIsValidToBeginWith) {
  // Also checks our checksum against the one GNU ld wrote.
  EXPECT_EQ(ValidateImage(input_), std::vector<std::string>{});
}

TEST_P(EveryFixture, UnchangedCommitKeepsEveryEntryAndIsStable) {
  CommitReport report;
  const Bytes once = Apply(
      input_, [](auto&) {}, &report);
  EXPECT_EQ(ValidateImage(once), std::vector<std::string>{});
  EXPECT_EQ(Snapshot(once), Snapshot(input_)) << testing::Describe(Snapshot(once));
  EXPECT_FALSE(report.signature_removed);
  // Committing the result again changes nothing at all.
  EXPECT_EQ(Apply(once, [](auto&) {}), once);
}

TEST_P(EveryFixture, AddReplaceAndLanguagesKeepTheRest) {
  // Entries not replaced keep their bytes and code pages exactly.
  const auto before = Snapshot(input_);
  CommitReport report;
  const Bytes big = Pattern(150 * 1024, 7);  // outgrows every fixture's section
  const Bytes output = Apply(
      input_,
      [&](ResourceEditor& editor) {
        ASSERT_TRUE(editor
                        .Set(Id("CUSTOM"), Id("101"), 1033,
                             EntryData::Bytes(testing::ToBytes("Title:Author:index.htm")))
                        .ok());
        ASSERT_TRUE(editor.Set(Id("2110"), Id("index.htm"), 1033, EntryData::Bytes(big)).ok());
        ASSERT_TRUE(editor.Set(Id("2110"), Id("pic.gif"), 1033, EntryData::Bytes({})).ok());
        // Replaces the German HELLO; adds French beside RCDATA 7's two.
        ASSERT_TRUE(editor
                        .Set(Id("custom"), Id("Hello"), 0x0407,
                             EntryData::Bytes(testing::ToBytes("neu")), 0)
                        .ok());
        ASSERT_TRUE(
            editor.Set(Id("10"), Id("7"), 0x040C, EntryData::Bytes(testing::ToBytes("french data")))
                .ok());
      },
      &report);
  EXPECT_EQ(report.placement, GetParam().growth) << PlacementName(report.placement);
  EXPECT_EQ(ValidateImage(output), std::vector<std::string>{});

  auto expected = before;
  auto upsert = [&](testing::EntrySnapshot entry) {
    for (auto& existing : expected) {
      if (existing.type == entry.type && existing.name == entry.name &&
          existing.language == entry.language) {
        existing = entry;
        return;
      }
    }
    expected.push_back(entry);
  };
  upsert({"\"CUSTOM\"", "101", 1033, 0, testing::ToBytes("Title:Author:index.htm")});
  upsert({"2110", "\"INDEX.HTM\"", 1033, 0, big});
  upsert({"2110", "\"PIC.GIF\"", 1033, 0, {}});
  upsert({"\"CUSTOM\"", "\"HELLO\"", 0x0407, 0, testing::ToBytes("neu")});
  upsert({"10", "7", 0x040C, 0, testing::ToBytes("french data")});
  std::sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
    return std::tie(a.type, a.name, a.language) < std::tie(b.type, b.name, b.language);
  });
  EXPECT_EQ(Snapshot(output), expected) << testing::Describe(Snapshot(output));
  testing::ExpectFindsAll(output, expected);
}

TEST_P(EveryFixture, OverlayAndCoffSymbolsFollowTheirBytes) {
  for (const size_t data_size : {size_t{16}, size_t{300 * 1024}}) {
    SCOPED_TRACE(data_size);
    Bytes input = input_;
    const Bytes overlay = Pattern(4097, 99);  // odd length on purpose
    input.insert(input.end(), overlay.begin(), overlay.end());
    MemorySource in_source(input);
    const PeImage in_image = ReadPeImage(in_source).value();

    const Bytes output = Apply(input, [&](ResourceEditor& editor) {
      ASSERT_TRUE(
          editor.Set(Id("2110"), Id("A"), 1033, EntryData::Bytes(Pattern(data_size, 3))).ok());
    });
    ASSERT_GE(output.size(), overlay.size());
    EXPECT_TRUE(std::equal(overlay.begin(), overlay.end(), output.end() - 4097));
    EXPECT_EQ(ValidateImage(output), std::vector<std::string>{});
    MemorySource out_source(output);
    const PeImage out_image = ReadPeImage(out_source).value();
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
      if (before.Name() == ".rsrc" || before.raw_size == 0) {
        continue;
      }
      SCOPED_TRACE(before.Name());
      ASSERT_EQ(before.raw_size, after.raw_size);
      EXPECT_EQ(testing::Slice(input, before.raw_pointer, before.raw_size),
                testing::Slice(output, after.raw_pointer, after.raw_size));
    }
  }
}

TEST_P(EveryFixture, CertificateTableIsDroppedAndReported) {
  Bytes input = input_;
  testing::AddCertificate(input, 1000);
  const Bytes overlay = testing::ToBytes("payload");  // bytes before the table stay
  CommitReport report;
  const Bytes output = Apply(
      input,
      [](ResourceEditor& editor) {
        ASSERT_TRUE(editor.Set(Id("2110"), Id("A"), 1033, EntryData::Bytes({1, 2, 3})).ok());
      },
      &report);
  EXPECT_TRUE(report.signature_removed);
  MemorySource source(output);
  const PeImage image = ReadPeImage(source).value();
  EXPECT_EQ(image.Directory(kCertificateDirectory).rva, 0u);
  EXPECT_EQ(image.Directory(kCertificateDirectory).size, 0u);
  EXPECT_EQ(ValidateImage(output), std::vector<std::string>{});
  // Nothing of the table's bytes is left.
  const Bytes marker(16, 0xC5);
  EXPECT_EQ(std::search(output.begin(), output.end(), marker.begin(), marker.end()), output.end());
}

TEST_P(EveryFixture, DeletingExistingStartsEmptyAndShrinks) {
  CommitReport report;
  const Bytes output = Apply(
      input_,
      [](ResourceEditor& editor) {
        ASSERT_TRUE(editor.Set(Id("CUSTOM"), Id("101"), 1033, EntryData::Bytes({9})).ok());
      },
      &report, /*keep_existing=*/false);
  EXPECT_EQ(ValidateImage(output), std::vector<std::string>{});
  EXPECT_EQ(Snapshot(output),
            (std::vector<testing::EntrySnapshot>{{"\"CUSTOM\"", "101", 1033, 0, {9}}}));
  EXPECT_LE(output.size(), input_.size() + 0x200);
}

TEST_P(EveryFixture, AThousandEntriesAreAllFound) {
  std::vector<testing::EntrySnapshot> added;
  const Bytes output = Apply(input_, [&](ResourceEditor& editor) {
    for (int i = 0; i < 1000; ++i) {
      const std::string name = i % 3 == 0 ? std::to_string(i + 1) : "page" + std::to_string(i);
      Bytes data = Pattern(static_cast<size_t>(i % 97), static_cast<uint32_t>(i));
      ASSERT_TRUE(editor.Set(Id("2110"), Id(name), 1033, EntryData::Bytes(data)).ok());
      added.push_back(
          {"2110", i % 3 == 0 ? name : "\"PAGE" + std::to_string(i) + "\"", 1033, 0, data});
    }
  });
  EXPECT_EQ(ValidateImage(output), std::vector<std::string>{});
  testing::ExpectFindsAll(output, added);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, EveryFixture, ::testing::ValuesIn(kFixtures),
                         [](const auto& param_info) {
                           std::string name = param_info.param.file;
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace vexmar::resources

// Damaged and hostile files: each fault gives a readable error from the
// reader, the updater and validate, and never a read outside the buffer
// (the linux-asan preset runs these under AddressSanitizer; random damage
// is fuzz/resource_fuzzer.cpp's).
#include <gtest/gtest.h>

#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

using namespace testing;  // NOLINT: the helpers of this suite
constexpr uint32_t kOptionalHeader = 0x80 + 24;
constexpr uint32_t kTree = 0x600;  // the file offset of .rsrc, behind one page of .text

// A hand-written tree of one entry, type 10 / "AB" / 1033 with the data
// "xy", at RVA 0x2000. Offsets: root 0, type directory 24, language
// directory 48, data entry 72, name string 88, data 96, and room for one
// more directory at 100; the faults below damage these fields.
Bytes OneEntryImage() {
  Bytes tree(128, 0);
  const std::pair<uint64_t, uint32_t> fields[] = {
      {8, 4},
      {12, 1 << 16},
      {16, 10},
      {20, 0x80000000u | 24},  // root: version, one ID, 10
      {32, 4},
      {36, 1},
      {40, 0x80000000u | 88},
      {44, 0x80000000u | 48},  // one name, "AB"
      {56, 4},
      {60, 1 << 16},
      {64, 1033},
      {68, 72},  // one ID, 1033
      {72, 0x2000 + 96},
      {76, 2},
      {88, 2 | 'A' << 16},
      {92, 'B'},
      {96, 'x' | 'y' << 8}};
  for (const auto& [at, value] : fields) PutU32(tree, at, value);
  return Build({false,
                {{".text", Bytes(0x10, 0xC3), 0, 0x60000020}, {".rsrc", tree, 0, 0x40000040}},
                {{kResourceDirectory, 0x2000, 98}}});
}

// Four bytes overwritten with `value`, then the file cut to `truncate_to`
// bytes (when not 0).
struct Fault {
  const char* name;
  uint64_t at;
  uint32_t value;
  const char* reason;  // part of the expected error
  size_t truncateTo = 0;
};
constexpr uint32_t kMz = 'M' | 'Z' << 8;  // at 0: the bytes there already

const Fault kFaults[] = {
    {"TruncatedFile", 0, kMz, "truncated file", kTree + 50},
    {"ShorterThanADosHeader", 0, kMz, "too short", 40},
    {"NoMzSignature", 0, 'X' | 'Z' << 8, "no MZ signature"},
    {"ELfanewOutOfRange", 0x3C, 0xFFFFFFF0u, "e_lfanew points past the end"},
    {"UnknownOptionalHeaderMagic", kOptionalHeader, 0x107, "optional header magic"},
    {"SectionTablePastTheEnd", 0x80 + 4, 0x14C | 90 << 16, "section table lies outside", 0x800},
    {"SectionTablePastSizeOfHeaders", kOptionalHeader + 60, 0x180, "outside SizeOfHeaders"},
    {"ResourceDirectoryInNoSection", kOptionalHeader + 96 + 16, 0x90000, "lies in no section"},
    {"DirectoryCountsPastItsSection", kTree + 12, 0xFFFF0000u, "more entries than"},
    {"DirectoryPointingBackUpTheTree", kTree + 44, 0x80000000u | 24, "loops"},
    {"TreeDeeperThanThreeLevels", kTree + 68, 0x80000000u | 100,
     "deeper than type, name and language"},
    {"DataAboveTheLanguageLevel", kTree + 20, 72, "data above the language"},
    {"DirectoryOffsetOutsideTheSection", kTree + 20, 0xFFFFFFF0u, "points outside its section"},
    {"DataEntryPointsOutsideTheImage", kTree + 72, 0x7FFF0000u, "points outside the image"},
    {"DataEntrySizePastItsSection", kTree + 76, 0xFFFFFFF0u, "points outside the image"},
    {"NameLongerThanTheSection", kTree + 88, 0xFFFF | 'A' << 16, "longer than its section"},
};

class MalformedInput : public ::testing::TestWithParam<Fault> {};

TEST_P(MalformedInput, IsRefusedWithItsReason) {
  Bytes image = OneEntryImage();
  ASSERT_EQ(ValidateImage(image), std::vector<std::string>{});
  const Fault& fault = GetParam();
  PutU32(image, fault.at, fault.value);
  if (fault.truncateTo != 0) image.resize(fault.truncateTo);

  MemorySource source(image);
  auto file = ReadResourceFile(source);
  ASSERT_FALSE(file.ok());
  EXPECT_NE(file.error().reason.find(fault.reason), std::string::npos) << file.error().reason;
  EXPECT_FALSE(ResourceEditor::Open(source, true).ok());
  EXPECT_EQ(ValidateImage(image), std::vector<std::string>{file.error().reason});
}

INSTANTIATE_TEST_SUITE_P(Faults, MalformedInput, ::testing::ValuesIn(kFaults),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(MalformedInput, TooFewDataDirectoriesMeansNoResourcesAndAClearUpdateError) {
  Bytes image = Build({false, {{".text", Bytes(0x10, 0xC3), 0, 0x60000020}}});
  PutU32(image, kOptionalHeader + 92, 2);  // NumberOfRvaAndSizes
  EXPECT_TRUE(Snapshot(image).empty());
  const std::string error = ApplyError(image, PutOne("1", "1", 0, {1}));
  EXPECT_NE(error.find("NumberOfRvaAndSizes"), std::string::npos) << error;
}

// A FIFO would keep a reader waiting for a writer, a device never ends:
// neither is read at all.
TEST(MalformedInput, WhatIsNoFileIsRefusedAtOnce) {
  std::vector<std::filesystem::path> paths = {std::filesystem::temp_directory_path()};
#ifndef _WIN32
  const std::filesystem::path fifo = std::filesystem::temp_directory_path() / "vexmar-fifo";
  std::filesystem::remove(fifo);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  paths.insert(paths.end(), {fifo, "/dev/zero"});
#endif
  for (const auto& path : paths) {
    auto source = FileSource::Open(path);
    ASSERT_FALSE(source.ok()) << path;
    EXPECT_NE(source.error().reason.find("is not a file"), std::string::npos);
  }
#ifndef _WIN32
  std::filesystem::remove(fifo);
#endif
}

}  // namespace
}  // namespace vexmar::resources

#pragma once
// Helpers shared by the resource engine's tests: fixtures, a small PE
// builder for layouts the linkers do not produce, and one-call updates of
// images held in memory.
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/resources/pe_image.h"
#include "platform/resources/resource_editor.h"
#include "platform/resources/resource_id.h"
#include "platform/resources/resource_table.h"

namespace vexmar::resources::testing {

using Bytes = std::vector<uint8_t>;

// The executables fixtures.cmake builds, one per section layout.
extern const std::vector<std::string> kFixtureNames;
// "exe32.exe" -> "exe32_exe", for INSTANTIATE_TEST_SUITE_P over kFixtureNames.
std::string FixtureTestName(const ::testing::TestParamInfo<std::string>& info);
bool HaveFixtures();
#define VEXMAR_REQUIRE_FIXTURES()                        \
  do {                                                   \
    if (!::vexmar::resources::testing::HaveFixtures()) { \
      GTEST_SKIP() << "no mingw fixtures";               \
    }                                                    \
  } while (false)
Bytes LoadFixture(const std::string& name);
Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
Bytes ToBytes(const std::string& text);
Bytes Pattern(size_t size, uint32_t seed);  // reproducible noise

// "CUSTOM" or "2110" (a number) as a test writes them, or a display form
// ("\"CUSTOM\"") as Snapshot gives them.
ResourceId Id(const std::string& text);
// Editor::Set that fails the test when the editor refuses the entry.
void Put(ResourceEditor& editor, const std::string& type, const std::string& name,
         uint16_t language, Bytes data);

// One entry as the reader sees it, with its data, for comparisons.
struct EntrySnapshot {
  std::string type;
  std::string name;
  uint16_t language = 0;
  uint32_t code_page = 0;
  Bytes data = {};
  friend bool operator==(const EntrySnapshot& a, const EntrySnapshot& b) {
    return a.type == b.type && a.name == b.name && a.language == b.language &&
           a.code_page == b.code_page && a.data == b.data;
  }
};
void PrintTo(const EntrySnapshot& entry, std::ostream* out);
std::vector<EntrySnapshot> Snapshot(const Bytes& image);  // sorted by key

using Edit = std::function<void(ResourceEditor&)>;
// The edit that Puts one entry.
Edit PutOne(const std::string& type, const std::string& name, uint16_t language, Bytes data);
// Applies `edit` to an editor over `input` and returns the written image;
// a failure is reported through ADD_FAILURE and gives an empty image.
Bytes Apply(const Bytes& input, const Edit& edit = {}, CommitReport* report = nullptr,
            bool keep_existing = true);
// The reason the update fails, or "" when it succeeds and `output` (if
// given) holds the written image.
std::string ApplyError(const Bytes& input, const Edit& edit, Bytes* output = nullptr);

std::vector<std::string> ValidateImage(const Bytes& image);
PeImage ReadPe(const Bytes& image);  // the headers, failing the test if unreadable
// Looks every entry up with the loader's search and compares data.
void ExpectFindsAll(const Bytes& image, const std::vector<EntrySnapshot>& entries);

// File layout helpers. Slice clamps to the end of `bytes`.
Bytes Slice(const Bytes& bytes, uint64_t offset, uint64_t length);
uint32_t U32At(const Bytes& bytes, uint64_t offset);
void PutU32(Bytes& bytes, uint64_t offset, uint32_t value);
void PutU16(Bytes& bytes, uint64_t offset, uint16_t value);
// Appends a WIN_CERTIFICATE blob of 0xC5 bytes, 8-aligned, and points
// DataDirectory[4] at it.
void AddCertificate(Bytes& image, size_t blob_size);

// A minimal PE: sections laid out in order at SectionAlignment 0x1000 and
// FileAlignment 0x200, after 0x400 bytes of headers (e_lfanew 0x80), so a
// section behind a one-page .text starts at 0x2000.
struct SyntheticSection {
  std::string name;
  Bytes data;
  uint32_t virtual_size = 0;  // 0: the data size
  uint32_t characteristics = 0x40000040;
};
struct SyntheticImage {
  bool pe32plus = false;
  std::vector<SyntheticSection> sections;
  std::vector<std::pair<size_t, std::pair<uint32_t, uint32_t>>> directories =
      {};  // index, rva, size
  Bytes overlay = {};
  bool checksum = false;
};
Bytes Build(const SyntheticImage& image);

}  // namespace vexmar::resources::testing

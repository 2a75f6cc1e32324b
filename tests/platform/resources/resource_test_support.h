#pragma once
// Helpers shared by the resource engine's tests: fixtures, a small PE
// builder for layouts the linkers do not produce, and one-call updates of
// images held in memory.
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "platform/resources/pe_image.h"
#include "platform/resources/resource_editor.h"
#include "platform/resources/resource_table.h"

namespace vexmar::resources::testing {

using Bytes = std::vector<uint8_t>;

// The executables fixtures.cmake builds, one per section layout, and
// their names as test names ("exe32.exe" -> "exe32_exe").
extern const std::vector<std::string> kFixtureNames;
std::string FixtureTestName(const ::testing::TestParamInfo<std::string>& info);
bool HaveFixtures();
#define VEXMAR_REQUIRE_FIXTURES() \
  if (!::vexmar::resources::testing::HaveFixtures()) GTEST_SKIP() << "no mingw fixtures"
Bytes LoadFixture(const std::string& name);
Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
Bytes ToBytes(const std::string& text);
Bytes Pattern(size_t size, uint32_t seed);  // reproducible noise

// "CUSTOM" or "2110" (a number) as a caller gives them, or a display form
// ("\"CUSTOM\"") as Snapshot gives them.
ResourceId Id(const std::string& text);
void Put(ResourceEditor& editor, const std::string& type, const std::string& name,
         uint16_t language, Bytes data);  // fails the test when refused

// One entry as the reader sees it, with its data.
struct Entry {
  std::string type, name;
  uint16_t language = 0;
  Bytes data = {};
  uint32_t code_page = 0;
  auto Key() const { return std::tie(type, name, language); }
  friend bool operator==(const Entry& a, const Entry& b) {
    return a.Key() == b.Key() && a.data == b.data && a.code_page == b.code_page;
  }
};
void PrintTo(const Entry& entry, std::ostream* out);
std::vector<Entry> Snapshot(const Bytes& image);  // sorted by Key

using Edit = std::function<void(ResourceEditor&)>;
Edit PutOne(const std::string& type, const std::string& name, uint16_t language, Bytes data);
// Applies `edit` to an editor over `input` and returns the written image;
// a failure fails the test and gives an empty image.
Bytes Apply(const Bytes& input, const Edit& edit = {}, CommitReport* report = nullptr,
            bool keep_existing = true);
// The reason the update fails, or "" with the written image in `output`.
std::string ApplyError(const Bytes& input, const Edit& edit, Bytes* output = nullptr,
                       CommitReport* report = nullptr, bool keep_existing = true);

std::vector<std::string> ValidateImage(const Bytes& image);  // empty when sound
void PutU32(Bytes& bytes, uint64_t offset, uint32_t value);

// A minimal PE: sections laid out in order at SectionAlignment 0x1000 and
// FileAlignment 0x200, after 0x400 bytes of headers (e_lfanew 0x80), so a
// section behind a one-page .text starts at RVA 0x2000 and file offset 0x600.
struct SyntheticSection {
  std::string name;
  Bytes data;
  uint32_t virtual_size = 0;  // 0: the data size
  uint32_t characteristics = 0x40000040;
};
struct SyntheticImage {
  bool pe32plus = false;
  std::vector<SyntheticSection> sections;
  std::vector<std::tuple<size_t, uint32_t, uint32_t>> directories = {};  // index, rva, size
  Bytes overlay = {};
  bool checksum = false;
};
Bytes Build(const SyntheticImage& image);

}  // namespace vexmar::resources::testing

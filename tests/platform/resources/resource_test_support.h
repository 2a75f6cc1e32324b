#pragma once
// Helpers shared by the resource engine's tests: fixtures, a small PE
// builder for layouts the linkers do not produce, and one-call updates of
// images held in memory.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/resources/resource_editor.h"
#include "platform/resources/resource_id.h"
#include "platform/resources/resource_table.h"

namespace vexmar::resources::testing {

using Bytes = std::vector<uint8_t>;

bool HaveFixtures();
std::string FixturePath(const std::string& name);
Bytes LoadFixture(const std::string& name);
Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);

// "CUSTOM", "#2110" or "2110" (a number), as a test writes them.
ResourceId Id(const std::string& text);
Bytes ToBytes(const std::string& text);

// One entry as the reader sees it, with its data, for comparisons.
struct EntrySnapshot {
  std::string type;
  std::string name;
  uint16_t language = 0;
  uint32_t code_page = 0;
  Bytes data;
  friend bool operator==(const EntrySnapshot& a, const EntrySnapshot& b) {
    return a.type == b.type && a.name == b.name && a.language == b.language &&
           a.code_page == b.code_page && a.data == b.data;
  }
};
std::vector<EntrySnapshot> Snapshot(const Bytes& image);  // sorted by key
std::string Describe(const std::vector<EntrySnapshot>& entries);

// Applies `edit` to an editor over `input` and returns the written image;
// a failure is reported through ADD_FAILURE and gives an empty image.
Bytes Apply(const Bytes& input, const std::function<void(ResourceEditor&)>& edit,
            CommitReport* report = nullptr, bool keep_existing = true);
// The reason the update fails, or "" when it succeeds.
std::string ApplyError(const Bytes& input, const std::function<void(ResourceEditor&)>& edit);

std::vector<std::string> ValidateImage(const Bytes& image);
// Looks every snapshot entry up with the loader's search and compares data.
void ExpectFindsAll(const Bytes& image, const std::vector<EntrySnapshot>& entries);

// File layout helpers. Slice clamps to the end of `bytes`.
Bytes Slice(const Bytes& bytes, uint64_t offset, uint64_t length);
uint32_t U32At(const Bytes& bytes, uint64_t offset);
void PutU32(Bytes& bytes, uint64_t offset, uint32_t value);
void PutU16(Bytes& bytes, uint64_t offset, uint16_t value);
// Appends a WIN_CERTIFICATE blob, 8-aligned, and points DataDirectory[4] at it.
void AddCertificate(Bytes& image, size_t blob_size);

// A minimal PE: sections laid out in order at SectionAlignment 0x1000 and
// FileAlignment 0x200, after 0x400 bytes of headers.
struct SyntheticSection {
  std::string name;
  Bytes data;
  uint32_t virtual_size = 0;  // 0: the data size
  uint32_t characteristics = 0x40000040;
};
struct SyntheticImage {
  bool pe32plus = false;
  std::vector<SyntheticSection> sections;
  // index -> (rva, size); an rva below 0x1000 * 256 given as "section n
  // start" is not interpreted, the test computes it with SectionRva.
  std::vector<std::pair<size_t, std::pair<uint32_t, uint32_t>>> directories;
  Bytes overlay;
  bool checksum = false;
};
uint32_t SectionRva(const SyntheticImage& image, size_t index);
Bytes Build(const SyntheticImage& image);

// A hand-written resource tree of one entry, type 10 / "AB" / 1033 with the
// data "xy", for a section at `rva`. Offsets: root 0, type directory 24,
// language directory 48, data entry 72, name string 88, data 96.
Bytes OneEntryTree(uint32_t rva);

}  // namespace vexmar::resources::testing

// libFuzzer entry for the resource engine: any bytes are read, walked,
// validated and updated. Beyond "no crash", an update that succeeds must give a file
// whose tree our own reader accepts, holding every entry with its bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/resources/byte_io.h"
#include "platform/resources/resource_editor.h"
#include "platform/resources/resource_table.h"
#include "platform/resources/upper_case.h"
#include "platform/resources/validate.h"

using namespace vexmar::resources;

namespace {

std::vector<uint8_t> ExpectedData(const std::vector<uint8_t>& input, const EntryData& data) {
  if (data.kind() == EntryData::Kind::kBytes) {
    return data.bytes();
  }
  const auto begin = input.begin() + static_cast<std::ptrdiff_t>(data.offset());
  return std::vector<uint8_t>(begin, begin + static_cast<std::ptrdiff_t>(data.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> input(data, data + size);
  MemorySource source(input);
  (void)Validate(source);
  // The walk that keeps nothing sees exactly the table's entries, in order.
  if (auto image = ReadPeImage(source)) {
    const auto table = ResourceTable::Read(source, image.value());
    size_t seen = 0;
    const Status walked =
        WalkResourceEntries(source, image.value(), [&](const ResourceEntry& entry) {
          if (table && (seen >= table->entries().size() ||
                        table->entries()[seen].fileOffset != entry.fileOffset ||
                        table->entries()[seen].name != entry.name)) {
            std::abort();
          }
          ++seen;
          return Status{};
        });
    if (walked.ok() != table.ok() || (table && seen != table->entries().size())) {
      std::abort();
    }
  }
  auto editor = ResourceEditor::Open(source, /*keep_existing=*/true);
  if (!editor) {
    return 0;
  }
  const auto type = ResourceId::FromText(u"custom").value();
  const auto name = ResourceId::Number(101).value();
  (void)editor.value().Set(type, name, 1033,
                           EntryData::Bytes({data, data + std::min<size_t>(size, 24)}));
  MemorySink sink;
  if (!editor.value().Write(source, sink)) {
    return 0;
  }
  MemorySource output(sink.bytes());
  auto file = ReadResourceFile(output);
  if (!file) {
    std::abort();
  }
  // Every entry is listed with its bytes, in directory order.
  const auto& written = file.value().table.entries();
  if (written.size() != editor.value().entries().size()) {
    std::abort();
  }
  size_t index = 0;
  for (const auto& [key, value] : editor.value().entries()) {
    const ResourceEntry& entry = written[index++];
    if (entry.type != key.type || entry.name != key.name || entry.language != key.language) {
      std::abort();
    }
    auto bytes = ReadEntryData(output, entry);
    if (!bytes || bytes.value() != ExpectedData(input, value.data)) {
      std::abort();
    }
    // The loader's search finds it, unless a damaged input stored a
    // lower-case name, which no query can reach (queries are upper-cased).
    auto reachable = [](const ResourceId& id) {
      return id.is_number() || UpperCaseName(id.name()) == id.name();
    };
    if (reachable(key.type) && reachable(key.name)) {
      auto found = file.value().table.Find(key.type, key.name, key.language);
      if (!found || found.value().dataRva != entry.dataRva) {
        std::abort();
      }
    }
  }
  return 0;
}

#pragma once
// An update of one image's resource table, independent of where the bytes
// live: the file-level ResourceUpdate, the tests and the fuzzer all use it.
#include <cstdint>
#include <string>

#include "platform/resources/byte_io.h"
#include "platform/resources/entry_set.h"
#include "platform/resources/image_plan.h"
#include "platform/resources/pe_image.h"
#include "platform/resources/resource_id.h"
#include "platform/resources/result.h"

namespace vexmar::resources {

struct CommitReport {
  Placement placement = Placement::kResizedInPlace;
  // The input was signed; its certificate table was dropped because no
  // signature survives a change to the file.
  bool signatureRemoved = false;
  uint64_t fileSize = 0;
  size_t entryCount = 0;
};

class ResourceEditor {
 public:
  // Reads the headers and resource table of `input`. With keep_existing
  // every entry of the input is kept (as a reference into it), otherwise
  // the new table starts empty.
  static Result<ResourceEditor> Open(ByteSource& input, bool keep_existing);

  // Adds the entry or replaces the one with the same type, name and
  // language. Entries larger than 4 GiB are refused.
  Status Set(const ResourceId& type, const ResourceId& name, uint16_t language, EntryData data,
             uint32_t code_page = 0);
  // Removing an entry that does not exist is not an error.
  void Remove(const ResourceId& type, const ResourceId& name, uint16_t language);

  // Writes the updated image. `input` must be the source Open read.
  Result<CommitReport> Write(ByteSource& input, ByteSink& output) const;

  const PeImage& image() const { return image_; }
  const EntrySet& entries() const { return entries_; }

 private:
  PeImage image_;
  int resourceSection_ = -1;
  EntrySet entries_;
};

}  // namespace vexmar::resources

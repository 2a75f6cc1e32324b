#pragma once
// Updating the resources of a file, in the shape of Windows'
// BeginUpdateResource / UpdateResource / EndUpdateResource:
//
//   auto update = ResourceUpdate::Begin(path);           // keeps the entries
//   update->Update(type, name, 1033, bytes);             // any number of times
//   auto report = update->Commit();                      // or Discard()
//
// Nothing touches the file before Commit, which writes the whole result to
// a temporary file beside it (platform/fs/temporary_file.h), flushes it to
// the disk and renames it over the file, so a failure, a kill or a power cut
// at any point leaves the file as it was. A failure to read a source file
// names that file in the Error's `file`. One Commit per file is the fast path:
// every commit rewrites the whole file.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/resources/resource_editor.h"
#include "platform/resources/resource_id.h"
#include "platform/resources/result.h"

namespace vexmar::resources {

class ResourceUpdate {
 public:
  // Fails when the file is missing, not writable or not a PE file (with the
  // reader's reason). With delete_existing the new table starts empty.
  static Result<ResourceUpdate> Begin(const std::filesystem::path& target,
                                      bool delete_existing = false);

  Status Update(const ResourceId& type, const ResourceId& name, uint16_t language,
                std::vector<uint8_t> data, uint32_t code_page = 0);
  // The entry's data is the whole of `source`, read during Commit; `watch`,
  // if any, sees the bytes as they are written.
  Status UpdateFromFile(const ResourceId& type, const ResourceId& name, uint16_t language,
                        const std::filesystem::path& source, uint32_t code_page = 0,
                        ByteWatcher watch = {});
  // The entry's `size` bytes are made by `make` during Commit, after every
  // other entry has been written (and watched). A failure of `make`, or
  // bytes of another size, fail the commit.
  Status UpdateLate(const ResourceId& type, const ResourceId& name, uint16_t language,
                    uint32_t size, LateBytes make);
  Status Delete(const ResourceId& type, const ResourceId& name, uint16_t language);

  Result<CommitReport> Commit();
  void Discard();

  const ResourceEditor& editor() const { return *editor_; }

 private:
  ResourceUpdate() = default;
  Status CheckOpen() const;

  std::filesystem::path target_;
  std::optional<ResourceEditor> editor_;
  uint64_t sizeAtBegin_ = 0;
  std::filesystem::file_time_type timeAtBegin_{};
  bool ended_ = false;
};

}  // namespace vexmar::resources

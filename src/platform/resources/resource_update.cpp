#include "platform/resources/resource_update.h"

#include <fstream>
#include <system_error>

#include "platform/fs/temporary_file.h"
#include "platform/resources/byte_io.h"

namespace vexmar::resources {
namespace {

// The result goes to a temporary file beside the target (made exclusively,
// flushed before it replaces the target) through the writer's own buffer.
class TemporarySink final : public ByteSink {
 public:
  explicit TemporarySink(fs::TemporaryFile& file) : file_(file) {}
  Status Write(const void* data, size_t length) override {
    return file_.Write(std::string_view(static_cast<const char*>(data), length));
  }
  Status Overwrite(uint64_t offset, const void* data, size_t length) override {
    return file_.WriteAt(offset, std::string_view(static_cast<const char*>(data), length));
  }

 private:
  fs::TemporaryFile& file_;
};

Error Reworded(Error error, std::string reason) {
  error.reason = std::move(reason);
  return error;
}

}  // namespace

Result<ResourceUpdate> ResourceUpdate::Begin(const std::filesystem::path& target,
                                             bool delete_existing) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(target, error)) {
    return Fail(target.u8string() + " does not exist");
  }
  {
    // The commit will replace the file; find out now whether we may.
    std::ofstream probe(target, std::ios::binary | std::ios::in | std::ios::out);
    if (!probe) {
      return Fail(target.u8string() + " cannot be written");
    }
  }
  auto input = FileSource::Open(target);
  if (!input) {
    return input.error();
  }
  auto editor = ResourceEditor::Open(*input.value(), !delete_existing);
  if (!editor) {
    return Fail(target.u8string() + ": " + editor.error().reason);
  }
  ResourceUpdate update;
  update.target_ = target;
  update.editor_ = std::move(editor.value());
  update.sizeAtBegin_ = input.value()->size();
  update.timeAtBegin_ = std::filesystem::last_write_time(target, error);
  return update;
}

Status ResourceUpdate::CheckOpen() const {
  if (ended_ || !editor_) {
    return Fail("the resource update of " + target_.u8string() + " has already ended");
  }
  return {};
}

Status ResourceUpdate::Update(const ResourceId& type, const ResourceId& name, uint16_t language,
                              std::vector<uint8_t> data, uint32_t code_page) {
  if (auto status = CheckOpen(); !status) {
    return status;
  }
  return editor_->Set(type, name, language, EntryData::Bytes(std::move(data)), code_page);
}

Status ResourceUpdate::UpdateFromFile(const ResourceId& type, const ResourceId& name,
                                      uint16_t language, const std::filesystem::path& source,
                                      uint32_t code_page, ByteWatcher watch) {
  if (auto status = CheckOpen(); !status) {
    return status;
  }
  auto data = EntryData::File(source, std::move(watch));
  if (!data) {
    return data.error();
  }
  return editor_->Set(type, name, language, std::move(data.value()), code_page);
}

Status ResourceUpdate::UpdateLate(const ResourceId& type, const ResourceId& name, uint16_t language,
                                  uint32_t size, LateBytes make) {
  if (auto status = CheckOpen(); !status) {
    return status;
  }
  return editor_->Set(type, name, language, EntryData::Late(size, std::move(make)));
}

Status ResourceUpdate::Delete(const ResourceId& type, const ResourceId& name, uint16_t language) {
  if (auto status = CheckOpen(); !status) {
    return status;
  }
  editor_->Remove(type, name, language);
  return {};
}

void ResourceUpdate::Discard() {
  ended_ = true;
}

Result<CommitReport> ResourceUpdate::Commit() {
  if (auto status = CheckOpen(); !status) {
    return status.error();
  }
  ended_ = true;
  std::error_code error;
  const auto time_now = std::filesystem::last_write_time(target_, error);
  const auto size_now = std::filesystem::file_size(target_, error);
  if (error || size_now != sizeAtBegin_ || time_now != timeAtBegin_) {
    // The existing entries are references into the file as it was read.
    return Fail(target_.u8string() + " changed after the update began");
  }
  const std::string target = target_.u8string();
  auto temporary = fs::TemporaryFile::CreateBeside(target);
  if (!temporary) {
    return Reworded(temporary.error(), target + " cannot be written: " + temporary.error().reason);
  }
  Result<CommitReport> report = Fail("not written");
  {
    // Closed before the rename: Windows does not replace an open file.
    auto input = FileSource::Open(target_);
    if (!input) {
      return input.error();
    }
    TemporarySink sink(temporary.value());
    report = editor_->Write(*input.value(), sink);
  }
  if (report) {
    const Status replaced = temporary.value().ReplaceTarget();
    if (!replaced) {
      report =
          Reworded(replaced.error(), "cannot replace " + target + ": " + replaced.error().reason);
    }
  }
  if (!report) {
    // The temporary file is gone with `temporary`, whatever failed.
    return Reworded(report.error(), target + " was left unchanged: " + report.error().reason);
  }
  return report;
}

}  // namespace vexmar::resources

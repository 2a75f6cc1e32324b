#include "platform/resources/resource_update.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <system_error>

#include "platform/resources/byte_io.h"

namespace vexmar::resources {
namespace {

std::filesystem::path TemporarySibling(const std::filesystem::path& target) {
  // Beside the target, so the final rename stays on one volume and is a
  // replace rather than a copy.
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::filesystem::path name = target.filename();
  name += ".tmp" + std::to_string(stamp % 1000000) + "-" + std::to_string(counter++);
  return target.parent_path() / name;
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
                                      uint32_t code_page) {
  if (auto status = CheckOpen(); !status) {
    return status;
  }
  auto data = EntryData::File(source);
  if (!data) {
    return data.error();
  }
  return editor_->Set(type, name, language, std::move(data.value()), code_page);
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
  const std::filesystem::path temporary = TemporarySibling(target_);
  Result<CommitReport> report = Fail("not written");
  {
    auto input = FileSource::Open(target_);
    if (!input) {
      return input.error();
    }
    auto sink = FileSink::Create(temporary);
    if (!sink) {
      return Fail(target_.u8string() + " cannot be written: " + sink.error().reason);
    }
    report = editor_->Write(*input.value(), *sink.value());
    Status closed = sink.value()->Close();
    if (report && !closed) {
      report = closed.error();
    }
  }
  if (report) {
    std::filesystem::rename(temporary, target_, error);
    if (error) {
      report = Fail("cannot replace " + target_.u8string() + ": " + error.message());
    }
  }
  if (!report) {
    std::filesystem::remove(temporary, error);
    return Fail(target_.u8string() + " was left unchanged: " + report.error().reason);
  }
  return report;
}

}  // namespace vexmar::resources

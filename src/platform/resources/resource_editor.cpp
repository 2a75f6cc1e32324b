#include "platform/resources/resource_editor.h"

#include "platform/resources/image_writer.h"
#include "platform/resources/resource_table.h"
#include "platform/resources/tree_writer.h"

namespace vexmar::resources {

Result<ResourceEditor> ResourceEditor::Open(ByteSource& input, bool keep_existing) {
  auto file = ReadResourceFile(input);
  if (!file) {
    return file.error();
  }
  ResourceEditor editor;
  editor.image_ = std::move(file.value().image);
  editor.resourceSection_ = file.value().table.section_index();
  if (keep_existing) {
    for (const ResourceEntry& entry : file.value().table.entries()) {
      EntryKey key{entry.type, entry.name, entry.language};
      // A damaged file may list one key twice; as with the loader, the
      // first one wins.
      editor.entries_.emplace(
          std::move(key),
          EntryValue{entry.codePage, EntryData::InputRegion(entry.fileOffset, entry.size)});
    }
  }
  return editor;
}

Status ResourceEditor::Set(const ResourceId& type, const ResourceId& name, uint16_t language,
                           EntryData data, uint32_t code_page) {
  if (data.size() > 0xFFFFFFFFull) {
    return Fail("resource " + name.ToDisplay() + " is larger than 4 GiB");
  }
  entries_[EntryKey{type, name, language}] = EntryValue{code_page, std::move(data)};
  return {};
}

void ResourceEditor::Remove(const ResourceId& type, const ResourceId& name, uint16_t language) {
  entries_.erase(EntryKey{type, name, language});
}

Result<CommitReport> ResourceEditor::Write(ByteSource& input, ByteSink& output) const {
  // The size of the tree does not depend on where it is mapped, so it is
  // laid out once to size the plan and again at its final address.
  auto sizing = LayOutTree(entries_, 0);
  if (!sizing) {
    return sizing.error();
  }
  auto plan = PlanImage(input, image_, resourceSection_, sizing.value().size);
  if (!plan) {
    return plan.error();
  }
  auto tree = LayOutTree(entries_, plan.value().treeRva);
  if (!tree) {
    return tree.error();
  }
  if (auto status = WriteImage(input, plan.value(), tree.value(), output); !status) {
    return status.error();
  }
  CommitReport report;
  report.placement = plan.value().placement;
  report.signatureRemoved = plan.value().signatureRemoved;
  report.fileSize = plan.value().outputSize;
  report.entryCount = entries_.size();
  return report;
}

}  // namespace vexmar::resources

#include "platform/fs/file_system.h"

#include "platform/fs/temporary_file.h"

namespace vexmar::fs {
namespace {

// Content already in memory: one piece.
class ViewSource final : public ContentSource {
 public:
  explicit ViewSource(std::string_view content) : content_(content) {}
  Result<std::string_view> Next() override {
    const std::string_view piece = content_;
    content_ = {};
    return piece;
  }

 private:
  std::string_view content_;
};

}  // namespace

Status TemporaryFile::WriteFrom(ContentSource& content) {
  for (;;) {
    const Result<std::string_view> piece = content.Next();
    if (!piece) return piece.error();
    if (piece.value().empty()) return {};
    if (Status written = Write(piece.value()); !written) return written;
  }
}

Status FileSystem::WriteWholeFile(const std::string& path, std::string_view content) {
  ViewSource source(content);
  return WriteFileFrom(path, source);
}

}  // namespace vexmar::fs

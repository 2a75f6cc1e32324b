#include "platform/fs/file_system.h"

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

Status FileSystem::WriteWholeFile(const std::string& path, std::string_view content) {
  ViewSource source(content);
  return WriteFileFrom(path, source);
}

}  // namespace vexmar::fs

#include "build/project_bounds.h"

#include "platform/fs/file_system.h"

namespace vexmar::build {

bool LeavesTheProjectFolder(std::string_view name) {
  if (name.empty()) return false;
  if (name.front() == '/' || name.front() == '\\') return true;  // absolute or UNC
  if (name.find(':') != std::string_view::npos) return true;     // a drive or a stream
  while (!name.empty()) {
    const size_t end = name.find_first_of("/\\");
    if (name.substr(0, end) == "..") return true;
    if (end == std::string_view::npos) break;
    name.remove_prefix(end + 1);
  }
  return false;
}

std::string PathInProject(const std::string& projectFolder, std::string_view name) {
  std::string path = projectFolder;
  for (const char c : name) path += (c == '/' || c == '\\') ? fs::PathSeparator() : c;
  return path;
}

}  // namespace vexmar::build

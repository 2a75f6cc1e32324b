#pragma once
// Names of the private folders the viewer extracts a book into when it has
// to show it in the default browser. The name carries the process id, so a
// later start can tell a folder left behind by a crash from one in use.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexmar::viewer {

inline constexpr char kFallbackFolderPrefix[] = "vexmar-book-";

// "vexmar-book-<pid>-<unique>"
std::string FallbackFolderName(uint32_t process_id, uint32_t unique);
// The process id of a folder with such a name; nothing for any other name.
std::optional<uint32_t> FallbackFolderOwner(std::string_view folder_name);

}  // namespace vexmar::viewer

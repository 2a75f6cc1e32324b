#pragma once
// An icon file (.ico) made the book's icon: its images become RT_ICON
// entries 1, 2, ... and its directory the RT_GROUP_ICON entry 1 that names
// them, the group the viewer's window and the shell show. The file comes
// from outside the program, so it is read within bounds.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace vexmar::build {

inline constexpr int kIconType = 3;        // RT_ICON
inline constexpr int kGroupIconType = 14;  // RT_GROUP_ICON
inline constexpr int kIconGroupName = 1;
// Far above any real icon (a 256 x 256 image with every depth is < 1 MiB).
inline constexpr std::size_t kMaxIconFileSize = 16u << 20;

struct IconResources {
  std::string group;                // GRPICONDIR, one entry per image with its RT_ICON id
  std::vector<std::string> images;  // image i is RT_ICON id i + 1
};

// Refuses anything that is not an icon file: a wrong header, no images, an
// image outside the file, images sharing bytes, an image that is neither a
// bitmap (BITMAPINFOHEADER) nor PNG. Memory stays within twice the input.
Result<IconResources> ParseIconFile(std::string_view file);

}  // namespace vexmar::build

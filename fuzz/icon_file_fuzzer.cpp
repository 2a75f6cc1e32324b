// libFuzzer entry for the icon file reader (vexmar-ebc build --icon): any
// bytes give an icon or an error, never a fault; an icon's images lie in
// the file without overlapping, and its group names each of them once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "build/icon_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const auto icon = vexmar::build::ParseIconFile(file);
  if (!icon) return 0;
  std::size_t total = 0;
  for (const auto& image : icon->images) total += image.size();
  if (icon->images.empty() || total > size || icon->group.size() != 6 + 14 * icon->images.size()) {
    std::abort();
  }
  return 0;
}

#include "build/icon_file.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace vexmar::build {
namespace {

constexpr std::size_t kHeaderSize = 6;      // ICONDIR: reserved, type, count
constexpr std::size_t kFileEntrySize = 16;  // ICONDIRENTRY
constexpr std::size_t kBitmapHeaderSize = 40;
constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

std::uint32_t Read(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

void Put(std::string& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

bool IsImage(std::string_view image) {
  if (image.substr(0, kPngSignature.size()) == kPngSignature) return true;
  return image.size() >= kBitmapHeaderSize && Read(image, 0, 4) == kBitmapHeaderSize;
}

}  // namespace

Result<IconResources> ParseIconFile(std::string_view file) {
  const auto notAnIcon = [](const std::string& why) {
    return Fail("it is not an icon file (.ico): " + why);
  };
  if (file.size() > kMaxIconFileSize) return notAnIcon("it is larger than 16 MiB");
  if (file.size() < kHeaderSize || Read(file, 0, 2) != 0 || Read(file, 2, 2) != 1) {
    return notAnIcon("it does not start as one");
  }
  const std::size_t count = Read(file, 4, 2);
  if (count == 0) return notAnIcon("it holds no image");
  const std::size_t directoryEnd = kHeaderSize + count * kFileEntrySize;
  if (directoryEnd > file.size()) return notAnIcon("its list of images is cut short");

  IconResources icon;
  Put(icon.group, 0, 2);
  Put(icon.group, 1, 2);
  Put(icon.group, static_cast<std::uint32_t>(count), 2);
  std::vector<std::pair<std::size_t, std::size_t>> spans;  // [start, end) of each image
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kHeaderSize + i * kFileEntrySize;
    const std::uint64_t size = Read(file, entry + 8, 4);
    const std::uint64_t offset = Read(file, entry + 12, 4);
    const std::string number = "image " + std::to_string(i + 1);
    if (offset < directoryEnd || size == 0 || offset + size > file.size()) {
      return notAnIcon(number + " lies outside the file");
    }
    const std::size_t start = static_cast<std::size_t>(offset);  // within the file now
    const std::size_t end = start + static_cast<std::size_t>(size);
    if (!IsImage(file.substr(start, end - start))) {
      return notAnIcon(number + " is neither a bitmap nor PNG");
    }
    spans.emplace_back(start, end);
    // GRPICONDIRENTRY: the file's entry up to the size, then the image's id.
    icon.group.append(file.substr(entry, 12));
    Put(icon.group, static_cast<std::uint32_t>(i + 1), 2);
  }
  // Checked before any image is copied: images sharing bytes could
  // otherwise make a small file claim gigabytes.
  std::vector<std::pair<std::size_t, std::size_t>> sorted = spans;
  std::sort(sorted.begin(), sorted.end());
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i].first < sorted[i - 1].second) return notAnIcon("two images share bytes");
  }
  for (const auto& [start, end] : spans) icon.images.emplace_back(file.substr(start, end - start));
  return icon;
}

}  // namespace vexmar::build

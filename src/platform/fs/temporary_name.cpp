// The names of temporary files, the same on every platform.
#include <atomic>
#include <cstdio>
#include <random>
#include <utility>

#include "platform/fs/temporary_file.h"

namespace vexmar::fs {
namespace {

constexpr std::string_view kPrefix = ".vexmar-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kNameLength = kPrefix.size() + 8 + 1 + 8 + 1 + 8 + kSuffix.size();

std::uint32_t SystemDraw() {
  std::random_device device;
  return static_cast<std::uint32_t>(device());
}

std::atomic<NameDraw> currentDraw{&SystemDraw};

std::string BareName(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ReadHex(std::string_view text, std::uint32_t* value) {
  *value = 0;
  for (const char c : text) {
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return false;
    *value = *value << 4 | static_cast<std::uint32_t>(digit);
  }
  return true;
}

// The three numbers of a temporary name, or false when it is none.
bool Parse(std::string_view name, std::uint32_t* key, std::uint32_t* process) {
  std::uint32_t draw = 0;
  return name.size() == kNameLength && name.substr(0, kPrefix.size()) == kPrefix &&
         name.substr(name.size() - kSuffix.size()) == kSuffix && name[16] == '-' &&
         name[25] == '-' && ReadHex(name.substr(8, 8), key) &&
         ReadHex(name.substr(17, 8), process) && ReadHex(name.substr(26, 8), &draw);
}

// The target's name, hashed (FNV-1a) without regard to ASCII letter case,
// since Windows does not tell Book.exe from BOOK.EXE.
std::uint32_t KeyOf(const std::string& target) {
  const std::string name = BareName(target);
  std::uint32_t key = 0;
  std::uint32_t process = 0;
  if (Parse(name, &key, &process)) return key;
  key = 2166136261u;
  for (const char c : name) {
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    key = (key ^ static_cast<unsigned char>(lower)) * 16777619u;
  }
  return key;
}

}  // namespace

std::string TemporaryName(const std::string& target, std::uint32_t process, std::uint32_t draw) {
  char name[kNameLength + 1];
  std::snprintf(name, sizeof name, ".vexmar-%08lx-%08lx-%08lx.tmp",
                static_cast<unsigned long>(KeyOf(target)), static_cast<unsigned long>(process),
                static_cast<unsigned long>(draw));
  return name;
}

bool IsTemporaryOf(const std::string& target, const std::string& name, std::uint32_t* process) {
  std::uint32_t key = 0;
  return Parse(name, &key, process) && key == KeyOf(target);
}

NameDraw SetNameDraw(NameDraw draw) {
  return currentDraw.exchange(draw);
}

std::uint32_t DrawForName() {
  return currentDraw.load()();
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : target_(std::move(other.target_)),
      path_(std::exchange(other.path_, {})),
      handle_(std::exchange(other.handle_, kNoHandle)) {}

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept {
  if (this != &other) {
    Discard();
    target_ = std::move(other.target_);
    path_ = std::exchange(other.path_, {});
    handle_ = std::exchange(other.handle_, kNoHandle);
  }
  return *this;
}

TemporaryFile::~TemporaryFile() {
  Discard();
}

}  // namespace vexmar::fs

#include "support/temp_folder.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/fs/file_system.h"

namespace vexmar::testing {
namespace stdfs = std::filesystem;

namespace {
std::string Unique() {
  static std::atomic<int> counter{0};
  std::random_device random;
  return "vexmar-test-" + std::to_string(random()) + "-" + std::to_string(++counter);
}
}  // namespace

TempFolder::TempFolder() {
  const stdfs::path path = stdfs::temp_directory_path() / Unique();
  stdfs::create_directories(path);
  path_ = path.u8string();
  if (path_.back() != fs::PathSeparator()) path_ += fs::PathSeparator();
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  stdfs::remove_all(stdfs::u8path(path_), ignored);
}

std::string TempFolder::Write(const std::string& relative, const std::string& content) const {
  const stdfs::path path = stdfs::u8path(path_ + relative);
  stdfs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
  return path_ + relative;
}

std::string TempFolder::MakeFolder(const std::string& relative) const {
  stdfs::create_directories(stdfs::u8path(path_ + relative));
  return path_ + relative;
}

std::string TempFolder::Read(const std::string& relative) const {
  std::ifstream in(stdfs::u8path(path_ + relative), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace vexmar::testing

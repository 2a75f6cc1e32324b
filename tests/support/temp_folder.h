#pragma once
// A fresh folder under the system's temporary folder, removed with its
// content when the test ends.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "platform/fs/file_system.h"

namespace vexmar::testing {

// The running test's process number, as temporary names carry it.
std::uint32_t ThisProcessForTest();

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("vexmar-test-" + std::to_string(std::random_device()()) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(path);
    path_ = path.u8string();
    if (path_.back() != fs::PathSeparator()) path_ += fs::PathSeparator();
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::u8path(path_), ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path with a trailing separator, as the program's folder texts are.
  const std::string& Path() const { return path_; }
  // Writes a file (creating sub-folders) and returns its full path.
  std::string Write(const std::string& relative, const std::string& content = "x") const {
    const std::filesystem::path path = std::filesystem::u8path(path_ + relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path_ + relative;
  }
  std::string MakeFolder(const std::string& relative) const {
    std::filesystem::create_directories(std::filesystem::u8path(path_ + relative));
    return path_ + relative;
  }
  // A file the platform counts as hidden: a name starting with "." on Linux,
  // the hidden attribute on Windows. Returns the name a listing would show.
  std::string WriteHidden(const std::string& name) const;
  std::string Read(const std::string& relative) const {
    std::ostringstream out;
    out << std::ifstream(std::filesystem::u8path(path_ + relative), std::ios::binary).rdbuf();
    return out.str();
  }

 private:
  std::string path_;
};

}  // namespace vexmar::testing

#pragma once
// A fresh folder under the system's temporary folder, removed with its
// content when the test ends.
#include <string>

namespace vexmar::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path with a trailing separator, as the program's folder texts are.
  const std::string& Path() const { return path_; }
  // Writes a file (creating sub-folders) and returns its full path.
  std::string Write(const std::string& relative, const std::string& content = "x") const;
  std::string MakeFolder(const std::string& relative) const;
  // A file the platform counts as hidden: a name starting with "." on Linux,
  // the hidden attribute on Windows. Returns the name a listing would show.
  std::string WriteHidden(const std::string& name) const;
  std::string Read(const std::string& relative) const;

 private:
  std::string path_;
};

}  // namespace vexmar::testing

#pragma once
// Files of the project that are links to files elsewhere. The author put
// such a link in the project folder on purpose, so the build packs what it
// points at; the command line says so, since the book then carries a file
// from outside the folder it was built from.
#include <string>
#include <vector>

namespace vexmar::cli {

struct OutsideLink {
  std::string entry;   // as the project lists it
  std::string target;  // where the link leads
};

// The entries whose file, once every link on its way is followed, lies
// outside the project folder (also followed). Entries that do not resolve
// are left to the build to report.
std::vector<OutsideLink> LinksLeavingTheProject(const std::string& projectFolder,
                                                const std::vector<std::string>& entries);

}  // namespace vexmar::cli

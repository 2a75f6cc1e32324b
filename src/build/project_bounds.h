#pragma once
// Entries and the home page name files of the project folder, relative to
// it. A settings file is only text, written by hand as often as not; a name
// that climbs out of the folder or starts somewhere else would make the
// build read (or, for the home page, rewrite) a file the author never put
// in the project.
#include <string>
#include <string_view>

namespace vexmar::build {

// True for an absolute path ("/x", "\x"), a drive ("C:x"), a UNC name
// ("\\server\share") or any ".." component, with either separator.
bool LeavesTheProjectFolder(std::string_view name);

// The file an entry or the home page names inside the project folder. Names
// of sub-folder files may be written with "\" (as the window and Windows
// write them) or "/" (as a hand-written settings file may); both become the
// platform's own separator.
std::string PathInProject(const std::string& projectFolder, std::string_view name);

}  // namespace vexmar::build

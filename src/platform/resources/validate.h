#pragma once
// Consistency checks of a PE file's headers and resource tree, shared by
// the tests: every mutating test runs them on its output instead of
// re-deriving offsets itself.
#include <string>
#include <vector>

#include "platform/resources/byte_io.h"

namespace vexmar::resources {

// Each finding is one sentence; a sound file gives none. Checked: section
// alignment and overlap, SizeOfImage, SizeOfHeaders, data directories
// inside sections, root directory at the start of its section, directory
// order and counts (by looking every entry up the loader's way), alignment
// of tables and strings, the checksum when it is not zero, and that the COFF
// string table lies in the file.
std::vector<std::string> Validate(ByteSource& file);

}  // namespace vexmar::resources

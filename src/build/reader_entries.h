#pragma once
// The entries the viewer's reader draws on: the contents (the pages in
// reading order with their titles) and the full-text index of the pages,
// both worked out from the pages as the book carries them.
#include <string>
#include <string_view>
#include <vector>

#include "build/ebook_image.h"
#include "platform/fs/file_system.h"

namespace vexmar::build {

// The "VEXMAR"/"CONTENTS" and "VEXMAR"/"SEARCH" entries for the checked
// files (in list order) and the index page as the author typed it. The
// pages are the checked .htm, .html and .txt files (book/page_kind.h). Each page
// is read once and its text indexed, in reading order, on a second thread
// while the next pages are read, so the memory used is the index's and a few
// pages'. A page whose bytes make no sense still gets its place and title;
// a page that cannot be read fails, naming it.
Result<std::vector<BookEntry>> ReaderEntries(fs::FileSystem& files,
                                             const std::vector<BookFile>& checked,
                                             const std::string& indexPage);

}  // namespace vexmar::build

#pragma once
// Which of a book's files are its pages: web pages (.htm, .html) and text
// files (.txt), in any letter case. The table of contents, the link check,
// the reader's contents and search, and the viewer all ask this one question,
// so a page is a page everywhere.
#include <string_view>

namespace vexmar::book {

bool IsWebPageName(std::string_view name);
// A web page or a text file.
bool IsPageName(std::string_view name);

}  // namespace vexmar::book

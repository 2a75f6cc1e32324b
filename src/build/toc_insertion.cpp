#include "build/toc_insertion.h"

#include "build/toc_block.h"
#include "platform/text/text.h"

namespace vexmar::build {

Status InsertToc(workspace::FrmMain& w) {
  // Set first: a build that fails from here on still counts as the
  // insertion, so no later build tries again and doubles the block.
  w.TocInserted = true;
  const std::string indexPage = w.ProjectFolder + w.txthomepage.Text();
  std::vector<std::string> entries;
  for (int i = 0; i < w.lstTOC.Count(); ++i) {
    if (w.lstTOC.Checked(i)) entries.push_back(w.lstTOC.Entry(i));
  }
  const std::string block = TocBlock(TocFormFor(indexPage), entries);

  fs::FileSystem& files = w.GetHost().files;
  const Result<std::string> page = files.ReadWholeFile(indexPage);
  if (!page) return page.error();
  // The page's own bytes stay as they are; only the block passes through the
  // ANSI code page, as the page itself was written in it.
  return files.WriteWholeFile(indexPage, text::Utf8ToAnsi(block) + page.value() + "\r\n");
}

}  // namespace vexmar::build

#include "build/toc_insertion.h"

#include "build/project_bounds.h"
#include "build/toc_block.h"
#include "platform/text/text.h"

namespace vexmar::build {

Status InsertToc(workspace::FrmMain& w) {
  // Set first: a build that fails from here on still counts as the
  // insertion, so no later build tries again and doubles the block.
  w.TocInserted = true;
  const std::string indexPage = PathInProject(w.ProjectFolder, w.txthomepage.Text());
  std::vector<std::string> entries, allEntries;
  for (int i = 0; i < w.lstTOC.Count(); ++i) {
    allEntries.push_back(w.lstTOC.Entry(i));
    if (w.lstTOC.Checked(i)) entries.push_back(allEntries.back());
  }
  const TocForm form = TocFormFor(indexPage);
  const std::string block = text::Utf8ToAnsi(TocBlock(form, entries));

  fs::FileSystem& files = w.GetHost().files;
  const Result<std::string> page = files.ReadWholeFile(indexPage);
  if (!page) return page.error();
  // The page's own bytes stay as they are; only the block passes through the
  // ANSI code page, as the page itself was written in it. A block an earlier
  // build left in front (another window's, a killed build's) is replaced
  // together with the line end that build added after the page, so
  // rebuilding never grows the page.
  const size_t earlier = EarlierBlockLength(page.value(), form, allEntries);
  if (earlier > 0) return files.WriteWholeFile(indexPage, block + page.value().substr(earlier));
  return files.WriteWholeFile(indexPage, block + page.value() + "\r\n");
}

}  // namespace vexmar::build

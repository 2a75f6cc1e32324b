#include "build/toc_insertion.h"

#include "build/project_bounds.h"
#include "build/toc_block.h"

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
  const bool webPage = form == TocForm::Html;

  fs::FileSystem& files = w.GetHost().files;
  const Result<std::string> read = files.ReadWholeFile(indexPage);
  if (!read) return read.error();
  // The page's own bytes stay as they are; the block goes after the page's
  // byte-order mark (in front of it, it would hide the mark and the browser
  // would read the whole page in the wrong encoding) and is written in the
  // page's encoding. A block an earlier build left in front (another
  // window's, a killed build's) is replaced together with the line end that
  // build added after the page, so rebuilding never grows the page.
  std::string_view page = read.value();
  PageLayout layout = PageLayoutOf(page, webPage);
  // Older builds wrote an ANSI block in front of everything, hiding the
  // mark, or pushing the charset declaration out of where it is looked for;
  // such a block is replaced and the page read from behind it.
  bool replaced = false;
  if (layout.markLength == 0) {
    const size_t ansiBlock = EarlierBlockLength(page, form, allEntries, PageEncoding::Ansi);
    const PageLayout behind = PageLayoutOf(page.substr(ansiBlock), webPage);
    if (ansiBlock > 0 && behind.encoding != PageEncoding::Ansi) {
      page.remove_prefix(ansiBlock);
      layout = behind;
      replaced = true;
    }
  }
  const std::string_view mark = page.substr(0, layout.markLength);
  const std::string_view content = page.substr(layout.markLength);
  std::string rewritten(mark);
  rewritten += EncodeForPage(TocBlock(form, entries), layout.encoding, webPage);
  const size_t earlier = EarlierBlockLength(content, form, allEntries, layout.encoding);
  rewritten += content.substr(earlier);
  if (earlier == 0 && !replaced) rewritten += EncodeForPage("\r\n", layout.encoding, webPage);
  return files.WriteWholeFile(indexPage, rewritten);
}

}  // namespace vexmar::build

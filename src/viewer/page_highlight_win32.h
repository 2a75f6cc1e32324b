#pragma once
// The words a search found, marked in the page the control shows, so the
// reader sees at once why the page was a result.
#include <exdisp.h>

#include <string>
#include <vector>

namespace vexmar::viewer {

// Gives every place the page shows one of `words` (in any letter case) a
// marker background and scrolls to the first. Best effort: a page without
// a body (a frameset, a text file the control shows its own way) keeps its
// look.
void HighlightInPage(IWebBrowser2& browser, const std::vector<std::wstring>& words);

}  // namespace vexmar::viewer

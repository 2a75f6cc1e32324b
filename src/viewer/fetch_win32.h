#pragma once
// Fetches one URL the way the WebBrowser control does: an asynchronous
// urlmon bind with a message pump (urlmon's blocking helpers fail under
// Wine for every scheme).
#include <windows.h>

#include <string>

namespace vexmar::viewer {

struct FetchResult {
  HRESULT status = E_FAIL;
  std::string mimeType;
  std::string bytes;
};

// Needs OLE initialised on this thread.
FetchResult FetchUrl(const std::wstring& url, DWORD timeout_ms);

// `relative` resolved against `base` as the browser resolves links.
std::wstring CombineUrl(const std::wstring& base, const std::wstring& relative);

}  // namespace vexmar::viewer

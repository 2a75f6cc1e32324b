#pragma once
// The urlmon functions the viewer calls, loaded from System32 at run time:
// urlmon is not one of the DLLs Windows always takes from System32, so a
// static import would be looked for beside the book first.
#include <urlmon.h>
#include <windows.h>

namespace vexmar::viewer {

struct UrlmonApi {
  decltype(&CoInternetGetSession) get_session = nullptr;
  decltype(&CreateURLMonikerEx) create_moniker = nullptr;
  decltype(&CreateAsyncBindCtx) create_bind_context = nullptr;
  decltype(&CoInternetCombineUrl) combine_url = nullptr;
  decltype(&CoInternetSetFeatureEnabled) set_feature = nullptr;  // may stay null

  // Null when urlmon or one of its required functions is missing.
  static const UrlmonApi* Get();
};

}  // namespace vexmar::viewer

#include "viewer/urlmon_api_win32.h"

#include "viewer/dll_search_win32.h"

namespace vexmar::viewer {
namespace {

template <typename Function>
void Resolve(HMODULE module, const char* name, Function& out) {
  out = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

const UrlmonApi* UrlmonApi::Get() {
  static const UrlmonApi* const api = []() -> const UrlmonApi* {
    const HMODULE urlmon = LoadSystemLibrary(L"urlmon.dll");
    if (urlmon == nullptr) {
      return nullptr;
    }
    static UrlmonApi loaded;
    Resolve(urlmon, "CoInternetGetSession", loaded.get_session);
    Resolve(urlmon, "CreateURLMonikerEx", loaded.create_moniker);
    Resolve(urlmon, "CreateAsyncBindCtx", loaded.create_bind_context);
    Resolve(urlmon, "CoInternetCombineUrl", loaded.combine_url);
    Resolve(urlmon, "CoInternetSetFeatureEnabled", loaded.set_feature);
    const bool complete = loaded.get_session != nullptr && loaded.create_moniker != nullptr &&
                          loaded.create_bind_context != nullptr && loaded.combine_url != nullptr;
    return complete ? &loaded : nullptr;
  }();
  return api;
}

}  // namespace vexmar::viewer

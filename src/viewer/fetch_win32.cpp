#include "viewer/fetch_win32.h"

#include <urlmon.h>

#include "viewer/com_object_win32.h"

#include "viewer/urlmon_api_win32.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {
namespace {

class FetchCallback final : public ComObject<FetchCallback, IBindStatusCallback> {
 public:
  static constexpr InterfaceEntry kInterfaces[] = {{&IID_IBindStatusCallback, 0}};

  STDMETHODIMP OnStartBinding(DWORD, IBinding*) override { return S_OK; }
  STDMETHODIMP GetPriority(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP OnLowResource(DWORD) override { return S_OK; }
  STDMETHODIMP OnProgress(ULONG, ULONG, ULONG status, LPCWSTR text) override {
    if ((status == BINDSTATUS_MIMETYPEAVAILABLE ||
         status == BINDSTATUS_VERIFIEDMIMETYPEAVAILABLE) &&
        text != nullptr) {
      result.mimeType = Narrow(text);
    }
    return S_OK;
  }
  STDMETHODIMP OnStopBinding(HRESULT status, LPCWSTR) override {
    result.status = status;
    done = true;
    return S_OK;
  }
  STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override {
    if (flags == nullptr || info == nullptr) {
      return E_INVALIDARG;
    }
    *flags = BINDF_ASYNCHRONOUS | BINDF_ASYNCSTORAGE | BINDF_PULLDATA | BINDF_GETNEWESTVERSION |
             BINDF_NOWRITECACHE;
    const ULONG size = info->cbSize;
    ZeroMemory(info, size);
    info->cbSize = size;
    info->dwBindVerb = BINDVERB_GET;
    return S_OK;
  }
  STDMETHODIMP OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM* medium) override {
    if (medium == nullptr || medium->tymed != TYMED_ISTREAM || medium->pstm == nullptr) {
      return S_OK;
    }
    char buffer[16384];
    for (;;) {
      ULONG read = 0;
      const HRESULT status = medium->pstm->Read(buffer, sizeof buffer, &read);
      result.bytes.append(buffer, read);
      if (status != S_OK || read == 0) {
        return S_OK;
      }
    }
  }
  STDMETHODIMP OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

  FetchResult result;
  bool done = false;

 private:
  friend ComObject;
  ~FetchCallback() = default;
};

}  // namespace

FetchResult FetchUrl(const std::wstring& url, DWORD timeout_ms) {
  FetchResult failed;
  const UrlmonApi* urlmon = UrlmonApi::Get();
  if (urlmon == nullptr) {
    failed.status = HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    return failed;
  }
  ComPtr<IMoniker> moniker;
  failed.status = urlmon->create_moniker(nullptr, url.c_str(), moniker.Receive(), URL_MK_UNIFORM);
  if (FAILED(failed.status)) {
    return failed;
  }
  const auto callback = ComPtr<FetchCallback>::Adopt(new FetchCallback);
  ComPtr<IBindCtx> context;
  failed.status = urlmon->create_bind_context(0, callback.get(), nullptr, context.Receive());
  if (FAILED(failed.status)) {
    return failed;
  }
  ComPtr<IStream> stream;
  const HRESULT bound =
      moniker->BindToStorage(context.get(), nullptr, IID_IStream, stream.ReceiveVoid());
  const DWORD started = GetTickCount();
  while (SUCCEEDED(bound) && !callback->done && GetTickCount() - started < timeout_ms) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (!callback->done) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
  }
  FetchResult result = callback->result;
  if (FAILED(bound)) {
    result.status = bound;
  } else if (!callback->done) {
    result.status = HRESULT_FROM_WIN32(ERROR_TIMEOUT);
  }
  return result;
}

std::wstring CombineUrl(const std::wstring& base, const std::wstring& relative) {
  const UrlmonApi* urlmon = UrlmonApi::Get();
  if (urlmon == nullptr) {
    return relative;
  }
  wchar_t combined[4096];
  DWORD length = 0;
  if (FAILED(urlmon->combine_url(base.c_str(), relative.c_str(), 0, combined, 4096, &length, 0))) {
    return relative;
  }
  return combined;
}

}  // namespace vexmar::viewer

#include "viewer/fetch_win32.h"

#include <urlmon.h>

#include "viewer/com_object_win32.h"

#include "viewer/urlmon_api_win32.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {
namespace {

class FetchCallback final : public IBindStatusCallback {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) {
      return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
      *out = static_cast<IBindStatusCallback*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) {
      delete this;
    }
    return static_cast<ULONG>(refs);
  }

  STDMETHODIMP OnStartBinding(DWORD, IBinding*) override { return S_OK; }
  STDMETHODIMP GetPriority(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP OnLowResource(DWORD) override { return S_OK; }
  STDMETHODIMP OnProgress(ULONG, ULONG, ULONG status, LPCWSTR text) override {
    if ((status == BINDSTATUS_MIMETYPEAVAILABLE ||
         status == BINDSTATUS_VERIFIEDMIMETYPEAVAILABLE) &&
        text != nullptr) {
      result.mime_type = Narrow(text);
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
  LONG refs_ = 1;
};

}  // namespace

FetchResult FetchUrl(const std::wstring& url, DWORD timeout_ms) {
  FetchResult failed;
  const UrlmonApi* urlmon = UrlmonApi::Get();
  if (urlmon == nullptr) {
    failed.status = HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    return failed;
  }
  IMoniker* moniker = nullptr;
  failed.status = urlmon->create_moniker(nullptr, url.c_str(), &moniker, URL_MK_UNIFORM);
  if (FAILED(failed.status)) {
    return failed;
  }
  auto* callback = new FetchCallback;
  IBindCtx* context = nullptr;
  failed.status = urlmon->create_bind_context(0, callback, nullptr, &context);
  if (FAILED(failed.status)) {
    callback->Release();
    moniker->Release();
    return failed;
  }
  IStream* stream = nullptr;
  const HRESULT bound =
      moniker->BindToStorage(context, nullptr, IID_IStream, reinterpret_cast<void**>(&stream));
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
  if (stream != nullptr) {
    stream->Release();
  }
  context->Release();
  moniker->Release();
  callback->Release();
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

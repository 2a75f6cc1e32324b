#include "viewer/browser_host_win32.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <ocidl.h>
#include <oleidl.h>
#include <urlmon.h>

#include "viewer/browser_mode.h"
#include "viewer/com_object_win32.h"
#include "viewer/url_mapping.h"
#include "viewer/urlmon_api_win32.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {
namespace {

// mingw-w64's libuuid lacks CLSID_HTMLDocument.
const CLSID kHtmlDocumentClsid = {
    0x25336920, 0x03f9, 0x11cf, {0x8f, 0xd0, 0x00, 0xaa, 0x00, 0x68, 0x6f, 0x13}};

template <typename Interface>
void ReleaseAndClear(Interface*& pointer) {
  if (pointer != nullptr) {
    pointer->Release();
    pointer = nullptr;
  }
}

}  // namespace

// One object is every site interface the control asks its container for;
// MSHTML finds IDocHostUIHandler by QueryInterface on the client site, so
// it has to be this same object.
class BrowserSite final : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IDocHostUIHandler,
                          public IDispatch {
 public:
  BrowserSite(HWND parent, BrowserEvents& events) : parent_(parent), events_(events) {}

  HRESULT Create(const RECT& area, const std::wstring& url);
  void Destroy();
  IWebBrowser2* browser() const { return browser_; }
  void Resize(const RECT& area);
  bool TranslateKey(MSG& message);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) {
      return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
      *out = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite)) {
      *out = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) ||
               IsEqualIID(riid, IID_IOleInPlaceFrame)) {
      *out = static_cast<IOleInPlaceFrame*>(this);
    } else if (IsEqualIID(riid, IID_IDocHostUIHandler)) {
      *out = static_cast<IDocHostUIHandler*>(this);
    } else if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, DIID_DWebBrowserEvents2)) {
      *out = static_cast<IDispatch*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
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

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the in-place site and the frame)
  STDMETHODIMP GetWindow(HWND* window) override {
    *window = parent_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    *position = area_;
    *clip = area_;
    info->fMDIApp = FALSE;
    info->hwndFrame = parent_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow, IOleInPlaceFrame
  STDMETHODIMP GetBorder(LPRECT) override { return E_NOTIMPL; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
    ReleaseAndClear(active_);
    active_ = active;
    if (active_ != nullptr) {
      active_->AddRef();
    }
    return S_OK;
  }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IDocHostUIHandler
  // S_OK keeps IE's menu (View Source, Properties) off the book's pages.
  STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_OK; }
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_THEME;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
  }
  STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                      IOleInPlaceUIWindow*) override {
    return S_FALSE;
  }
  STDMETHODIMP HideUI() override { return S_OK; }
  STDMETHODIMP UpdateUI() override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override {
    *key = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget**) override { return E_NOTIMPL; }
  STDMETHODIMP GetExternal(IDispatch** external) override {
    *external = nullptr;
    return S_FALSE;
  }
  STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
    *out = nullptr;
    return S_FALSE;
  }
  STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override {
    *out = nullptr;
    return S_FALSE;
  }

  // IDispatch: the control's DWebBrowserEvents2.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override;

 private:
  ~BrowserSite() = default;
  void OnBeforeNavigate(DISPPARAMS& params);
  bool IsTopLevel(const VARIANT& browser_argument) const;
  void OnNewWindow(DISPPARAMS& params);

  LONG refs_ = 1;
  HWND parent_;
  BrowserEvents& events_;
  RECT area_{};
  IOleObject* object_ = nullptr;
  IWebBrowser2* browser_ = nullptr;
  IOleInPlaceActiveObject* active_ = nullptr;
  IConnectionPoint* events_point_ = nullptr;
  DWORD events_cookie_ = 0;
  bool first_page_done_ = false;
  bool back_enabled_ = false;
  bool forward_enabled_ = false;
};

namespace {

// The string in a by-reference VARIANT argument of an event (the URL).
std::wstring StringArgument(const VARIANT& argument) {
  const VARIANT* value = &argument;
  if (value->vt == (VT_BYREF | VT_VARIANT) && value->pvarVal != nullptr) {
    value = value->pvarVal;
  }
  if (value->vt == VT_BSTR && value->bstrVal != nullptr) {
    return value->bstrVal;
  }
  return {};
}

void SetCancel(VARIANT& argument) {
  if (argument.vt == (VT_BYREF | VT_BOOL) && argument.pboolVal != nullptr) {
    *argument.pboolVal = VARIANT_TRUE;
  }
}

}  // namespace

void BrowserSite::OnBeforeNavigate(DISPPARAMS& params) {
  // Arguments come last first: rgvarg[5] is the URL, rgvarg[0] Cancel.
  if (params.cArgs < 7) {
    return;
  }
  const std::wstring url = StringArgument(params.rgvarg[5]);
  if (ClassifyLink(Narrow(url)) == LinkKind::kExternal) {
    SetCancel(params.rgvarg[0]);
    events_.OnExternalLink(url);
  }
}

bool BrowserSite::IsTopLevel(const VARIANT& browser_argument) const {
  if (browser_argument.vt != VT_DISPATCH || browser_argument.pdispVal == nullptr ||
      browser_ == nullptr) {
    return false;
  }
  // COM identity: the same object gives the same IUnknown.
  IUnknown* event_source = nullptr;
  IUnknown* top = nullptr;
  browser_argument.pdispVal->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&event_source));
  browser_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&top));
  const bool same = event_source != nullptr && event_source == top;
  ReleaseAndClear(event_source);
  ReleaseAndClear(top);
  return same;
}

void BrowserSite::OnNewWindow(DISPPARAMS& params) {
  // NewWindow3(ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl), reversed.
  // No second IE window ever opens: book pages open here, the web outside.
  if (params.cArgs < 5) {
    return;
  }
  SetCancel(params.rgvarg[3]);
  const std::wstring url = StringArgument(params.rgvarg[0]);
  const LinkKind kind = ClassifyLink(Narrow(url));
  if (kind == LinkKind::kExternal) {
    events_.OnExternalLink(url);
  } else if (kind == LinkKind::kBook && browser_ != nullptr) {
    BSTR target = SysAllocString(url.c_str());
    browser_->Navigate(target, nullptr, nullptr, nullptr, nullptr);
    SysFreeString(target);
  }
}

STDMETHODIMP BrowserSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                 EXCEPINFO*, UINT*) {
  if (params == nullptr) {
    return S_OK;
  }
  switch (id) {
    case DISPID_BEFORENAVIGATE2:
      OnBeforeNavigate(*params);
      break;
    case DISPID_NEWWINDOW3:
      OnNewWindow(*params);
      break;
    case DISPID_COMMANDSTATECHANGE:
      if (params->cArgs >= 2 && params->rgvarg[1].vt == VT_I4 && params->rgvarg[0].vt == VT_BOOL) {
        const bool enabled = params->rgvarg[0].boolVal != VARIANT_FALSE;
        if (params->rgvarg[1].lVal == CSC_NAVIGATEBACK) {
          back_enabled_ = enabled;
        } else if (params->rgvarg[1].lVal == CSC_NAVIGATEFORWARD) {
          forward_enabled_ = enabled;
        }
        events_.OnBackForwardChanged(back_enabled_, forward_enabled_);
      }
      break;
    case DISPID_NAVIGATEERROR:
      // NavigateError(pDisp, URL, Frame, StatusCode, Cancel), reversed. A
      // frame or a later link failing is the page's business; the first
      // top-level page failing means the book cannot be shown here.
      if (!first_page_done_ && params->cArgs >= 5 && IsTopLevel(params->rgvarg[4])) {
        first_page_done_ = true;
        events_.OnFirstPageFailed();
      }
      break;
    case DISPID_DOCUMENTCOMPLETE:
      if (!first_page_done_) {
        first_page_done_ = true;
        events_.OnFirstPageComplete();
      }
      break;
    default:
      break;
  }
  return S_OK;
}

HRESULT BrowserSite::Create(const RECT& area, const std::wstring& url) {
  area_ = area;
  // CLSID_WebBrowser is created even where nothing can render (Wine
  // without Gecko, a Windows without MSHTML); an HTML document object is
  // the honest test.
  IUnknown* document = nullptr;
  HRESULT status = CoCreateInstance(kHtmlDocumentClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                    reinterpret_cast<void**>(&document));
  if (FAILED(status)) {
    return status;
  }
  document->Release();
  status = CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                            reinterpret_cast<void**>(&object_));
  if (FAILED(status)) {
    return status;
  }
  status = object_->SetClientSite(static_cast<IOleClientSite*>(this));
  if (SUCCEEDED(status)) {
    OleSetContainedObject(object_, TRUE);
    status = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this),
                             0, parent_, &area_);
  }
  if (SUCCEEDED(status)) {
    status = object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_));
  }
  if (FAILED(status)) {
    Destroy();
    return status;
  }
  IConnectionPointContainer* container = nullptr;
  if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer,
                                         reinterpret_cast<void**>(&container)))) {
    if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &events_point_))) {
      events_point_->Advise(static_cast<IDispatch*>(this), &events_cookie_);
    }
    container->Release();
  }
  // No script-error dialogs, and a file dropped on the window must not
  // navigate away from the book.
  browser_->put_Silent(VARIANT_TRUE);
  browser_->put_RegisterAsDropTarget(VARIANT_FALSE);
  BSTR target = SysAllocString(url.c_str());
  status = browser_->Navigate(target, nullptr, nullptr, nullptr, nullptr);
  SysFreeString(target);
  if (FAILED(status)) {
    Destroy();
  }
  return status;
}

void BrowserSite::Destroy() {
  // The order the control expects: events off, deactivate, close, unsite.
  if (events_point_ != nullptr) {
    events_point_->Unadvise(events_cookie_);
    ReleaseAndClear(events_point_);
  }
  ReleaseAndClear(active_);
  ReleaseAndClear(browser_);
  if (object_ != nullptr) {
    IOleInPlaceObject* in_place = nullptr;
    if (SUCCEEDED(
            object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&in_place)))) {
      in_place->InPlaceDeactivate();
      in_place->Release();
    }
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    ReleaseAndClear(object_);
  }
}

void BrowserSite::Resize(const RECT& area) {
  area_ = area;
  IOleInPlaceObject* in_place = nullptr;
  if (object_ != nullptr && SUCCEEDED(object_->QueryInterface(
                                IID_IOleInPlaceObject, reinterpret_cast<void**>(&in_place)))) {
    in_place->SetObjectRects(&area_, &area_);
    in_place->Release();
  }
}

bool BrowserSite::TranslateKey(MSG& message) {
  if (active_ == nullptr || message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
    return false;
  }
  return active_->TranslateAccelerator(&message) == S_OK;
}

BrowserHost::~BrowserHost() {
  Destroy();
}

HRESULT BrowserHost::Create(HWND parent, const RECT& area, const std::wstring& url,
                            BrowserEvents& events) {
  Destroy();
  site_ = new BrowserSite(parent, events);
  const HRESULT status = site_->Create(area, url);
  if (FAILED(status)) {
    Destroy();
  }
  return status;
}

void BrowserHost::Destroy() {
  if (site_ != nullptr) {
    site_->Destroy();
    site_->Release();
    site_ = nullptr;
  }
}

void BrowserHost::Navigate(const std::wstring& url) {
  if (site_ != nullptr && site_->browser() != nullptr) {
    BSTR target = SysAllocString(url.c_str());
    site_->browser()->Navigate(target, nullptr, nullptr, nullptr, nullptr);
    SysFreeString(target);
  }
}

void BrowserHost::GoBack() {
  if (site_ != nullptr && site_->browser() != nullptr) {
    site_->browser()->GoBack();
  }
}

void BrowserHost::GoForward() {
  if (site_ != nullptr && site_->browser() != nullptr) {
    site_->browser()->GoForward();
  }
}

void BrowserHost::Print() {
  if (site_ != nullptr && site_->browser() != nullptr) {
    site_->browser()->ExecWB(OLECMDID_PRINT, OLECMDEXECOPT_PROMPTUSER, nullptr, nullptr);
  }
}

void BrowserHost::Resize(const RECT& area) {
  if (site_ != nullptr) {
    site_->Resize(area);
  }
}

bool BrowserHost::TranslateKey(MSG& message) {
  return site_ != nullptr && site_->TranslateKey(message);
}

namespace {

const wchar_t kEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
bool emulation_value_ours = false;

std::string ReadIeVersion(const wchar_t* value_name) {
  wchar_t text[64] = L"";
  DWORD size = sizeof text - sizeof(wchar_t);
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Internet Explorer", 0,
                    KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return {};
  }
  const bool ok = RegQueryValueExW(key, value_name, nullptr, &type, reinterpret_cast<BYTE*>(text),
                                   &size) == ERROR_SUCCESS &&
                  type == REG_SZ;
  RegCloseKey(key);
  return ok ? Narrow(text) : std::string();
}

std::wstring ExeFileName() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return {};
  }
  const std::wstring full(path, length);
  return full.substr(full.find_last_of(L"\\/") + 1);
}

}  // namespace

void PrepareBrowserFeatures() {
  // The value is keyed by the bare file name, and a book may be called
  // anything: set it for this name unless someone already has.
  const std::wstring name = ExeFileName();
  HKEY key = nullptr;
  if (!name.empty() &&
      RegCreateKeyExW(HKEY_CURRENT_USER, kEmulationKey, 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
    if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
        ERROR_FILE_NOT_FOUND) {
      // Pages with a standards DOCTYPE get the newest mode; pages without
      // one keep the quirks mode they were written for.
      const DWORD mode =
          BrowserEmulationValue(ReadIeVersion(L"svcVersion"), ReadIeVersion(L"Version"));
      emulation_value_ours =
          RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode),
                         sizeof mode) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
  }
  if (const UrlmonApi* urlmon = UrlmonApi::Get(); urlmon != nullptr && urlmon->set_feature) {
    urlmon->set_feature(FEATURE_DISABLE_NAVIGATION_SOUNDS, SET_FEATURE_ON_PROCESS, TRUE);
    urlmon->set_feature(FEATURE_WEBOC_POPUPMANAGEMENT, SET_FEATURE_ON_PROCESS, TRUE);
  }
}

void RestoreBrowserFeatures() {
  if (!emulation_value_ours) {
    return;
  }
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kEmulationKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, ExeFileName().c_str());
    RegCloseKey(key);
  }
  emulation_value_ours = false;
}

}  // namespace vexmar::viewer

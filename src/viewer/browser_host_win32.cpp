#include "viewer/browser_host_win32.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <ocidl.h>
#include <oleidl.h>
#include <urlmon.h>

#include "viewer/browser_mode.h"
#include "viewer/com_object_win32.h"
#include "viewer/page_highlight_win32.h"
#include "viewer/url_mapping.h"
#include "viewer/urlmon_api_win32.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {
namespace {

// mingw-w64's libuuid lacks CLSID_HTMLDocument.
const CLSID kHtmlDocumentClsid = {
    0x25336920, 0x03f9, 0x11cf, {0x8f, 0xd0, 0x00, 0xaa, 0x00, 0x68, 0x6f, 0x13}};

HRESULT NavigateTo(IWebBrowser2& browser, const std::wstring& url) {
  BSTR target = SysAllocString(url.c_str());
  const HRESULT status = browser.Navigate(target, nullptr, nullptr, nullptr, nullptr);
  SysFreeString(target);
  return status;
}

}  // namespace

// One object is every site interface the control asks its container for;
// MSHTML finds IDocHostUIHandler by QueryInterface on the client site, so
// it has to be this same object.
class BrowserSite final : public ComObject<BrowserSite, IOleClientSite, IOleInPlaceSite,
                                           IOleInPlaceFrame, IDocHostUIHandler, IDispatch> {
 public:
  static constexpr InterfaceEntry kInterfaces[] = {
      {&IID_IOleClientSite, 0},      {&IID_IOleWindow, 1},          {&IID_IOleInPlaceSite, 1},
      {&IID_IOleInPlaceUIWindow, 2}, {&IID_IOleInPlaceFrame, 2},    {&IID_IDocHostUIHandler, 3},
      {&IID_IDispatch, 4},           {&DIID_DWebBrowserEvents2, 4},
  };

  BrowserSite(HWND parent, BrowserEvents& events) : parent_(parent), events_(events) {}

  HRESULT Create(const RECT& area, const std::wstring& url);
  void Destroy();
  IWebBrowser2* browser() const { return browser_.get(); }
  void Resize(const RECT& area);
  bool TranslateKey(MSG& message);

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
    active_ = ComPtr<IOleInPlaceActiveObject>::Share(active);
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
    // The window scales by the monitor's DPI; the pages scale with it.
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_THEME | DOCHOSTUIFLAG_DPI_AWARE;
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
  friend ComObject;
  ~BrowserSite() = default;

  void OnBeforeNavigate(DISPPARAMS& params);
  bool IsTopLevel(const VARIANT& browser_argument) const;
  void OnNewWindow(DISPPARAMS& params);

  HWND parent_;
  BrowserEvents& events_;
  RECT area_{};
  ComPtr<IOleObject> object_;
  ComPtr<IWebBrowser2> browser_;
  ComPtr<IOleInPlaceActiveObject> active_;
  ComPtr<IConnectionPoint> eventsPoint_;
  DWORD eventsCookie_ = 0;
  bool firstPageDone_ = false;
  bool backEnabled_ = false;
  bool forwardEnabled_ = false;
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
  if (browser_argument.vt != VT_DISPATCH || browser_argument.pdispVal == nullptr || !browser_) {
    return false;
  }
  // COM identity: the same object gives the same IUnknown.
  ComPtr<IUnknown> event_source;
  ComPtr<IUnknown> top;
  browser_argument.pdispVal->QueryInterface(IID_IUnknown, event_source.ReceiveVoid());
  browser_->QueryInterface(IID_IUnknown, top.ReceiveVoid());
  return event_source && event_source.get() == top.get();
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
  } else if (kind == LinkKind::kBook && browser_) {
    NavigateTo(*browser_.get(), url);
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
          backEnabled_ = enabled;
        } else if (params->rgvarg[1].lVal == CSC_NAVIGATEFORWARD) {
          forwardEnabled_ = enabled;
        }
        events_.OnBackForwardChanged(backEnabled_, forwardEnabled_);
      }
      break;
    case DISPID_NAVIGATEERROR:
      // NavigateError(pDisp, URL, Frame, StatusCode, Cancel), reversed. A
      // frame or a later link failing is the page's business; the first
      // top-level page failing means the book cannot be shown here.
      if (!firstPageDone_ && params->cArgs >= 5 && IsTopLevel(params->rgvarg[4])) {
        firstPageDone_ = true;
        events_.OnFirstPageFailed();
      }
      break;
    case DISPID_DOCUMENTCOMPLETE:
      if (!firstPageDone_) {
        firstPageDone_ = true;
        events_.OnFirstPageComplete();
      }
      // DocumentComplete(pDisp, URL), reversed.
      if (params->cArgs >= 2 && IsTopLevel(params->rgvarg[1])) {
        events_.OnPageComplete(StringArgument(params->rgvarg[0]));
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
  HRESULT status = S_OK;
  {
    ComPtr<IUnknown> document;
    status = CoCreateInstance(kHtmlDocumentClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                              document.ReceiveVoid());
  }
  if (FAILED(status)) {
    return status;
  }
  status = CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                            object_.ReceiveVoid());
  if (FAILED(status)) {
    return status;
  }
  status = object_->SetClientSite(static_cast<IOleClientSite*>(this));
  if (SUCCEEDED(status)) {
    OleSetContainedObject(object_.get(), TRUE);
    status = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this),
                             0, parent_, &area_);
  }
  if (SUCCEEDED(status)) {
    status = object_->QueryInterface(IID_IWebBrowser2, browser_.ReceiveVoid());
  }
  if (FAILED(status)) {
    Destroy();
    return status;
  }
  ComPtr<IConnectionPointContainer> container;
  if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, container.ReceiveVoid())) &&
      SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, eventsPoint_.Receive()))) {
    eventsPoint_->Advise(static_cast<IDispatch*>(this), &eventsCookie_);
  }
  // No script-error dialogs, and a file dropped on the window must not
  // navigate away from the book.
  browser_->put_Silent(VARIANT_TRUE);
  browser_->put_RegisterAsDropTarget(VARIANT_FALSE);
  status = NavigateTo(*browser_.get(), url);
  if (FAILED(status)) {
    Destroy();
  }
  return status;
}

void BrowserSite::Destroy() {
  // The order the control expects: events off, deactivate, close, unsite.
  if (eventsPoint_) {
    eventsPoint_->Unadvise(eventsCookie_);
    eventsPoint_.Reset();
  }
  active_.Reset();
  browser_.Reset();
  if (object_) {
    ComPtr<IOleInPlaceObject> in_place;
    if (SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, in_place.ReceiveVoid()))) {
      in_place->InPlaceDeactivate();
    }
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_.Reset();
  }
}

void BrowserSite::Resize(const RECT& area) {
  area_ = area;
  ComPtr<IOleInPlaceObject> in_place;
  if (object_ &&
      SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, in_place.ReceiveVoid()))) {
    in_place->SetObjectRects(&area_, &area_);
  }
}

bool BrowserSite::TranslateKey(MSG& message) {
  if (!active_ || message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
    return false;
  }
  return active_->TranslateAccelerator(&message) == S_OK;
}

BrowserHost::BrowserHost() = default;

BrowserHost::~BrowserHost() {
  Destroy();
}

HRESULT BrowserHost::Create(HWND parent, const RECT& area, const std::wstring& url,
                            BrowserEvents& events) {
  Destroy();
  site_ = ComPtr<BrowserSite>::Adopt(new BrowserSite(parent, events));
  const HRESULT status = site_->Create(area, url);
  if (FAILED(status)) {
    Destroy();
  }
  return status;
}

void BrowserHost::Destroy() {
  if (site_) {
    site_->Destroy();
    site_.Reset();
  }
}

void BrowserHost::Navigate(const std::wstring& url) {
  if (site_ && site_->browser() != nullptr) {
    NavigateTo(*site_->browser(), url);
  }
}

void BrowserHost::GoBack() {
  if (site_ && site_->browser() != nullptr) {
    site_->browser()->GoBack();
  }
}

void BrowserHost::GoForward() {
  if (site_ && site_->browser() != nullptr) {
    site_->browser()->GoForward();
  }
}

void BrowserHost::Print() {
  if (site_ && site_->browser() != nullptr) {
    site_->browser()->ExecWB(OLECMDID_PRINT, OLECMDEXECOPT_PROMPTUSER, nullptr, nullptr);
  }
}

void BrowserHost::Highlight(const std::vector<std::wstring>& words) {
  if (site_ && site_->browser() != nullptr) {
    HighlightInPage(*site_->browser(), words);
  }
}

void BrowserHost::Resize(const RECT& area) {
  if (site_) {
    site_->Resize(area);
  }
}

bool BrowserHost::TranslateKey(MSG& message) {
  return site_ && site_->TranslateKey(message);
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

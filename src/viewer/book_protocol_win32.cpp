#include "viewer/book_protocol_win32.h"

#include <urlmon.h>

#include "viewer/com_object_win32.h"

#include <cstring>
#include <utility>

#include "viewer/mime_types.h"
#include "viewer/url_mapping.h"
#include "viewer/urlmon_api_win32.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {

const char kEmptyPageNotice[] =
    "<html><body><p>This page is empty in the e-book: its file could not be read when the "
    "book was made.</p></body></html>";

const char kDamagedPageNotice[] =
    "<html><body><p>This page of the book is damaged.</p></body></html>";

namespace {

// {6B3F0C5E-2D7A-4E61-9A0B-5C8E4F1D2A73}: names our protocol to urlmon only.
const CLSID kBookProtocolClsid = {
    0x6b3f0c5e, 0x2d7a, 0x4e61, {0x9a, 0x0b, 0x5c, 0x8e, 0x4f, 0x1d, 0x2a, 0x73}};

class BookProtocol final : public ComObject<BookProtocol, IInternetProtocol> {
 public:
  static constexpr InterfaceEntry kInterfaces[] = {{&IID_IInternetProtocolRoot, 0},
                                                   {&IID_IInternetProtocol, 0}};

  BookProtocol(const EntryIndex& entries, EntryVerifier* verifier)
      : entries_(entries), verifier_(verifier) {}

  STDMETHODIMP Start(LPCWSTR url, IInternetProtocolSink* sink, IInternetBindInfo*, DWORD,
                     HANDLE_PTR) override {
    if (url == nullptr || sink == nullptr) {
      return E_INVALIDARG;
    }
    const std::optional<std::string> path = BookPathFromUrl(Narrow(url), AnsiToUtf8);
    const BookEntry* entry = path ? entries_.FindForPath(*path) : nullptr;
    if (entry == nullptr) {
      sink->ReportResult(INET_E_RESOURCE_NOT_FOUND, 0, nullptr);
      return INET_E_RESOURCE_NOT_FOUND;
    }
    std::string_view mime = MimeTypeFor(entry->name);
    if (verifier_ != nullptr && !verifier_->Intact(*entry)) {
      // Never half a page: the notice stands in for whatever the entry was.
      mime = "text/html";
      data_ = reinterpret_cast<const uint8_t*>(kDamagedPageNotice);
      size_ = std::strlen(kDamagedPageNotice);
    } else if (entry->size == 0 && mime == "text/html") {
      data_ = reinterpret_cast<const uint8_t*>(kEmptyPageNotice);
      size_ = std::strlen(kEmptyPageNotice);
    } else {
      data_ = entry->data;
      size_ = entry->size;
    }
    position_ = 0;
    // Verified: the type comes from the extension and no sniffing may
    // override it (a .txt that starts with "<html>" stays text).
    sink->ReportProgress(BINDSTATUS_VERIFIEDMIMETYPEAVAILABLE, Widen(mime).c_str());
    const auto size = static_cast<ULONG>(size_);
    sink->ReportData(
        BSCF_FIRSTDATANOTIFICATION | BSCF_LASTDATANOTIFICATION | BSCF_DATAFULLYAVAILABLE, size,
        size);
    sink->ReportResult(S_OK, 0, nullptr);
    return S_OK;
  }
  STDMETHODIMP Continue(PROTOCOLDATA*) override { return S_OK; }
  STDMETHODIMP Abort(HRESULT, DWORD) override { return S_OK; }
  STDMETHODIMP Terminate(DWORD) override { return S_OK; }
  STDMETHODIMP Suspend() override { return E_NOTIMPL; }
  STDMETHODIMP Resume() override { return E_NOTIMPL; }

  STDMETHODIMP Read(void* buffer, ULONG wanted, ULONG* read) override {
    const size_t left = size_ - position_;
    const size_t count = wanted < left ? wanted : left;
    if (count > 0) {
      std::memcpy(buffer, data_ + position_, count);
      position_ += count;
    }
    if (read != nullptr) {
      *read = static_cast<ULONG>(count);
    }
    return position_ == size_ ? S_FALSE : S_OK;
  }
  STDMETHODIMP Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_FAIL; }
  STDMETHODIMP LockRequest(DWORD) override { return S_OK; }
  STDMETHODIMP UnlockRequest() override { return S_OK; }

 private:
  friend ComObject;
  ~BookProtocol() = default;

  const EntryIndex& entries_;
  EntryVerifier* verifier_;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t position_ = 0;
};

class BookProtocolFactory final
    : public ComObject<BookProtocolFactory, IClassFactory, IInternetProtocolInfo> {
 public:
  static constexpr InterfaceEntry kInterfaces[] = {{&IID_IClassFactory, 0},
                                                   {&IID_IInternetProtocolInfo, 1}};

  BookProtocolFactory(const EntryIndex& entries, EntryVerifier* verifier)
      : entries_(entries), verifier_(verifier) {}

  // urlmon first asks for an aggregated object; refusing makes it retry
  // plainly, which is all a protocol needs.
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (out == nullptr) {
      return E_POINTER;
    }
    *out = nullptr;
    if (outer != nullptr) {
      return CLASS_E_NOAGGREGATION;
    }
    const auto protocol = ComPtr<BookProtocol>::Adopt(new BookProtocol(entries_, verifier_));
    return protocol->QueryInterface(riid, out);
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }

  // Security: the book's URL is its own security URL, so its pages are an
  // origin of their own. A scheme that no zone mapping names falls in the
  // Internet zone, where scripts run but reach neither the reader's files
  // nor another origin's pages. (Mapped to the book's file, as the res:
  // scheme's pages are, its scripts would run in the Local Machine zone,
  // free to read any file of the disk.)
  STDMETHODIMP ParseUrl(LPCWSTR, PARSEACTION, DWORD, LPWSTR, DWORD, DWORD*, DWORD) override {
    return INET_E_DEFAULT_ACTION;
  }
  STDMETHODIMP CombineUrl(LPCWSTR, LPCWSTR, DWORD, LPWSTR, DWORD, DWORD*, DWORD) override {
    return INET_E_USE_DEFAULT_PROTOCOLHANDLER;
  }
  STDMETHODIMP CompareUrl(LPCWSTR, LPCWSTR, DWORD) override {
    return INET_E_USE_DEFAULT_PROTOCOLHANDLER;
  }
  // Some versions of Windows only let a temporary scheme navigate when it
  // says it can.
  STDMETHODIMP QueryInfo(LPCWSTR, QUERYOPTION option, DWORD, LPVOID buffer, DWORD size,
                         DWORD* result_size, DWORD) override {
    if (option != QUERY_CAN_NAVIGATE && option != QUERY_USES_NETWORK && option != QUERY_IS_SAFE) {
      return INET_E_USE_DEFAULT_PROTOCOLHANDLER;
    }
    if (result_size != nullptr) {
      *result_size = sizeof(DWORD);
    }
    if (buffer == nullptr || size < sizeof(DWORD)) {
      return E_FAIL;
    }
    const DWORD answer = option == QUERY_USES_NETWORK ? FALSE : TRUE;
    std::memcpy(buffer, &answer, sizeof answer);
    return S_OK;
  }

 private:
  friend ComObject;
  ~BookProtocolFactory() = default;

  const EntryIndex& entries_;
  EntryVerifier* verifier_;
};

}  // namespace

BookProtocolRegistration::BookProtocolRegistration(const EntryIndex& entries,
                                                   EntryVerifier* verifier) {
  const UrlmonApi* urlmon = UrlmonApi::Get();
  if (urlmon == nullptr) {
    status_ = HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    return;
  }
  ComPtr<IInternetSession> session;
  status_ = urlmon->get_session(0, session.Receive(), 0);
  if (FAILED(status_) || !session) {
    return;
  }
  auto factory = ComPtr<IClassFactory>::Adopt(new BookProtocolFactory(entries, verifier));
  const std::wstring scheme = Widen(kBookScheme);
  status_ =
      session->RegisterNameSpace(factory.get(), kBookProtocolClsid, scheme.c_str(), 0, nullptr, 0);
  if (SUCCEEDED(status_)) {
    factory_ = std::move(factory);
  }
}

BookProtocolRegistration::~BookProtocolRegistration() {
  if (!factory_) {
    return;
  }
  ComPtr<IInternetSession> session;
  if (SUCCEEDED(UrlmonApi::Get()->get_session(0, session.Receive(), 0)) && session) {
    session->UnregisterNameSpace(factory_.get(), Widen(kBookScheme).c_str());
  }
}

}  // namespace vexmar::viewer

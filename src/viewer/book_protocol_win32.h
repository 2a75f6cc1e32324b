#pragma once
// Serves the book's files from memory to urlmon (and so to the WebBrowser
// control) under the private scheme of url_mapping.h. Nothing is written to
// disk on this path.
#include <ole2.h>
#include <windows.h>

#include <string>

#include "viewer/book_verify.h"
#include "viewer/com_ptr_win32.h"
#include "viewer/entry_index.h"

namespace vexmar::viewer {

// Registers the scheme for this process while it lives. `entries` and
// `verifier` must outlive it; with a verifier, a page whose bytes the
// book's digest does not vouch for is replaced by kDamagedPageNotice.
class BookProtocolRegistration {
 public:
  explicit BookProtocolRegistration(const EntryIndex& entries, EntryVerifier* verifier = nullptr);
  ~BookProtocolRegistration();
  BookProtocolRegistration(const BookProtocolRegistration&) = delete;
  BookProtocolRegistration& operator=(const BookProtocolRegistration&) = delete;

  // The HRESULT of the registration; S_OK when it is in force.
  HRESULT status() const { return status_; }

 private:
  ComPtr<IClassFactory> factory_;
  HRESULT status_ = E_FAIL;
};

// What a page sent as an empty file is replaced with, so the reader sees
// why the window is empty.
extern const char kEmptyPageNotice[];
extern const char kDamagedPageNotice[];

}  // namespace vexmar::viewer

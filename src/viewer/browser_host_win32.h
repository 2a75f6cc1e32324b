#pragma once
// The system's WebBrowser control in our own window: the OLE site it needs,
// its events, and the few commands the tool bar gives.
#include <windows.h>

#include <string>
#include <vector>

#include "viewer/com_ptr_win32.h"

namespace vexmar::viewer {

// What the host tells the window.
class BrowserEvents {
 public:
  virtual void OnBackForwardChanged(bool back_enabled, bool forward_enabled) = 0;
  virtual void OnFirstPageComplete() = 0;
  // The first page could not be loaded at all (a Windows that will not
  // navigate to the book's scheme, say). Called from inside the control:
  // the control must not be destroyed before this returns.
  virtual void OnFirstPageFailed() = 0;
  // A page of the book has been shown (the top-level document, not a frame).
  virtual void OnPageComplete(const std::wstring& url) = 0;
  // An http, https or mailto link: the control does not follow it.
  virtual void OnExternalLink(const std::wstring& url) = 0;

 protected:
  ~BrowserEvents() = default;
};

class BrowserSite;

class BrowserHost {
 public:
  // Both in the .cpp, where BrowserSite is complete.
  BrowserHost();
  ~BrowserHost();
  BrowserHost(const BrowserHost&) = delete;
  BrowserHost& operator=(const BrowserHost&) = delete;

  // Creates the control in `parent` at `area` and starts loading `url`.
  // Fails fast (with the HRESULT) when nothing on this system can render
  // HTML, so the caller can take the other way at once.
  HRESULT Create(HWND parent, const RECT& area, const std::wstring& url, BrowserEvents& events);
  void Destroy();
  bool created() const { return static_cast<bool>(site_); }

  void Navigate(const std::wstring& url);
  void GoBack();
  void GoForward();
  void Print();
  // Marks every place the page shows one of `words` and scrolls to the first.
  void Highlight(const std::vector<std::wstring>& words);
  void Resize(const RECT& area);
  // Keys the control must see first (Tab, arrows, Ctrl+C); true when taken.
  bool TranslateKey(MSG& message);

 private:
  ComPtr<BrowserSite> site_;
};

// Lets hosted controls in this process render in the newest standards mode
// instead of IE7 mode, and quietens them. Undone by RestoreBrowserFeatures.
void PrepareBrowserFeatures();
void RestoreBrowserFeatures();

}  // namespace vexmar::viewer

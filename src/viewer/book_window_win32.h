#pragma once
// The viewer's main window: the tool bar over the book's pages, shown in
// the WebBrowser control or, when that cannot be, in the default browser.
#include <windows.h>

#include <string>

#include "viewer/book_check.h"
#include "viewer/browser_host_win32.h"
#include "viewer/fallback_win32.h"

namespace vexmar::viewer {

class BookWindow final : public BrowserEvents {
 public:
  BookWindow(const BookImage& book, const BookCheck& check) : book_(book), check_(check) {}
  ~BookWindow();
  BookWindow(const BookWindow&) = delete;
  BookWindow& operator=(const BookWindow&) = delete;

  // Creates the window; the book's pages go into the control unless
  // `use_browser` asks for the default browser at once.
  bool Create(HINSTANCE instance, int show, bool use_browser, std::string& problem);
  // Runs the message loop until the window closes; returns the exit code.
  int Run();

  // BrowserEvents
  void OnBackForwardChanged(bool back_enabled, bool forward_enabled) override;
  void OnFirstPageComplete() override;
  void OnFirstPageFailed() override;
  void OnExternalLink(const std::wstring& url) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void CreateToolBar();
  void Layout();
  RECT PageArea() const;
  void OnCommand(int id);
  // Switches to the default browser; false when even that failed.
  bool UseDefaultBrowser();
  void ShowAbout();
  void OpenWebLink();

  const BookImage& book_;
  const BookCheck& check_;
  HWND window_ = nullptr;
  HWND notice_ = nullptr;  // the text shown while the book is in the browser
  HFONT font_ = nullptr;
  BrowserHost browser_;
  ExtractedBook extracted_;
  bool inDefaultBrowser_ = false;
  bool fatal_ = false;
};

}  // namespace vexmar::viewer

#include "viewer/page_highlight_win32.h"

#include <mshtml.h>

#include "viewer/com_ptr_win32.h"

namespace vexmar::viewer {
namespace {

// A page that repeats a word thousands of times would keep the window busy
// marking it; the first ones are what the reader looks at.
constexpr int kMaxMarks = 200;

class Bstr {
 public:
  explicit Bstr(const std::wstring& text) : value_(SysAllocString(text.c_str())) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return value_; }

 private:
  BSTR value_;
};

ComPtr<IHTMLTxtRange> BodyRange(IWebBrowser2& browser) {
  ComPtr<IDispatch> dispatch;
  ComPtr<IHTMLDocument2> document;
  ComPtr<IHTMLElement> body;
  ComPtr<IHTMLBodyElement> body_element;
  ComPtr<IHTMLTxtRange> range;
  if (SUCCEEDED(browser.get_Document(dispatch.Receive())) && dispatch &&
      SUCCEEDED(dispatch->QueryInterface(IID_IHTMLDocument2, document.ReceiveVoid())) &&
      SUCCEEDED(document->get_body(body.Receive())) && body &&
      SUCCEEDED(body->QueryInterface(IID_IHTMLBodyElement, body_element.ReceiveVoid()))) {
    body_element->createTextRange(range.Receive());
  }
  return range;
}

}  // namespace

void HighlightInPage(IWebBrowser2& browser, const std::vector<std::wstring>& words) {
  const Bstr command(L"BackColor");
  const Bstr character(L"character");
  VARIANT colour;
  VariantInit(&colour);
  colour.vt = VT_BSTR;
  colour.bstrVal = SysAllocString(L"#FFE870");
  bool scrolled = false;
  int marks = 0;
  for (const std::wstring& word : words) {
    ComPtr<IHTMLTxtRange> range = BodyRange(browser);
    const Bstr text(word);
    VARIANT_BOOL found = VARIANT_FALSE;
    while (range && marks < kMaxMarks &&
           SUCCEEDED(range->findText(text.get(), 1 << 30, 0, &found)) && found != VARIANT_FALSE) {
      VARIANT_BOOL done = VARIANT_FALSE;
      range->execCommand(command.get(), VARIANT_FALSE, colour, &done);
      if (!scrolled) {
        range->scrollIntoView(VARIANT_TRUE);
        scrolled = true;
      }
      ++marks;
      // On past this place: the rest of the page is searched next.
      range->collapse(VARIANT_FALSE);
      long moved = 0;
      range->moveEnd(character.get(), 1 << 30, &moved);
    }
  }
  VariantClear(&colour);
}

}  // namespace vexmar::viewer

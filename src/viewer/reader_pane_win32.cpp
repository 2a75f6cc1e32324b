#include "viewer/reader_pane_win32.h"

#include "platform/failed_call_win32.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {
namespace {

// commctrl.h's EM_SETCUEBANNER; the stub does not link the common controls.
constexpr UINT kSetCueBanner = 0x1501;
constexpr COLORREF kMarker = RGB(0xFF, 0xE8, 0x70);

int Scaled(int value, int dpi) {
  return MulDiv(value, dpi, 96);
}

HWND MakeControl(HWND parent, DWORD ex_style, const wchar_t* kind, const wchar_t* text, DWORD style,
                 int id, HFONT font) {
  const HWND control =
      CreateWindowExW(ex_style, kind, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (control == nullptr) ReportFailedWin32Call(L"CreateWindowExW", kind);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

// Draws `text` from `x` on, clipped to `box`; returns where it ended.
int DrawPiece(HDC dc, int x, int y, const RECT& box, std::string_view utf8) {
  const std::wstring text = Widen(utf8);
  ExtTextOutW(dc, x, y, ETO_CLIPPED, &box, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  return x + extent.cx;
}

}  // namespace

void ReaderPane::Create(HWND parent, HFONT font, HFONT bold) {
  font_ = font;
  bold_ = bold;
  // The label gives the box its name for screen readers and Alt+S.
  label_ = MakeControl(parent, 0, L"STATIC", L"&Search:", SS_LEFT | SS_CENTERIMAGE, kSearchLabelId,
                       font);
  search_ = MakeControl(parent, WS_EX_CLIENTEDGE, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL,
                        kSearchBoxId, font);
  SendMessageW(search_, kSetCueBanner, TRUE,
               reinterpret_cast<LPARAM>(L"Words, \"a phrase\" or prefix*"));
  list_ = MakeControl(parent, WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                      WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                          LBS_NOINTEGRALHEIGHT,
                      kListId, font);
}

void ReaderPane::SetFonts(HFONT font, HFONT bold, int dpi) {
  font_ = font;
  bold_ = bold;
  for (const HWND control : {label_, search_, list_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  const HDC dc = GetDC(list_);
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(list_, dc);
  lineHeight_ = metrics.tmHeight + Scaled(2, dpi);
  SendMessageW(list_, LB_SETITEMHEIGHT, 0, lineHeight_ * (showingResults_ ? 2 : 1) + 4);
}

void ReaderPane::Move(const RECT& area, int dpi) {
  const int row = lineHeight_ + Scaled(8, dpi);
  const int label_width = Scaled(52, dpi);
  const int width = area.right - area.left;
  MoveWindow(label_, area.left, area.top, label_width, row, TRUE);
  MoveWindow(search_, area.left + label_width, area.top, width - label_width, row, TRUE);
  const int list_top = area.top + row + Scaled(4, dpi);
  MoveWindow(list_, area.left, list_top, width, area.bottom > list_top ? area.bottom - list_top : 0,
             TRUE);
}

void ReaderPane::Refill(size_t count, WPARAM selected) {
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  SendMessageW(list_, LB_SETITEMHEIGHT, 0, lineHeight_ * (showingResults_ ? 2 : 1) + 4);
  // The item's text is what a screen reader says; the drawing is ours.
  for (size_t i = 0; i < count; ++i) {
    std::string text;
    if (!showingResults_) {
      text = contents_[i].title;
    } else if (results_.empty()) {
      text = notice_;
    } else {
      text = results_[i].title + ": " + results_[i].snippet.text;
    }
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
  }
  SendMessageW(list_, LB_SETCURSEL, selected, 0);
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

void ReaderPane::ShowContents(const BookEntry* current) {
  const bool refill = showingResults_ || SendMessageW(list_, LB_GETCOUNT, 0, 0) == 0;
  showingResults_ = false;
  results_.clear();
  current_ = current;
  // -1 is "no selection" to a list box.
  const auto at =
      static_cast<WPARAM>(PositionOf(contents_, current).value_or(static_cast<size_t>(-1)));
  if (refill) {
    Refill(contents_.size(), at);
  } else {
    SendMessageW(list_, LB_SETCURSEL, at, 0);
    InvalidateRect(list_, nullptr, FALSE);
  }
}

void ReaderPane::ShowResults(std::vector<FoundPage> results, const std::string& notice) {
  showingResults_ = true;
  results_ = std::move(results);
  notice_ = notice;
  Refill(results_.empty() ? 1 : results_.size(), results_.empty() ? static_cast<WPARAM>(-1) : 0);
}

const BookEntry* ReaderPane::SelectedPage() const {
  const LRESULT at = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  if (at < 0) return nullptr;
  if (!showingResults_) {
    const auto item = static_cast<size_t>(at);
    return item < contents_.size() ? contents_[item].entry : nullptr;
  }
  const FoundPage* result = SelectedResult();
  return result != nullptr ? result->entry : nullptr;
}

const FoundPage* ReaderPane::SelectedResult() const {
  const LRESULT at = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  if (!showingResults_ || at < 0 || static_cast<size_t>(at) >= results_.size()) return nullptr;
  return &results_[static_cast<size_t>(at)];
}

std::string ReaderPane::Query() const {
  const int length = GetWindowTextLengthW(search_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(search_, text.data(), length + 1)));
  return Narrow(text);
}

void ReaderPane::ClearQuery() {
  SetWindowTextW(search_, L"");
}

void ReaderPane::Draw(const DRAWITEMSTRUCT& item) const {
  const HDC dc = item.hDC;
  const RECT box = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &box, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID != static_cast<UINT>(-1)) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const int x = box.left + 4;
    const int y = box.top + 2;
    const HGDIOBJ old = SelectObject(dc, font_);
    if (!showingResults_ && item.itemID < contents_.size()) {
      // The page on show is in bold, wherever the selection is.
      const ReaderPage& page = contents_[item.itemID];
      SelectObject(dc, page.entry == current_ ? bold_ : font_);
      DrawPiece(dc, x, y, box, page.title.empty() ? page.entry->name : page.title);
    } else if (showingResults_ && results_.empty()) {
      SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
      DrawPiece(dc, x, y, box, notice_);
    } else if (showingResults_ && item.itemID < results_.size()) {
      const FoundPage& found = results_[item.itemID];
      SelectObject(dc, bold_);
      DrawPiece(dc, x, y, box, found.title);
      SelectObject(dc, font_);
      // The snippet with its hits on a marker background.
      const std::string& text = found.snippet.text;
      int at_x = x;
      size_t at = 0;
      const int line = y + lineHeight_;
      for (const auto& [offset, length] : found.snippet.hits) {
        if (offset < at || offset + length > text.size()) continue;
        at_x = DrawPiece(dc, at_x, line, box, std::string_view(text).substr(at, offset - at));
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, kMarker);
        const COLORREF previous = SetTextColor(dc, RGB(0, 0, 0));
        at_x = DrawPiece(dc, at_x, line, box, std::string_view(text).substr(offset, length));
        SetTextColor(dc, previous);
        SetBkMode(dc, TRANSPARENT);
        at = offset + length;
      }
      DrawPiece(dc, at_x, line, box, std::string_view(text).substr(at));
    }
    SelectObject(dc, old);
  }
  if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &box);
}

}  // namespace vexmar::viewer

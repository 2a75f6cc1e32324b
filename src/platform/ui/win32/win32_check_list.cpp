// The check list: an owner-drawn LISTBOX whose entries each show a check box
// in front of their text. The check mark of an entry is kept in the entry's
// item data, so the list itself holds the truth.
#include <vector>

#include "platform/ui/win32/win32_controls.h"

namespace vexmar::ui::win32 {
namespace {

constexpr wchar_t kCheckListClass[] = L"VexmarCheckList";
constexpr LRESULT kChecked = 1;

WNDPROC g_listBoxProcedure = nullptr;

const wchar_t* CheckListClass() {
  static const wchar_t* const name =
      RegisterSuperclass(kCheckListClass, L"LISTBOX", &g_listBoxProcedure);
  return name;
}

class Win32CheckList final : public ChildPeer<CheckListPeer>, private MessageHandler {
 public:
  Win32CheckList(Win32Form& form, CheckList& owner, const ControlDesign& design)
      : ChildPeer(form, design), owner_(owner) {
    const RECT place = PixelRect(design.place, form.Dpi());
    // No integral height: the list keeps exactly the height it is given.
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | VisibleStyle() |
                        (design.tabStop ? WS_TABSTOP : 0u) | WS_VSCROLL | LBS_OWNERDRAWFIXED |
                        LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    Attach(CreateHandledWindow(WS_EX_CLIENTEDGE, CheckListClass(), L"", style, place, form.Window(),
                               form.NextControlId(), *this));
  }

  int Count() const override { return static_cast<int>(Send(LB_GETCOUNT, 0, 0)); }
  std::string Entry(int index) const override { return EntryText(index); }
  void Add(const std::string& text) override {
    const std::wstring wide = Wide(text);
    const LRESULT index = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (index >= 0) Send(LB_SETITEMDATA, static_cast<WPARAM>(index), 0);
  }
  void Clear() override { Send(LB_RESETCONTENT, 0, 0); }
  bool Checked(int index) const override {
    return Send(LB_GETITEMDATA, static_cast<WPARAM>(index), 0) == kChecked;
  }
  void SetChecked(int index, bool checked) override {
    Send(LB_SETITEMDATA, static_cast<WPARAM>(index), checked ? kChecked : 0);
    RedrawEntry(index);
  }
  int CurrentIndex() const override {
    const LRESULT current = Send(LB_GETCURSEL, 0, 0);
    return current == LB_ERR ? -1 : static_cast<int>(current);
  }
  void SetCurrentIndex(int index) override {
    Send(LB_SETCURSEL, static_cast<WPARAM>(index < Count() ? index : -1), 0);
  }
  void Repaint() override {
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
  }

  void OnCommand(WORD code) override {
    if (code == LBN_DBLCLK) owner_.DoubleClick();
  }
  void OnDrawItem(const DRAWITEMSTRUCT& item) override;
  void Layout(UINT dpi) override;

 private:
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendMessageW(window_, message, wParam, lParam);
  }
  LRESULT Base(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return g_listBoxProcedure != nullptr
               ? CallWindowProcW(g_listBoxProcedure, window, message, wParam, lParam)
               : DefWindowProcW(window, message, wParam, lParam);
  }
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  std::string EntryText(int index) const {
    const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const LRESULT copied =
        Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return copied <= 0 ? std::string()
                       : Utf8(std::wstring_view(buffer.data(), static_cast<std::size_t>(copied)));
  }
  void RedrawEntry(int index) {
    RECT rect{};
    if (Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) !=
        LB_ERR) {
      InvalidateRect(window_, &rect, TRUE);
    }
  }
  void Toggle(int index) {
    if (index < 0 || index >= Count()) return;
    SetChecked(index, !Checked(index));
  }
  int BoxSize() const { return MulDiv(13, static_cast<int>(DpiOf(window_)), 96); }
  int BoxMargin() const { return MulDiv(2, static_cast<int>(DpiOf(window_)), 96); }
  // The entry under a point in client coordinates when the point is on its
  // check box, else -1.
  int BoxAt(LPARAM point) const;

  CheckList& owner_;
};

int Win32CheckList::BoxAt(LPARAM point) const {
  const int x = static_cast<short>(LOWORD(point));
  const int y = static_cast<short>(HIWORD(point));
  const LRESULT hit = Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
  if (HIWORD(hit) != 0) return -1;  // below the last entry
  const int index = LOWORD(hit);
  if (index >= Count()) return -1;
  return x < BoxMargin() * 2 + BoxSize() ? index : -1;
}

LRESULT Win32CheckList::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      // The entry becomes current as on any click; a click on its box also
      // toggles its check mark.
      const int box = BoxAt(lParam);
      const LRESULT result = Base(window, message, wParam, lParam);
      Toggle(box);
      return result;
    }
    case WM_LBUTTONDBLCLK: {
      // A quick second click on a box is a second toggle, not a double-click
      // on the entry.
      const int box = BoxAt(lParam);
      if (box < 0) break;
      const LRESULT result = Base(window, WM_LBUTTONDOWN, wParam, lParam);
      Toggle(box);
      return result;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        Toggle(CurrentIndex());
        return 0;
      }
      break;
    case WM_CHAR:
      // The space that toggled must not also jump to an entry starting with
      // a blank, as the list's type-ahead would.
      if (wParam == L' ') return 0;
      break;
    default:
      break;
  }
  return Base(window, message, wParam, lParam);
}

void Win32CheckList::OnDrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOW));
  if (item.itemID == static_cast<UINT>(-1)) {
    if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &rect);
    return;
  }
  const int index = static_cast<int>(item.itemID);
  const int box = BoxSize();
  const int margin = BoxMargin();
  RECT boxRect{rect.left + margin, rect.top + (rect.bottom - rect.top - box) / 2, 0, 0};
  boxRect.right = boxRect.left + box;
  boxRect.bottom = boxRect.top + box;
  DrawFrameControl(dc, &boxRect, DFC_BUTTON,
                   DFCS_BUTTONCHECK | (Checked(index) ? DFCS_CHECKED : 0u));

  const std::wstring text = Wide(EntryText(index));
  const HGDIOBJ oldFont = SelectObject(dc, Font(DpiOf(window_)));
  RECT textRect{boxRect.right + margin, rect.top, rect.right, rect.bottom};
  RECT measured = textRect;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  RECT highlight{textRect.left, rect.top, measured.right + margin * 2, rect.bottom};
  if (highlight.right > rect.right) highlight.right = rect.right;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  if (selected) FillRect(dc, &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  textRect.left += margin;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &highlight);
  SelectObject(dc, oldFont);
}

void Win32CheckList::Layout(UINT dpi) {
  ChildWindow::Layout(dpi);
  HDC dc = GetDC(window_);
  const HGDIOBJ old = SelectObject(dc, Font(dpi));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window_, dc);
  const int box = MulDiv(13, static_cast<int>(dpi), 96) + 2;
  const int text = static_cast<int>(metrics.tmHeight) + 2;
  Send(LB_SETITEMHEIGHT, 0, text > box ? text : box);
}

}  // namespace

std::unique_ptr<CheckListPeer> MakeCheckList(Win32Form& form, CheckList& owner,
                                             const ControlDesign& design) {
  return std::make_unique<Win32CheckList>(form, owner, design);
}

}  // namespace vexmar::ui::win32

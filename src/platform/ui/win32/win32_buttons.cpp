// Push buttons (with a caption, or a tool-bar picture and no caption) and
// check boxes.
#include "platform/ui/win32/win32_controls.h"
#include "platform/ui/win32/win32_picture.h"

namespace vexmar::ui::win32 {
namespace {

class Win32Button final : public ChildPeer<CaptionPeer> {
 public:
  Win32Button(Win32Form& form, Button& owner, const ControlDesign& design)
      : ChildPeer(form, design), owner_(owner) {
    if (design.picture && design.caption.empty()) picture_ = LoadProgramPicture(*design.picture);
    const Win32Picture* picture = AsWin32(picture_);
    const bool showsPicture = picture != nullptr && picture->Bitmap() != nullptr;
    Attach(Create(L"BUTTON",
                  VisibleStyle() | (design.tabStop ? WS_TABSTOP : 0u) | BS_PUSHBUTTON |
                      (showsPicture ? BS_BITMAP : 0u),
                  0, Wide(design.caption)));
    if (showsPicture) {
      SendMessageW(window_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture->Bitmap()));
    }
  }
  std::string Caption() const override { return WindowText(window_); }
  void SetCaption(const std::string& caption) override { SetWindowTextUtf8(window_, caption); }
  void OnCommand(WORD code) override {
    if (code == BN_CLICKED) owner_.Click();
  }

 private:
  Button& owner_;
  Picture picture_;  // the button shows this bitmap, so it lives as long
};

// BS_3STATE, not an automatic style: the box can show the grayed value 2 that
// commands set, and a click toggles between unchecked and checked exactly as
// the shared control layer defines it (grayed becomes unchecked).
class Win32CheckBox final : public ChildPeer<CheckBoxPeer> {
 public:
  Win32CheckBox(Win32Form& form, CheckBox& owner, const ControlDesign& design)
      : ChildPeer(form, design), owner_(owner) {
    Attach(Create(L"BUTTON", VisibleStyle() | (design.tabStop ? WS_TABSTOP : 0u) | BS_3STATE, 0,
                  Wide(design.caption)));
  }
  int Value() const override {
    switch (SendMessageW(window_, BM_GETCHECK, 0, 0)) {
      case BST_CHECKED:
        return 1;
      case BST_INDETERMINATE:
        return 2;
      default:
        return 0;
    }
  }
  void SetValue(int value) override {
    const WPARAM state = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
    SendMessageW(window_, BM_SETCHECK, state, 0);
  }
  void OnCommand(WORD code) override {
    if (code == BN_CLICKED) owner_.ClickByUser();
  }
  HBRUSH OnColor(HDC dc) override {
    // Over a skin the box and its caption are drawn on the skin's pattern.
    if (form_.Skinned()) SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, form_.BackgroundColour());
    return ParentBackground(dc);
  }

 private:
  CheckBox& owner_;
};

}  // namespace

std::unique_ptr<CaptionPeer> MakeButton(Win32Form& form, Button& owner,
                                        const ControlDesign& design) {
  return std::make_unique<Win32Button>(form, owner, design);
}

std::unique_ptr<CheckBoxPeer> MakeCheckBox(Win32Form& form, CheckBox& owner,
                                           const ControlDesign& design) {
  return std::make_unique<Win32CheckBox>(form, owner, design);
}

}  // namespace vexmar::ui::win32

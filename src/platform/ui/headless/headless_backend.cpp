#include "platform/ui/headless/headless_backend.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <optional>
#include <vector>

namespace vexmar::ui {
namespace {

class HeadlessPicture final : public PictureData {
 public:
  HeadlessPicture(int width, int height) : width_(width), height_(height) {}
  int WidthPixels() const override { return width_; }
  int HeightPixels() const override { return height_; }

 private:
  int width_;
  int height_;
};

// State every headless control shares: a handle, visibility, focus, place.
template <typename Interface>
class HeadlessControl : public Interface {
 public:
  HeadlessControl(HeadlessBackend& backend, const ControlDesign& design, std::uint32_t exStyle = 0)
      : place_(design.place),
        backend_(backend),
        handle_(backend.NewHandle(exStyle)),
        visible_(design.visible) {}
  NativeHandle Handle() const override { return handle_; }
  bool Visible() const override { return visible_; }
  void SetVisible(bool visible) override { visible_ = visible; }
  void SetFocus() override { backend_.SetFocused(handle_); }
  bool HasFocus() const override { return backend_.FocusedHandle() == handle_; }
  TwipsRect Place() const override { return place_; }
  void SetPlace(const TwipsRect& place) override { place_ = place; }

 protected:
  TwipsRect place_;

 private:
  HeadlessBackend& backend_;
  NativeHandle handle_;
  bool visible_;
};

// Without a screen there is no font to measure with, so a self-sizing label
// estimates its caption: an average character is a little over half the
// font's size wide (more when bold), a line a quarter more than the font's
// size high, both in whole pixels at 96 DPI as a real label would be.
TwipsRect EstimatedCaptionSize(const std::string& caption, const FontDesign& font) {
  int characters = 0;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const auto byte = static_cast<unsigned char>(caption[i]);
    if ((byte & 0xC0) == 0x80) continue;  // a UTF-8 continuation byte
    // "&" marks the access key and is not shown; "&&" shows one "&".
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    ++characters;
  }
  const double twipsPerPoint = 20;
  const double average = font.points * twipsPerPoint * (font.bold ? 0.6 : 0.55);
  const auto wholePixels = [](double twips) {
    return static_cast<int>(std::ceil(twips / 15)) * 15;
  };
  return {0, 0, caption.empty() ? 0 : wholePixels(characters * average),
          wholePixels(font.points * twipsPerPoint * 1.25)};
}

class HeadlessTextBox final : public HeadlessControl<TextBoxPeer> {
 public:
  HeadlessTextBox(HeadlessBackend& backend, const ControlDesign& design)
      : HeadlessControl(backend, design, kExClientEdge) {}
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override {
    text_ = text;
    selStart_ = selLength_ = 0;
  }
  Color BackColor() const override { return back_; }
  void SetBackColor(Color color) override { back_ = color; }
  int SelStart() const override { return selStart_; }
  int SelLength() const override { return selLength_; }
  void Select(int start, int length) override {
    const int size = static_cast<int>(text_.size());
    selStart_ = std::min(std::max(start, 0), size);
    selLength_ = std::min(std::max(length, 0), size - selStart_);
  }

 private:
  std::string text_;
  Color back_ = kWindowWhite;
  int selStart_ = 0;
  int selLength_ = 0;
};

class HeadlessCheckList final : public HeadlessControl<CheckListPeer> {
 public:
  HeadlessCheckList(HeadlessBackend& backend, const ControlDesign& design)
      : HeadlessControl(backend, design, kExClientEdge) {}
  int Count() const override { return static_cast<int>(entries_.size()); }
  std::string Entry(int index) const override { return At(index).text; }
  void Add(const std::string& text) override { entries_.push_back({text, false}); }
  void Clear() override {
    entries_.clear();
    current_ = -1;
  }
  bool Checked(int index) const override { return At(index).checked; }
  void SetChecked(int index, bool checked) override {
    entries_[static_cast<std::size_t>(index)].checked = checked;
  }
  int CurrentIndex() const override { return current_; }
  void SetCurrentIndex(int index) override { current_ = index < Count() ? index : -1; }
  void Repaint() override {}

 private:
  struct Item {
    std::string text;
    bool checked;
  };
  const Item& At(int index) const { return entries_[static_cast<std::size_t>(index)]; }
  std::vector<Item> entries_;
  int current_ = -1;
};

class HeadlessCheckBox final : public HeadlessControl<CheckBoxPeer> {
 public:
  using HeadlessControl::HeadlessControl;
  int Value() const override { return value_; }
  void SetValue(int value) override { value_ = value; }

 private:
  int value_ = 0;
};

class HeadlessCaption final : public HeadlessControl<CaptionPeer> {
 public:
  // `font` is set for a label that sizes itself to its caption.
  HeadlessCaption(HeadlessBackend& backend, const ControlDesign& design,
                  std::optional<FontDesign> font = std::nullopt)
      : HeadlessControl(backend, design), caption_(design.caption), autoSizeFont_(std::move(font)) {
    FitCaption();
  }
  std::string Caption() const override { return caption_; }
  void SetCaption(const std::string& caption) override {
    caption_ = caption;
    FitCaption();
  }
  void SetPlace(const TwipsRect& place) override {
    place_ = place;
    FitCaption();
  }

 private:
  void FitCaption() {
    if (!autoSizeFont_) return;
    const TwipsRect size = EstimatedCaptionSize(caption_, *autoSizeFont_);
    place_.width = size.width;
    place_.height = size.height;
  }

  std::string caption_;
  std::optional<FontDesign> autoSizeFont_;
};

class HeadlessImage final : public HeadlessControl<ImagePeer> {
 public:
  using HeadlessControl::HeadlessControl;
  void SetPicture(const Picture&) override {}
  void SetBorder(bool single) override { border_ = single; }
  bool Border() const override { return border_; }
  void CaptureMouse(bool) override {}

 private:
  bool border_ = false;
};

class HeadlessLine final : public HeadlessControl<ControlPeer> {
 public:
  using HeadlessControl::HeadlessControl;
};

// Headless timers never fire by themselves; a test calls Timer::Tick.
class HeadlessTimer final : public TimerPeer {
 public:
  void SetEnabled(bool) override {}
};

class HeadlessForm final : public FormPeer {
 public:
  HeadlessForm(HeadlessBackend& backend, Form& owner, const FormDesign& design)
      : backend_(backend),
        owner_(owner),
        handle_(backend.NewHandle(0)),
        caption_(design.caption),
        font_(design.font),
        width_(design.clientWidth),
        height_(design.clientHeight) {}

  NativeHandle Handle() const override { return handle_; }
  std::string Caption() const override { return caption_; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  bool Visible() const override { return visible_; }
  void Show() override { visible_ = true; }
  void Hide() override { visible_ = false; }
  void Close() override {
    visible_ = false;
    owner_.NotifyClosed();
  }
  void SetMousePointer(MousePointer pointer) override { pointer_ = pointer; }
  MousePointer GetMousePointer() const override { return pointer_; }
  // The place is kept as given; it reads back rounded to whole twips.
  TwipsRect ClientPlace() const override {
    return {static_cast<int>(std::lround(left_)), static_cast<int>(std::lround(top_)), width_,
            height_};
  }
  void SetClientSize(int width, int height) override { width_ = width, height_ = height; }
  void MoveTo(double left, double top) override { left_ = left, top_ = top; }
  // A 1024 x 768 screen at 96 DPI.
  TwipsRect ScreenSize() const override { return {0, 0, 1024 * 15, 768 * 15}; }
  void SetSkin(const Picture& picture) override { backend_.LookOf(handle_).skin = picture; }
  void SetWindowMenu(const std::vector<WindowMenuItem>& items) override {
    backend_.LookOf(handle_).windowMenu = items;
  }
  void SetTopMost(bool topMost) override { backend_.LookOf(handle_).topMost = topMost; }

  std::unique_ptr<TextBoxPeer> CreateTextBox(TextBox&, const ControlDesign& design) override {
    return std::make_unique<HeadlessTextBox>(backend_, design);
  }
  std::unique_ptr<CheckListPeer> CreateCheckList(CheckList&, const ControlDesign& design) override {
    return std::make_unique<HeadlessCheckList>(backend_, design);
  }
  std::unique_ptr<CheckBoxPeer> CreateCheckBox(CheckBox&, const ControlDesign& design) override {
    return std::make_unique<HeadlessCheckBox>(backend_, design);
  }
  std::unique_ptr<CaptionPeer> CreateButton(Button&, const ControlDesign& design) override {
    return std::make_unique<HeadlessCaption>(backend_, design);
  }
  std::unique_ptr<CaptionPeer> CreateLabel(Label&, const ControlDesign& design) override {
    if (!design.autoSize) return std::make_unique<HeadlessCaption>(backend_, design);
    return std::make_unique<HeadlessCaption>(backend_, design, design.font ? *design.font : font_);
  }
  std::unique_ptr<ImagePeer> CreateImage(Image&, const ControlDesign& design) override {
    return std::make_unique<HeadlessImage>(backend_, design);
  }
  std::unique_ptr<ControlPeer> CreateLine(Line&, const ControlDesign& design) override {
    return std::make_unique<HeadlessLine>(backend_, design);
  }
  std::unique_ptr<TimerPeer> CreateTimer(Timer&, const ControlDesign&) override {
    return std::make_unique<HeadlessTimer>();
  }
  void SetTabOrder(const std::vector<Control*>&) override {}

 private:
  HeadlessBackend& backend_;
  Form& owner_;
  NativeHandle handle_;
  std::string caption_;
  FontDesign font_;
  double left_ = 0;
  double top_ = 0;
  int width_;
  int height_;
  bool visible_ = false;
  MousePointer pointer_ = MousePointer::Default;
};

// Reads the size of a Windows bitmap file; anything else is no picture.
Picture ReadBitmapFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char header[26] = {};
  if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return nullptr;
  if (header[0] != 'B' || header[1] != 'M') return nullptr;
  auto dword = [&](int at) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(header[at]) |
                                     static_cast<std::uint32_t>(header[at + 1]) << 8 |
                                     static_cast<std::uint32_t>(header[at + 2]) << 16 |
                                     static_cast<std::uint32_t>(header[at + 3]) << 24);
  };
  const int width = dword(18);
  const int height = dword(22);
  if (width <= 0 || height == 0) return nullptr;
  return std::make_shared<HeadlessPicture>(width, height < 0 ? -height : height);
}

}  // namespace

std::unique_ptr<FormPeer> HeadlessBackend::CreateForm(Form& owner, const FormDesign& design) {
  return std::make_unique<HeadlessForm>(*this, owner, design);
}

Picture HeadlessBackend::LoadPicture(PictureName name) {
  Picture& picture = pictures_[name];
  if (!picture) {
    switch (name) {
      case PictureName::HelpIcon:
        picture = std::make_shared<HeadlessPicture>(16, 14);
        break;
      case PictureName::ProgramIcon:
      case PictureName::HelpWindowIcon:
        picture = std::make_shared<HeadlessPicture>(32, 32);
        break;
      default:
        picture = std::make_shared<HeadlessPicture>(16, 16);
        break;
    }
  }
  return picture;
}

Picture HeadlessBackend::LoadPictureFile(const std::string& path) {
  return ReadBitmapFile(path);
}

NativeHandle HeadlessBackend::NewHandle(std::uint32_t extendedStyle) {
  const NativeHandle handle = nextHandle_;
  nextHandle_ += 4;
  windows_[handle].extendedStyle = extendedStyle;
  return handle;
}

std::uint32_t HeadlessBackend::ExtendedStyle(NativeHandle window) {
  const auto it = windows_.find(window);
  return it == windows_.end() ? 0 : it->second.extendedStyle;
}

void HeadlessBackend::SetExtendedStyle(NativeHandle window, std::uint32_t style) {
  const auto it = windows_.find(window);
  if (it != windows_.end()) it->second.extendedStyle = style;
}

void HeadlessBackend::RedrawFrame(NativeHandle window) {
  const auto it = windows_.find(window);
  if (it != windows_.end()) ++it->second.frameRedraws;
}

int HeadlessBackend::RunLater() {
  int ran = 0;
  while (!later_.empty()) {
    const std::function<void()> task = std::move(later_.front());
    later_.pop_front();
    task();
    ++ran;
  }
  return ran;
}

HeadlessBackend::FormLook& HeadlessBackend::LookOf(NativeHandle form) {
  return windows_[form].look;
}

const HeadlessBackend::FormLook* HeadlessBackend::Look(NativeHandle form) const {
  const auto it = windows_.find(form);
  return it == windows_.end() ? nullptr : &it->second.look;
}

int HeadlessBackend::FrameRedraws(NativeHandle window) const {
  const auto it = windows_.find(window);
  return it == windows_.end() ? 0 : it->second.frameRedraws;
}

}  // namespace vexmar::ui

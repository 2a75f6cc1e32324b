#include "platform/ui/win32/win32_picture.h"

#include <memory>

#include "platform/ui/win32/picture_resources.h"
#include "platform/ui/win32/win32_window.h"

namespace vexmar::ui::win32 {
namespace {

// The tool-bar pictures are drawn on magenta, which stands for "no colour":
// it is replaced by the button face the system uses, so the pictures sit on
// the buttons without a box around them whatever the colour scheme.
constexpr COLORREF kTransparentKey = RGB(255, 0, 255);

void ReplaceKeyColour(HBITMAP bitmap, COLORREF replacement) {
  DIBSECTION section{};
  if (GetObjectW(bitmap, sizeof section, &section) != sizeof section) return;
  const BITMAP& bits = section.dsBm;
  if (bits.bmBitsPixel != 24 || bits.bmBits == nullptr) return;
  auto* rows = static_cast<BYTE*>(bits.bmBits);
  for (LONG y = 0; y < bits.bmHeight; ++y) {
    BYTE* pixel = rows + static_cast<std::ptrdiff_t>(y) * bits.bmWidthBytes;
    for (LONG x = 0; x < bits.bmWidth; ++x, pixel += 3) {
      // Stored blue, green, red.
      if (RGB(pixel[2], pixel[1], pixel[0]) == kTransparentKey) {
        pixel[0] = GetBValue(replacement);
        pixel[1] = GetGValue(replacement);
        pixel[2] = GetRValue(replacement);
      }
    }
  }
}

Picture LoadBitmapResource(int id, bool keyed) {
  const auto bitmap = static_cast<HBITMAP>(
      LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return nullptr;
  if (keyed) ReplaceKeyColour(bitmap, GetSysColor(COLOR_BTNFACE));
  return Win32Picture::FromBitmap(bitmap);
}

Picture LoadIconResource(int id) {
  const auto icon = static_cast<HICON>(
      LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, 32, 32, 0));
  return icon == nullptr ? nullptr : Win32Picture::FromIcon(icon, 32, 32);
}

}  // namespace

Win32Picture::Win32Picture(HBITMAP bitmap, HICON icon, int width, int height)
    : bitmap_(bitmap), icon_(icon), width_(width), height_(height) {}

Win32Picture::~Win32Picture() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  if (icon_ != nullptr) DestroyIcon(icon_);
}

Picture Win32Picture::FromBitmap(HBITMAP bitmap) {
  BITMAP info{};
  if (GetObjectW(bitmap, sizeof info, &info) == 0) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return std::make_shared<Win32Picture>(bitmap, nullptr, static_cast<int>(info.bmWidth),
                                        static_cast<int>(info.bmHeight));
}

Picture Win32Picture::FromIcon(HICON icon, int width, int height) {
  return std::make_shared<Win32Picture>(nullptr, icon, width, height);
}

void Win32Picture::Draw(HDC dc, int x, int y) const {
  if (icon_ != nullptr) {
    DrawIconEx(dc, x, y, icon_, width_, height_, 0, nullptr, DI_NORMAL);
    return;
  }
  HDC source = CreateCompatibleDC(dc);
  const HGDIOBJ old = SelectObject(source, bitmap_);
  BitBlt(dc, x, y, width_, height_, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

const Win32Picture* AsWin32(const Picture& picture) {
  return dynamic_cast<const Win32Picture*>(picture.get());
}

Picture LoadProgramPicture(PictureName name) {
  switch (name) {
    case PictureName::HelpIcon:
      return LoadBitmapResource(VEXMAR_BITMAP_HELP, false);
    case PictureName::NewButton:
      return LoadBitmapResource(VEXMAR_BITMAP_NEW, true);
    case PictureName::OpenButton:
      return LoadBitmapResource(VEXMAR_BITMAP_OPEN, true);
    case PictureName::SaveButton:
      return LoadBitmapResource(VEXMAR_BITMAP_SAVE, true);
    case PictureName::ProgramIcon:
      return LoadIconResource(VEXMAR_ICON_PROGRAM);
    case PictureName::HelpWindowIcon:
      return LoadIconResource(VEXMAR_ICON_HELP_WINDOW);
  }
  return nullptr;
}

Picture LoadBitmapFile(const std::wstring& path) {
  const auto bitmap = static_cast<HBITMAP>(
      LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  return bitmap == nullptr ? nullptr : Win32Picture::FromBitmap(bitmap);
}

}  // namespace vexmar::ui::win32

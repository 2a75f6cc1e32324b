#pragma once
// Pictures on Windows: a bitmap or an icon handle, owned by the picture and
// shared by every control that shows it.
#include <windows.h>

#include "platform/ui/picture.h"

namespace vexmar::ui::win32 {

class Win32Picture final : public PictureData {
 public:
  static Picture FromBitmap(HBITMAP bitmap);
  static Picture FromIcon(HICON icon, int width, int height);
  Win32Picture(HBITMAP bitmap, HICON icon, int width, int height);
  Win32Picture(const Win32Picture&) = delete;
  Win32Picture& operator=(const Win32Picture&) = delete;
  ~Win32Picture() override;

  int WidthPixels() const override { return width_; }
  int HeightPixels() const override { return height_; }
  HBITMAP Bitmap() const { return bitmap_; }
  HICON Icon() const { return icon_; }
  // Draws the picture with its top-left corner at (x, y).
  void Draw(HDC dc, int x, int y) const;

 private:
  HBITMAP bitmap_;
  HICON icon_;
  int width_;
  int height_;
};

// The Windows picture behind a Picture, or null for one of another backend.
const Win32Picture* AsWin32(const Picture& picture);

// One of the program's own pictures, from the executable's resources.
Picture LoadProgramPicture(PictureName name);
// A bitmap file; empty when the file is missing or holds no bitmap.
Picture LoadBitmapFile(const std::wstring& path);

}  // namespace vexmar::ui::win32

#pragma once
// Twips, pixels and fonts at a window's DPI.
#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/ui/geometry.h"

namespace vexmar::ui::win32 {

// The window's DPI under per-monitor awareness; 96 where Windows cannot tell
// (before Windows 10, or for a process that is not DPI aware).
UINT DpiOf(HWND window);

RECT PixelRect(const TwipsRect& place, UINT dpi);
int PixelsToTwips(int pixels, UINT dpi);

// The outer size of a window whose client area is `client` pixels.
SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

// Fonts made from FontDesigns, one per face, size, weight and DPI, kept for the
// life of the window that uses them.
class FontCache {
 public:
  FontCache() = default;
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  ~FontCache();
  HFONT Get(const FontDesign& design, UINT dpi);

 private:
  std::map<std::tuple<std::string, int, bool, UINT>, HFONT> fonts_;
};

// The extent of a caption drawn with a font, "&" access keys handled as a
// label draws them.
SIZE CaptionExtent(HWND window, HFONT font, const std::wstring& caption);

}  // namespace vexmar::ui::win32

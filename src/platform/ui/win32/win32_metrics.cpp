#include "platform/ui/win32/win32_metrics.h"

#include <cmath>

#include "platform/ui/win32/win32_window.h"

namespace vexmar::ui::win32 {
namespace {

// The per-monitor functions exist from Windows 10 1607 on; they are looked up
// so the program still starts on older systems, at 96 DPI.
template <typename Function>
Function User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  // Through the generic function type, which converts to any other without
  // a cast-function-type warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

}  // namespace

UINT DpiOf(HWND window) {
  static const auto getDpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const UINT dpi = getDpi != nullptr && window != nullptr ? getDpi(window) : 0;
  return dpi != 0 ? dpi : 96;
}

RECT PixelRect(const TwipsRect& place, UINT dpi) {
  const int d = static_cast<int>(dpi);
  const int left = TwipsToPixels(place.left, d);
  const int top = TwipsToPixels(place.top, d);
  return RECT{left, top, left + TwipsToPixels(place.width, d),
              top + TwipsToPixels(place.height, d)};
}

int PixelsToTwips(int pixels, UINT dpi) {
  return MulDiv(pixels, 1440, static_cast<int>(dpi));
}

SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto adjust = User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.cx, client.cy};
  if (adjust == nullptr || !adjust(&rect, style, FALSE, exStyle, dpi)) {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

FontCache::~FontCache() {
  for (const auto& entry : fonts_) DeleteObject(entry.second);
}

HFONT FontCache::Get(const FontDesign& design, UINT dpi) {
  // Point sizes such as 8.25 are kept in hundredths so the key is exact.
  const int hundredths = static_cast<int>(std::lround(design.points * 100));
  const auto key = std::make_tuple(design.face, hundredths, design.bold, dpi);
  const auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  const int height = -static_cast<int>(std::lround(design.points * dpi / 72.0));
  const HFONT font =
      CreateFontW(height, 0, 0, 0, design.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                  DEFAULT_PITCH | FF_DONTCARE, Wide(design.face).c_str());
  if (font != nullptr) fonts_.emplace(key, font);
  return font;
}

SIZE CaptionExtent(HWND window, HFONT font, const std::wstring& caption) {
  HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, font);
  RECT rect{0, 0, 0, 0};
  // An empty caption still has a line's height.
  const std::wstring measured = caption.empty() ? L" " : caption;
  DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &rect,
            DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return SIZE{caption.empty() ? 0 : rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace vexmar::ui::win32

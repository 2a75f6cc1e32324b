#pragma once
// Plain values the control layer speaks in.
#include <cstdint>
#include <string>

namespace vexmar::ui {

// Places are given in twips (1/1440 inch; 15 twips make a pixel at 96 DPI) in
// the client area of the window, as the program's window tables are written.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const TwipsRect& a, const TwipsRect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  }
};

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Color& a, const Color& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
  }
  friend bool operator!=(const Color& a, const Color& b) { return !(a == b); }
};

inline constexpr Color kYellow{255, 255, 0};
inline constexpr Color kWindowWhite{255, 255, 255};

struct FontDesign {
  std::string face;
  double points = 0;
  bool bold = false;
};

// The window handle as a number: an HWND on Windows, a made-up id headless.
using NativeHandle = std::uintptr_t;

enum class MouseButton { Left, Right, Middle };
enum class MousePointer { Default, Hourglass };

// Pixels for twips at a DPI, rounded to the nearest pixel as Windows' MulDiv
// does, so every backend and test agrees on each control's rectangle.
constexpr int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

}  // namespace vexmar::ui

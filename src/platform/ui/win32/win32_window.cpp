#include "platform/ui/win32/win32_window.h"

#include <vector>

#include "platform/failed_call_win32.h"
#include "platform/text/text.h"

namespace vexmar::ui::win32 {
namespace {

// Superclasses need the system procedure for the messages that come before
// WM_NCCREATE and after the handler is detached; it is found by class atom.
struct BaseProcedure {
  ATOM atom;
  WNDPROC procedure;
};
std::vector<BaseProcedure>& BaseProcedures() {
  static std::vector<BaseProcedure> procedures;
  return procedures;
}

LRESULT DefaultFor(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto atom = static_cast<ATOM>(GetClassLongW(window, GCW_ATOM));
  for (const BaseProcedure& base : BaseProcedures()) {
    if (base.atom == atom) return CallWindowProcW(base.procedure, window, message, wParam, lParam);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* handler = reinterpret_cast<MessageHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (handler != nullptr) return handler->HandleMessage(window, message, wParam, lParam);
  return DefaultFor(window, message, wParam, lParam);
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
  const std::u16string u16 = text::Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

std::string Utf8(std::wstring_view wide) {
  return text::Utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextW(window, buffer.data(), length + 1);
  return Utf8(std::wstring_view(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0)));
}

void SetWindowTextUtf8(HWND window, std::string_view text) {
  SetWindowTextW(window, Wide(text).c_str());
}

HINSTANCE ProgramInstance() {
  return GetModuleHandleW(nullptr);
}

const wchar_t* RegisterOwnClass(const wchar_t* name, UINT classStyle, HBRUSH background) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  info.style = classStyle;
  info.lpfnWndProc = RouteMessage;
  info.hInstance = ProgramInstance();
  info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  info.hbrBackground = background;
  info.lpszClassName = name;
  // The class is then missing and creating its windows fails, which is
  // reported there too; this line says why.
  if (RegisterClassExW(&info) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    ReportFailedWin32Call(L"RegisterClassExW", name);
  }
  return name;
}

const wchar_t* RegisterSuperclass(const wchar_t* name, const wchar_t* base,
                                  WNDPROC* baseProcedure) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  if (!GetClassInfoExW(nullptr, base, &info)) {
    ReportFailedWin32Call(L"GetClassInfoExW", base);
    return base;
  }
  *baseProcedure = info.lpfnWndProc;
  info.lpfnWndProc = RouteMessage;
  info.hInstance = ProgramInstance();
  info.lpszClassName = name;
  info.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  const ATOM atom = RegisterClassExW(&info);
  if (atom == 0) {
    // The system class then works without our reactions.
    ReportFailedWin32Call(L"RegisterClassExW", name);
    return base;
  }
  BaseProcedures().push_back({atom, *baseProcedure});
  return name;
}

HWND CreateHandledWindow(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                         RECT place, HWND parent, UINT_PTR id, MessageHandler& handler) {
  const HWND window = CreateWindowExW(exStyle, className, text, style, place.left, place.top,
                                      place.right - place.left, place.bottom - place.top, parent,
                                      reinterpret_cast<HMENU>(id), ProgramInstance(), &handler);
  if (window == nullptr) ReportFailedWin32Call(L"CreateWindowExW", className);
  return window;
}

void DetachHandler(HWND window) {
  if (window != nullptr) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

}  // namespace vexmar::ui::win32

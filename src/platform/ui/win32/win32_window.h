#pragma once
// The one window-procedure pattern of the program. Every window whose
// messages we handle belongs to a class registered here: its procedure takes
// the handler from CREATESTRUCT::lpCreateParams at WM_NCCREATE, keeps it in
// GWLP_USERDATA and forwards every later message to it. Superclasses of the
// system's controls use the same procedure and pass what they leave alone to
// the system class's own procedure.
#include <windows.h>

#include <string>
#include <string_view>

namespace vexmar::ui::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);
std::string WindowText(HWND window);
void SetWindowTextUtf8(HWND window, std::string_view text);

HINSTANCE ProgramInstance();

class MessageHandler {
 public:
  virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~MessageHandler() = default;
};

// A window class of our own; DefWindowProcW handles what the handler passes
// on. Returns the class name to create windows with. Each is registered once
// (callers keep the result in a function-local static).
const wchar_t* RegisterOwnClass(const wchar_t* name, UINT classStyle, HBRUSH background);

// A class that behaves as the system class `base` (LISTBOX, ...) but routes
// its messages through a handler first. `baseProcedure` receives the system
// procedure, which the handler calls for everything it does not take.
const wchar_t* RegisterSuperclass(const wchar_t* name, const wchar_t* base, WNDPROC* baseProcedure);

// Creates a window of one of the classes above with `handler` attached.
HWND CreateHandledWindow(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                         RECT place, HWND parent, UINT_PTR id, MessageHandler& handler);

// Detaches the handler, so the messages a dying window still receives (while
// its owner is being destroyed) reach only the default procedure.
void DetachHandler(HWND window);

}  // namespace vexmar::ui::win32

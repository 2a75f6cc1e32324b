#pragma once
// The control layer on real windows: every peer wraps an HWND, and the HWND
// holds the truth (no mirrored copy of a control's state to keep in sync).
#include <memory>

#include "platform/ui/form.h"

struct tagMSG;

namespace vexmar::ui {

std::unique_ptr<Backend> MakeWin32Backend();

namespace win32 {

// Keyboard navigation (Tab, Shift+Tab, access keys) for the program's
// windows: true when the message was a dialog key of one of them and has been
// handled; the message loop then neither translates nor dispatches it.
bool HandleDialogKeys(tagMSG& message);

// Modal showing of `form` over `owner`: the owner takes no input until the
// form closes, and gets it back as the form closes.
void BeginModal(Form& form, Form* owner);

}  // namespace win32
}  // namespace vexmar::ui

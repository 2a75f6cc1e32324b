#pragma once
// The child controls of a Win32 window, one maker per kind.
#include <memory>

#include "platform/ui/win32/win32_form.h"

namespace vexmar::ui::win32 {

std::unique_ptr<TextBoxPeer> MakeTextBox(Win32Form& form, const ControlDesign& design);
std::unique_ptr<CheckListPeer> MakeCheckList(Win32Form& form, CheckList& owner,
                                             const ControlDesign& design);
std::unique_ptr<CheckBoxPeer> MakeCheckBox(Win32Form& form, CheckBox& owner,
                                           const ControlDesign& design);
std::unique_ptr<CaptionPeer> MakeButton(Win32Form& form, Button& owner,
                                        const ControlDesign& design);
std::unique_ptr<CaptionPeer> MakeLabel(Win32Form& form, const ControlDesign& design);
std::unique_ptr<ControlPeer> MakeLine(Win32Form& form, const ControlDesign& design);
std::unique_ptr<ImagePeer> MakeImage(Win32Form& form, Image& owner, const ControlDesign& design);
std::unique_ptr<TimerPeer> MakeTimer(Win32Form& form, Timer& owner, const ControlDesign& design);

// WM_TIMER of one of the window's timers.
void TimerFired(Win32Timer& timer);
// The window's first showing, when its load reaction has run.
void TimerLoaded(Win32Timer& timer);

}  // namespace vexmar::ui::win32

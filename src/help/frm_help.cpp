#include "help/frm_help.h"

namespace vexmar::help {
namespace {

ui::FormSpec HelpWindowSpec() {
  ui::FormSpec spec;
  spec.name = "frmhelp";
  spec.caption = "Pop up Help";
  spec.clientWidth = 4065;
  spec.clientHeight = 2610;
  spec.border = ui::FormBorder::FixedToolWindow;
  spec.showInTaskbar = false;
  spec.infoBackground = true;
  spec.startPosition = ui::StartPosition::CenterOwner;
  return spec;
}

ui::ControlSpec Area() {
  ui::ControlSpec spec;
  spec.name = "picpophelp";
  spec.place = {0, 0, 4065, 2625};
  spec.autoSize = false;
  spec.opaque = true;
  spec.infoBackground = true;
  return spec;
}

ui::ControlSpec Icon() {
  ui::ControlSpec spec;
  spec.name = "Image1";
  spec.place = {60, 60, 480, 480};
  spec.picture = ui::PictureName::HelpWindowIcon;
  return spec;
}

ui::ControlSpec Heading() {
  ui::ControlSpec spec;
  spec.name = "Label1";
  spec.caption = "Create E-book - Help";
  spec.place = {570, 150, 0, 0};
  spec.font = ui::FontSpec{"Arial Black", 11.25, false};
  return spec;
}

ui::ControlSpec Rule() {
  ui::ControlSpec spec;
  spec.name = "Line1";
  spec.place = {570, 510, 3000, 15};
  spec.foreColor = ui::Color{0, 0, 255};
  return spec;
}

ui::ControlSpec HelpText() {
  ui::ControlSpec spec;
  spec.name = "lblhelp";
  spec.place = {585, 555, 3360, 1770};
  spec.autoSize = false;
  spec.wordWrap = true;
  return spec;
}

ui::ControlSpec CloseButton() {
  ui::ControlSpec spec;
  spec.name = "Command1";
  spec.caption = "Close Help";
  spec.place = {2775, 2160, 1095, 300};
  spec.tabStop = true;
  return spec;
}

}  // namespace

FrmHelp::FrmHelp(ui::Backend& backend)
    : form_(backend, HelpWindowSpec()),
      picpophelp(form_.Add<ui::Label>(Area())),
      Image1(form_.Add<ui::Image>(Icon())),
      Label1(form_.Add<ui::Label>(Heading())),
      Line1(form_.Add<ui::Line>(Rule())),
      lblhelp(form_.Add<ui::Label>(HelpText())),
      Command1(form_.Add<ui::Button>(CloseButton())) {
  form_.SetTabOrder({&Command1});
  Command1.onClick = [this] { form_.Close(); };
  // Closing by the button or the close box empties the text; the window is
  // then discarded, so the next help starts fresh.
  form_.onUnload = [this] { lblhelp.SetCaption(""); };
}

}  // namespace vexmar::help

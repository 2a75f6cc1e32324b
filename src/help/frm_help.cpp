#include "help/frm_help.h"

namespace vexmar::help {
namespace {

ui::FormDesign HelpWindowDesign() {
  ui::FormDesign design;
  design.name = "frmhelp";
  design.caption = "Pop up Help";
  design.clientWidth = 4065;
  design.clientHeight = 2610;
  design.border = ui::FormBorder::FixedToolWindow;
  design.showInTaskbar = false;
  design.infoBackground = true;
  design.startPosition = ui::StartPosition::CenterOwner;
  return design;
}

ui::ControlDesign Area() {
  ui::ControlDesign design;
  design.name = "picpophelp";
  design.place = {0, 0, 4065, 2625};
  design.autoSize = false;
  design.opaque = true;
  design.infoBackground = true;
  return design;
}

ui::ControlDesign Icon() {
  ui::ControlDesign design;
  design.name = "Image1";
  design.place = {60, 60, 480, 480};
  design.picture = ui::PictureName::HelpWindowIcon;
  return design;
}

ui::ControlDesign Heading() {
  ui::ControlDesign design;
  design.name = "Label1";
  design.caption = "Create E-book - Help";
  design.place = {570, 150, 0, 0};
  design.font = ui::FontDesign{"Arial Black", 11.25, false};
  return design;
}

ui::ControlDesign Rule() {
  ui::ControlDesign design;
  design.name = "Line1";
  design.place = {570, 510, 3000, 15};
  design.foreColor = ui::Color{0, 0, 255};
  return design;
}

ui::ControlDesign HelpText() {
  ui::ControlDesign design;
  design.name = "lblhelp";
  design.place = {585, 555, 3360, 1770};
  design.autoSize = false;
  design.wordWrap = true;
  return design;
}

ui::ControlDesign CloseButton() {
  ui::ControlDesign design;
  design.name = "Command1";
  design.caption = "Close Help";
  design.place = {2775, 2160, 1095, 300};
  design.tabStop = true;
  return design;
}

}  // namespace

FrmHelp::FrmHelp(ui::Backend& backend)
    : form_(backend, HelpWindowDesign()),
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

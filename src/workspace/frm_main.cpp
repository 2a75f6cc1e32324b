#include "workspace/frm_main.h"

namespace vexmar::workspace {
namespace {

using ui::ControlDesign;
using ui::TwipsRect;

constexpr int kTextBoxHeight = 325;
constexpr int kLabelHeight = 195;

ui::FormDesign MainWindowDesign() {
  ui::FormDesign design;
  design.name = "frmmain";
  design.clientWidth = 6570;
  design.clientHeight = 9165;
  design.border = ui::FormBorder::FixedDialog;
  design.icon = ui::PictureName::ProgramIcon;
  return design;
}

ControlDesign Field(const char* name, TwipsRect place, const char* toolTip = "") {
  ControlDesign design;
  design.name = name;
  design.place = place;
  design.toolTip = toolTip;
  design.tabStop = true;
  return design;
}

ControlDesign TextField(const char* name, int left, int top, int width, const char* toolTip = "") {
  return Field(name, {left, top, width, kTextBoxHeight}, toolTip);
}

ControlDesign CommandButton(const char* name, const char* caption, TwipsRect place,
                            const char* toolTip = "") {
  ControlDesign design = Field(name, place, toolTip);
  design.caption = caption;
  return design;
}

ControlDesign ToolBarButton(const char* name, ui::PictureName picture, int left,
                            const char* toolTip) {
  ControlDesign design = Field(name, {left, 0, 495, 375}, toolTip);
  design.picture = picture;
  return design;
}

// Labels size themselves to their caption; only the place's corner is fixed.
ControlDesign Caption(const char* name, const char* caption, int left, int top) {
  ControlDesign design;
  design.name = name;
  design.caption = caption;
  design.place = {left, top, 0, kLabelHeight};
  return design;
}

ControlDesign HomePageLabel() {
  ControlDesign design =
      Caption("Label4", "Please type the filename of your E-book Homepage:", 1320, 4800);
  design.place.width = 4620;
  design.autoSize = false;
  design.toolTip = "The filenames are listed in the box above.";
  return design;
}

ControlDesign FileListLabel() {
  ControlDesign design = Caption("Label5", "Select the files for your book:", 1320, 2880);
  design.opaque = true;
  return design;
}

ControlDesign TocList() {
  ControlDesign design = Field("lstTOC", {1320, 5760, 3660, 1185});
  design.visible = false;
  return design;
}

ControlDesign AddToTocButton() {
  ControlDesign design = CommandButton("cmdAddToTOC", "<< Add Files", {5040, 5880, 1095, 375},
                                       "Add selected files to Table of Contents to include.");
  design.visible = false;
  return design;
}

ControlDesign TocCheckBox() {
  ControlDesign design =
      Field("chkTOC", {1320, 5520, 3135, 195}, "Add a TOC so users can view all your pages.");
  design.caption = "Create a Table of Contents";
  return design;
}

ControlDesign SeparatorLine(const char* name, int top) {
  ControlDesign design;
  design.name = name;
  design.place = {240, top, 6360 - 240, 30};
  return design;
}

// The step numbers in the left margin, beside the project folder, the file
// list, the home page and the table of contents.
std::array<ui::Label*, FrmMain::kStepNumbers> MakeStepNumbers(ui::Form& form) {
  static constexpr int kTops[FrmMain::kStepNumbers] = {2520, 3120, 5040, 5520};
  std::array<ui::Label*, FrmMain::kStepNumbers> labels{};
  for (int i = 0; i < FrmMain::kStepNumbers; ++i) {
    ControlDesign design;
    design.name = "lblNums";
    design.index = i;
    design.caption = std::to_string(i + 1) + ".";
    design.place = {240, kTops[i], 375, 255};
    design.autoSize = false;
    design.font = ui::FontDesign{"MS Sans Serif", 8.25, false};
    labels[static_cast<std::size_t>(i)] = &form.Add<ui::Label>(design);
  }
  return labels;
}

// Help icon n (tag "n") stands at the right end of its row.
std::array<ui::Image*, FrmMain::kHelpIcons> MakeHelpIcons(ui::Form& form) {
  struct Corner {
    int left;
    int top;
  };
  static constexpr Corner kCorners[FrmMain::kHelpIcons] = {
      {4680, 600},  {4680, 960},  {5400, 2520}, {4080, 5040}, {4680, 2880},
      {4800, 7200}, {4800, 7560}, {4800, 5520}, {4680, 1275}, {4680, 1635}};
  std::array<ui::Image*, FrmMain::kHelpIcons> icons{};
  for (int i = 0; i < FrmMain::kHelpIcons; ++i) {
    const Corner corner = kCorners[i];
    ControlDesign design;
    design.name = "imghelp";
    design.index = i;
    design.tag = std::to_string(i + 1);
    design.place = {corner.left, corner.top, 240, 210};
    icons[static_cast<std::size_t>(i)] = &form.Add<ui::Image>(design);
  }
  return icons;
}

ControlDesign HelpIconTemplate() {
  ControlDesign design;
  design.name = "img1";
  design.place = {0, 0, 240, 210};
  design.visible = false;
  design.picture = ui::PictureName::HelpIcon;
  return design;
}

}  // namespace

FrmMain::FrmMain(Host& host)
    : host_(host),
      form_(host.ui, MainWindowDesign()),
      txtURL(form_.Add<ui::TextBox>(TextField("txtURL", 1440, 1635, 3210))),
      txtURLText(form_.Add<ui::TextBox>(TextField("txtURLText", 1440, 1275, 3210))),
      txtoutfolder(form_.Add<ui::TextBox>(TextField("txtoutfolder", 1440, 7200, 2745))),
      txthomepage(form_.Add<ui::TextBox>(TextField(
          "txthomepage", 1320, 5040, 2715,
          "Type the filename or double-click the entry above.  Make sure it is checked."))),
      txtoutfile(form_.Add<ui::TextBox>(TextField("txtoutfile", 1440, 7560, 3255))),
      txtpath(form_.Add<ui::TextBox>(TextField("txtpath", 1335, 2520, 3630))),
      txtAuthor(form_.Add<ui::TextBox>(TextField("txtAuthor", 1440, 915, 3210))),
      txttitle(form_.Add<ui::TextBox>(TextField("txttitle", 1440, 555, 3210))),
      lstTOC(form_.Add<ui::CheckList>(TocList())),
      lstFiles(form_.Add<ui::CheckList>(Field("lstFiles", {1305, 3120, 3660, 1185}))),
      chkTOC(form_.Add<ui::CheckBox>(TocCheckBox())),
      cmdNew(
          form_.Add<ui::Button>(ToolBarButton("cmdNew", ui::PictureName::NewButton, 1440, "New"))),
      cmdLoadFile(form_.Add<ui::Button>(
          ToolBarButton("cmdLoadFile", ui::PictureName::OpenButton, 2280, "Open from file"))),
      cmdSave(form_.Add<ui::Button>(
          ToolBarButton("cmdSave", ui::PictureName::SaveButton, 3120, "Save"))),
      cmdopen(form_.Add<ui::Button>(CommandButton("cmdopen", "...", {5040, 2520, 315, 285}))),
      cmdselall(form_.Add<ui::Button>(
          CommandButton("cmdselall", "&Select All", {5040, 3120, 1095, 315}))),
      cmdAddToTOC(form_.Add<ui::Button>(AddToTocButton())),
      cmdoutput(form_.Add<ui::Button>(CommandButton("cmdoutput", "...", {4320, 7200, 375, 285}))),
      cmdcompile(
          form_.Add<ui::Button>(CommandButton("cmdcompile", "&Compile", {4118, 8040, 1215, 350}))),
      cmdExit(form_.Add<ui::Button>(CommandButton("cmdExit", "E&xit", {1238, 8040, 1215, 350}))),
      lbltitle(form_.Add<ui::Label>(Caption("lbltitle", "E-book Title:", 240, 585))),
      Label1(form_.Add<ui::Label>(Caption("Label1", "Author Name:", 240, 945))),
      Label3(form_.Add<ui::Label>(Caption("Label3", "URL Text:", 240, 1275))),
      Label8(form_.Add<ui::Label>(Caption("Label8", "URL:", 240, 1635))),
      Label2(form_.Add<ui::Label>(Caption("Label2", "E-book Project Folder:", 1335, 2280))),
      Label5(form_.Add<ui::Label>(FileListLabel())),
      Label4(form_.Add<ui::Label>(HomePageLabel())),
      Label6(form_.Add<ui::Label>(Caption("Label6", "Output Folder:", 240, 7200))),
      Label7(form_.Add<ui::Label>(Caption("Label7", "Output File:", 360, 7560))),
      lblNums(MakeStepNumbers(form_)),
      imghelp(MakeHelpIcons(form_)),
      img1(form_.Add<ui::Image>(HelpIconTemplate())),
      Line1(form_.Add<ui::Line>(SeparatorLine("Line1", 2040))),
      Line2(form_.Add<ui::Line>(SeparatorLine("Line2", 7080))),
      Line3(form_.Add<ui::Line>(SeparatorLine("Line3", 7920))) {
  form_.SetTabOrder({&txttitle,   &txtAuthor,   &txtURLText,   &txtURL,      &txtpath,
                     &cmdopen,    &lstFiles,    &cmdselall,    &txthomepage, &chkTOC,
                     &lstTOC,     &cmdAddToTOC, &txtoutfolder, &cmdoutput,   &txtoutfile,
                     &cmdcompile, &cmdExit,     &cmdSave,      &cmdLoadFile, &cmdNew});

  cmdopen.onClick = [this] { ProjectFolderCommand(); };
  cmdoutput.onClick = [this] { OutputFolderCommand(); };
  cmdselall.onClick = [this] { LbSelect(); };
  lstFiles.onDblClick = [this] { HomePagePick(); };
  chkTOC.onClick = [this] { TocClick(); };
  cmdAddToTOC.onClick = [this] { AddToToc(); };
  // The other reactions (Compile, New, Open, Save, Exit, the help icons, the
  // window's load and unload) belong to the
  // subsystems above this one, which attach them to these controls.
}

}  // namespace vexmar::workspace

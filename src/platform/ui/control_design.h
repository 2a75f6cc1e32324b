#pragma once
// What a window's table says about one control: enough for any backend to
// create it in its place with its caption, font and tool tip.
#include <optional>
#include <string>

#include "platform/ui/geometry.h"
#include "platform/ui/picture.h"

namespace vexmar::ui {

enum class ControlKind { TextBox, CheckList, CheckBox, Button, Label, Image, Line, Timer };

// The kind names the windows' routines compare against ("ListBox" for the
// check-box list, as list boxes have always been called).
const char* KindName(ControlKind kind);

struct ControlDesign {
  std::string name;
  int index = -1;  // position in a control array, -1 for a single control
  TwipsRect place;
  std::string caption;  // "&" marks the access key; "&&" shows one "&"
  std::string toolTip;
  std::optional<FontDesign> font;  // the window's font when empty
  bool visible = true;
  bool tabStop = false;

  // Labels size themselves to the caption unless a fixed width is asked for;
  // most are transparent over the window's background.
  bool autoSize = true;
  bool opaque = false;
  bool wordWrap = false;

  // Buttons with a picture and no caption are the tool-bar buttons; images
  // start with a picture or none.
  std::optional<PictureName> picture;
  std::string tag;

  // Colours other than the system's defaults: the background of an opaque
  // control, the colour of a line. `infoBackground` asks for the system's
  // tool-tip background colour, whatever the theme makes it.
  std::optional<Color> backColor;
  std::optional<Color> foreColor;
  bool infoBackground = false;

  int timerIntervalMs = 0;
};

}  // namespace vexmar::ui

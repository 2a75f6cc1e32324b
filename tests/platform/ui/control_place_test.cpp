// A control's place as the windows read and change it: a label that sizes
// itself reports the size its caption takes, and moving it keeps that size.
#include <gtest/gtest.h>

#include "platform/ui/headless/headless_backend.h"

namespace vexmar::ui {
namespace {

struct LabelFixture {
  Label& Make(const std::string& caption, bool bold = false) {
    ControlDesign design;
    design.name = "lbl";
    design.caption = caption;
    design.place = {300, 400, 0, 0};
    design.font = FontDesign{"MS Sans Serif", 9.75, bold};
    return form.Add<Label>(design);
  }
  HeadlessBackend backend;
  Form form{backend, FormDesign{}};
};

TEST(ControlPlace, ASelfSizingLabelTakesTheWidthOfWhatItShows) {
  LabelFixture f;
  const int one = f.Make("Save").Place().width;
  EXPECT_GT(one, 0);
  EXPECT_EQ(f.Make("&Save").Place().width, one);  // the access-key mark is not shown
  EXPECT_EQ(f.Make("S&&ve").Place().width, one);  // "&&" shows one "&"
  EXPECT_EQ(f.Make("Sévé").Place().width, one);   // characters, not UTF-8 bytes
  EXPECT_GT(f.Make("Save", true).Place().width, one);
  EXPECT_EQ(f.Make("").Place().width, 0);
  EXPECT_EQ(one % 15, 0);  // whole pixels
  Label& label = f.Make("Save");
  label.Move(0, 0);  // moving keeps the size
  EXPECT_EQ(label.Place(), (TwipsRect{0, 0, one, f.Make("").Place().height}));
}

}  // namespace
}  // namespace vexmar::ui

#include "workspace/mod_main.h"

#include <gtest/gtest.h>

#include "platform/fs/file_system.h"
#include "support/main_window_fixture.h"
#include "support/temp_folder.h"

namespace vexmar::workspace {
namespace {

using testing::MainWindowFixture;
using testing::TempFolder;

const std::string kSep(1, fs::PathSeparator());

TEST(AddBackslash, EndsFolderTextsWithOneSeparator) {
  const std::string books = "C:" + kSep + "Books";
  EXPECT_EQ(AddBackslash(books), books + kSep);
  EXPECT_EQ(AddBackslash(books + kSep), books + kSep);
  EXPECT_EQ(AddBackslash("C:" + kSep), "C:" + kSep);  // a drive root stays as it is
  // An empty text gives one character, which the folder commands take to
  // mean that no folder was chosen.
  EXPECT_EQ(AddBackslash(""), kSep);
}

TEST(FileExists, CountsOnlyNormalFiles) {
  TempFolder dir;
  dir.Write("index.htm");
  dir.Write("sub" + kSep + "inner.htm");
  const std::string hidden = dir.WriteHidden("secret.htm");

  struct Case {
    std::string path;
    bool exists;
  };
  const Case cases[] = {
      {dir.Path() + "index.htm", true},
      {dir.Path() + "missing.htm", false},
      {dir.Path() + hidden, false},
      {dir.Path() + "sub", false},        // a folder named without a separator
      {dir.Path() + "sub" + kSep, true},  // ... with one: it holds a normal file
      {dir.Path() + "*.htm", true},       // wildcards: any normal file matches
      {dir.Path() + "*.gif", false},
      {dir.Path() + "ind?x.htm", true},
      {dir.Path() + "nowhere" + kSep + "index.htm", false},
      {dir.Path() + "empty" + kSep, false},
  };
  dir.MakeFolder("empty");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FileExists(fs::RealFileSystem(), c.path), c.exists);
  }
}

TEST(SetFlatBorder, SwapsTheClientEdgeForTheStaticEdgeAndBack) {
  MainWindowFixture f;
  ui::HeadlessBackend& backend = f.backend;
  const ui::NativeHandle box = f.w().txttitle.Handle();
  const std::uint32_t other = 0x10;  // a style bit the edge swap must keep
  backend.SetExtendedStyle(box, ui::kExClientEdge | other);

  SetFlatBorder(backend, box, true);
  EXPECT_EQ(backend.ExtendedStyle(box), ui::kExStaticEdge | other);
  SetFlatBorder(backend, box, true);
  EXPECT_EQ(backend.ExtendedStyle(box), ui::kExStaticEdge | other);
  SetFlatBorder(backend, box, false);
  EXPECT_EQ(backend.ExtendedStyle(box), ui::kExClientEdge | other);
  EXPECT_EQ(backend.FrameRedraws(box), 3);
}

TEST(FlattenControls, FlattensEveryTextBoxAndListAndNothingElse) {
  MainWindowFixture f;
  ui::Form& form = f.w().Window();
  FlattenControls(form);
  int flattened = 0;
  for (int i = 0; i < form.ControlCount(); ++i) {
    const ui::Control& c = form.ControlAt(i);
    SCOPED_TRACE(c.Name());
    const std::uint32_t style = f.backend.ExtendedStyle(c.Handle());
    const bool boxOrList =
        c.Kind() == ui::ControlKind::TextBox || c.Kind() == ui::ControlKind::CheckList;
    if (boxOrList) {
      ++flattened;
      EXPECT_EQ(style & (ui::kExStaticEdge | ui::kExClientEdge), ui::kExStaticEdge);
    } else {
      EXPECT_EQ(f.backend.FrameRedraws(c.Handle()), 0);
    }
  }
  // Eight text boxes and two lists, the hidden lstTOC among them.
  EXPECT_EQ(flattened, 10);
}

TEST(FlattenControls, LeavesAWindowWithoutBoxesOrListsAlone) {
  ui::HeadlessBackend backend;
  ui::Form form(backend, ui::FormDesign{});
  ui::ControlDesign button;
  button.name = "cmdOnly";
  const ui::NativeHandle handle = form.Add<ui::Button>(button).Handle();
  FlattenControls(form);
  EXPECT_EQ(backend.ExtendedStyle(handle), 0u);
  EXPECT_EQ(backend.FrameRedraws(handle), 0);
}

}  // namespace
}  // namespace vexmar::workspace

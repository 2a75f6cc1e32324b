#include "viewer/reader_state.h"

#include <gtest/gtest.h>

namespace vexmar::viewer {
namespace {

TEST(ReaderState, WhatIsWrittenReadsBackAndAnythingElseIsIgnored) {
  const ReaderState state = {"NOTES\\WALL.TXT", 300, true, -8, 20, 1200, 900, true};
  const ReaderState read = ReadReaderState(WriteReaderState(state));
  EXPECT_EQ(std::tie(read.page, read.paneWidth, read.hasPlace, read.left, read.top, read.right,
                     read.bottom, read.maximized),
            std::tie(state.page, state.paneWidth, state.hasPlace, state.left, state.top,
                     state.right, state.bottom, state.maximized));
  // A later viewer's keys are passed over.
  EXPECT_EQ(ReadReaderState("vexmar-reader 1\nzoom\t150\npage\tA.HTM\n").page, "A.HTM");

  const std::string foreign[] = {
      "",
      "vexmar-reader 2\npage\tA.HTM\n",
      "vexmar-reader 1\npage\tA.HTM",  // cut short
      "vexmar-reader 1\npage A.HTM\n",
      "vexmar-reader 1\npage\t\n",
      "vexmar-reader 1\npage\tA.HTM\r\n",
      "vexmar-reader 1\npane\t-5\n",
      "vexmar-reader 1\npane\t99999999999\n",
      "vexmar-reader 1\nplace\t10 10 5 50 0\n",  // its right edge left of its left
      "vexmar-reader 1\nplace\t1 2 3 4\n",
      "vexmar-reader 1\nplace\t1 2 3 4 7\n",
      "vexmar-reader 1\npage\t" + std::string(kMaxReaderStateBytes, 'A') + "\n"};
  for (const std::string& bytes : foreign) {
    const ReaderState ignored = ReadReaderState(bytes);
    EXPECT_TRUE(ignored.page.empty() && ignored.paneWidth == 0 && !ignored.hasPlace) << bytes;
  }
}

TEST(ReaderState, EachBookHasAFileOfItsOwnInAnyLetterCase) {
  const std::string name = ReaderStateFileName("C:\\Books\\Garden.exe");
  EXPECT_EQ(name, ReaderStateFileName("c:\\books\\GARDEN.EXE"));
  EXPECT_NE(name, ReaderStateFileName("C:\\Books\\Garden 2.exe"));
}

}  // namespace
}  // namespace vexmar::viewer

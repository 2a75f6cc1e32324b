#pragma once
// Pictures are shared by handle: giving ten help icons the picture of one
// template image hands them the same picture, not ten copies.
#include <memory>
#include <string>

namespace vexmar::ui {

// The program's own pictures, shipped as resources of the Windows program.
enum class PictureName { HelpIcon, NewButton, OpenButton, SaveButton, ProgramIcon, HelpWindowIcon };

class PictureData {
 public:
  virtual ~PictureData() = default;
  virtual int WidthPixels() const = 0;
  virtual int HeightPixels() const = 0;
};

using Picture = std::shared_ptr<const PictureData>;

}  // namespace vexmar::ui

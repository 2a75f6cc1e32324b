#include <windows.h>

#include "platform/text/text.h"
#include "support/temp_folder.h"

namespace vexmar::testing {

std::string TempFolder::WriteHidden(const std::string& name) const {
  const std::u16string path = text::Utf8ToUtf16(Write(name));
  SetFileAttributesW(reinterpret_cast<const wchar_t*>(path.c_str()), FILE_ATTRIBUTE_HIDDEN);
  return name;
}

std::uint32_t ThisProcessForTest() {
  return static_cast<std::uint32_t>(GetCurrentProcessId());
}

}  // namespace vexmar::testing

// libFuzzer entry for the reader's place file, which anything on the
// reader's machine may have written: what it reads must write back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "viewer/reader_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vexmar::viewer;
  const ReaderState state =
      ReadReaderState(std::string_view(reinterpret_cast<const char*>(data), size));
  const ReaderState again = ReadReaderState(WriteReaderState(state));
  if (again.page != state.page || again.paneWidth != state.paneWidth ||
      again.hasPlace != state.hasPlace || again.left != state.left ||
      again.bottom != state.bottom || again.maximized != state.maximized) {
    std::abort();
  }
  return 0;
}

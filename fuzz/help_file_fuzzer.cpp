// libFuzzer entry for the pop-up help file's reader: any bytes must split
// into fields and texts without a fault, and never give more texts than
// fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "help/help_fields.h"
#include "platform/text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> fields =
      vexmar::help::SplitHelpFields(vexmar::text::FromAnsiOrMarkedUtf8(bytes));
  std::size_t records = 0;
  const std::vector<std::string> texts =
      vexmar::help::HelpTextsFromFields(fields, [&records] { ++records; });
  if (texts.size() > fields.size() || records != fields.size()) std::abort();
  return 0;
}

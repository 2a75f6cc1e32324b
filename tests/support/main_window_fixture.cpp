#include "support/main_window_fixture.h"

namespace vexmar::testing {

std::vector<std::string> Entries(const ui::CheckList& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Entry(i));
  return out;
}

std::vector<bool> Checks(const ui::CheckList& list) {
  std::vector<bool> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Checked(i));
  return out;
}

}  // namespace vexmar::testing

#pragma once
// The pop-up help file is read as free-format text fields, not as lines.
#include <string>
#include <string_view>
#include <vector>

namespace vexmar::help {

// Splits the file's text into its fields:
// - a field ends at a comma, at a line end (CR, LF or CR LF) or at the end;
// - blanks in front of a field's first character are dropped;
// - a field that begins with a double quote runs to the next double quote
//   (commas between belong to it); what follows the closing quote up to the
//   next comma or line end is dropped;
// - an empty line is one empty field.
std::vector<std::string> SplitHelpFields(std::string_view text);

// The help texts the fields make, in order: a field with "=" starts a new
// entry holding what follows the first "="; a field without one replaces the
// latest entry's text, and is ignored before the first entry. `onRecord`
// runs after every field, so a caller can let the window breathe.
template <typename OnRecord>
std::vector<std::string> HelpTextsFromFields(const std::vector<std::string>& fields,
                                             OnRecord onRecord) {
  std::vector<std::string> texts;
  for (const std::string& field : fields) {
    const auto equals = field.find('=');
    if (equals != std::string::npos) {
      texts.push_back(field.substr(equals + 1));
    } else if (!texts.empty()) {
      texts.back() = field;
    }
    onRecord();
  }
  return texts;
}

}  // namespace vexmar::help

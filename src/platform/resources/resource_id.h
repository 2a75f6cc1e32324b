#pragma once
// The type or name of a resource entry: a 16-bit number or a UTF-16 string.
// Strings are kept exactly as stored in the file; the normalisation that
// UpdateResource applies to what a caller passes (upper case, "#123" is the
// number 123) happens in FromText.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/resources/result.h"

namespace vexmar::resources {

class ResourceId {
 public:
  // Rejects 0: MAKEINTRESOURCE(0) is a null pointer, which no Windows call
  // can tell apart from "no name".
  static Result<ResourceId> Number(uint32_t number);
  // A caller's name: "#123" becomes the number 123; other text is upper-cased
  // with the rule of upper_case.h. Empty text, an embedded NUL, "#" followed
  // by anything but a number from 1 to 65535, and more than 65535 code units
  // are refused.
  static Result<ResourceId> FromText(std::u16string_view text);
  static Result<ResourceId> FromUtf8(std::string_view text);
  // A name exactly as a file stores it (the reader's view).
  static ResourceId Stored(std::u16string name);
  static ResourceId StoredNumber(uint16_t number);

  bool is_number() const { return isNumber_; }
  uint16_t number() const { return number_; }
  const std::u16string& name() const { return name_; }
  // "2110" or "\"CUSTOM\"", for messages and test output.
  std::string ToDisplay() const;

  // The order a resource directory must have for the loader's binary search:
  // every name before every number; names by UTF-16 code unit (a prefix
  // first), numbers ascending.
  friend bool operator<(const ResourceId& a, const ResourceId& b);
  friend bool operator==(const ResourceId& a, const ResourceId& b) {
    return a.isNumber_ == b.isNumber_ && a.number_ == b.number_ && a.name_ == b.name_;
  }
  friend bool operator!=(const ResourceId& a, const ResourceId& b) { return !(a == b); }

 private:
  bool isNumber_ = true;
  uint16_t number_ = 0;
  std::u16string name_;
};

}  // namespace vexmar::resources

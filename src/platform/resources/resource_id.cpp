#include "platform/resources/resource_id.h"

#include "platform/resources/upper_case.h"
#include "platform/text/utf.h"

namespace vexmar::resources {

Result<ResourceId> ResourceId::Number(uint32_t number) {
  if (number == 0 || number > 0xFFFF) {
    return Fail("a resource number must lie between 1 and 65535, not " + std::to_string(number));
  }
  return StoredNumber(static_cast<uint16_t>(number));
}

Result<ResourceId> ResourceId::FromText(std::u16string_view text) {
  if (text.empty()) {
    return Fail("a resource name cannot be empty");
  }
  if (text.find(u'\0') != std::u16string_view::npos) {
    return Fail("a resource name cannot contain a NUL character");
  }
  if (text.size() > 0xFFFF) {
    return Fail("a resource name cannot be longer than 65535 UTF-16 units");
  }
  if (text[0] == u'#') {
    // "#123" is how a number travels as text through the string forms of
    // the Windows calls; "#" with anything else is refused rather than
    // stored as a name that no Windows call could ask for.
    uint32_t number = 0;
    if (text.size() < 2 || text.size() > 6) {
      return Fail("\"" + utf::Utf16ToUtf8(text) + "\" is not a resource number (#1 to #65535)");
    }
    for (char16_t unit : text.substr(1)) {
      if (unit < u'0' || unit > u'9') {
        return Fail("\"" + utf::Utf16ToUtf8(text) + "\" is not a resource number (#1 to #65535)");
      }
      number = number * 10 + (unit - u'0');
    }
    return Number(number);
  }
  ResourceId id;
  id.isNumber_ = false;
  id.name_ = UpperCaseName(text);
  return id;
}

Result<ResourceId> ResourceId::FromUtf8(std::string_view text) {
  return FromText(utf::Utf8ToUtf16(text));
}

ResourceId ResourceId::Stored(std::u16string name) {
  ResourceId id;
  id.isNumber_ = false;
  id.name_ = std::move(name);
  return id;
}

ResourceId ResourceId::StoredNumber(uint16_t number) {
  ResourceId id;
  id.number_ = number;
  return id;
}

std::string ResourceId::ToDisplay() const {
  if (isNumber_) {
    return std::to_string(number_);
  }
  return "\"" + utf::Utf16ToUtf8(name_) + "\"";
}

bool operator<(const ResourceId& a, const ResourceId& b) {
  if (a.isNumber_ != b.isNumber_) {
    return !a.isNumber_;
  }
  if (a.isNumber_) {
    return a.number_ < b.number_;
  }
  // char16_t is unsigned, so this is the ordinal code-unit order with a
  // shorter prefix first: the order the loader's wcsncmp search expects.
  return a.name_ < b.name_;
}

}  // namespace vexmar::resources

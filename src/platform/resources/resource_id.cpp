#include "platform/resources/resource_id.h"

#include "platform/resources/upper_case.h"

namespace vexmar::resources {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, uint32_t code_point) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code_point >> 18));
    out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

}  // namespace

std::u16string NameFromUtf8(std::string_view utf8) {
  std::u16string out;
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<uint8_t>(utf8[i]);
    size_t length = lead < 0x80           ? 1
                    : (lead >> 5) == 0x6  ? 2
                    : (lead >> 4) == 0xE  ? 3
                    : (lead >> 3) == 0x1E ? 4
                                          : 0;
    uint32_t code_point = length == 1   ? lead
                          : length == 2 ? (lead & 0x1Fu)
                          : length == 3 ? (lead & 0x0Fu)
                                        : (lead & 0x07u);
    bool valid = length != 0 && i + length <= utf8.size();
    for (size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<uint8_t>(utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      code_point = (code_point << 6) | (next & 0x3Fu);
    }
    static constexpr uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    valid = valid && code_point >= kMinimum[length] && code_point <= 0x10FFFF &&
            (code_point < 0xD800 || code_point > 0xDFFF);
    if (!valid) {
      out += kReplacement;
      ++i;
      continue;
    }
    if (code_point >= 0x10000) {
      code_point -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code_point >> 10));
      out += static_cast<char16_t>(0xDC00 + (code_point & 0x3FF));
    } else {
      out += static_cast<char16_t>(code_point);
    }
    i += length;
  }
  return out;
}

std::string NameToUtf8(std::u16string_view utf16) {
  std::string out;
  for (size_t i = 0; i < utf16.size(); ++i) {
    uint32_t unit = utf16[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (utf16[i + 1] - 0xDC00u);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      unit = kReplacement;
    }
    AppendUtf8(out, unit);
  }
  return out;
}

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
      return Fail("\"" + NameToUtf8(text) + "\" is not a resource number (#1 to #65535)");
    }
    for (char16_t unit : text.substr(1)) {
      if (unit < u'0' || unit > u'9') {
        return Fail("\"" + NameToUtf8(text) + "\" is not a resource number (#1 to #65535)");
      }
      number = number * 10 + (unit - u'0');
    }
    return Number(number);
  }
  ResourceId id;
  id.is_number_ = false;
  id.name_ = UpperCaseName(text);
  return id;
}

Result<ResourceId> ResourceId::FromUtf8(std::string_view text) {
  return FromText(NameFromUtf8(text));
}

ResourceId ResourceId::Stored(std::u16string name) {
  ResourceId id;
  id.is_number_ = false;
  id.name_ = std::move(name);
  return id;
}

ResourceId ResourceId::StoredNumber(uint16_t number) {
  ResourceId id;
  id.number_ = number;
  return id;
}

std::string ResourceId::ToDisplay() const {
  if (is_number_) {
    return std::to_string(number_);
  }
  return "\"" + NameToUtf8(name_) + "\"";
}

bool operator<(const ResourceId& a, const ResourceId& b) {
  if (a.is_number_ != b.is_number_) {
    return !a.is_number_;
  }
  if (a.is_number_) {
    return a.number_ < b.number_;
  }
  // char16_t is unsigned, so this is the ordinal code-unit order with a
  // shorter prefix first: the order the loader's wcsncmp search expects.
  return a.name_ < b.name_;
}

}  // namespace vexmar::resources

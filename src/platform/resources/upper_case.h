#pragma once
// Upper-casing of resource names as Windows does it (RtlUpcaseUnicodeString):
// one UTF-16 code unit at a time, the simple one-to-one mapping of the Unicode
// character database, nothing locale dependent. So "ä" becomes "Ä", "ÿ"
// becomes "Ÿ" (U+0178) and "ß" stays, since its upper case is two letters.
// Surrogates, and therefore characters above U+FFFF, stay as they are.
#include <string>
#include <string_view>

namespace vexmar::resources {

char16_t UpperCaseUnit(char16_t unit);
std::u16string UpperCaseName(std::u16string_view name);

}  // namespace vexmar::resources

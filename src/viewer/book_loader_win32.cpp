#include "viewer/book_loader_win32.h"

#include <cwchar>
#include <string>

#include "book/book_format.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {
namespace {

struct ImageRange {
  const uint8_t* begin = nullptr;
  const uint8_t* end = nullptr;
};

// The mapped image: the loader has already checked our own headers, and
// every section lies inside SizeOfImage.
ImageRange RangeOf(HMODULE module) {
  const auto* base = reinterpret_cast<const uint8_t*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return {base, base + nt->OptionalHeader.SizeOfImage};
}

struct EntryBytes {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// False when the entry's data does not lie wholly inside the image.
bool ReadEntry(HMODULE module, HRSRC found, const ImageRange& image, EntryBytes& out) {
  const DWORD size = SizeofResource(module, found);
  if (size == 0) {
    out = {};
    return true;
  }
  const HGLOBAL loaded = LoadResource(module, found);
  const auto* data = static_cast<const uint8_t*>(LockResource(loaded));
  if (data == nullptr || data < image.begin || data >= image.end ||
      size > static_cast<size_t>(image.end - data)) {
    return false;
  }
  out = {data, size};
  return true;
}

struct Enumeration {
  HMODULE module;
  ImageRange image;
  BookImage* book;
};

BOOL CALLBACK OnFileEntry(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR context) {
  auto& enumeration = *reinterpret_cast<Enumeration*>(context);
  if (IS_INTRESOURCE(name)) {
    enumeration.book->damaged.push_back("#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) +
                                        " (a number, not a file name)");
    return TRUE;
  }
  const std::string utf8_name = Narrow(name);
  EntryBytes bytes;
  const HRSRC found = FindResourceW(module, name, type);
  if (found == nullptr || !ReadEntry(module, found, enumeration.image, bytes)) {
    enumeration.book->damaged.push_back(utf8_name + " (its data lies outside the file)");
    return TRUE;
  }
  enumeration.book->entries.Add({utf8_name, bytes.data, bytes.size});
  return TRUE;
}

// "#2110" is the number 2110, anything else a name, as the digest writes them.
std::wstring IdText(std::string_view id) {
  return Widen(std::string(id));
}
LPCWSTR IdOf(const std::wstring& text) {
  if (text.size() > 1 && text[0] == L'#') {
    return MAKEINTRESOURCEW(static_cast<WORD>(std::wcstoul(text.c_str() + 1, nullptr, 10)));
  }
  return text.c_str();
}

BOOL CALLBACK OnFirstLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context) {
  *reinterpret_cast<WORD*>(context) = language;
  return FALSE;
}

}  // namespace

BookImage LoadBookImage(HMODULE module) {
  BookImage book;
  const ImageRange image = RangeOf(module);
  const std::wstring settings_type = Widen(book_format::kSettingsType);
  const LPCWSTR settings_id = MAKEINTRESOURCEW(book_format::kSettingsId);
  HRSRC settings =
      FindResourceExW(module, settings_type.c_str(), settings_id, book_format::kLanguage);
  if (settings == nullptr) {
    // A record another tool stored under another language: the loader's
    // own choice first, else whichever language there is.
    settings = FindResourceW(module, settings_id, settings_type.c_str());
  }
  if (settings == nullptr) {
    WORD language = 0;
    EnumResourceLanguagesW(module, settings_type.c_str(), settings_id, OnFirstLanguage,
                           reinterpret_cast<LONG_PTR>(&language));
    if (language != 0) {
      settings = FindResourceExW(module, settings_type.c_str(), settings_id, language);
    }
  }
  EntryBytes record;
  if (settings != nullptr && ReadEntry(module, settings, image, record)) {
    book.record = std::string_view(reinterpret_cast<const char*>(record.data), record.size);
  } else if (settings != nullptr) {
    // Present but unreadable: an empty record gets the "damaged" message.
    book.record = std::string_view();
  }
  const std::wstring digest_type = Widen(book_format::kDigestType);
  const std::wstring digest_name = Widen(book_format::kDigestName);
  const HRSRC digest =
      FindResourceExW(module, digest_type.c_str(), digest_name.c_str(), book_format::kLanguage);
  EntryBytes digest_bytes;
  if (digest != nullptr) {
    // Present but unreadable: an empty digest is reported as damaged.
    book.digest =
        ReadEntry(module, digest, image, digest_bytes)
            ? std::string_view(reinterpret_cast<const char*>(digest_bytes.data), digest_bytes.size)
            : std::string_view();
  }
  Enumeration enumeration{module, image, &book};
  EnumResourceNamesW(module, MAKEINTRESOURCEW(book_format::kFileType), OnFileEntry,
                     reinterpret_cast<LONG_PTR>(&enumeration));
  return book;
}

std::optional<std::string_view> FindOtherEntry(HMODULE module, std::string_view type,
                                               std::string_view name) {
  const std::wstring type_text = IdText(type);
  const std::wstring name_text = IdText(name);
  const HRSRC found =
      FindResourceExW(module, IdOf(type_text), IdOf(name_text), book_format::kLanguage);
  EntryBytes bytes;
  if (found == nullptr || !ReadEntry(module, found, RangeOf(module), bytes)) {
    return std::nullopt;
  }
  return std::string_view(reinterpret_cast<const char*>(bytes.data), bytes.size);
}

}  // namespace vexmar::viewer

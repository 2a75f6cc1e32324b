#pragma once
// Text at the edges of the program. Inside, every text is UTF-8 in a
// std::string; UTF-16 is for Win32 calls and PE resource names; the ANSI code
// page is for the bytes of the files and resource records that Windows
// programs of this kind have always written in it.
#include <string>
#include <string_view>

#include "platform/text/utf.h"

namespace vexmar::text {

using utf::Utf16ToUtf8;
using utf::Utf8ToUtf16;

// The system's ANSI code page: GetACP() on Windows, Windows-1252 elsewhere.
// A character the code page cannot hold becomes "?".
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);
// True when Utf8ToAnsi would keep every character of the text.
bool FitsAnsi(std::string_view utf8);

// The UTF-8 byte-order mark: a file of the program's that starts with it is
// UTF-8, one without it ANSI text, as such files have always been.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// The text in the ANSI code page when it fits and its bytes cannot be taken
// for the mark; otherwise the mark and the text as well-formed UTF-8.
std::string ToAnsiOrMarkedUtf8(std::string_view utf8);
// The reverse: UTF-8 (malformed bytes replaced) after the mark, else ANSI.
std::string FromAnsiOrMarkedUtf8(std::string_view bytes);

// Upper and lower case the way the author's language does it for the
// characters the ANSI code page holds (so "é" becomes "É"); other characters
// stay as they are.
std::string ToUpper(std::string_view utf8);
std::string ToLower(std::string_view utf8);

// Leading and trailing blanks (U+0020 only) removed.
std::string_view TrimSpaces(std::string_view text);

// Text from an untrusted source made safe for a terminal: control
// characters (C0, DEL and the UTF-8 forms of C1) become "\xNN" for each of
// their bytes, so no escape sequence can retitle or recolour the terminal
// and no "\r" can hide what came before.
std::string ForTerminal(std::string_view utf8);

// A failure's reason as the last sentence of a message: "the disk is full"
// becomes "The disk is full."
std::string AsSentence(std::string reason);

}  // namespace vexmar::text

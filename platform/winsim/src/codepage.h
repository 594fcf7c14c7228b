// Conversions between the machine's ANSI code page, UTF-16 and UTF-8.
// Code page 1252 is converted exactly; any other code page is taken as
// ISO 8859-1 (bytes 0x80 to 0xFF as U+0080 to U+00FF). MultiByteToWideChar
// and WideCharToMultiByte also take CP_UTF8.
#pragma once

#include <string>

#include "windows.h"

namespace winsim {

std::u16string AnsiToUtf16(const std::string& ansi, UINT codePage);
// Characters without an ANSI form become `replacement`; *usedDefault says so.
std::string Utf16ToAnsi(const std::u16string& text, UINT codePage, bool* usedDefault = nullptr,
                        char replacement = '?');
std::string Utf16ToUtf8(const std::u16string& text);
std::u16string Utf8ToUtf16(const std::string& text);

// The machine's code page (settings().codePage).
UINT ActiveCodePage();

// Upper case of a UTF-16 character for name comparisons (Latin letters).
char16_t UpperWide(char16_t c);

}  // namespace winsim

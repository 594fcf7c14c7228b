// Code page conversions and MultiByteToWideChar / WideCharToMultiByte.
#include "codepage.h"

#include "winsim/faults.h"
#include "winsim/machine.h"

namespace winsim {
namespace {

// Code page 1252, bytes 0x80 to 0x9F; 0 marks the five undefined bytes,
// which Windows maps to the same code point.
const char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char16_t ByteToWide(unsigned char b, UINT codePage) {
    if (codePage == 1252 && b >= 0x80 && b < 0xA0 && kCp1252High[b - 0x80] != 0) {
        return kCp1252High[b - 0x80];
    }
    return b;
}

bool WideToByte(char16_t c, UINT codePage, unsigned char* out) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        *out = static_cast<unsigned char>(c);
        return true;
    }
    if (codePage == 1252) {
        for (int i = 0; i < 32; ++i) {
            if (kCp1252High[i] == c || (kCp1252High[i] == 0 && c == 0x80 + i)) {
                *out = static_cast<unsigned char>(0x80 + i);
                return true;
            }
        }
        return false;
    }
    if (c <= 0xFF) {
        *out = static_cast<unsigned char>(c);
        return true;
    }
    return false;
}

UINT ResolveCodePage(UINT codePage) {
    return (codePage == CP_ACP || codePage == CP_OEMCP) ? ActiveCodePage() : codePage;
}

}  // namespace

UINT ActiveCodePage() { return settings().codePage; }

std::u16string AnsiToUtf16(const std::string& ansi, UINT codePage) {
    std::u16string wide;
    for (unsigned char b : ansi) wide += ByteToWide(b, codePage);
    return wide;
}

std::string Utf16ToAnsi(const std::u16string& text, UINT codePage, bool* usedDefault, char replacement) {
    std::string ansi;
    bool defaulted = false;
    for (char16_t c : text) {
        unsigned char b;
        if (WideToByte(c, codePage, &b)) {
            ansi += static_cast<char>(b);
        } else {
            ansi += replacement;
            defaulted = true;
        }
    }
    if (usedDefault) *usedDefault = defaulted;
    return ansi;
}

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned int c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        unsigned int c;
        int extra;
        if (b < 0x80) { c = b; extra = 0; }
        else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; extra = 1; }
        else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; extra = 2; }
        else if ((b & 0xF8) == 0xF0) { c = b & 0x07; extra = 3; }
        else { out += static_cast<char16_t>(0xFFFD); ++i; continue; }
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (!valid) { out += static_cast<char16_t>(0xFFFD); ++i; continue; }
        i += extra + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

char16_t UpperWide(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
    if (c == 0xFF) return 0x178;
    if (c == 0x161 || c == 0x153 || c == 0x17E) return static_cast<char16_t>(c - 1);
    return c;
}

}  // namespace winsim

extern "C" {

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                               LPWSTR target, int targetLength) {
    (void)flags;
    DWORD error;
    if (winsim::ShouldFail("MultiByteToWideChar", &error)) {
        SetLastError(error);
        return 0;
    }
    if (source == nullptr || sourceLength == 0 || targetLength < 0 || (target == nullptr && targetLength > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // A length of -1 takes the text with its terminator.
    std::string text = sourceLength < 0 ? std::string(source, std::char_traits<char>::length(source) + 1)
                                        : std::string(source, static_cast<size_t>(sourceLength));
    UINT resolved = winsim::ResolveCodePage(codePage);
    std::u16string wide = resolved == CP_UTF8 ? winsim::Utf8ToUtf16(text) : winsim::AnsiToUtf16(text, resolved);
    if (targetLength == 0) return static_cast<int>(wide.size());
    if (wide.size() > static_cast<size_t>(targetLength)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    for (size_t i = 0; i < wide.size(); ++i) target[i] = wide[i];
    return static_cast<int>(wide.size());
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                               LPSTR target, int targetLength, LPCSTR defaultChar,
                               LPBOOL usedDefaultChar) {
    (void)flags;
    UINT resolved = winsim::ResolveCodePage(codePage);
    // UTF-8 can encode every character: it takes no default character.
    bool defaultGiven = defaultChar != nullptr || usedDefaultChar != nullptr;
    if (source == nullptr || sourceLength == 0 || targetLength < 0 || (target == nullptr && targetLength > 0) ||
        (resolved == CP_UTF8 && defaultGiven)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t length = 0;
    if (sourceLength < 0) {
        while (source[length] != 0) ++length;
        ++length;
    } else {
        length = static_cast<size_t>(sourceLength);
    }
    std::u16string text(source, length);
    std::string ansi;
    if (resolved == CP_UTF8) {
        ansi = winsim::Utf16ToUtf8(text);
    } else {
        bool defaulted = false;
        ansi = winsim::Utf16ToAnsi(text, resolved, &defaulted, defaultChar != nullptr ? defaultChar[0] : '?');
        if (usedDefaultChar) *usedDefaultChar = defaulted ? TRUE : FALSE;
    }
    if (targetLength == 0) return static_cast<int>(ansi.size());
    if (ansi.size() > static_cast<size_t>(targetLength)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    for (size_t i = 0; i < ansi.size(); ++i) target[i] = ansi[i];
    return static_cast<int>(ansi.size());
}

UINT WINAPI GetACP(void) { return winsim::ActiveCodePage(); }

}  // extern "C"

// wsprintfA and wvsprintfA: printf-style formatting without floating point,
// into a buffer of at most 1024 bytes, as USER32 does it.
#include <cstring>
#include <string>

#include "codepage.h"
#include "winsim/machine.h"

namespace {

const std::size_t kLimit = 1024;  // bytes, terminator included

std::string Number(unsigned long long value, unsigned base, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value % base]);
        value /= base;
    } while (value != 0);
    return text;
}

int Format(LPSTR out, LPCSTR format, va_list args) {
    std::string result;
    for (const char* p = format; *p != '\0' && result.size() < kLimit - 1; ++p) {
        if (*p != '%') {
            result += *p;
            continue;
        }
        ++p;
        bool left = false, alternate = false, zero = false;
        for (;; ++p) {
            if (*p == '-') left = true;
            else if (*p == '#') alternate = true;
            else if (*p == '0') zero = true;
            else break;
        }
        int width = 0;
        while (*p >= '0' && *p <= '9') width = width * 10 + (*p++ - '0');
        int precision = -1;
        if (*p == '.') {
            precision = 0;
            ++p;
            while (*p >= '0' && *p <= '9') precision = precision * 10 + (*p++ - '0');
        }
        bool wide = false;
        if (*p == 'l' || *p == 'w') { wide = true; ++p; }
        else if (*p == 'h') { ++p; }
        std::string field;
        bool numeric = true;
        switch (*p) {
            case 'd': case 'i': {
                long long value = va_arg(args, int);  // Windows' long is 32 bits
                std::string digits = Number(value < 0 ? -static_cast<unsigned long long>(value) : value, 10, false);
                if (precision >= 0) while (static_cast<int>(digits.size()) < precision) digits.insert(0, "0");
                field = (value < 0 ? "-" : "") + digits;
                break;
            }
            case 'u': case 'x': case 'X': {
                unsigned value = va_arg(args, unsigned);
                std::string digits = Number(value, *p == 'u' ? 10 : 16, *p == 'X');
                if (precision >= 0) while (static_cast<int>(digits.size()) < precision) digits.insert(0, "0");
                if (alternate && *p != 'u' && value != 0) digits.insert(0, *p == 'X' ? "0X" : "0x");
                field = digits;
                break;
            }
            case 'p': {
                field = Number(reinterpret_cast<unsigned long long>(va_arg(args, void*)), 16, true);
                while (field.size() < 2 * sizeof(void*)) field.insert(0, "0");
                break;
            }
            case 'c': case 'C': {
                numeric = false;
                int value = va_arg(args, int);
                field = (wide || *p == 'C') ? winsim::Utf16ToAnsi(std::u16string(1, static_cast<char16_t>(value)), winsim::ActiveCodePage())
                                            : std::string(1, static_cast<char>(value));
                break;
            }
            case 's': case 'S': {
                numeric = false;
                if (wide || *p == 'S') {
                    const WCHAR* text = va_arg(args, const WCHAR*);
                    std::u16string wtext;
                    if (text == nullptr) wtext = u"(null)";
                    else for (const WCHAR* q = text; *q != 0 && (precision < 0 || static_cast<int>(wtext.size()) < precision); ++q) wtext += *q;
                    field = winsim::Utf16ToAnsi(wtext, winsim::ActiveCodePage());
                } else {
                    const char* text = va_arg(args, const char*);
                    if (text == nullptr) text = "(null)";
                    for (const char* q = text; *q != '\0' && (precision < 0 || static_cast<int>(field.size()) < precision); ++q) field += *q;
                }
                break;
            }
            case '\0':
                --p;  // a lone % at the end
                continue;
            default:
                // An unknown type prints itself, as USER32 does.
                result += *p;
                continue;
        }
        while (static_cast<int>(field.size()) < width) {
            if (left) field += ' ';
            else if (zero && numeric) field.insert(field[0] == '-' ? 1 : 0, "0");
            else field.insert(0, " ");
        }
        result += field;
    }
    if (result.size() > kLimit - 1) result.resize(kLimit - 1);
    std::memcpy(out, result.c_str(), result.size() + 1);
    return static_cast<int>(result.size());
}

}  // namespace

extern "C" {

int WINAPI wvsprintfA(LPSTR out, LPCSTR format, va_list args) {
    if (out == nullptr || format == nullptr) return -1;
    va_list copy;
    va_copy(copy, args);
    int length = Format(out, format, copy);
    va_end(copy);
    return length;
}

int WINAPIV wsprintfA(LPSTR out, LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    int length = wvsprintfA(out, format, args);
    va_end(args);
    return length;
}

}  // extern "C"

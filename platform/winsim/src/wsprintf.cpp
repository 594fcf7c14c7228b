// wsprintfA and wvsprintfA: printf-style formatting without floating point,
// into a buffer of at most 1024 bytes, as USER32 does it. A conversion
// is %[-][#][0][width][.precision][h|l|w]type.
#include <cstring>
#include <string>

#include "codepage.h"
#include "winsim/machine.h"

namespace {

const std::size_t kLimit = 1024;  // bytes, terminator included

struct Conversion {
    bool left = false;       // '-': pad on the right
    bool prefix = false;     // '#': 0x or 0X before hexadecimal numbers
    bool zero = false;       // '0': pad numbers with zeros
    std::size_t width = 0;
    bool hasPrecision = false;
    std::size_t precision = 0;
    char size = 0;           // 'h', 'l' or 'w'
};

// A decimal or hexadecimal number, as digits only.
std::string Digits(unsigned long long value, unsigned base, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char text[24];
    int at = sizeof(text);
    do {
        text[--at] = digits[value % base];
        value /= base;
    } while (value != 0);
    return std::string(text + at, sizeof(text) - at);
}

// Width and precision never need to exceed what the buffer can hold.
std::size_t ReadCount(const char** p) {
    std::size_t count = 0;
    while (**p >= '0' && **p <= '9') {
        if (count < kLimit) count = count * 10 + static_cast<std::size_t>(**p - '0');
        ++*p;
    }
    return count < kLimit ? count : kLimit;
}

// A number with its sign or prefix, its digits raised to the precision (the
// least number of digits, at least one) and zeros up to the width when asked.
std::string NumberField(const Conversion& conv, const std::string& lead, std::string digits) {
    std::size_t least = conv.hasPrecision && conv.precision > 0 ? conv.precision : 1;
    if (digits.size() < least) digits.insert(0, least - digits.size(), '0');
    if (conv.zero && !conv.left && lead.size() + digits.size() < conv.width) {
        digits.insert(0, conv.width - lead.size() - digits.size(), '0');
    }
    return lead + digits;
}

std::string WideToAnsi(const std::u16string& text) {
    return winsim::Utf16ToAnsi(text, winsim::ActiveCodePage());
}

int Format(LPSTR out, LPCSTR format, va_list args) {
    std::string result;
    for (const char* p = format; *p != '\0' && result.size() < kLimit - 1; ++p) {
        if (*p != '%') {
            result += *p;
            continue;
        }
        ++p;
        Conversion conv;
        for (;; ++p) {
            if (*p == '-') conv.left = true;
            else if (*p == '#') conv.prefix = true;
            else if (*p == '0') conv.zero = true;
            else break;
        }
        conv.width = ReadCount(&p);
        if (*p == '.') {
            ++p;
            conv.hasPrecision = true;
            conv.precision = ReadCount(&p);
        }
        if (*p == 'h' || *p == 'l' || *p == 'w') conv.size = *p++;
        const bool wide = conv.size == 'l' || conv.size == 'w';

        std::string field;
        switch (*p) {
            case 'd':
            case 'i': {
                int value = va_arg(args, int);  // Windows' long is 32 bits too
                if (conv.size == 'h') value = static_cast<short>(value);
                unsigned long long magnitude =
                    value < 0 ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(value))
                              : static_cast<unsigned long long>(value);
                field = NumberField(conv, value < 0 ? "-" : "", Digits(magnitude, 10, false));
                break;
            }
            case 'u':
            case 'x':
            case 'X': {
                unsigned value = va_arg(args, unsigned);
                if (conv.size == 'h') value = static_cast<unsigned short>(value);
                std::string lead = conv.prefix && *p != 'u' ? (*p == 'X' ? "0X" : "0x") : "";
                field = NumberField(conv, lead, Digits(value, *p == 'u' ? 10 : 16, *p == 'X'));
                break;
            }
            case 'p': {
                std::string digits = Digits(reinterpret_cast<ULONG_PTR>(va_arg(args, void*)), 16, true);
                field = std::string(2 * sizeof(void*) - digits.size(), '0') + digits;
                break;
            }
            case 'c':
            case 'C': {
                // 'C' is the other width: wide in wsprintfA, unless 'h' says narrow.
                int value = va_arg(args, int);
                bool wideChar = conv.size == 'h' ? false : (wide || *p == 'C');
                field = wideChar ? WideToAnsi(std::u16string(1, static_cast<char16_t>(value)))
                                 : std::string(1, static_cast<char>(value));
                break;
            }
            case 's':
            case 'S': {
                bool wideText = conv.size == 'h' ? false : (wide || *p == 'S');
                std::size_t most = conv.hasPrecision ? conv.precision : kLimit;
                if (wideText) {
                    const WCHAR* text = va_arg(args, const WCHAR*);
                    std::u16string taken;
                    if (text == nullptr) text = u"(null)";
                    for (; *text != 0 && taken.size() < most; ++text) taken += *text;
                    field = WideToAnsi(taken);
                } else {
                    const char* text = va_arg(args, const char*);
                    if (text == nullptr) text = "(null)";
                    for (; *text != '\0' && field.size() < most; ++text) field += *text;
                }
                break;
            }
            case '\0':
                --p;  // a lone % at the end of the format
                continue;
            default:
                // A character with no meaning as a type is copied: "%%" gives "%".
                result += *p;
                continue;
        }
        if (field.size() < conv.width) {
            std::string pad(conv.width - field.size(), ' ');
            field = conv.left ? field + pad : pad + field;
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

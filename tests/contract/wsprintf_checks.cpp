// wsprintfA and wvsprintfA with the conversions the installer uses (%s %d
// %ld %u %c %x, widths and flags) and the 1024-byte limit of the output.
#include <stdarg.h>
#include <string.h>

#include "contract.h"

namespace contract {
namespace {

char g_out[1100];

// wsprintfA into a buffer filled with 'X', then checks the text and that
// the count returned is its length.
#define CHECK_WSPRINTF(name, expected, ...)                                                  \
    do {                                                                                      \
        memset(g_out, 'X', sizeof(g_out));                                                    \
        int count_ = wsprintfA(g_out, __VA_ARGS__);                                           \
        CheckText(std::string("wsprintfA.") + name, g_out, expected);                         \
        CheckNumber(std::string("wsprintfA.") + name + ".count", count_,                      \
                    static_cast<long long>(strlen(expected)));                                \
    } while (0)

int CallWvsprintf(char* out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int count = wvsprintfA(out, format, args);
    va_end(args);
    return count;
}

void CheckConversions() {
    CHECK_WSPRINTF("s", "a path", "%s", "a path");
    CHECK_WSPRINTF("s_two", "Copying A to B : text", "Copying %s to %s : %s", "A", "B", "text");
    CHECK_WSPRINTF("s_width", "[   ab]", "[%5s]", "ab");
    CHECK_WSPRINTF("s_left", "[ab   ]", "[%-5s]", "ab");
    CHECK_WSPRINTF("s_precision", "[ab]", "[%.2s]", "abcdef");
    CHECK_WSPRINTF("s_ansi_bytes", "Cr\xE8me", "%s", "Cr\xE8me");
    CHECK_WSPRINTF("d_zero", "0", "%d", 0);
    CHECK_WSPRINTF("d_negative", "-42", "%d", -42);
    CHECK_WSPRINTF("d_min", "-2147483648", "%d", static_cast<int>(0x80000000u));
    CHECK_WSPRINTF("d_width", "[   42]", "[%5d]", 42);
    CHECK_WSPRINTF("d_left", "[42   ]", "[%-5d]", 42);
    CHECK_WSPRINTF("d_zero_pad", "[00042]", "[%05d]", 42);
    CHECK_WSPRINTF("d_zero_pad_negative", "[-0042]", "[%05d]", -42);
    CHECK_WSPRINTF("percent_sign", "50%", "%d%c", 50, '%');
    CHECK_WSPRINTF("ld", "123456789\r\n", "%ld\r\n", static_cast<LONG>(123456789));
    CHECK_WSPRINTF("ld_negative", "-1", "%ld", static_cast<LONG>(-1));
    CHECK_WSPRINTF("u", "4294967295", "%u", 4294967295u);
    CHECK_WSPRINTF("lu", "3000000000", "%lu", static_cast<DWORD>(3000000000u));
    CHECK_WSPRINTF("c", "[A]", "[%c]", 'A');
    CHECK_WSPRINTF("c_ansi_byte", "\xE9", "%c", 0xE9);
    CHECK_WSPRINTF("x", "ff", "%x", 255u);
    CHECK_WSPRINTF("X", "FF", "%X", 255u);
    CHECK_WSPRINTF("x_alternate", "0xff", "%#x", 255u);
    CHECK_WSPRINTF("x_zero_pad", "0000beef", "%08x", 0xBEEFu);
    CHECK_WSPRINTF("lx", "deadbeef", "%lx", static_cast<DWORD>(0xDEADBEEFu));
    CHECK_WSPRINTF("percent_percent", "100%", "100%%");
    CHECK_WSPRINTF("no_conversion", "plain text", "plain text");

    memset(g_out, 'X', sizeof(g_out));
    int count = CallWvsprintf(g_out, "%s=%d (%c)", "key", 7, 'k');
    CheckText("wvsprintfA.mixed", g_out, "key=7 (k)");
    CheckNumber("wvsprintfA.mixed.count", count, 9);
}

// The output stops at 1023 characters and the terminator, whatever the
// arguments; nothing after the 1024th byte is written.
void CheckLimit() {
    const std::string longText(2000, 'a');
    memset(g_out, 'X', sizeof(g_out));
    int count = wsprintfA(g_out, "%s", longText.c_str());
    CheckNumber("wsprintfA.limit.length", static_cast<long long>(strnlen(g_out, sizeof(g_out))), 1023);
    CheckNumber("wsprintfA.limit.count", count, 1023);
    Check("wsprintfA.limit.bounded", g_out[1024] == 'X', "wrote past 1024 bytes");

    // The cut falls in the middle of a later argument.
    const std::string first(1010, 'f');
    memset(g_out, 'X', sizeof(g_out));
    wsprintfA(g_out, "%s : %s", first.c_str(), "the system text\r\n");
    CheckText("wsprintfA.limit.cut_in_argument", std::string(g_out + 1010), " : the system");
    Check("wsprintfA.limit.cut_in_argument.bounded", g_out[1024] == 'X', "wrote past 1024 bytes");

    // Exactly 1023 characters fit.
    const std::string exact(1023, 'e');
    memset(g_out, 'X', sizeof(g_out));
    count = wsprintfA(g_out, "%s", exact.c_str());
    CheckNumber("wsprintfA.limit.exact.count", count, 1023);
    CheckNumber("wsprintfA.limit.exact.length", static_cast<long long>(strnlen(g_out, sizeof(g_out))), 1023);

    memset(g_out, 'X', sizeof(g_out));
    count = CallWvsprintf(g_out, "%s%d", longText.c_str(), 5);
    CheckNumber("wvsprintfA.limit.length", static_cast<long long>(strnlen(g_out, sizeof(g_out))), 1023);
    Check("wvsprintfA.limit.bounded", g_out[1024] == 'X', "wrote past 1024 bytes");
}

void Run() {
    CheckConversions();
    CheckLimit();
}

Group g_group("text.wsprintf", Run);

}  // namespace
}  // namespace contract

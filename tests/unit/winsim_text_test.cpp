// winsim's text calls: lstrlenA, lstrcpynA, wsprintfA / wvsprintfA and the
// code page conversions.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "test_machine.h"
#include "winsim/faults.h"

namespace {

TEST(LstrTest, LengthAndBoundedCopy) {
    TestMachine machine;
    EXPECT_EQ(lstrlenA("Install"), 7);
    EXPECT_EQ(lstrlenA(""), 0);
    EXPECT_EQ(lstrlenA(NULL), 0);

    struct Case {
        const char* source;
        int maxLength;
        const char* result;  // what the buffer holds afterwards
    } cases[] = {
        {"Quorlet", 8, "Quorlet"}, {"Quorlet", 100, "Quorlet"}, {"Quorlet", 7, "Quorle"},
        {"Quorlet", 1, ""},        {"", 5, ""},
    };
    for (const auto& c : cases) {
        // A heap block of exactly maxLength bytes: a write past it is caught.
        std::unique_ptr<char[]> target(new char[c.maxLength]);
        EXPECT_EQ(lstrcpynA(target.get(), c.source, c.maxLength), target.get());
        EXPECT_STREQ(target.get(), c.result) << c.source << " / " << c.maxLength;
    }
}

TEST(LstrTest, ZeroOrNegativeLengthsWriteNothing) {
    TestMachine machine;
    char target[4] = "abc";
    EXPECT_EQ(lstrcpynA(target, "xyz", 0), target);
    EXPECT_STREQ(target, "abc");
    EXPECT_EQ(lstrcpynA(target, "a longer text than the buffer", -1), nullptr);
    EXPECT_STREQ(target, "abc");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    int length = wvsprintfA(buffer, format, args);
    va_end(args);
    EXPECT_EQ(length, static_cast<int>(std::strlen(buffer))) << format;
    return buffer;
}

TEST(WsprintfTest, Conversions) {
    TestMachine machine;
    const WCHAR wide[] = u"Caf\u00E9";
    struct Case {
        std::string actual;
        const char* expected;
    } cases[] = {
        {Format("%s : %s", "C:\\Quorlet", "Access is denied.\r\n"), "C:\\Quorlet : Access is denied.\r\n"},
        {Format("%d %i %d", 42, -42, 0), "42 -42 0"},
        {Format("%d", -2147483647 - 1), "-2147483648"},
        {Format("%u", 0xFFFFFFFFu), "4294967295"},
        {Format("%x %X", 0xBEEFu, 0xBEEFu), "beef BEEF"},
        {Format("%ld %lu %lx", -1, 4000000000u, 0xABCDu), "-1 4000000000 abcd"},
        {Format("%li %lX", 7, 0xABCDu), "7 ABCD"},
        {Format("%c%c", 'o', 'k'), "ok"},
        {Format("%d%c", 75, '%'), "75%"},
        {Format("100%%"), "100%"},
        {Format("%hs %hS %hc %hC", "narrow", "too", 'x', 'y'), "narrow too x y"},  // 'h' makes S and C narrow
        {Format("%ls %S %lc", wide, wide, u'\u00E9'), "Caf\xE9 Caf\xE9 \xE9"},
        {Format("%s %S", static_cast<const char*>(nullptr), static_cast<const WCHAR*>(nullptr)), "(null) (null)"},
        {Format("%y%"), "y"},  // an unknown type is copied; a lone % at the end vanishes
        {Format("%I64d", 5), "I64d"},  // no 64-bit sizes in this generation of USER32
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(WsprintfTest, FlagsWidthAndPrecision) {
    TestMachine machine;
    struct Case {
        std::string actual;
        const char* expected;
    } cases[] = {
        {Format("[%5d]", 42), "[   42]"},
        {Format("[%-5d]", 42), "[42   ]"},
        {Format("[%05d]", 42), "[00042]"},
        {Format("[%05d]", -42), "[-0042]"},
        {Format("[%010ld]", -1), "[-000000001]"},
        {Format("[%-05d]", 42), "[42   ]"},  // left alignment pads with blanks
        {Format("[%#x] [%#X]", 0x1Fu, 0x1Fu), "[0x1f] [0X1F]"},
        {Format("[%#08x]", 0x1Fu), "[0x00001f]"},
        {Format("[%#u]", 31u), "[31]"},  // the prefix is for hexadecimal only
        {Format("[%.4d] [%.4x]", 7, 0xAu), "[0007] [000a]"},
        {Format("[%.4d]", -7), "[-0007]"},
        {Format("[%.0d] [%.d]", 0, 0), "[0] [0]"},  // precision 0 means 1
        {Format("[%.2d]", 12345), "[12345]"},       // never cut
        {Format("[%8.3d]", 5), "[     005]"},
        {Format("[%.3s]", "abcdef"), "[abc]"},
        {Format("[%.10s]", "abc"), "[abc]"},
        {Format("[%6s] [%-6s]", "ab", "ab"), "[    ab] [ab    ]"},
        {Format("[%06s]", "ab"), "[    ab]"},  // zeros pad numbers only
        {Format("[%3c]", 'x'), "[  x]"},
        {Format("[%.2S]", u"wide"), "[wi]"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(WsprintfTest, OutputStopsAt1023CharactersAndATerminator) {
    TestMachine machine;
    std::string longText(3000, 'a');
    struct Case {
        const char* format;
        const char* argument;
        size_t width;
    } cases[] = {
        {"%s", longText.c_str(), 0},
        {"pre %s post", longText.c_str(), 0},
        {"%-5000s|", "x", 0},
        {"%5000s", "x", 0},
        {"%05000d", nullptr, 0},
    };
    for (const auto& c : cases) {
        // Exactly the documented 1024 bytes: a write past them is caught.
        std::unique_ptr<char[]> out(new char[1024]);
        int length = c.argument != nullptr ? wsprintfA(out.get(), c.format, c.argument) : wsprintfA(out.get(), c.format, 7);
        EXPECT_EQ(length, 1023) << c.format;
        EXPECT_EQ(std::strlen(out.get()), 1023u) << c.format;
    }
    // A format that fits exactly is complete.
    std::unique_ptr<char[]> out(new char[1024]);
    std::string fits(1020, 'b');
    EXPECT_EQ(wsprintfA(out.get(), "%s%d", fits.c_str(), 123), 1023);
    EXPECT_EQ(std::string(out.get()), fits + "123");
}

TEST(CodePageTest, GetACPIsTheMachinesCodePage) {
    TestMachine machine;
    EXPECT_EQ(GetACP(), 1252u);
    winsim::settings().codePage = 1250;
    EXPECT_EQ(GetACP(), 1250u);
}

TEST(CodePageTest, MultiByteToWideChar) {
    TestMachine machine;
    struct Case {
        UINT codePage;
        std::string bytes;
        std::u16string wide;
    } cases[] = {
        {CP_ACP, "C:\\Program Files\\Quorlet", u"C:\\Program Files\\Quorlet"},
        {CP_ACP, "R\xE9pertoire \x80 \x9C \xFF", u"R\u00E9pertoire \u20AC \u0153 \u00FF"},
        {1252, "\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"},  // the five undefined bytes
        {CP_UTF8, "R\xC3\xA9pertoire \xE2\x82\xAC", u"R\u00E9pertoire \u20AC"},
    };
    for (const auto& c : cases) {
        WCHAR out[64];
        int length = MultiByteToWideChar(c.codePage, 0, c.bytes.data(), static_cast<int>(c.bytes.size()), out, 64);
        EXPECT_EQ(std::u16string(out, length > 0 ? length : 0), c.wide) << c.bytes;
    }

    // -1: the terminator is converted and counted; size 0 asks for the size.
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, NULL, 0), 4);
    WCHAR out[4] = {1, 1, 1, 1};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, out, 4), 4);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcd", -1, out, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, out, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, NULL, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CodePageTest, WideCharToMultiByte) {
    TestMachine machine;
    char out[64];
    BOOL usedDefault = TRUE;
    std::u16string text = u"\u00C8 \u20AC";
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, sizeof out, NULL,
                                     &usedDefault);
    EXPECT_EQ(std::string(out, length), "\xC8 \x80");
    EXPECT_FALSE(usedDefault);

    // A character without a form in code page 1252: '?' or the caller's own.
    std::u16string greek = u"a\u03A9b";
    length = WideCharToMultiByte(CP_ACP, 0, greek.data(), 3, out, sizeof out, NULL, &usedDefault);
    EXPECT_EQ(std::string(out, length), "a?b");
    EXPECT_TRUE(usedDefault);
    length = WideCharToMultiByte(CP_ACP, 0, greek.data(), 3, out, sizeof out, "*", NULL);
    EXPECT_EQ(std::string(out, length), "a*b");

    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"abc", -1, NULL, 0, NULL, NULL), 4);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"abc", -1, out, 3, NULL, NULL), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    length = WideCharToMultiByte(CP_UTF8, 0, u"\u00E9\u20AC", 2, out, sizeof out, NULL, NULL);
    EXPECT_EQ(std::string(out, length), "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"x", 1, out, sizeof out, NULL, &usedDefault), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CodePageTest, EveryByteOf1252SurvivesTheRoundTrip) {
    TestMachine machine;
    std::string bytes;
    for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
    WCHAR wide[256];
    int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), 255, wide, 256);
    ASSERT_EQ(length, 255);
    char back[256];
    BOOL usedDefault = TRUE;
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, length, back, sizeof back, NULL, &usedDefault), 255);
    EXPECT_EQ(std::string(back, 255), bytes);
    EXPECT_FALSE(usedDefault);
}

}  // namespace

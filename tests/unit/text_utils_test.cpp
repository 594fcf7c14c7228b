// Upper-casing by code page and the counted comparison.
#include <gtest/gtest.h>

#include <set>

#include "test_machine.h"
#include "util/text_utils.h"

namespace {

struct CodePageTable {
    UINT codePage;
    std::set<int> minus10;
    std::vector<std::pair<int, int>> minus20;
};

// The expected table of each code page, written out from its description.
const CodePageTable kTables[] = {
    {1250, {0x9A, 0x9C, 0x9D, 0x9E, 0x9F, 0xB3, 0xBA, 0xBF}, {{0xE0, 0xF6}, {0xF8, 0xFE}}},
    {1251, {0x90, 0x9A, 0x9C, 0x9D, 0x9E, 0x9F, 0xB8, 0xBA, 0xBF}, {{0xE0, 0xFF}}},
    {1252, {0x9A, 0x9C}, {{0xE0, 0xF6}, {0xF8, 0xFF}}},
    {1253, {}, {{0xE0, 0xF1}, {0xF3, 0xFE}}},
    {1254, {0x9A, 0x9C}, {{0xE0, 0xF6}, {0xF8, 0xFE}}},
    {1255, {}, {}},
    {1256, {0x9C}, {}},
    {1257, {0xBF}, {{0xE0, 0xF6}, {0xF8, 0xFE}}},
    {932, {}, {}},
    {437, {}, {}},
    {1249, {}, {}},
    {1258, {}, {}},
};

int Expected(const CodePageTable& table, int b) {
    if (b >= 'a' && b <= 'z') return b - 0x20;
    if (table.minus10.count(b)) return b - 0x10;
    for (const auto& range : table.minus20) {
        if (b >= range.first && b <= range.second) return b - 0x20;
    }
    return b;
}

TEST(UpperCpTest, EveryByteOfEveryCodePageFollowsItsTable) {
    TestMachine machine;
    for (const auto& table : kTables) {
        winsim::settings().codePage = table.codePage;
        for (int b = 0; b < 256; ++b) {
            ASSERT_EQ(UpperCp(static_cast<BYTE>(b)), Expected(table, b))
                << "code page " << table.codePage << " byte " << b;
        }
    }
}

TEST(UpperCpTest, FollowsTheCodePageOfTheMomentOnEveryCall) {
    TestMachine machine;
    winsim::settings().codePage = 1252;
    EXPECT_EQ(UpperCp(0xE9), 0xC9);
    EXPECT_EQ(UpperCp(0xF7), 0xF7);
    EXPECT_EQ(UpperCp(0xFF), 0xDF);
    winsim::settings().codePage = 1253;
    EXPECT_EQ(UpperCp(0xF2), 0xF2);
    EXPECT_EQ(UpperCp(0xF7), 0xD7);
    winsim::settings().codePage = 1251;
    EXPECT_EQ(UpperCp(0xFF), 0xDF);
}

TEST(CompareNoCaseNTest, Cases) {
    TestMachine machine;
    struct Case {
        const char* first;
        const char* second;
        int count;
        int expected;
    } cases[] = {
        {"path=C:\\DOS", "PATH=", 5, 0},
        {"PaTh=", "pAtH=", 5, 0},
        {"A", "b", 1, -1},
        {"b", "A", 1, 1},
        {"\xE9t\xE9", "\xC9T\xC9", 3, 0},  // accented letters of code page 1252
        {"abc", "abd", 2, 0},
        {"abc", "abd", 3, -1},
        {"x", "y", 0, 0},
        {"x", "y", -4, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareNoCaseN(c.first, c.second, c.count), c.expected)
            << c.first << " / " << c.second << " / " << c.count;
    }
}

TEST(CompareNoCaseNTest, ZeroBytesDoNotEndTheComparison) {
    TestMachine machine;
    const char first[] = {'a', 'b', '\0', 'x'};
    const char second[] = {'A', 'B', '\0', 'y'};
    EXPECT_EQ(CompareNoCaseN(first, second, 3), 0);
    EXPECT_EQ(CompareNoCaseN(first, second, 4), -1);
}

TEST(CompareNoCaseNTest, CountZeroReadsNothing) {
    TestMachine machine;
    EXPECT_EQ(CompareNoCaseN(static_cast<const char*>(nullptr), nullptr, 0), 0);
}

}  // namespace

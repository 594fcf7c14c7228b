// Registry values by key path: the level tokenizer, the walks and the chain
// they leave behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_machine.h"
#include "util/reg_path.h"
#include "winsim/faults.h"
#include "winsim/memory.h"
#include "winsim/registry.h"

namespace {

struct TokenStep {
    std::string token;
    size_t cursorAfter;
};

TEST(GetTokenTest, CutsLevelsAndMovesTheCursor) {
    struct Case {
        std::string text;
        int limit;
        std::vector<TokenStep> steps;
    } cases[] = {
        {"Software\\Microsoft", 259, {{"Software", 9}, {"Microsoft", 18}, {"", 18}}},
        {"", 259, {{"", 0}}},
        {"\\A", 259, {{"", 1}, {"A", 2}}},
        {"A\\", 259, {{"A", 2}, {"", 2}}},
        {"A\\\\B", 259, {{"A", 2}, {"", 3}, {"B", 4}}},
        {"abcdef\\g", 3, {{"abc", 7}, {"g", 8}}},
        {"abcdef", 3, {{"abc", 6}}},
        {"ab\\c", 0, {{"", 3}, {"", 4}}},
        {"a;b", 259, {{"a", 2}, {"b", 3}}},  // the delimiter is the caller's
    };
    for (const auto& c : cases) {
        char delimiter = c.text.find(';') != std::string::npos ? ';' : '\\';
        const char* cursor = c.text.c_str();
        for (const auto& step : c.steps) {
            // Exactly limit + 1 bytes, so that AddressSanitizer sees any overrun.
            std::vector<char> buffer(static_cast<size_t>(c.limit) + 1, '#');
            GetToken(cursor, buffer.data(), c.limit, delimiter);
            EXPECT_EQ(std::string(buffer.data()), step.token) << c.text;
            EXPECT_EQ(static_cast<size_t>(cursor - c.text.c_str()), step.cursorAfter) << c.text;
        }
    }
}

class RegPathTest : public ::testing::Test {
protected:
    TestMachine machine_;
    int heapBlocks_ = winsim::LiveHeapBlocks();

    // Every call, whatever its result, must leave the chain empty, every key
    // closed and every node freed.
    void ExpectReleased() {
        EXPECT_EQ(g_keyChain.first, nullptr);
        EXPECT_EQ(g_keyChain.current, nullptr);
        EXPECT_EQ(g_keyChain.newest, nullptr);
        EXPECT_EQ(winsim::OpenKeyHandleCount(), 0);
        EXPECT_EQ(winsim::LiveHeapBlocks(), heapBlocks_);
    }

    LONG Read(HKEY root, const char* path, const char* name, char* data, DWORD* size,
              DWORD* type = nullptr) {
        LONG result = RegReadPath(root, path, name, type, data, size);
        ExpectReleased();
        return result;
    }

    // The text read from a 260-byte buffer, or the error code as text.
    std::string ReadText(HKEY root, const char* path, const char* name) {
        char buffer[MAX_PATH];
        DWORD size = sizeof buffer;
        LONG result = Read(root, path, name, buffer, &size);
        return result == ERROR_SUCCESS ? std::string(buffer) : "error " + std::to_string(result);
    }

    LONG Write(HKEY root, const char* path, const char* name, const std::string& text) {
        LONG result = RegWritePath(root, path, name, REG_SZ, text.c_str(),
                                   static_cast<DWORD>(text.size() + 1));
        ExpectReleased();
        return result;
    }
};

TEST_F(RegPathTest, ReadsAValueAndReportsItsType) {
    winsim::RegSetString("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                         "C:\\Program Files");
    winsim::RegSetString("HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Environment",
                         "Path", "%SystemRoot%\\system32;%SystemRoot%", REG_EXPAND_SZ);
    char buffer[MAX_PATH];
    DWORD size = sizeof buffer;
    DWORD type = REG_NONE;
    ASSERT_EQ(Read(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                   "ProgramFilesDir", buffer, &size, &type),
              ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "C:\\Program Files");
    EXPECT_EQ(size, 17u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    char path[8192];
    size = sizeof path;
    ASSERT_EQ(Read(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\Environment",
                   "Path", path, &size, &type),
              ERROR_SUCCESS);
    EXPECT_STREQ(path, "%SystemRoot%\\system32;%SystemRoot%");
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
}

TEST_F(RegPathTest, EveryLevelOfThePathIsOpenedInTurnEmptyOnesIncluded) {
    winsim::RegSetString("HKCU\\A\\B", "v", "below B");
    winsim::RegSetString("HKCU", "v", "at the root");
    struct Case {
        const char* path;
        const char* expected;
        int opens;
    } cases[] = {
        {"", "at the root", 0},
        {"A\\B", "below B", 2},
        {"a\\b", "below B", 2},
        {"A\\B\\", "below B", 2},    // a trailing backslash adds no level
        {"A\\\\B", "below B", 3},    // the empty level reopens A
        {"\\A\\B", "below B", 3},    // and here the root
        {"A\\B\\\\", "below B", 3},
        {"A\\C", "error 2", 2},
        {"X\\B", "error 2", 1},      // the walk stops at the missing level
    };
    for (const auto& c : cases) {
        int before = winsim::CallCount("RegOpenKeyExA");
        EXPECT_EQ(ReadText(HKEY_CURRENT_USER, c.path, "v"), c.expected) << c.path;
        EXPECT_EQ(winsim::CallCount("RegOpenKeyExA") - before, c.opens) << c.path;
    }
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, "A\\B", "missing"), "error 2");
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, "A", NULL), "error 2");
}

TEST_F(RegPathTest, ALevelLongerThan259CharactersIsCutAndTheNextLevelStillFound) {
    std::string stored(259, 'L');
    winsim::RegSetString("HKLM\\Software\\" + stored + "\\Next", "v", "found");
    std::string path = "Software\\" + stored + std::string(41, 'x') + "\\Next";
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, path.c_str(), "v"), "found");
    EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, path.c_str(), "w", "written"), ERROR_SUCCESS);
    EXPECT_EQ(winsim::RegGetString("HKLM\\Software\\" + stored + "\\Next", "w"), "written");
    EXPECT_EQ(winsim::RegSubKeys("HKLM\\Software"), std::vector<std::string>{stored});
}

TEST_F(RegPathTest, ReadingNeedsWriteAccessAndStopsAtTheFirstRefusingLevel) {
    struct Case {
        const char* root;  // a tree of its own for each case
        std::vector<std::pair<const char*, bool>> denials;  // key below root, read denied too
        int opens;
    } cases[] = {
        {"One", {{"\\Shared", false}}, 2},
        {"Two", {{"\\Shared\\Locked\\Deep", false}}, 4},
        {"Three", {{"\\Shared\\Locked", true}, {"\\Shared", false}}, 2},
    };
    for (const auto& c : cases) {
        std::string path = std::string(c.root) + "\\Shared\\Locked\\Deep";
        winsim::RegSetString("HKLM\\" + path, "v", "readable");
        for (const auto& denial : c.denials) {
            winsim::RegDenyAccess(std::string("HKLM\\") + c.root + denial.first, denial.second);
        }
        char buffer[MAX_PATH];
        DWORD size = sizeof buffer;
        int before = winsim::CallCount("RegOpenKeyExA");
        EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, path.c_str(), "v", buffer, &size), ERROR_ACCESS_DENIED) << c.root;
        EXPECT_EQ(winsim::CallCount("RegOpenKeyExA") - before, c.opens) << c.root;
        EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, path.c_str(), "v", "changed"), ERROR_ACCESS_DENIED) << c.root;
        EXPECT_EQ(winsim::RegGetString("HKLM\\" + path, "v"), "readable") << c.root;
    }
}

TEST_F(RegPathTest, StringDataAlwaysEndInsideTheBuffer) {
    const std::string path259(259, 'p');
    struct Case {
        DWORD type;
        std::string stored;
        DWORD capacity;
        LONG expected;
        DWORD sizeAfter;
    } cases[] = {
        {REG_SZ, std::string("0123456789\0", 11), 64, ERROR_SUCCESS, 11},
        {REG_SZ, std::string("0123456789\0", 11), 11, ERROR_SUCCESS, 11},
        {REG_SZ, std::string("0123456789\0", 11), 10, ERROR_MORE_DATA, 11},
        {REG_SZ, "0123456789", 11, ERROR_SUCCESS, 10},      // stored without its zero
        {REG_SZ, "0123456789", 10, ERROR_MORE_DATA, 11},    // would fill the buffer
        {REG_EXPAND_SZ, "%windir%", 8, ERROR_MORE_DATA, 9},
        {REG_MULTI_SZ, std::string("a\0b\0\0", 5), 5, ERROR_SUCCESS, 5},
        {REG_SZ, "", 1, ERROR_SUCCESS, 0},
        {REG_SZ, "", 0, ERROR_MORE_DATA, 1},
        {REG_BINARY, "0123456789", 10, ERROR_SUCCESS, 10},  // not text: delivered as it is
        // A shell folder of 259 characters in the shortcut phase's 259-byte
        // buffer, and in a MAX_PATH one.
        {REG_SZ, path259 + '\0', 259, ERROR_MORE_DATA, 260},
        {REG_SZ, path259 + '\0', 260, ERROR_SUCCESS, 260},
    };
    for (const auto& c : cases) {
        winsim::RegSetValue("HKCU\\Software\\Shell Folders", "Programs", c.type, c.stored);
        // Exactly the capacity (one byte at least, to have an address).
        std::vector<char> buffer(c.capacity == 0 ? 1 : c.capacity, '#');
        DWORD size = c.capacity;
        DWORD type = REG_NONE;
        LONG result = Read(HKEY_CURRENT_USER, "Software\\Shell Folders", "Programs", buffer.data(),
                           &size, &type);
        std::string label = std::to_string(c.type) + " '" + c.stored + "' in " + std::to_string(c.capacity);
        EXPECT_EQ(result, c.expected) << label;
        EXPECT_EQ(size, c.sizeAfter) << label;
        EXPECT_EQ(type, c.type) << label;
        if (result == ERROR_SUCCESS && c.type != REG_BINARY) {
            std::string text(buffer.data(), buffer.size());
            ASSERT_NE(text.find('\0'), std::string::npos) << label;
            EXPECT_EQ(text.substr(0, text.find('\0')), c.stored.substr(0, c.stored.find('\0'))) << label;
        }
    }
}

TEST_F(RegPathTest, WritingCreatesEveryMissingLevelTopFirst) {
    ASSERT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\Quorlet\\V4\\Files", "Dir", "C:\\Quorlet"),
              ERROR_SUCCESS);
    EXPECT_EQ(winsim::RegGetValue("HKLM\\Software\\Quorlet\\V4\\Files", "Dir")->data,
              std::string("C:\\Quorlet\0", 11));
    EXPECT_EQ(winsim::RegGetValue("HKLM\\Software\\Quorlet\\V4\\Files", "Dir")->type,
              static_cast<DWORD>(REG_SZ));

    // On a path that exists the walk opens each level and creates nothing.
    std::string before = winsim::RegSave();
    ASSERT_EQ(Write(HKEY_LOCAL_MACHINE, "SOFTWARE\\quorlet\\V4\\Files", "dir", "D:\\Quorlet"),
              ERROR_SUCCESS);
    std::string after = winsim::RegSave();
    EXPECT_EQ(after.replace(after.find("D:"), 2, "C:"), before);

    // The third level refused: the first two exist, the rest was never tried.
    winsim::FailCall("RegCreateKeyExA", ERROR_CANTWRITE, 2);
    int creates = winsim::CallCount("RegCreateKeyExA");
    EXPECT_EQ(Write(HKEY_CURRENT_USER, "Software\\Quorlet\\Settings\\Editor", "Tabs", "4"),
              ERROR_CANTWRITE);
    EXPECT_EQ(winsim::CallCount("RegCreateKeyExA") - creates, 3);
    EXPECT_TRUE(winsim::RegKeyExists("HKCU\\Software\\Quorlet"));
    EXPECT_FALSE(winsim::RegKeyExists("HKCU\\Software\\Quorlet\\Settings"));

    // The default value of a class below HKEY_CLASSES_ROOT.
    ASSERT_EQ(Write(HKEY_CLASSES_ROOT, ".c", "", "txtfile"), ERROR_SUCCESS);
    EXPECT_EQ(winsim::RegGetString("HKLM\\Software\\Classes\\.c", ""), "txtfile");
}

TEST_F(RegPathTest, NoMemoryForANodeGivesMinusOne) {
    winsim::RegSetString("HKLM\\A\\B\\C", "v", "x");
    // Four nodes: the root and one per level; each can be the one refused.
    for (int skip = 0; skip < 4; ++skip) {
        winsim::FailCall("HeapAlloc", ERROR_NOT_ENOUGH_MEMORY, skip);
        EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "A\\B\\C", "v"), "error -1") << skip;
        winsim::FailCall("HeapAlloc", ERROR_NOT_ENOUGH_MEMORY, skip);
        EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, "A\\B\\C", "v", "changed"), KEY_CHAIN_NO_MEMORY) << skip;
        EXPECT_EQ(winsim::RegGetString("HKLM\\A\\B\\C", "v"), "x");
    }
    winsim::FailCall("HeapAlloc", ERROR_NOT_ENOUGH_MEMORY, 2);
    EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, "New\\Path", "v", "x"), KEY_CHAIN_NO_MEMORY);
    EXPECT_TRUE(winsim::RegKeyExists("HKLM\\New"));
    EXPECT_FALSE(winsim::RegKeyExists("HKLM\\New\\Path"));
    // The next walk starts afresh.
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "A\\B\\C", "v"), "x");
}

TEST_F(RegPathTest, AFailedValueCallIsPassedOnAndTheChainReleased) {
    winsim::RegSetString("HKLM\\A\\B", "v", "x");
    winsim::FailCall("RegQueryValueExA", ERROR_CANTREAD);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "A\\B", "v"), "error " + std::to_string(ERROR_CANTREAD));
    winsim::FailCall("RegSetValueExA", ERROR_CANTWRITE);
    EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, "A\\B", "v", "y"), ERROR_CANTWRITE);
    winsim::FailCall("RegOpenKeyExA", ERROR_CANTOPEN, 1);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "A\\B", "v"), "error " + std::to_string(ERROR_CANTOPEN));
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "A\\B", "v"), "x");
}

}  // namespace

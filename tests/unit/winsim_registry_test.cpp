// The simulated registry behind RegOpenKeyExA and its companions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_machine.h"
#include "winsim/faults.h"
#include "winsim/registry.h"

namespace {

const char kRun[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion";

HKEY Open(HKEY parent, const char* subKey, REGSAM access = KEY_ALL_ACCESS, LONG* result = nullptr) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(parent, subKey, 0, access, &key);
    if (result) *result = status;
    return key;
}

LONG Create(HKEY parent, const char* subKey, REGSAM access, HKEY* key, DWORD* disposition = nullptr) {
    char noClass[] = "";
    DWORD ignored;
    return RegCreateKeyExA(parent, subKey, 0, noClass, 0, access, nullptr, key,
                           disposition ? disposition : &ignored);
}

LONG SetString(HKEY key, const char* name, const std::string& text, DWORD type = REG_SZ) {
    return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

std::string Read(HKEY key, const char* name) {
    char buffer[64] = {};
    DWORD size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    return std::string(buffer, size);
}

TEST(WinsimRegistryTest, KeysAndValuesAreFoundWithoutRegardToCaseAndKeepTheirStoredNames) {
    TestMachine machine;
    winsim::RegSetString(kRun, "ProgramFilesDir", "C:\\Program Files");

    HKEY key = Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\microsoft\\WINDOWS\\currentversion", KEY_ALL_ACCESS);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(Read(key, "programfilesdir"), std::string("C:\\Program Files\0", 17));
    ASSERT_EQ(SetString(key, "PROGRAMFILESDIR", "D:\\Apps"), ERROR_SUCCESS);
    EXPECT_EQ(winsim::RegValueNames(kRun), std::vector<std::string>{"ProgramFilesDir"});
    EXPECT_EQ(winsim::RegGetString(kRun, "ProgramFilesDir"), "D:\\Apps");

    HKEY again;
    DWORD disposition = 0;
    ASSERT_EQ(Create(HKEY_LOCAL_MACHINE, "software\\MICROSOFT", KEY_READ, &again, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(winsim::RegSubKeys("HKLM"), std::vector<std::string>{"Software"});
    EXPECT_EQ(winsim::RegSubKeys("HKLM\\Software"), std::vector<std::string>{"Microsoft"});
    RegCloseKey(again);
    RegCloseKey(key);
    EXPECT_EQ(winsim::OpenKeyHandleCount(), 0);
}

TEST(WinsimRegistryTest, ClassesRootIsAViewOfTheMachineClasses) {
    TestMachine machine;
    HKEY key;
    ASSERT_EQ(Create(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, nullptr, "notepad.exe %1"), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(winsim::RegGetString("HKEY_LOCAL_MACHINE\\Software\\Classes\\txtfile\\shell\\open\\command", ""),
              "notepad.exe %1");

    winsim::RegSetString("HKLM\\Software\\Classes\\.c", "", "txtfile");
    key = Open(HKEY_CLASSES_ROOT, ".C");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(Read(key, ""), std::string("txtfile\0", 8));
    RegCloseKey(key);
}

TEST(WinsimRegistryTest, DefaultValueIsNamedByNullOrEmptyName) {
    TestMachine machine;
    HKEY key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Software\\Quorlet", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, nullptr, "first"), ERROR_SUCCESS);
    EXPECT_EQ(Read(key, ""), std::string("first\0", 6));
    ASSERT_EQ(SetString(key, "", "second"), ERROR_SUCCESS);
    EXPECT_EQ(Read(key, nullptr), std::string("second\0", 7));
    EXPECT_EQ(winsim::RegValueNames("HKCU\\Software\\Quorlet"), std::vector<std::string>{""});
    ASSERT_EQ(RegDeleteValueA(key, nullptr), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(key, ""), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST(WinsimRegistryTest, EmptySubKeyNameGivesANewHandleToTheSameKey) {
    TestMachine machine;
    winsim::RegCreateKey("HKLM\\Software\\A");
    HKEY a = Open(HKEY_LOCAL_MACHINE, "Software\\A");
    ASSERT_NE(a, nullptr);
    HKEY viaOpen = Open(a, "");
    HKEY viaNull = Open(a, nullptr);
    HKEY viaCreate = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(Create(a, "", KEY_ALL_ACCESS, &viaCreate, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    for (HKEY other : {viaOpen, viaNull, viaCreate}) {
        ASSERT_NE(other, nullptr);
        EXPECT_NE(other, a);
    }
    EXPECT_EQ(winsim::OpenKeyHandleCount(), 4);
    ASSERT_EQ(SetString(viaCreate, "v", "x"), ERROR_SUCCESS);
    EXPECT_EQ(winsim::RegGetString("HKLM\\Software\\A", "v"), "x");
    EXPECT_EQ(winsim::RegSubKeys("HKLM\\Software\\A"), std::vector<std::string>{});
    for (HKEY key : {a, viaOpen, viaNull, viaCreate}) EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(winsim::OpenKeyHandleCount(), 0);
}

TEST(WinsimRegistryTest, SubKeyNamesOfSeveralLevels) {
    TestMachine machine;
    HKEY key;
    DWORD disposition = 0;
    ASSERT_EQ(Create(HKEY_LOCAL_MACHINE, "A\\B\\\\C\\", KEY_ALL_ACCESS, &key, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    RegCloseKey(key);
    EXPECT_TRUE(winsim::RegKeyExists("HKLM\\A\\B\\C"));
    EXPECT_EQ(winsim::RegSubKeys("HKLM\\A\\B"), std::vector<std::string>{"C"});

    LONG result;
    Open(HKEY_LOCAL_MACHINE, "\\A", KEY_READ, &result);
    EXPECT_EQ(result, ERROR_BAD_PATHNAME);
    EXPECT_EQ(Create(HKEY_LOCAL_MACHINE, "\\X", KEY_ALL_ACCESS, &key), ERROR_BAD_PATHNAME);
    EXPECT_FALSE(winsim::RegKeyExists("HKLM\\X"));
}

TEST(WinsimRegistryTest, QueryReportsTypeAndSize) {
    TestMachine machine;
    winsim::RegSetString("HKLM\\K", "Path", "C:\\WINNT;%SystemRoot%", REG_EXPAND_SZ);  // 21 + 1 bytes
    HKEY key = Open(HKEY_LOCAL_MACHINE, "K", KEY_READ);
    ASSERT_NE(key, nullptr);
    struct Case {
        bool withBuffer;
        DWORD size;
        LONG expected;
        DWORD sizeAfter;
    } cases[] = {
        {false, 0, ERROR_SUCCESS, 22},     // size only
        {true, 64, ERROR_SUCCESS, 22},     // room to spare
        {true, 22, ERROR_SUCCESS, 22},     // exact fit
        {true, 21, ERROR_MORE_DATA, 22},   // one byte short
        {true, 0, ERROR_MORE_DATA, 22},
    };
    for (const auto& c : cases) {
        char buffer[64];
        std::memset(buffer, '#', sizeof buffer);
        DWORD type = REG_NONE;
        DWORD size = c.size;
        LONG result = RegQueryValueExA(key, "PATH", nullptr, &type,
                                       c.withBuffer ? reinterpret_cast<BYTE*>(buffer) : nullptr, &size);
        EXPECT_EQ(result, c.expected) << "size " << c.size;
        EXPECT_EQ(size, c.sizeAfter) << "size " << c.size;
        EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
        if (result == ERROR_SUCCESS && c.withBuffer) {
            EXPECT_EQ(std::string(buffer, 23), std::string("C:\\WINNT;%SystemRoot%\0#", 23));
        }
    }
    RegCloseKey(key);
}

TEST(WinsimRegistryTest, ValuesAreRawBytesOfTheirType) {
    TestMachine machine;
    HKEY key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Raw", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    const BYTE dword[] = {0x78, 0x56, 0x34, 0x12};
    const BYTE noTerminator[] = {'a', 'b'};
    ASSERT_EQ(RegSetValueExA(key, "d", 0, REG_DWORD, dword, 4), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "s", 0, REG_SZ, noTerminator, 2), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "e", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "n", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
    EXPECT_EQ(winsim::RegGetValue("HKCU\\Raw", "d")->data, "\x78\x56\x34\x12");
    EXPECT_EQ(winsim::RegGetValue("HKCU\\Raw", "d")->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(winsim::RegGetValue("HKCU\\Raw", "s")->data, "ab");
    EXPECT_EQ(winsim::RegGetValue("HKCU\\Raw", "e")->data, "");
    EXPECT_FALSE(winsim::RegGetValue("HKCU\\Raw", "n"));
}

TEST(WinsimRegistryTest, MissingKeysValuesAndHandles) {
    TestMachine machine;
    winsim::RegCreateKey("HKLM\\Software\\Empty");
    LONG result;
    EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, "Software\\Missing", KEY_READ, &result), nullptr);
    EXPECT_EQ(result, ERROR_FILE_NOT_FOUND);
    HKEY key = Open(HKEY_LOCAL_MACHINE, "Software\\Empty");
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "none", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    // A closed handle and a made-up one are both refused by every call.
    HKEY made_up = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(0x1234));
    for (HKEY bad : {key, made_up}) {
        HKEY out;
        EXPECT_EQ(RegOpenKeyExA(bad, "", 0, KEY_READ, &out), ERROR_INVALID_HANDLE);
        EXPECT_EQ(Create(bad, "x", KEY_ALL_ACCESS, &out), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegQueryValueExA(bad, "", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
        EXPECT_EQ(SetString(bad, "", "x"), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegDeleteValueA(bad, ""), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegCloseKey(bad), ERROR_INVALID_HANDLE);
    }
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);  // predefined: allowed, no effect
    EXPECT_EQ(winsim::OpenKeyHandleCount(), 0);
}

TEST(WinsimRegistryTest, DeniedKeysRefuseOpensByTheAccessAskedFor) {
    struct Case {
        bool denyRead;
        REGSAM access;
        LONG expected;
    } cases[] = {
        {false, KEY_READ, ERROR_SUCCESS},
        {false, KEY_QUERY_VALUE, ERROR_SUCCESS},
        {false, KEY_SET_VALUE, ERROR_ACCESS_DENIED},
        {false, KEY_CREATE_SUB_KEY, ERROR_ACCESS_DENIED},
        {false, KEY_READ | KEY_WRITE, ERROR_ACCESS_DENIED},
        {false, KEY_ALL_ACCESS, ERROR_ACCESS_DENIED},
        {true, KEY_READ, ERROR_ACCESS_DENIED},
        {true, 0, ERROR_ACCESS_DENIED},
    };
    for (const auto& c : cases) {
        TestMachine machine;
        winsim::RegCreateKey("HKLM\\Software\\Locked\\Below");
        winsim::RegDenyAccess("HKLM\\Software\\Locked", c.denyRead);
        LONG result;
        HKEY key = Open(HKEY_LOCAL_MACHINE, "Software\\locked", c.access, &result);
        EXPECT_EQ(result, c.expected) << "access " << c.access << " read denied " << c.denyRead;
        HKEY created = nullptr;
        EXPECT_EQ(Create(HKEY_LOCAL_MACHINE, "Software\\Locked", c.access, &created), c.expected);
        // The key below is not denied itself.
        HKEY below = Open(HKEY_LOCAL_MACHINE, "Software\\Locked\\Below", KEY_ALL_ACCESS, &result);
        EXPECT_EQ(result, ERROR_SUCCESS);
        EXPECT_EQ(winsim::OpenKeyHandleCount(), c.expected == ERROR_SUCCESS ? 3 : 1);
        for (HKEY h : {key, created, below}) {
            if (h) RegCloseKey(h);
        }
        EXPECT_EQ(winsim::OpenKeyHandleCount(), 0);
    }
}

TEST(WinsimRegistryTest, KeysCannotBeCreatedBelowADeniedKey) {
    TestMachine machine;
    winsim::RegCreateKey("HKLM\\Software\\Locked");
    winsim::RegDenyAccess("HKLM\\Software\\Locked");
    HKEY key = nullptr;
    EXPECT_EQ(Create(HKEY_LOCAL_MACHINE, "Software\\Locked\\New\\Deeper", KEY_READ, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, nullptr);
    EXPECT_FALSE(winsim::RegKeyExists("HKLM\\Software\\Locked\\New"));

    // A denial may name a key that does not exist yet: it cannot be created
    // with write access, and nothing is left half made.
    winsim::RegDenyAccess("HKCU\\Future\\Key");
    EXPECT_EQ(Create(HKEY_CURRENT_USER, "Future\\Key", KEY_WRITE, &key), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(winsim::RegKeyExists("HKCU\\Future"));
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Future\\Key", KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(Create(HKEY_CURRENT_USER, "Future\\Key\\Sub", KEY_READ, &key), ERROR_ACCESS_DENIED);
}

TEST(WinsimRegistryTest, HandlesAllowOnlyTheAccessTheyWereOpenedWith) {
    TestMachine machine;
    winsim::RegSetString("HKLM\\Software\\Q", "v", "x");
    HKEY reader = Open(HKEY_LOCAL_MACHINE, "Software\\Q", KEY_READ);
    HKEY writer = Open(HKEY_LOCAL_MACHINE, "Software\\Q", KEY_SET_VALUE);
    ASSERT_NE(reader, nullptr);
    ASSERT_NE(writer, nullptr);
    HKEY sub;
    EXPECT_EQ(SetString(reader, "v", "y"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(reader, "v"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Create(reader, "Sub", KEY_READ, &sub), ERROR_ACCESS_DENIED);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(writer, "v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
    EXPECT_EQ(SetString(writer, "v", "y"), ERROR_SUCCESS);
    EXPECT_EQ(winsim::RegGetString("HKLM\\Software\\Q", "v"), "y");
    EXPECT_FALSE(winsim::RegKeyExists("HKLM\\Software\\Q\\Sub"));
    RegCloseKey(reader);
    RegCloseKey(writer);

    // A predefined key answers to the denial of its key.
    winsim::RegDenyAccess("HKCU");
    EXPECT_EQ(SetString(HKEY_CURRENT_USER, "v", "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Create(HKEY_CURRENT_USER, "Sub", KEY_READ, &sub), ERROR_ACCESS_DENIED);
}

TEST(WinsimRegistryTest, EveryCallFailsOnDemand) {
    const char* apis[] = {"RegOpenKeyExA", "RegCreateKeyExA", "RegQueryValueExA",
                          "RegSetValueExA", "RegDeleteValueA", "RegCloseKey"};
    for (const char* api : apis) {
        TestMachine machine;
        winsim::RegSetString("HKLM\\Software\\Q", "v", "x");
        HKEY key = Open(HKEY_LOCAL_MACHINE, "Software\\Q");
        ASSERT_NE(key, nullptr);
        int callsBefore = winsim::CallCount(api);
        winsim::FailCall(api, ERROR_CANTWRITE);
        HKEY out = nullptr;
        DWORD size = 0;
        LONG results[] = {
            RegOpenKeyExA(key, "", 0, KEY_READ, &out),
            Create(key, "New", KEY_READ, &out),
            RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, &size),
            SetString(key, "v", "changed"),
            RegDeleteValueA(key, "v"),
        };
        LONG closeResult = RegCloseKey(key);
        int failures = closeResult == ERROR_CANTWRITE;
        for (LONG r : results) failures += r == ERROR_CANTWRITE;
        EXPECT_EQ(failures, 1) << api;
        EXPECT_EQ(winsim::CallCount(api), callsBefore + 1) << api;
        if (std::string(api) == "RegCreateKeyExA") {
            EXPECT_FALSE(winsim::RegKeyExists("HKLM\\Software\\Q\\New"));
        }
    }
}

TEST(WinsimRegistryTest, HandlesOfAReplacedRegistryAreDeadAndResetClosesAll) {
    TestMachine machine;
    winsim::RegCreateKey("HKLM\\Software\\Q");
    HKEY key = Open(HKEY_LOCAL_MACHINE, "Software\\Q");
    ASSERT_NE(key, nullptr);
    std::string error;
    ASSERT_TRUE(winsim::RegLoad("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Q]\r\n", &error)) << error;
    EXPECT_EQ(SetString(key, "v", "x"), ERROR_KEY_DELETED);
    EXPECT_FALSE(winsim::RegGetValue("HKLM\\Software\\Q", "v"));
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    Open(HKEY_LOCAL_MACHINE, "Software\\Q");
    EXPECT_EQ(winsim::OpenKeyHandleCount(), 1);
    winsim::Reset();
    EXPECT_EQ(winsim::OpenKeyHandleCount(), 0);
    EXPECT_FALSE(winsim::RegKeyExists("HKLM\\Software"));
    EXPECT_EQ(winsim::RegSave(), "REGEDIT4\r\n\r\n");
}

}  // namespace

// The simulated registry loaded from and saved to REGEDIT4 text.
#include <gtest/gtest.h>

#include <string>

#include "test_machine.h"
#include "winsim/registry.h"

namespace {

// A file in the exact form RegSave writes: sections sorted by name, a hex
// list wrapped the way regedit wraps it, CR LF line ends.
const char kCanonical[] =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software]\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Classes]\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Classes\\txtfile]\r\n"
    "@=\"Text Document\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Quorlet]\r\n"
    "\"Dir\"=\"C:\\\\Program Files\\\\Quorlet\"\r\n"
    "\"Quote\"=\"say \\\"hi\\\"\"\r\n"
    "\"Caf\xE9\"=\"d\xE9j\xE0 vu\"\r\n"
    "\"Count\"=dword:0001e240\r\n"
    "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
    "  16,17,18,19,1a\r\n"
    "\"Path\"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,00\r\n"
    "\"List\"=hex(7):61,00,62,00,00\r\n"
    "\"Big\"=hex(b):01,00,00,00,00,00,00,00\r\n"
    "\"Empty\"=hex:\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Quorlet\\a]\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Quorlet\\B]\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software]\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Quorlet]\r\n"
    "\"Open\"=\"\"\r\n"
    "\r\n";

TEST(WinsimRegeditTest, LoadsEveryKindOfValueAndSavesItBackExactly) {
    TestMachine machine;
    std::string error;
    ASSERT_TRUE(winsim::RegLoad(kCanonical, &error)) << error;

    const std::string key = "HKLM\\Software\\Quorlet";
    EXPECT_EQ(winsim::RegGetString("HKCR\\txtfile", ""), "Text Document");
    EXPECT_EQ(winsim::RegGetValue(key, "Dir")->data, std::string("C:\\Program Files\\Quorlet\0", 25));
    EXPECT_EQ(winsim::RegGetString(key, "Quote"), "say \"hi\"");
    EXPECT_EQ(winsim::RegGetString(key, "caf\xC9"), "d\xE9j\xE0 vu");
    EXPECT_EQ(winsim::RegGetValue(key, "Count")->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(winsim::RegGetValue(key, "Count")->data, std::string("\x40\xE2\x01\x00", 4));
    std::string blob;
    for (int i = 0; i < 27; ++i) blob += static_cast<char>(i);
    EXPECT_EQ(winsim::RegGetValue(key, "Blob")->data, blob);
    EXPECT_EQ(winsim::RegGetValue(key, "Blob")->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(winsim::RegGetValue(key, "Path")->type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(winsim::RegGetValue(key, "Path")->data, std::string("%SystemRoot%\0", 13));
    EXPECT_EQ(winsim::RegGetValue(key, "List")->type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(winsim::RegGetValue(key, "List")->data, std::string("a\0b\0\0", 5));
    EXPECT_EQ(winsim::RegGetValue(key, "Big")->type, 11u);
    EXPECT_EQ(winsim::RegGetValue(key, "Empty")->data, "");
    EXPECT_EQ(winsim::RegGetValue("HKCU\\Software\\Quorlet", "Open")->data, std::string(1, '\0'));

    EXPECT_EQ(winsim::RegSave(), kCanonical);
}

TEST(WinsimRegeditTest, SavedTextDoesNotDependOnTheOrderOfCreation) {
    std::string first;
    {
        TestMachine machine;
        winsim::RegCreateKey("HKCU\\Zeta");
        winsim::RegSetString("HKLM\\Software\\b", "v", "1");
        winsim::RegCreateKey("HKLM\\Software\\A\\Inner");
        winsim::RegSetString("HKCR\\.txt", "", "txtfile");
        first = winsim::RegSave();
    }
    TestMachine machine;
    winsim::RegSetString("HKLM\\Software\\Classes\\.txt", "", "txtfile");
    winsim::RegCreateKey("HKLM\\Software\\A\\Inner");
    winsim::RegSetString("HKLM\\Software\\b", "v", "1");
    winsim::RegCreateKey("HKCU\\Zeta");
    EXPECT_EQ(winsim::RegSave(), first);
    EXPECT_EQ(first,
              "REGEDIT4\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\A]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\A\\Inner]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\b]\r\n\"v\"=\"1\"\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Classes]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Classes\\.txt]\r\n@=\"txtfile\"\r\n\r\n"
              "[HKEY_CURRENT_USER\\Zeta]\r\n\r\n");
}

TEST(WinsimRegeditTest, ValuesThatNoTextFormCarriesAreSavedInHexAndComeBackUnchanged) {
    TestMachine machine;
    const std::string key = "HKLM\\Odd";
    winsim::RegSetValue(key, "unterminated", REG_SZ, "abc");
    winsim::RegSetValue(key, "inner zero", REG_SZ, std::string("a\0b\0", 4));
    winsim::RegSetValue(key, "line break", REG_SZ, std::string("a\r\nb\0", 5));
    winsim::RegSetValue(key, "empty", REG_SZ, "");
    winsim::RegSetValue(key, "short dword", REG_DWORD, "\x01\x02");
    winsim::RegSetValue(key, "none", REG_NONE, "\xFF");
    std::string saved = winsim::RegSave();
    EXPECT_NE(saved.find("\"unterminated\"=hex(1):61,62,63\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"short dword\"=hex(4):01,02\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"none\"=hex(0):ff\r\n"), std::string::npos) << saved;

    std::string error;
    ASSERT_TRUE(winsim::RegLoad(saved, &error)) << error;
    EXPECT_EQ(winsim::RegSave(), saved);
    EXPECT_EQ(winsim::RegGetValue(key, "inner zero")->data, std::string("a\0b\0", 4));
    EXPECT_EQ(winsim::RegGetValue(key, "line break")->data, std::string("a\r\nb\0", 5));
    EXPECT_EQ(winsim::RegGetValue(key, "empty")->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(winsim::RegGetValue(key, "empty")->data, "");
}

TEST(WinsimRegeditTest, LongHexListsWrapAndReadBack) {
    TestMachine machine;
    std::string data(300, '\x5A');
    winsim::RegSetValue("HKLM\\K", "long", REG_BINARY, data);
    std::string saved = winsim::RegSave();
    size_t start = 0;
    int lines = 0;
    while (start < saved.size()) {
        size_t end = saved.find("\r\n", start);
        EXPECT_LE(end - start, 80u) << saved.substr(start, end - start);
        start = end + 2;
        ++lines;
    }
    EXPECT_GT(lines, 12);
    std::string error;
    ASSERT_TRUE(winsim::RegLoad(saved, &error)) << error;
    EXPECT_EQ(winsim::RegGetValue("HKLM\\K", "long")->data, data);
}

TEST(WinsimRegeditTest, AcceptsWhatRegeditAcceptsBesideTheSavedForm) {
    TestMachine machine;
    std::string error;
    ASSERT_TRUE(winsim::RegLoad("REGEDIT4\n"
                                "; a comment\n"
                                "[HKEY_CLASSES_ROOT\\.c]\n"
                                "@=\"txtfile\"\n"
                                "[HKEY_CURRENT_USER\\Software]\n"
                                "\"n\"=dword:1F\n"
                                "\"h\"=hex:1, 2 ,\\\n"
                                "\t\t3\n"
                                "[HKEY_LOCAL_MACHINE\\Software\\Classes\\.C]\n"
                                "\"more\"=\"x\"\n",
                                &error))
        << error;
    EXPECT_EQ(winsim::RegGetString("HKLM\\Software\\Classes\\.c", ""), "txtfile");
    EXPECT_EQ(winsim::RegGetString("HKCR\\.c", "more"), "x");
    EXPECT_EQ(winsim::RegGetValue("HKCU\\Software", "n")->data, std::string("\x1F\0\0\0", 4));
    EXPECT_EQ(winsim::RegGetValue("HKCU\\Software", "h")->data, "\x01\x02\x03");
}

TEST(WinsimRegeditTest, MalformedFilesAreRefusedWithTheLineAndChangeNothing) {
    struct Case {
        const char* text;
        const char* line;
    } cases[] = {
        {"", "line 1:"},
        {"REGEDIT5\r\n", "line 1:"},
        {"Windows Registry Editor Version 5.00\r\n", "line 1:"},
        {"REGEDIT4\r\n\r\n\"v\"=\"outside\"\r\n", "line 3:"},
        {"REGEDIT4\r\n\r\n[HKEY_NOWHERE\\X]\r\n", "line 3:"},
        {"REGEDIT4\r\n\r\n[HKLM\\X]\r\n", "line 3:"},
        {"REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\X\\\\Y]\r\n", "line 3:"},
        {"REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\X\r\n", "line 3:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"v\"=\"open\r\n", "line 3:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"v\"=\"bad \\n escape\"\r\n", "line 3:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"v\"=\"a\"b\r\n", "line 3:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"v\" \"a\"\r\n", "line 3:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"v\"=dword:123456789\r\n", "line 3:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"v\"=dword:\r\n", "line 3:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"v\"=hex:01,,02\r\n", "line 3:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"v\"=hex:100\r\n", "line 3:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"v\"=hex(z):01\r\n", "line 3:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"a\"=hex:01,\\\r\n  02,\\\r\n  0g\r\n", "line 3:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"a\"=hex:01,\\\r\n", "line 3:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"v\"=-\r\n", "line 3:"},
        {"REGEDIT4\r\n[-HKEY_LOCAL_MACHINE\\X]\r\n", "line 2:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"a\"=\"1\"\r\nstray text\r\n", "line 4:"},
    };
    for (const auto& c : cases) {
        TestMachine machine;
        winsim::RegSetString("HKLM\\Software\\Kept", "v", "1");
        std::string before = winsim::RegSave();
        std::string error;
        EXPECT_FALSE(winsim::RegLoad(c.text, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.line, 0), 0u) << c.text << " gave: " << error;
        EXPECT_GT(error.size(), std::string(c.line).size() + 2) << "no reason given: " << error;
        EXPECT_EQ(winsim::RegSave(), before) << c.text;
    }
}

}  // namespace

// FormatMessageA over the simulated system's message table.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "installer_strings.h"
#include "test_machine.h"
#include "winsim/faults.h"
#include "winsim/memory.h"

namespace {

const DWORD kSystemText = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER;
const DWORD kUserDefault = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);

// Every code a failing step of the installer can leave as the last error.
const DWORD kInstallerCodes[] = {0,   2,   3,   4,   5,   8,   14,  15,  19,   21,   29,   30,   32,
                                 33,  39,  53,  65,  67,  80,  82,  87,  112,  122,  123,  161,  183,
                                 206, 234, 259, 267, 1011, 1012, 1013, 1300, 1313, 1314};

// The text as the installer asks for it; empty when there is none.
std::string SystemText(DWORD code, DWORD languageId = kUserDefault, DWORD* result = nullptr) {
    LPSTR text = reinterpret_cast<LPSTR>(1);  // must come back NULL on failure
    DWORD length = FormatMessageA(kSystemText, NULL, code, languageId, reinterpret_cast<LPSTR>(&text), 0, NULL);
    if (result) *result = length;
    if (length == 0) {
        EXPECT_EQ(text, nullptr) << "code " << code;
        return std::string();
    }
    std::string copy(text, length);
    EXPECT_EQ(static_cast<size_t>(lstrlenA(text)), copy.size());
    EXPECT_EQ(LocalFree(text), nullptr);
    return copy;
}

// The codes winsim's calls can set, read from its sources, so that a code
// added there without a system text shows up here.
std::set<DWORD> CodesWinsimSets() {
    std::string file = __FILE__;
    std::string root = file.substr(0, file.rfind("tests/unit/"));
    std::ifstream header(root + "platform/winsim/include/winsim/win_base.h");
    std::stringstream declarations;
    declarations << header.rdbuf();
    std::map<std::string, DWORD> values;
    std::regex define(R"(#define (ERROR_\w+) (\d+)L)");
    std::string text = declarations.str();
    for (std::sregex_iterator it(text.begin(), text.end(), define), end; it != end; ++it) {
        values[(*it)[1]] = static_cast<DWORD>(std::stoul((*it)[2]));
    }
    EXPECT_GT(values.size(), 20u);

    std::set<DWORD> codes;
    std::regex use(R"(\bERROR_\w+)");
    for (const auto& entry : std::filesystem::directory_iterator(root + "platform/winsim/src")) {
        // The message table's own code for a missing text is no code a call leaves.
        if (entry.path().extension() != ".cpp" || entry.path().filename() == "system_messages.cpp") continue;
        std::ifstream in(entry.path());
        std::stringstream content;
        content << in.rdbuf();
        std::string source = content.str();
        for (std::sregex_iterator it(source.begin(), source.end(), use), end; it != end; ++it) {
            auto found = values.find(it->str());
            if (found != values.end()) codes.insert(found->second);
        }
    }
    return codes;
}

TEST(FormatMessageTest, EveryCodeHasOneLineInEachSystemLanguage) {
    std::set<DWORD> needed(std::begin(kInstallerCodes), std::end(kInstallerCodes));
    std::set<DWORD> fromWinsim = CodesWinsimSets();
    EXPECT_TRUE(fromWinsim.count(ERROR_SHARING_VIOLATION));  // the scan found the sources
    needed.insert(fromWinsim.begin(), fromWinsim.end());
    for (LANGID language : {0x0409, 0x040C, 0x0410}) {
        TestMachine machine(winsim::Platform::NT4, language);
        for (DWORD code : needed) {
            EXPECT_NE(SystemText(code), "") << "code " << code << " language " << std::hex << language;
        }
        // Every text of the table, needed or not, is one line that code
        // page 1252 can show whole.
        for (DWORD code = 0; code < 0x4000; ++code) {
            std::string text = SystemText(code);
            if (text.empty()) continue;
            SCOPED_TRACE("code " + std::to_string(code) + " language " + std::to_string(language));
            ASSERT_GT(text.size(), 3u);
            EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
            EXPECT_EQ(text.find_first_of("\r\n%?"), text.size() - 2) << text;  // one line, no inserts, no lost letter
        }
    }
}

TEST(FormatMessageTest, TextsFollowTheLanguageOfTheSystem) {
    struct Case {
        LANGID userLanguage;
        DWORD code;
        const char* text;
    } cases[] = {
        {0x0409, ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {0x0409, ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
        {0x0409, ERROR_DISK_FULL, "There is not enough space on the disk.\r\n"},
        {0x0409, ERROR_SHARING_VIOLATION,
         "The process cannot access the file because it is being used by another process.\r\n"},
        {0x040C, ERROR_FILE_NOT_FOUND, "Le fichier spécifié est introuvable.\r\n"},
        {0x040C, ERROR_ACCESS_DENIED, "Accès refusé.\r\n"},
        {0x040C, ERROR_PATH_NOT_FOUND, "Le chemin d'accès spécifié est introuvable.\r\n"},
        {0x0410, ERROR_FILE_NOT_FOUND, "Impossibile trovare il file specificato.\r\n"},
        {0x0410, ERROR_ACCESS_DENIED, "Accesso negato.\r\n"},
        {0x0410, ERROR_ALREADY_EXISTS, "Impossibile creare un file, se il file esiste già.\r\n"},
        {0x0407, ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},  // German: English
        {0x0C0C, ERROR_ACCESS_DENIED, "Accès refusé.\r\n"},                               // French (Canada)
        {0x0810, ERROR_ACCESS_DENIED, "Accesso negato.\r\n"},                             // Italian (Switzerland)
    };
    for (const auto& c : cases) {
        TestMachine machine(winsim::Platform::NT4, c.userLanguage);
        EXPECT_EQ(SystemText(c.code, kUserDefault), Ansi(c.text)) << std::hex << c.userLanguage << " " << c.code;
        EXPECT_EQ(SystemText(c.code, 0), Ansi(c.text)) << std::hex << c.userLanguage << " " << c.code;
    }
}

TEST(FormatMessageTest, AnExplicitLanguageMustBeTheSystemsOwn) {
    TestMachine machine(winsim::Platform::NT4, 0x040C);
    EXPECT_EQ(SystemText(ERROR_ACCESS_DENIED, 0x040C), Ansi("Accès refusé.\r\n"));
    EXPECT_EQ(SystemText(ERROR_ACCESS_DENIED, MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT)),
              Ansi("Accès refusé.\r\n"));
    DWORD result = 1;
    EXPECT_EQ(SystemText(ERROR_ACCESS_DENIED, 0x0409, &result), "");
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_LANG_NOT_FOUND));
}

TEST(FormatMessageTest, ACodeWithoutTextAllocatesNothing) {
    TestMachine machine;
    int before = winsim::LiveLocalBlocks();
    for (DWORD code : {0xFFFFFFFFu, 317u, 9999u, 0x80070005u}) {
        DWORD result = 1;
        SetLastError(0);
        EXPECT_EQ(SystemText(code, kUserDefault, &result), "");
        EXPECT_EQ(result, 0u);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND)) << code;
    }
    EXPECT_EQ(winsim::LiveLocalBlocks(), before);
}

TEST(FormatMessageTest, TheAllocatedTextIsALocalBlockUntilFreed) {
    TestMachine machine;
    int before = winsim::LiveLocalBlocks();
    LPSTR text = NULL;
    DWORD length = FormatMessageA(kSystemText | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, ERROR_PATH_NOT_FOUND,
                                  kUserDefault, reinterpret_cast<LPSTR>(&text), 200, NULL);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), "The system cannot find the path specified.\r\n");
    EXPECT_EQ(length, 44u);
    EXPECT_EQ(winsim::LiveLocalBlocks(), before + 1);
    EXPECT_EQ(LocalFree(text), nullptr);
    EXPECT_EQ(winsim::LiveLocalBlocks(), before);
}

TEST(FormatMessageTest, ANoMemoryFailureLeavesNoText) {
    TestMachine machine;
    winsim::FailCall("LocalAlloc", ERROR_NOT_ENOUGH_MEMORY);
    DWORD result = 1;
    EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND, kUserDefault, &result), "");
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(winsim::LiveLocalBlocks(), 0);
}

TEST(FormatMessageTest, TheCallersBufferMustHoldTextAndTerminator) {
    TestMachine machine;
    const std::string expected = "Access is denied.\r\n";
    struct Case {
        DWORD size;
        DWORD result;
    } cases[] = {{64, 19}, {20, 19}, {19, 0}, {1, 0}, {0, 0}};
    for (const auto& c : cases) {
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        SetLastError(0);
        DWORD result = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                                      ERROR_ACCESS_DENIED, 0, buffer, c.size, NULL);
        EXPECT_EQ(result, c.result) << "size " << c.size;
        if (c.result != 0) {
            EXPECT_EQ(std::string(buffer), expected);
        } else {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
            EXPECT_EQ(buffer[0], 'x') << "nothing is written";
        }
    }
}

TEST(FormatMessageTest, SourcesOtherThanTheSystemAreRefused) {
    TestMachine machine;
    char buffer[64];
    for (DWORD flags : {static_cast<DWORD>(FORMAT_MESSAGE_FROM_STRING), static_cast<DWORD>(FORMAT_MESSAGE_FROM_HMODULE),
                        static_cast<DWORD>(FORMAT_MESSAGE_FROM_SYSTEM | 80), 0u}) {
        SetLastError(0);
        EXPECT_EQ(FormatMessageA(flags, "text", ERROR_ACCESS_DENIED, 0, buffer, sizeof buffer, NULL), 0u) << flags;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << flags;
    }
}

}  // namespace

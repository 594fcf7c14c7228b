// lstrlenA, lstrcpynA, GetACP and MultiByteToWideChar (the link path
// handed to the shell).
#include <string.h>

#include "contract.h"

namespace contract {
namespace {

void CheckLength() {
    struct Case {
        const char* name;
        const char* text;
        int length;
    };
    const Case cases[] = {
        {"empty", "", 0},
        {"ascii", "Quorlet", 7},
        {"ansi_bytes", "Cr\xE8me br\xFBl\xE9" "e", 12},
        {"null", nullptr, 0},
    };
    for (const Case& c : cases) CheckNumber(std::string("lstrlenA.") + c.name, lstrlenA(c.text), c.length);
}

void CheckCopy() {
    struct Case {
        const char* name;
        const char* source;
        int maxLength;
        const char* result;
    };
    const Case cases[] = {
        {"fits", "abc", 10, "abc"},
        {"exact", "abc", 4, "abc"},
        {"cut", "abcdef", 4, "abc"},
        {"one", "abcdef", 1, ""},
        {"empty_source", "", 5, ""},
    };
    for (const Case& c : cases) {
        const std::string name = std::string("lstrcpynA.") + c.name;
        char buffer[16];
        memset(buffer, 'X', sizeof(buffer));
        LPSTR returned = lstrcpynA(buffer, c.source, c.maxLength);
        Check(name + ".returns_target", returned == buffer);
        CheckText(name + ".text", buffer, c.result);
        // Nothing past maxLength is touched.
        Check(name + ".bounded", buffer[c.maxLength] == 'X', "wrote past maxLength");
    }

    // A long path into a MAX_PATH buffer: 259 characters and the terminator.
    std::string longPath(400, 'p');
    char path[MAX_PATH + 8];
    memset(path, 'X', sizeof(path));
    lstrcpynA(path, longPath.c_str(), MAX_PATH);
    CheckNumber("lstrcpynA.max_path.length", static_cast<long long>(strlen(path)), MAX_PATH - 1);
    Check("lstrcpynA.max_path.bounded", path[MAX_PATH] == 'X', "wrote past MAX_PATH");

    // Room for nothing: nothing is written.
    char none[4] = {'X', 'X', 'X', 'X'};
    lstrcpynA(none, "abc", 0);
    Check("lstrcpynA.zero.untouched", none[0] == 'X', "wrote into a buffer of size 0");
}

void CheckCodePage() {
    CheckNumber("GetACP.western", GetACP(), 1252);

    WCHAR wide[8];
    struct Case {
        const char* name;
        const char* text;
        int count;                 // characters with the terminator
        unsigned short first;      // first character
    };
    const Case cases[] = {
        {"ascii", "a", 2, 'a'},
        {"latin1", "\xE9", 2, 0x00E9},
        {"euro", "\x80", 2, 0x20AC},
        {"quote", "\x92", 2, 0x2019},
    };
    for (const Case& c : cases) {
        const std::string name = std::string("MultiByteToWideChar.") + c.name;
        ArmSentinel();
        int count = MultiByteToWideChar(CP_ACP, 0, c.text, -1, wide, 8);
        CheckNumber(name + ".count", count, c.count);
        CheckNumber(name + ".char", static_cast<unsigned short>(wide[0]), c.first);
        CheckNumber(name + ".terminated", static_cast<unsigned short>(wide[c.count - 1]), 0);
    }
    ArmSentinel();
    CheckNumber("MultiByteToWideChar.size_query", MultiByteToWideChar(CP_ACP, 0, "C:\\Quorlet", -1, nullptr, 0), 11);
    ArmSentinel();
    CheckNumber("MultiByteToWideChar.too_small.result", MultiByteToWideChar(CP_ACP, 0, "C:\\Quorlet", -1, wide, 4),
                0);
    CheckError("MultiByteToWideChar.too_small.error", ERROR_INSUFFICIENT_BUFFER);
}

void Run() {
    CheckLength();
    CheckCopy();
    CheckCodePage();
}

Group g_group("text", Run);

}  // namespace
}  // namespace contract

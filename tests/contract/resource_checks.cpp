// LoadStringA from the contract program's own strings (contract.rc):
// the count returned, the cut at the buffer size, the ANSI bytes of
// non-ASCII text, missing strings.
#include <string.h>

#include "contract.h"

namespace contract {
namespace {

std::string Numbered1100() {
    std::string text;
    for (int i = 0; i < 220; ++i) text += Format("%04d/", i);
    return text;
}

void CheckLoadString() {
    struct Case {
        const char* name;
        UINT id;
        int size;
        int count;
        std::string text;
    };
    const std::string thirtyOne = "0123456789012345678901234567890";
    const Case cases[] = {
        {"whole", 1001, 260, 16, "Quorlet contract"},
        {"exact_fit", 1002, 32, 31, thirtyOne},
        {"cut_by_one", 1002, 31, 30, thirtyOne.substr(0, 30)},
        {"cut_short", 1001, 8, 7, "Quorlet"},
        {"size_one", 1001, 1, 0, ""},
        {"ansi", 1004, 260, 12, "Cr\xE8me br\xFBl\xE9" "e"},
        {"ansi_cut", 1004, 4, 3, "Cr\xE8"},
        {"long_1024", 1020, 1024, 1023, Numbered1100().substr(0, 1023)},
        {"missing_in_block", 1003, 260, 0, ""},
        {"missing_block", 500, 260, 0, ""},
    };
    for (const Case& c : cases) {
        const std::string name = std::string("LoadStringA.") + c.name;
        char buffer[1100];
        memset(buffer, 'X', sizeof(buffer));
        int count = LoadStringA(Instance(), c.id, buffer, c.size);
        CheckNumber(name + ".count", count, c.count);
        CheckText(name + ".text", std::string(buffer, strnlen(buffer, sizeof(buffer))), c.text);
        Check(name + ".bounded", buffer[c.size] == 'X', "wrote past the buffer size");
    }
}

void Run() { CheckLoadString(); }

Group g_group("resources", Run);

}  // namespace
}  // namespace contract

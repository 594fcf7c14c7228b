// ReadFile and WriteFile counts, _llseek from each origin (on a handle of
// CreateFileA, as the installer uses it), SetEndOfFile.
#include <string.h>

#include "contract.h"
#include "fixtures.h"

namespace contract {
namespace {

HFILE AsHfile(HANDLE file) { return static_cast<HFILE>(reinterpret_cast<LONG_PTR>(file)); }

HANDLE OpenReadWrite(const std::string& path, DWORD disposition) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition, 0, nullptr);
}

void CheckCounts() {
    const std::string path = At("io\\counts.txt");
    HANDLE file = OpenReadWrite(path, CREATE_ALWAYS);
    Check("io.fixture.open", file != INVALID_HANDLE_VALUE);

    DWORD count = 12345;
    ArmSentinel();
    BOOL ok = WriteFile(file, "0123456789", 10, &count, nullptr);
    Check("WriteFile.ten.result", ok != FALSE);
    CheckNumber("WriteFile.ten.count", count, 10);

    count = 12345;
    ok = WriteFile(file, "", 0, &count, nullptr);
    Check("WriteFile.zero.result", ok != FALSE);
    CheckNumber("WriteFile.zero.count", count, 0);

    // At the end of the file a read succeeds with nothing read.
    char buffer[64];
    count = 12345;
    ok = ReadFile(file, buffer, sizeof(buffer), &count, nullptr);
    Check("ReadFile.at_end.result", ok != FALSE);
    CheckNumber("ReadFile.at_end.count", count, 0);

    _llseek(AsHfile(file), 0, FILE_BEGIN);
    count = 12345;
    memset(buffer, 0, sizeof(buffer));
    ok = ReadFile(file, buffer, 4, &count, nullptr);
    Check("ReadFile.part.result", ok != FALSE);
    CheckNumber("ReadFile.part.count", count, 4);
    CheckText("ReadFile.part.bytes", std::string(buffer, 4), "0123");

    count = 12345;
    ok = ReadFile(file, buffer, sizeof(buffer), &count, nullptr);
    Check("ReadFile.rest.result", ok != FALSE);
    CheckNumber("ReadFile.rest.count", count, 6);
    CheckText("ReadFile.rest.bytes", std::string(buffer, 6), "456789");
    CloseIfOpen(file);

    // A handle for writing only cannot read, and one for reading cannot write.
    file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    count = 12345;
    ArmSentinel();
    ok = ReadFile(file, buffer, 4, &count, nullptr);
    Check("ReadFile.write_only_handle.result", ok == FALSE);
    CheckError("ReadFile.write_only_handle.error", ERROR_ACCESS_DENIED);
    CheckNumber("ReadFile.write_only_handle.count", count, 0);
    CloseIfOpen(file);

    file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    count = 12345;
    ArmSentinel();
    ok = WriteFile(file, "x", 1, &count, nullptr);
    Check("WriteFile.read_only_handle.result", ok == FALSE);
    CheckError("WriteFile.read_only_handle.error", ERROR_ACCESS_DENIED);
    CheckNumber("WriteFile.read_only_handle.count", count, 0);
    CloseIfOpen(file);
    CheckText("WriteFile.read_only_handle.content", FileContent(path), "0123456789");
}

// _llseek on a 10-byte file; each step starts where the last one left.
void CheckLlseek() {
    const std::string path = At("io\\seek.txt");
    PutFile(path, "0123456789");
    HANDLE file = OpenReadWrite(path, OPEN_EXISTING);
    const HFILE h = AsHfile(file);
    struct Step {
        const char* name;
        LONG offset;
        int origin;
        LONG result;
    };
    const Step steps[] = {
        {"begin_4", 4, 0, 4},        {"current_plus_3", 3, 1, 7}, {"current_minus_2", -2, 1, 5},
        {"current_0", 0, 1, 5},      {"end_0", 0, 2, 10},         {"end_minus_3", -3, 2, 7},
        {"end_plus_5", 5, 2, 15},    {"begin_0", 0, 0, 0},
    };
    for (const Step& s : steps) {
        ArmSentinel();
        CheckNumber(std::string("_llseek.") + s.name, _llseek(h, s.offset, s.origin), s.result);
    }
    // Reading after a seek starts there.
    _llseek(h, 6, 0);
    char buffer[4] = {0, 0, 0, 0};
    DWORD count = 0;
    ReadFile(file, buffer, 2, &count, nullptr);
    CheckText("_llseek.then_read", std::string(buffer, count), "67");

    // Before the start: HFILE_ERROR, and the position stays.
    _llseek(h, 3, 0);
    ArmSentinel();
    CheckNumber("_llseek.negative.result", _llseek(h, -1, 0), HFILE_ERROR);
    CheckError("_llseek.negative.error", ERROR_NEGATIVE_SEEK);
    CheckNumber("_llseek.negative.position_kept", _llseek(h, 0, 1), 3);
    ArmSentinel();
    CheckNumber("_llseek.negative_from_end.result", _llseek(h, -11, 2), HFILE_ERROR);
    CheckError("_llseek.negative_from_end.error", ERROR_NEGATIVE_SEEK);
    CloseIfOpen(file);
}

void CheckSetEndOfFile() {
    const std::string path = At("io\\end.txt");
    PutFile(path, "0123456789");
    HANDLE file = OpenReadWrite(path, OPEN_EXISTING);
    const HFILE h = AsHfile(file);

    _llseek(h, 4, 0);
    ArmSentinel();
    Check("SetEndOfFile.shorten.result", SetEndOfFile(file) != FALSE);
    CheckNumber("SetEndOfFile.shorten.size", GetFileSize(file, nullptr), 4);
    CheckNumber("SetEndOfFile.shorten.position_kept", _llseek(h, 0, 1), 4);

    _llseek(h, 8, 0);
    Check("SetEndOfFile.extend.result", SetEndOfFile(file) != FALSE);
    CheckNumber("SetEndOfFile.extend.size", GetFileSize(file, nullptr), 8);
    CloseIfOpen(file);
    CheckText("SetEndOfFile.shorten.content", FileContent(path).substr(0, 4), "0123");

    // The installer's rewrite of a text file: open always, write a shorter
    // text from the start, end the file there.
    PutFile(path, "a longer old text\r\n");
    file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD count = 0;
    WriteFile(file, "short\r\n", 7, &count, nullptr);
    Check("SetEndOfFile.after_write.result", SetEndOfFile(file) != FALSE);
    CloseIfOpen(file);
    CheckText("SetEndOfFile.after_write.content", FileContent(path), "short\r\n");

    file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ArmSentinel();
    Check("SetEndOfFile.read_only_handle.result", SetEndOfFile(file) == FALSE);
    CheckError("SetEndOfFile.read_only_handle.error", ERROR_ACCESS_DENIED);
    CloseIfOpen(file);
}

void Run() {
    PutFolder(At("io"));
    CheckCounts();
    CheckLlseek();
    CheckSetEndOfFile();
}

Group g_group("files.io", Run);

}  // namespace
}  // namespace contract

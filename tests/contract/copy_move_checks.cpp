// CopyFileA with and without overwrite onto existing, missing and read-only
// targets; GetTempFileNameA with unique number 0; GetShortPathNameA on
// names that are already 8.3 and on long ones; MoveFileExA with the delayed
// flag and the PendingFileRenameOperations value it leaves.
#include <string.h>

#include "contract.h"
#include "fixtures.h"

namespace contract {
namespace {

void CheckCopy() {
    const std::string folder = At("copy");
    PutFolder(folder);
    const std::string source = folder + "\\source.dll";
    PutFile(source, "new content");

    struct Case {
        const char* name;
        const char* target;      // below the folder
        const char* before;      // content of an existing target; nullptr: none
        BOOL failIfExists;
        bool copied;
        DWORD error;             // after a failure
    };
    const Case cases[] = {
        {"missing_target", "a.dll", nullptr, FALSE, true, 0},
        {"missing_target_fail_if_exists", "b.dll", nullptr, TRUE, true, 0},
        {"existing_target", "c.dll", "old", FALSE, true, 0},
        {"existing_target_fail_if_exists", "d.dll", "old", TRUE, false, ERROR_FILE_EXISTS},
        {"target_in_missing_folder", "none\\e.dll", nullptr, FALSE, false, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        const std::string name = std::string("CopyFileA.") + c.name;
        const std::string target = folder + "\\" + c.target;
        if (c.before) PutFile(target, c.before);
        ArmSentinel();
        BOOL ok = CopyFileA(source.c_str(), target.c_str(), c.failIfExists);
        Check(name + ".result", (ok != FALSE) == c.copied);
        if (!c.copied) CheckError(name + ".error", c.error);
        const char* after = c.copied ? "new content" : (c.before ? c.before : "<missing>");
        CheckText(name + ".content", FileContent(target), after);
    }

    // The target named in another case is the same file.
    PutFile(folder + "\\Case.dll", "old");
    CopyFileA(source.c_str(), (folder + "\\CASE.DLL").c_str(), FALSE);
    CheckText("CopyFileA.other_case.content", FileContent(folder + "\\Case.dll"), "new content");

    ArmSentinel();
    Check("CopyFileA.missing_source.result",
          CopyFileA((folder + "\\none.dll").c_str(), (folder + "\\f.dll").c_str(), FALSE) == FALSE);
    CheckError("CopyFileA.missing_source.error", ERROR_FILE_NOT_FOUND);

    // A read-only target is not replaced.
    const std::string readOnly = folder + "\\readonly.dll";
    PutFile(readOnly, "old");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    ArmSentinel();
    Check("CopyFileA.readonly_target.result", CopyFileA(source.c_str(), readOnly.c_str(), FALSE) == FALSE);
    CheckError("CopyFileA.readonly_target.error", ERROR_ACCESS_DENIED);
    CheckText("CopyFileA.readonly_target.content", FileContent(readOnly), "old");
    RemoveFile(readOnly);

    // The copy takes the source's attributes.
    const std::string readOnlySource = folder + "\\readonly source.dll";
    const std::string copyOfIt = folder + "\\copy of readonly.dll";
    PutFile(readOnlySource, "ro");
    SetFileAttributesA(readOnlySource.c_str(), FILE_ATTRIBUTE_READONLY);
    CopyFileA(readOnlySource.c_str(), copyOfIt.c_str(), FALSE);
    DWORD attributes = GetFileAttributesA(copyOfIt.c_str());
    Check("CopyFileA.attributes_copied",
          attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY),
          Format("attributes 0x%lX", static_cast<unsigned long>(attributes)));
    RemoveFile(readOnlySource);
    RemoveFile(copyOfIt);

    // A target that another handle holds open without sharing.
    const std::string busy = folder + "\\busy.dll";
    PutFile(busy, "busy");
    HANDLE file = CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ArmSentinel();
    Check("CopyFileA.busy_target.result", CopyFileA(source.c_str(), busy.c_str(), FALSE) == FALSE);
    CheckError("CopyFileA.busy_target.error", ERROR_SHARING_VIOLATION);
    CloseIfOpen(file);
    CheckText("CopyFileA.busy_target.content", FileContent(busy), "busy");
}

bool EndsWithNoCase(const std::string& text, const std::string& end) {
    if (text.size() < end.size()) return false;
    for (size_t i = 0; i < end.size(); ++i) {
        char a = text[text.size() - end.size() + i], b = end[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
        if (a != b) return false;
    }
    return true;
}

void CheckTempFileName() {
    const std::string folder = At("temp");
    PutFolder(folder);
    char first[MAX_PATH], second[MAX_PATH];
    memset(first, 'X', sizeof(first));
    ArmSentinel();
    UINT number = GetTempFileNameA(folder.c_str(), "temp", 0, first);
    Check("GetTempFileNameA.unique_0.result", number != 0, Format("answered %u", number));
    const std::string name = first;
    // <folder>\<first three letters of the prefix><hexadecimal number>.TMP
    const std::string expectedStart = folder + "\\tem";
    Check("GetTempFileNameA.unique_0.form",
          name.compare(0, expectedStart.size(), expectedStart) == 0 && EndsWithNoCase(name, ".TMP") &&
              name.size() > expectedStart.size() + 4 && name.size() <= expectedStart.size() + 4 + 4,
          "got \"" + Printable(name) + "\"");
    // The number in hexadecimal; the case of its letters is the system's.
    std::string digits = name.substr(expectedStart.size(), name.size() - expectedStart.size() - 4);
    for (char& c : digits) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 32);
    }
    CheckText("GetTempFileNameA.unique_0.number", digits, Format("%X", number));
    Check("GetTempFileNameA.unique_0.created_empty", FileContent(name) == "", "no empty file under that name");

    GetTempFileNameA(folder.c_str(), "temp", 0, second);
    Check("GetTempFileNameA.unique_0.second_differs", strcmp(first, second) != 0, "the same name twice");
    Check("GetTempFileNameA.unique_0.second_created", FileExists(second));

    // A folder that does not exist.
    char missing[MAX_PATH];
    ArmSentinel();
    CheckNumber("GetTempFileNameA.missing_folder.result",
                GetTempFileNameA((folder + "\\none").c_str(), "temp", 0, missing), 0);
    CheckError("GetTempFileNameA.missing_folder.error", ERROR_DIRECTORY);
}

bool IsShortName(const std::string& level) {
    size_t dot = level.find('.');
    std::string base = level.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : level.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3 || ext.find('.') != std::string::npos) return false;
    return level.find(' ') == std::string::npos;
}

// Every level after the drive is an 8.3 name.
bool IsShortPath(const std::string& path) {
    size_t start = 3;
    while (start < path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (!IsShortName(path.substr(start, end - start))) return false;
        start = end + 1;
    }
    return true;
}

void CheckShortPathName() {
    const std::string folder = At("short");
    PutFolder(folder);
    PutFile(folder + "\\PLAIN.DLL", "x");
    PutFolder(folder + "\\A Long Folder Name");
    PutFile(folder + "\\A Long Folder Name\\a long file name.dll", "long");
    const std::string base = IsShortPath(folder) ? folder : std::string();

    char buffer[MAX_PATH];
    // A path that is 8.3 all along comes back as it is.
    const std::string plain = folder + "\\PLAIN.DLL";
    ArmSentinel();
    DWORD length = GetShortPathNameA(plain.c_str(), buffer, MAX_PATH);
    CheckNumber("GetShortPathNameA.already_short.result", length, static_cast<long long>(plain.size()));
    CheckText("GetShortPathNameA.already_short.text", buffer, plain);

    // A long name has a short form that names the same file.
    const std::string longPath = folder + "\\A Long Folder Name\\a long file name.dll";
    length = GetShortPathNameA(longPath.c_str(), buffer, MAX_PATH);
    Check("GetShortPathNameA.long.result", length > 0 && length < MAX_PATH && length == strlen(buffer),
          Format("answered %lu", static_cast<unsigned long>(length)));
    const std::string shortPath = buffer;
    Check("GetShortPathNameA.long.is_8_3", IsShortPath(shortPath), "got \"" + Printable(shortPath) + "\"");
    CheckText("GetShortPathNameA.long.same_file", FileContent(shortPath), "long");

    // Too small a buffer: the size needed, terminator included.
    char small[4];
    CheckNumber("GetShortPathNameA.small_buffer.result", GetShortPathNameA(plain.c_str(), small, sizeof(small)),
                static_cast<long long>(plain.size() + 1));

    ArmSentinel();
    CheckNumber("GetShortPathNameA.missing.result", GetShortPathNameA((folder + "\\none.dll").c_str(), buffer, MAX_PATH),
                0);
    CheckError("GetShortPathNameA.missing.error", ERROR_FILE_NOT_FOUND);
}

// The value that MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT extends.
std::string PendingRenames() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                      &key) != ERROR_SUCCESS) {
        return "<no key>";
    }
    char data[4096];
    DWORD type = 0, size = sizeof(data);
    LONG status = RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type,
                                   reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return "<none>";
    if (type != REG_MULTI_SZ) return "<not REG_MULTI_SZ>";
    return std::string(data, size);
}

void CheckDelayedMove() {
    const std::string folder = At("move");
    PutFolder(folder);
    const std::string temp = folder + "\\temp1.tmp";
    const std::string target = folder + "\\target.dll";
    PutFile(temp, "new");
    PutFile(target, "old");

    const std::string before = PendingRenames();
    ArmSentinel();
    BOOL ok = MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT);
    Check("MoveFileExA.delayed.result", ok != FALSE);
    CheckText("MoveFileExA.delayed.target_kept", FileContent(target), "old");
    CheckText("MoveFileExA.delayed.source_kept", FileContent(temp), "new");

    // Appended: the source, then "!" and the target (replace), each in the
    // NT form "\??\C:\..." and ended by a zero; the list ends with a zero.
    std::string after = PendingRenames();
    std::string entry = "\\??\\" + temp + std::string(1, '\0') + "!\\??\\" + target + std::string(1, '\0');
    const bool hadList = !before.empty() && before[0] != '<';
    std::string kept = hadList && before.size() > 1 ? before.substr(0, before.size() - 1) : "";
    CheckText("MoveFileExA.delayed.pending_value", after, kept + entry + std::string(1, '\0'));

    // Without a target the file is deleted at the restart: an empty target.
    const std::string doomed = folder + "\\doomed.tmp";
    PutFile(doomed, "x");
    ok = MoveFileExA(doomed.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    Check("MoveFileExA.delayed_delete.result", ok != FALSE);
    std::string last = PendingRenames();
    std::string deleteEntry = "\\??\\" + doomed + std::string(1, '\0') + std::string(1, '\0');
    Check("MoveFileExA.delayed_delete.pending_value",
          last.size() > deleteEntry.size() && last.compare(last.size() - deleteEntry.size() - 1, deleteEntry.size(), deleteEntry) == 0,
          "got \"" + Printable(last) + "\"");
}

void Run() {
    CheckCopy();
    CheckTempFileName();
    CheckShortPathName();
    CheckDelayedMove();
}

Group g_group("files.copy_move", Run);

}  // namespace
}  // namespace contract

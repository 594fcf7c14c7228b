// CreateFileA: each disposition on an existing file, a missing file, a file
// in a missing folder and a folder; names without regard to case;
// read-only files; sharing.
#include "contract.h"
#include "fixtures.h"

namespace contract {
namespace {

enum Target { kExisting, kMissing, kMissingFolder, kFolder };
const char* const kTargetNames[] = {"existing_file", "missing_file", "in_missing_folder", "folder"};

struct DispositionCase {
    DWORD disposition;
    Target target;
    bool opens;
    DWORD error;          // last error after the call
    const char* content;  // the file afterwards; nullptr: not looked at
};

const char kOld[] = "old content";

const DispositionCase kDispositionCases[] = {
    {OPEN_EXISTING, kExisting, true, ERROR_SUCCESS, kOld},
    {OPEN_EXISTING, kMissing, false, ERROR_FILE_NOT_FOUND, "<missing>"},
    {OPEN_EXISTING, kMissingFolder, false, ERROR_PATH_NOT_FOUND, nullptr},
    {OPEN_EXISTING, kFolder, false, ERROR_ACCESS_DENIED, nullptr},
    {OPEN_ALWAYS, kExisting, true, ERROR_ALREADY_EXISTS, kOld},
    {OPEN_ALWAYS, kMissing, true, ERROR_SUCCESS, ""},
    {OPEN_ALWAYS, kMissingFolder, false, ERROR_PATH_NOT_FOUND, nullptr},
    {OPEN_ALWAYS, kFolder, false, ERROR_ACCESS_DENIED, nullptr},
    {CREATE_ALWAYS, kExisting, true, ERROR_ALREADY_EXISTS, ""},
    {CREATE_ALWAYS, kMissing, true, ERROR_SUCCESS, ""},
    {CREATE_ALWAYS, kMissingFolder, false, ERROR_PATH_NOT_FOUND, nullptr},
    {CREATE_ALWAYS, kFolder, false, ERROR_ACCESS_DENIED, nullptr},
    {CREATE_NEW, kExisting, false, ERROR_FILE_EXISTS, kOld},
    {CREATE_NEW, kMissing, true, ERROR_SUCCESS, ""},
    {CREATE_NEW, kMissingFolder, false, ERROR_PATH_NOT_FOUND, nullptr},
    {CREATE_NEW, kFolder, false, ERROR_FILE_EXISTS, nullptr},
};

void CheckDispositions() {
    const std::string folder = At("create");
    PutFolder(folder);
    PutFolder(folder + "\\folder");
    for (const DispositionCase& c : kDispositionCases) {
        const std::string name =
            std::string("CreateFileA.") + DispositionName(c.disposition) + "." + kTargetNames[c.target];
        std::string path;
        switch (c.target) {
            case kExisting:
                path = folder + "\\existing.txt";
                PutFile(path, kOld);
                break;
            case kMissing:
                path = folder + "\\missing.txt";
                RemoveFile(path);
                break;
            case kMissingFolder: path = folder + "\\no such folder\\file.txt"; break;
            case kFolder: path = folder + "\\folder"; break;
        }
        ArmSentinel();
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, c.disposition, 0, nullptr);
        Check(name + ".result", (file != INVALID_HANDLE_VALUE) == c.opens,
              c.opens ? "no handle" : "a handle where the call should fail");
        CheckError(name + ".error", c.error);
        CloseIfOpen(file);
        if (c.content) CheckText(name + ".content", FileContent(path), c.content);
        if (c.target == kFolder) Check(name + ".folder_kept", FolderExists(path), "the folder is gone");
        if (c.target == kMissing) RemoveFile(path);
    }
}

// Names match without regard to case, at every level; the stored case stays.
void CheckNamesIgnoreCase() {
    const std::string folder = At("Case Folder");
    PutFolder(folder);
    PutFile(folder + "\\Mixed Case.txt", "mixed");
    ArmSentinel();
    HANDLE file = CreateFileA(At("CASE FOLDER\\MIXED CASE.TXT").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    Check("CreateFileA.case.upper_opens", file != INVALID_HANDLE_VALUE, "no handle");
    CheckError("CreateFileA.case.upper_error", ERROR_SUCCESS);
    CloseIfOpen(file);

    ArmSentinel();
    file = CreateFileA(At("case folder\\mixed case.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    Check("CreateFileA.case.create_new_on_other_case", file == INVALID_HANDLE_VALUE, "a second file was made");
    CheckError("CreateFileA.case.create_new_on_other_case_error", ERROR_FILE_EXISTS);
    CloseIfOpen(file);

    // Letters beyond ASCII match their other case too (code page 1252).
    PutFolder(At("Cr\xE8me"));
    PutFile(At("Cr\xE8me\\D\xE9j\xE0 vu.txt"), "accents");
    CheckText("CreateFileA.case.accented_upper", FileContent(At("CR\xC8ME\\D\xC9J\xC0 VU.TXT")), "accents");

    // CREATE_ALWAYS through another case replaces the one file.
    file = CreateFileA(At("CASE folder\\mixed CASE.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "new", 3, &written, nullptr);
    CloseIfOpen(file);
    CheckText("CreateFileA.case.create_always_replaces", FileContent(folder + "\\Mixed Case.txt"), "new");
}

// The open of a file that is read whole: reading, sharing reads, sequential.
void CheckReadWhole() {
    const std::string path = At("create\\whole.txt");
    PutFile(path, "whole");
    ArmSentinel();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    Check("CreateFileA.sequential_read.result", file != INVALID_HANDLE_VALUE);
    CheckError("CreateFileA.sequential_read.error", ERROR_SUCCESS);
    // A second reader that shares reading gets in.
    HANDLE second = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    Check("CreateFileA.sequential_read.second_reader", second != INVALID_HANDLE_VALUE);
    CloseIfOpen(second);
    CloseIfOpen(file);
}

// OPEN_ALWAYS on an existing file starts at its beginning: what is written
// overwrites the start and the rest stays.
void CheckOpenAlwaysPosition() {
    const std::string path = At("create\\position.txt");
    PutFile(path, "0123456789");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "AB", 2, &written, nullptr);
    CloseIfOpen(file);
    CheckText("CreateFileA.OPEN_ALWAYS.writes_from_start", FileContent(path), "AB23456789");
}

// A read-only file opens for reading only; it cannot be replaced.
void CheckReadOnly() {
    const std::string path = At("create\\readonly.txt");
    PutFile(path, "kept");
    Check("SetFileAttributesA.readonly.result", SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY) != FALSE);
    DWORD attributes = GetFileAttributesA(path.c_str());
    Check("GetFileAttributesA.readonly.flag",
          attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY),
          Format("attributes 0x%lX", static_cast<unsigned long>(attributes)));

    struct Case {
        const char* name;
        DWORD access;
        DWORD disposition;
        bool opens;
        DWORD error;
    };
    const Case cases[] = {
        {"read", GENERIC_READ, OPEN_EXISTING, true, ERROR_SUCCESS},
        {"write", GENERIC_WRITE, OPEN_EXISTING, false, ERROR_ACCESS_DENIED},
        {"open_always_write", GENERIC_WRITE, OPEN_ALWAYS, false, ERROR_ACCESS_DENIED},
        {"create_always", GENERIC_WRITE, CREATE_ALWAYS, false, ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        const std::string name = std::string("CreateFileA.readonly.") + c.name;
        ArmSentinel();
        HANDLE file = CreateFileA(path.c_str(), c.access, FILE_SHARE_READ, nullptr, c.disposition, 0, nullptr);
        Check(name + ".result", (file != INVALID_HANDLE_VALUE) == c.opens);
        CheckError(name + ".error", c.error);
        CloseIfOpen(file);
    }
    CheckText("CreateFileA.readonly.content_kept", FileContent(path), "kept");
    RemoveFile(path);
}

// A second open while a first handle is open, by access and sharing.
void CheckSharing() {
    struct Case {
        const char* name;
        DWORD firstAccess, firstShare, secondAccess, secondShare;
        bool opens;
    };
    const DWORD R = GENERIC_READ, W = GENERIC_WRITE, SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
    const Case cases[] = {
        {"read_unshared_then_read", R, 0, R, SR | SW, false},
        {"read_shared_then_read", R, SR, R, SR, true},
        {"read_shared_then_write", R, SR, W, SR | SW, false},
        {"write_then_read_not_sharing_write", W, SR, R, SR, false},
        {"write_shared_then_read_sharing_write", W, SR | SW, R, SR | SW, true},
        {"write_unshared_then_read", W, 0, R, SR | SW, false},
        {"both_shared_then_write_only_shared", R | W, SR | SW, W, SW, false},
    };
    const std::string path = At("create\\shared.txt");
    PutFile(path, "shared");
    for (const Case& c : cases) {
        const std::string name = std::string("CreateFileA.sharing.") + c.name;
        HANDLE first = CreateFileA(path.c_str(), c.firstAccess, c.firstShare, nullptr, OPEN_EXISTING, 0, nullptr);
        Check(name + ".first", first != INVALID_HANDLE_VALUE);
        ArmSentinel();
        HANDLE second = CreateFileA(path.c_str(), c.secondAccess, c.secondShare, nullptr, OPEN_EXISTING, 0, nullptr);
        Check(name + ".result", (second != INVALID_HANDLE_VALUE) == c.opens);
        CheckError(name + ".error", c.opens ? ERROR_SUCCESS : ERROR_SHARING_VIOLATION);
        CloseIfOpen(second);
        CloseIfOpen(first);
    }
    // Once the first handle is closed, the same open works.
    HANDLE first = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    CloseIfOpen(first);
    HANDLE again = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Check("CreateFileA.sharing.after_close", again != INVALID_HANDLE_VALUE);
    CloseIfOpen(again);
}

void Run() {
    CheckDispositions();
    CheckNamesIgnoreCase();
    CheckReadWhole();
    CheckOpenAlwaysPosition();
    CheckReadOnly();
    CheckSharing();
}

Group g_group("files.create", Run);

}  // namespace
}  // namespace contract

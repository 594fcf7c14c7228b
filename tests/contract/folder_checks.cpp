// CreateDirectoryA, DeleteFileA and GetFileAttributesA on existing and
// missing names, names in missing folders, and names in another case.
#include "contract.h"
#include "fixtures.h"

namespace contract {
namespace {

void CheckCreateDirectory() {
    const std::string folder = At("dirs");
    PutFolder(folder);
    PutFolder(folder + "\\Existing");
    PutFile(folder + "\\file.txt", "file");

    struct Case {
        const char* name;
        const char* path;  // below the folder
        bool created;
        DWORD error;       // after a failure
    };
    const Case cases[] = {
        {"new", "new", true, 0},
        {"trailing_backslash", "new2\\", true, 0},
        {"existing", "Existing", false, ERROR_ALREADY_EXISTS},
        {"existing_other_case", "EXISTING", false, ERROR_ALREADY_EXISTS},
        {"existing_file", "file.txt", false, ERROR_ALREADY_EXISTS},
        {"missing_parent", "no parent\\child", false, ERROR_PATH_NOT_FOUND},
        {"parent_is_file", "file.txt\\child", false, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        const std::string name = std::string("CreateDirectoryA.") + c.name;
        const std::string path = folder + "\\" + c.path;
        ArmSentinel();
        BOOL ok = CreateDirectoryA(path.c_str(), nullptr);
        Check(name + ".result", (ok != FALSE) == c.created);
        if (!c.created) CheckError(name + ".error", c.error);
        if (c.created) Check(name + ".exists", FolderExists(path), "no folder afterwards");
    }
    // A drive that does not exist.
    ArmSentinel();
    Check("CreateDirectoryA.missing_drive.result", CreateDirectoryA("Q:\\Program Files", nullptr) == FALSE);
    CheckError("CreateDirectoryA.missing_drive.error", ERROR_PATH_NOT_FOUND);
    Check("CreateDirectoryA.existing_file.file_kept", FileContent(folder + "\\file.txt") == "file");
}

void CheckDeleteFile() {
    const std::string folder = At("delete");
    PutFolder(folder);
    PutFolder(folder + "\\sub");
    struct Case {
        const char* name;
        const char* path;  // below the folder
        bool deleted;
        DWORD error;       // after a failure
    };
    PutFile(folder + "\\plain.txt", "x");
    PutFile(folder + "\\Other Case.txt", "x");
    const Case cases[] = {
        {"existing", "plain.txt", true, 0},
        {"other_case", "OTHER CASE.TXT", true, 0},
        {"missing", "missing.txt", false, ERROR_FILE_NOT_FOUND},
        {"in_missing_folder", "no folder\\file.txt", false, ERROR_PATH_NOT_FOUND},
        {"folder", "sub", false, ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        const std::string name = std::string("DeleteFileA.") + c.name;
        const std::string path = folder + "\\" + c.path;
        ArmSentinel();
        BOOL ok = DeleteFileA(path.c_str());
        Check(name + ".result", (ok != FALSE) == c.deleted);
        if (!c.deleted) CheckError(name + ".error", c.error);
        if (c.deleted) Check(name + ".gone", !FileExists(path), "the file is still there");
    }
    Check("DeleteFileA.folder.kept", FolderExists(folder + "\\sub"));

    const std::string readOnly = folder + "\\readonly.txt";
    PutFile(readOnly, "x");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    ArmSentinel();
    Check("DeleteFileA.readonly.result", DeleteFileA(readOnly.c_str()) == FALSE);
    CheckError("DeleteFileA.readonly.error", ERROR_ACCESS_DENIED);
    Check("DeleteFileA.readonly.kept", FileExists(readOnly));
    RemoveFile(readOnly);

    // A file that another handle holds open (without delete sharing).
    const std::string open = folder + "\\open.txt";
    PutFile(open, "x");
    HANDLE file = CreateFileA(open.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ArmSentinel();
    Check("DeleteFileA.open.result", DeleteFileA(open.c_str()) == FALSE);
    CheckError("DeleteFileA.open.error", ERROR_SHARING_VIOLATION);
    CloseIfOpen(file);
    Check("DeleteFileA.after_close.result", DeleteFileA(open.c_str()) != FALSE);
}

void CheckAttributes() {
    const std::string folder = At("attributes");
    PutFolder(folder);
    PutFile(folder + "\\file.txt", "x");
    DWORD attributes = GetFileAttributesA(folder.c_str());
    Check("GetFileAttributesA.folder", attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
          Format("attributes 0x%lX", static_cast<unsigned long>(attributes)));
    attributes = GetFileAttributesA((folder + "\\FILE.TXT").c_str());
    Check("GetFileAttributesA.file",
          attributes != INVALID_FILE_ATTRIBUTES && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)),
          Format("attributes 0x%lX", static_cast<unsigned long>(attributes)));
    ArmSentinel();
    CheckNumber("GetFileAttributesA.missing.result", GetFileAttributesA((folder + "\\none").c_str()),
                INVALID_FILE_ATTRIBUTES);
    CheckError("GetFileAttributesA.missing.error", ERROR_FILE_NOT_FOUND);
    ArmSentinel();
    CheckNumber("GetFileAttributesA.in_missing_folder.result",
                GetFileAttributesA((folder + "\\none\\file.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    CheckError("GetFileAttributesA.in_missing_folder.error", ERROR_PATH_NOT_FOUND);
}

void Run() {
    CheckCreateDirectory();
    CheckDeleteFile();
    CheckAttributes();
}

Group g_group("files.folders", Run);

}  // namespace
}  // namespace contract

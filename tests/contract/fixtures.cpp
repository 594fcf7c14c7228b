#include "fixtures.h"

namespace contract {

bool PutFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE &&
              WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
              written == content.size();
    const DWORD error = GetLastError();
    CloseIfOpen(file);
    if (!ok) Check("fixture." + path, false, Format("cannot write it (error %lu)", static_cast<unsigned long>(error)));
    return ok;
}

std::string FileContent(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content;
    char chunk[512];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) content.append(chunk, read);
    CloseHandle(file);
    return content;
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PutFolder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr) || FolderExists(path)) return true;
    Check("fixture." + path, false, Format("cannot make the folder (error %lu)", static_cast<unsigned long>(GetLastError())));
    return false;
}

void RemoveFile(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

void CloseIfOpen(HANDLE handle) {
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr) CloseHandle(handle);
}

const char* DispositionName(DWORD disposition) {
    switch (disposition) {
        case CREATE_NEW: return "CREATE_NEW";
        case CREATE_ALWAYS: return "CREATE_ALWAYS";
        case OPEN_EXISTING: return "OPEN_EXISTING";
        case OPEN_ALWAYS: return "OPEN_ALWAYS";
        case TRUNCATE_EXISTING: return "TRUNCATE_EXISTING";
        default: return "disposition?";
    }
}

}  // namespace contract

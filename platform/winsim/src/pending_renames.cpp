// Delayed moves, recorded the way Windows NT records them: the REG_MULTI_SZ
// value PendingFileRenameOperations holds pairs of strings, the source as
// "\??\" + full path and the target the same way ("!" before it when it may
// be replaced, an empty string for a deletion), each pair appended to the
// end of the list.
#include "moves.h"

#include "fs_internal.h"

namespace winsim {
namespace {

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kValueName[] = "PendingFileRenameOperations";

// The full path in the kernel's "\??\" form. A path that cannot be looked
// up (a missing folder) is taken as given: nothing checks it before the
// next start.
DWORD NtPath(const char* path, std::string* ntPath) {
    fs::Resolved r = fs::Resolve(path);
    if (r.error == ERROR_INVALID_NAME || r.error == ERROR_BAD_PATHNAME || r.error == ERROR_FILENAME_EXCED_RANGE) {
        return r.error;
    }
    *ntPath = std::string("\\??\\") + (r.error == ERROR_SUCCESS ? r.windowsPath() : std::string(path));
    return ERROR_SUCCESS;
}

// Reads the strings of a REG_MULTI_SZ from `at`; false at the end of data.
bool NextString(const std::string& data, std::size_t* at, std::string* text) {
    if (*at >= data.size()) return false;
    std::size_t end = data.find('\0', *at);
    if (end == std::string::npos) end = data.size();
    *text = data.substr(*at, end - *at);
    *at = end + 1;
    return true;
}

}  // namespace

std::vector<PendingRename> ParsePendingRenames(const std::string& data) {
    // Pairs until an empty source string: the list's own end.
    std::vector<PendingRename> renames;
    std::size_t at = 0;
    PendingRename rename;
    while (NextString(data, &at, &rename.source) && !rename.source.empty()) {
        if (!NextString(data, &at, &rename.target)) rename.target.clear();
        renames.push_back(rename);
    }
    return renames;
}

DWORD QueuePendingRename(const char* source, const char* target, bool replace) {
    PendingRename added;
    DWORD error = NtPath(source, &added.source);
    if (error != ERROR_SUCCESS) return error;
    if (target != nullptr && target[0] != '\0') {
        if ((error = NtPath(target, &added.target)) != ERROR_SUCCESS) return error;
        if (replace) added.target = "!" + added.target;
    }
    HKEY key;
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) return static_cast<DWORD>(result);
    std::string data;
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExA(key, kValueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size > 0) {
        data.resize(size);
        if (RegQueryValueExA(key, kValueName, nullptr, &type, reinterpret_cast<LPBYTE>(&data[0]), &size) !=
            ERROR_SUCCESS) {
            data.clear();
        }
        data.resize(size < data.size() ? size : data.size());
    }
    std::vector<PendingRename> renames;
    if (type == REG_MULTI_SZ) renames = ParsePendingRenames(data);
    renames.push_back(added);
    std::string value;
    for (const auto& rename : renames) {
        value += rename.source;
        value += '\0';
        value += rename.target;
        value += '\0';
    }
    value += '\0';
    result = RegSetValueExA(key, kValueName, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(value.data()),
                            static_cast<DWORD>(value.size()));
    RegCloseKey(key);
    return static_cast<DWORD>(result);
}

}  // namespace winsim

// Drives and shares, and Windows paths resolved to host paths without
// regard to case.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <set>

#include "codepage.h"
#include "fs_internal.h"
#include "winsim/filesystem.h"
#include "winsim/machine.h"

namespace winsim {
namespace {

std::map<std::string, std::string> g_roots;  // "C:" or "\\\\SERVER\\SHARE" -> host folder
std::map<std::string, bool> g_denied;         // key() -> also for reading
std::map<std::string, DWORD> g_attributes;    // host path -> attributes
std::vector<std::string> g_writes;

ResetHook g_reset([] {
    g_roots.clear();
    g_denied.clear();
    g_attributes.clear();
    g_writes.clear();
});

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Characters that Windows refuses in a file name.
bool IsValidName(const std::string& name) {
    for (unsigned char c : name) {
        if (c < 32 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' ||
            c == '*') {
            return false;
        }
    }
    return true;
}

// Win32 drops trailing dots and blanks of every level.
std::string TrimLevel(std::string level) {
    if (level == "." || level == "..") return level;
    while (!level.empty() && (level.back() == '.' || level.back() == ' ')) level.pop_back();
    return level;
}

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return text;
}

// The folder of the running module, for relative paths.
std::string CurrentDirectory() {
    const std::string& module = settings().modulePath;
    size_t slash = module.find_last_of('\\');
    return slash == std::string::npos ? module : module.substr(0, slash);
}

}  // namespace

namespace fs {

std::string Resolved::windowsPath() const {
    std::string path = root;
    for (const auto& level : levels) path += "\\" + level;
    if (levels.empty()) path += "\\";
    return path;
}

std::string Resolved::key() const { return UpperName(windowsPath()); }

std::string UpperName(const std::string& name) {
    std::u16string wide = AnsiToUtf16(name, ActiveCodePage());
    for (auto& c : wide) c = UpperWide(c);
    return Utf16ToUtf8(wide);
}

bool SameName(const std::string& a, const std::string& b) { return UpperName(a) == UpperName(b); }

std::string ToHostName(const std::string& ansi) { return Utf16ToUtf8(AnsiToUtf16(ansi, ActiveCodePage())); }

std::string FromHostName(const std::string& host) { return Utf16ToAnsi(Utf8ToUtf16(host), ActiveCodePage()); }

std::vector<std::string> ListDirectory(const std::string& hostDir) {
    std::vector<std::string> names;
    DIR* dir = opendir(hostDir.c_str());
    if (dir == nullptr) return names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        names.push_back(FromHostName(name));
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool HostIsDirectory(const std::string& host) {
    struct stat st;
    return stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool HostIsFile(const std::string& host) {
    struct stat st;
    return stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

Resolved Resolve(const char* windowsPath) {
    Resolved r;
    std::string path = windowsPath ? windowsPath : "";
    if (path.empty()) {
        r.error = ERROR_PATH_NOT_FOUND;
        return r;
    }
    size_t pos;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // \\server\share\...
        size_t serverEnd = path.find_first_of("\\/", 2);
        size_t shareEnd = serverEnd == std::string::npos ? std::string::npos
                                                         : path.find_first_of("\\/", serverEnd + 1);
        if (serverEnd == std::string::npos || serverEnd == 2 || shareEnd == serverEnd + 1) {
            r.error = ERROR_BAD_PATHNAME;
            return r;
        }
        r.root = "\\\\" + UpperAscii(path.substr(2, serverEnd - 2)) + "\\" +
                 UpperAscii(path.substr(serverEnd + 1, shareEnd == std::string::npos
                                                           ? std::string::npos
                                                           : shareEnd - serverEnd - 1));
        pos = shareEnd == std::string::npos ? path.size() : shareEnd;
    } else if (path.size() >= 2 && path[1] == ':') {
        r.root = UpperAscii(path.substr(0, 2));
        pos = 2;
    } else {
        // Relative to the current folder, or to the current drive's root.
        std::string base = CurrentDirectory();
        if (IsSeparator(path[0])) return Resolve((base.substr(0, 2) + path).c_str());
        return Resolve((base + "\\" + path).c_str());
    }
    if (path.size() >= MAX_PATH) {
        r.error = ERROR_FILENAME_EXCED_RANGE;
        return r;
    }
    auto rootIt = g_roots.find(r.root);
    if (rootIt == g_roots.end()) {
        r.error = r.root.size() == 2 ? ERROR_PATH_NOT_FOUND : ERROR_BAD_NETPATH;
        return r;
    }
    // Split into levels; empty levels and "." vanish, ".." goes up.
    std::string level;
    for (size_t i = pos; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            level = TrimLevel(level);
            if (level == "..") {
                if (!r.levels.empty()) r.levels.pop_back();
            } else if (!level.empty() && level != ".") {
                if (!IsValidName(level)) {
                    r.error = ERROR_INVALID_NAME;
                    return r;
                }
                r.levels.push_back(level);
            }
            level.clear();
        } else {
            level += path[i];
        }
    }
    r.host = rootIt->second;
    r.hostParent = r.host;
    r.isRoot = r.levels.empty();
    r.exists = true;
    r.isDirectory = true;
    for (size_t i = 0; i < r.levels.size(); ++i) {
        const bool last = i + 1 == r.levels.size();
        if (!r.isDirectory || !r.exists) {
            r.error = ERROR_PATH_NOT_FOUND;
            return r;
        }
        r.hostParent = r.host;
        std::string stored;
        for (const auto& name : ListDirectory(r.host)) {
            if (SameName(name, r.levels[i])) {
                stored = name;
                break;
            }
        }
        // A long name may also be given by its 8.3 alias.
        if (stored.empty() && IsShortName(r.levels[i])) stored = FindByShortName(r.host, r.levels[i]);
        if (stored.empty()) {
            r.host += "/" + ToHostName(r.levels[i]);
            r.exists = false;
            r.isDirectory = false;
            if (!last) {
                r.error = ERROR_PATH_NOT_FOUND;
                return r;
            }
        } else {
            r.host += "/" + ToHostName(stored);
            r.isDirectory = HostIsDirectory(r.host);
        }
    }
    return r;
}

bool IsDenied(const Resolved& path, bool forRead) {
    std::string key = path.root;
    auto check = [&](const std::string& k) {
        auto it = g_denied.find(UpperName(k));
        return it != g_denied.end() && (!forRead || it->second);
    };
    if (check(key + "\\")) return true;
    for (const auto& level : path.levels) {
        key += "\\" + level;
        if (check(key)) return true;
    }
    return false;
}

DWORD Attributes(const Resolved& path) {
    auto it = g_attributes.find(path.host);
    DWORD extra = it == g_attributes.end() ? 0 : it->second;
    if (path.isDirectory) return FILE_ATTRIBUTE_DIRECTORY | extra;
    return extra == 0 ? FILE_ATTRIBUTE_NORMAL : extra;
}

void SetAttributes(const Resolved& path, DWORD attributes) {
    DWORD kept = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                               FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    if (kept == 0) {
        g_attributes.erase(path.host);
    } else {
        g_attributes[path.host] = kept;
    }
}

void ForgetAttributes(const Resolved& path) { g_attributes.erase(path.host); }

void MoveAttributes(const Resolved& from, const Resolved& to) {
    auto it = g_attributes.find(from.host);
    g_attributes.erase(to.host);
    if (it == g_attributes.end()) return;
    DWORD attributes = it->second;
    g_attributes.erase(it);
    g_attributes[to.host] = attributes;
}

void NoteWrite(const std::string& windowsPath) { g_writes.push_back(windowsPath); }

}  // namespace fs

void MapDrive(char letter, const std::string& hostDir) {
    char upper = static_cast<char>(letter >= 'a' && letter <= 'z' ? letter - 32 : letter);
    g_roots[std::string(1, upper) + ":"] = hostDir;
}

void MapShare(const std::string& uncRoot, const std::string& hostDir) {
    std::string root = uncRoot;
    while (!root.empty() && (root.back() == '\\' || root.back() == '/')) root.pop_back();
    g_roots[UpperAscii(root)] = hostDir;
}

std::string HostPath(const std::string& windowsPath) {
    fs::Resolved r = fs::Resolve(windowsPath.c_str());
    if (r.error != ERROR_SUCCESS) return std::string();
    return r.host;
}

bool FileExists(const std::string& windowsPath) {
    fs::Resolved r = fs::Resolve(windowsPath.c_str());
    return r.error == ERROR_SUCCESS && r.exists && !r.isDirectory;
}

bool DirectoryExists(const std::string& windowsPath) {
    fs::Resolved r = fs::Resolve(windowsPath.c_str());
    return r.error == ERROR_SUCCESS && r.exists && r.isDirectory;
}

void DenyAccess(const std::string& windowsPath, bool read) {
    fs::Resolved r = fs::Resolve(windowsPath.c_str());
    g_denied[r.error == ERROR_SUCCESS ? r.key() : fs::UpperName(windowsPath)] = read;
}

const std::vector<std::string>& FileWrites() { return g_writes; }

}  // namespace winsim

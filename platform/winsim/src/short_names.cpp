// 8.3 short names, made the way Windows 95 and NT make them for long file
// names, and GetShortPathNameA.
//
// An alias is the upper-case name without blanks and without every period
// but the last, characters that 8.3 names cannot hold turned into "_", its
// base cut so that a numeric tail "~N" fits in 8 characters, and the first
// 3 characters of the extension: "Program Files" gives PROGRA~1, the next
// such name of the folder PROGRA~2.
#include <map>

#include "codepage.h"
#include "fs_internal.h"
#include "winsim/faults.h"
#include "winsim/machine.h"

namespace winsim {
namespace {

// host folder -> stored name -> alias
std::map<std::string, std::map<std::string, std::string>> g_aliases;
ResetHook g_reset([] { g_aliases.clear(); });

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Characters that a long name may hold and an 8.3 name may not.
bool IsLongOnly(unsigned char c) {
    return c == '+' || c == ',' || c == ';' || c == '=' || c == '[' || c == ']';
}

std::string Upper(const std::string& name) {
    std::u16string wide = AnsiToUtf16(name, ActiveCodePage());
    for (auto& c : wide) c = UpperWide(c);
    return Utf16ToAnsi(wide, ActiveCodePage());
}

// Base and extension of the alias, before the numeric tail.
void AliasBasis(const std::string& name, std::string* base, std::string* extension) {
    std::string upper = Upper(name);
    std::size_t lastDot = upper.find_last_of('.');
    if (lastDot == 0) lastDot = std::string::npos;  // a leading period starts no extension
    base->clear();
    extension->clear();
    for (std::size_t i = 0; i < upper.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(upper[i]);
        if (c == ' ' || (c == '.' && i != lastDot)) continue;
        if (i == lastDot) continue;
        const char kept = IsLongOnly(c) ? '_' : static_cast<char>(c);
        if (lastDot != std::string::npos && i > lastDot) {
            if (extension->size() < 3) *extension += kept;
        } else {
            *base += kept;
        }
    }
    if (base->empty()) *base = "_";
}

// The aliases of a folder's names, brought up to date with its content:
// names that went lose theirs, new long names get the lowest free number,
// in name order.
std::map<std::string, std::string>& FolderAliases(const std::string& hostDir) {
    std::map<std::string, std::string>& aliases = g_aliases[hostDir];
    const std::vector<std::string> names = fs::ListDirectory(hostDir);
    std::map<std::string, std::string> kept;
    for (const auto& name : names) {
        auto it = aliases.find(name);
        if (it != aliases.end()) kept[name] = it->second;
    }
    aliases.swap(kept);
    for (const auto& name : names) {
        if (fs::IsShortName(name) || aliases.count(name)) continue;
        std::string base, extension;
        AliasBasis(name, &base, &extension);
        for (unsigned n = 1;; ++n) {
            const std::string tail = "~" + std::to_string(n);
            std::string candidate = base.substr(0, 8 - tail.size()) + tail;
            if (!extension.empty()) candidate += "." + extension;
            bool taken = false;
            for (const auto& other : names) {
                if (fs::IsShortName(other) && fs::SameName(other, candidate)) taken = true;
            }
            for (const auto& other : aliases) {
                if (other.second == candidate) taken = true;
            }
            if (!taken) {
                aliases[name] = candidate;
                break;
            }
        }
    }
    return aliases;
}

}  // namespace

namespace fs {

bool IsShortName(const std::string& name) {
    if (name == "." || name == "..") return true;
    std::size_t base = 0, extension = 0;
    bool dot = false;
    for (unsigned char c : name) {
        if (c == '.') {
            if (dot || base == 0) return false;
            dot = true;
            continue;
        }
        if (c <= ' ' || IsLongOnly(c) || c == '"' || c == '*' || c == '/' || c == ':' || c == '<' ||
            c == '>' || c == '?' || c == '\\' || c == '|') {
            return false;
        }
        if (dot) {
            ++extension;
        } else {
            ++base;
        }
    }
    return base >= 1 && base <= 8 && extension <= 3 && !(dot && extension == 0);
}

std::string ShortName(const std::string& hostDir, const std::string& storedName) {
    if (IsShortName(storedName)) return storedName;
    auto& aliases = FolderAliases(hostDir);
    auto it = aliases.find(storedName);
    return it == aliases.end() ? storedName : it->second;
}

std::string FindByShortName(const std::string& hostDir, const std::string& alias) {
    if (alias.find('~') == std::string::npos || !HostIsDirectory(hostDir)) return std::string();
    for (const auto& entry : FolderAliases(hostDir)) {
        if (SameName(entry.second, alias)) return entry.first;
    }
    return std::string();
}

}  // namespace fs
}  // namespace winsim

extern "C" {

DWORD WINAPI GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size) {
    namespace fs = winsim::fs;
    DWORD error;
    if (winsim::ShouldFail("GetShortPathNameA", &error)) {
        SetLastError(error);
        return 0;
    }
    if (longPath == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::string path = longPath;
    fs::Resolved whole = fs::Resolve(longPath);
    if (whole.error != ERROR_SUCCESS) {
        SetLastError(whole.error);
        return 0;
    }
    if (!whole.exists) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    // The root as given, then every level: an 8.3 name as given, a long
    // one by its alias; separators stay as they were.
    std::size_t pos = 0;
    if (path.size() >= 2 && winsim::IsSeparator(path[0]) && winsim::IsSeparator(path[1])) {
        pos = path.find_first_of("\\/", 2);
        pos = pos == std::string::npos ? path.size() : path.find_first_of("\\/", pos + 1);
        if (pos == std::string::npos) pos = path.size();
    } else if (path.size() >= 2 && path[1] == ':') {
        pos = 2;
    }
    std::string result = path.substr(0, pos);
    while (pos < path.size()) {
        if (winsim::IsSeparator(path[pos])) {
            result += path[pos++];
            continue;
        }
        std::size_t end = path.find_first_of("\\/", pos);
        if (end == std::string::npos) end = path.size();
        const std::string level = path.substr(pos, end - pos);
        if (fs::IsShortName(level)) {
            result += level;
        } else {
            fs::Resolved upTo = fs::Resolve(path.substr(0, end).c_str());
            if (upTo.error != ERROR_SUCCESS || !upTo.exists) {
                SetLastError(upTo.error != ERROR_SUCCESS ? upTo.error : ERROR_PATH_NOT_FOUND);
                return 0;
            }
            const std::string stored = fs::FromHostName(upTo.host.substr(upTo.host.find_last_of('/') + 1));
            result += fs::ShortName(upTo.hostParent, stored);
        }
        pos = end;
    }
    if (shortPath == nullptr || result.size() + 1 > size) return static_cast<DWORD>(result.size() + 1);
    for (std::size_t i = 0; i <= result.size(); ++i) shortPath[i] = result.c_str()[i];
    return static_cast<DWORD>(result.size());
}

}  // extern "C"

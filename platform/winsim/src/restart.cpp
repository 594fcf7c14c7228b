// The simulated restart: the queued renames of Windows NT, or the work of
// WININIT.EXE on Windows 95 and 98.
#include "winsim/restart.h"

#include <unistd.h>

#include "fs_internal.h"
#include "moves.h"
#include "winsim/filesystem.h"
#include "winsim/machine.h"
#include "winsim/registry.h"
#include "winsim/transcript.h"

namespace winsim {
namespace {

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPendingValue[] = "PendingFileRenameOperations";

std::string Outcome(DWORD error) { return error == ERROR_SUCCESS ? "done" : "error=" + std::to_string(error); }

// Deletes a file (or an empty folder) as the system does while it starts.
DWORD DeleteAtStart(const std::string& path) {
    fs::Resolved r = fs::Resolve(path.c_str());
    if (r.error != ERROR_SUCCESS) return r.error;
    if (!r.exists || r.isRoot) return ERROR_FILE_NOT_FOUND;
    if ((r.isDirectory ? rmdir(r.host.c_str()) : unlink(r.host.c_str())) != 0) return ERROR_ACCESS_DENIED;
    fs::ForgetAttributes(r);
    fs::NoteWrite(path);
    return ERROR_SUCCESS;
}

void RecordDelete(const std::string& path, DWORD error) {
    Record("restart delete path=" + Quote(path) + " result=" + Outcome(error));
}

void RecordRename(const std::string& from, const std::string& to, DWORD error) {
    Record("restart rename from=" + Quote(from) + " to=" + Quote(to) + " result=" + Outcome(error));
}

std::string WithoutNtPrefix(const std::string& path) {
    return path.compare(0, 4, "\\??\\") == 0 ? path.substr(4) : path;
}

void CarryOutPendingRenames() {
    std::optional<RegValue> value = RegGetValue(std::string("HKEY_LOCAL_MACHINE\\") + kSessionManager, kPendingValue);
    if (!value) return;
    if (value->type == REG_MULTI_SZ) {
        for (const PendingRename& rename : ParsePendingRenames(value->data)) {
            const std::string source = WithoutNtPrefix(rename.source);
            if (rename.target.empty()) {
                RecordDelete(source, DeleteAtStart(source));
                continue;
            }
            const bool replace = rename.target[0] == '!';
            const std::string target = WithoutNtPrefix(replace ? rename.target.substr(1) : rename.target);
            RecordRename(source, target,
                         MoveNow(source.c_str(), target.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0, true));
        }
    }
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, kPendingValue);
        RegCloseKey(key);
    }
}

std::string Trim(const std::string& text) {
    std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return std::string();
    std::size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

// WININIT.EXE: every line of every [rename] section, in order.
void CarryOutWininit() {
    const std::string ini = settings().windowsDir + "\\Wininit.ini";
    if (!FileExists(ini)) return;
    const std::string content = ReadFile(ini);
    bool inRename = false;
    std::size_t at = 0;
    while (at < content.size()) {
        std::size_t end = content.find('\n', at);
        if (end == std::string::npos) end = content.size();
        const std::string line = Trim(content.substr(at, end - at));
        at = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            std::size_t close = line.find(']');
            inRename = close != std::string::npos && fs::SameName(Trim(line.substr(1, close - 1)), "rename");
            continue;
        }
        std::size_t equals = line.find('=');
        if (!inRename || equals == std::string::npos) continue;
        const std::string target = Trim(line.substr(0, equals));
        const std::string source = Trim(line.substr(equals + 1));
        if (source.empty()) continue;
        if (fs::SameName(target, "NUL")) {
            RecordDelete(source, DeleteAtStart(source));
        } else {
            RecordRename(source, target, MoveNow(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING, true));
        }
    }
    const std::string bak = settings().windowsDir + "\\Wininit.bak";
    RecordRename(ini, bak, MoveNow(ini.c_str(), bak.c_str(), MOVEFILE_REPLACE_EXISTING, true));
}

}  // namespace

void Restart() {
    fs::CloseAllFiles();
    Record(std::string("restart windows=") + (IsNT() ? "nt" : "9x"));
    if (IsNT()) {
        CarryOutPendingRenames();
    } else {
        CarryOutWininit();
    }
}

}  // namespace winsim

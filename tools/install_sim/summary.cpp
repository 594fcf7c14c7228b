#include "summary.h"

#include <cstdio>
#include <string>

#include "winsim/filesystem.h"
#include "winsim/machine.h"
#include "winsim/registry.h"

namespace {

const char* TypeName(DWORD type) {
    switch (type) {
        case REG_SZ: return "REG_SZ";
        case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
        case REG_MULTI_SZ: return "REG_MULTI_SZ";
        case REG_DWORD: return "REG_DWORD";
        default: return "other";
    }
}

// The text of a string value; the strings of a multi-string, " | " between.
std::string Text(const winsim::RegValue& value) {
    std::string text;
    size_t start = 0;
    while (start < value.data.size()) {
        size_t end = value.data.find('\0', start);
        if (end == std::string::npos) end = value.data.size();
        if (end == start && value.type == REG_MULTI_SZ) break;
        if (!text.empty()) text += " | ";
        text += value.data.substr(start, end - start);
        if (value.type != REG_MULTI_SZ) break;
        start = end + 1;
    }
    return text;
}

void PrintValue(const std::string& key, const std::string& name) {
    auto value = winsim::RegGetValue(key, name);
    if (!value) return;
    std::printf("  %s\\%s = %s (%s)\n", key.c_str(), name.empty() ? "(default)" : name.c_str(), Text(*value).c_str(),
                TypeName(value->type));
}

void PrintFile(const std::string& path) {
    if (!winsim::FileExists(path)) return;
    std::printf("%s:\n", path.c_str());
    std::string content = winsim::ReadFile(path);
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::printf("  %s\n", line.c_str());
        start = end + 1;
    }
}

}  // namespace

void PrintSummary() {
    const std::string windows = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";
    std::printf("== Registry\n");
    PrintValue(windows + "\\App Paths\\Quorlet.exe", "");
    for (const auto& product : winsim::RegSubKeys(windows + "\\Uninstall")) {
        PrintValue(windows + "\\Uninstall\\" + product, "DisplayName");
        PrintValue(windows + "\\Uninstall\\" + product, "UninstallString");
    }
    const std::string classes = "HKEY_CLASSES_ROOT\\";
    for (const char* key : {"txtfile\\DefaultIcon", "txtfile\\shell\\open\\command", "txtfile\\shell\\print\\command"}) {
        PrintValue(classes + key, "");
    }
    std::string extensions;
    for (const auto& name : winsim::RegSubKeys("HKEY_CLASSES_ROOT")) {
        if (name.empty() || name[0] != '.') continue;
        if (winsim::RegGetString(classes + name, "") == std::string("txtfile")) extensions += " " + name;
    }
    std::printf("  extensions of txtfile:%s\n", extensions.c_str());
    PrintValue("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager",
               "PendingFileRenameOperations");

    std::printf("== Search path\n");
    if (winsim::IsNT()) {
        PrintValue("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\Environment", "Path");
    } else {
        PrintFile("C:\\AUTOEXEC.BAT");
        PrintFile(winsim::settings().windowsDir + "\\Wininit.ini");
    }
}

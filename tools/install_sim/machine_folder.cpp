#include "machine_folder.h"

#include "text.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "winsim/filesystem.h"
#include "winsim/registry.h"

namespace fs = std::filesystem;

namespace {

// "C:\\..." with a drive letter, or "\\\\server\\share\\...".
bool IsWindowsPath(const std::string& path) {
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\') {
        return path.size() < MAX_PATH;
    }
    return path.size() > 4 && path[0] == '\\' && path[1] == '\\' && path.size() < MAX_PATH;
}

bool ParseNumber(const std::string& text, int base, unsigned long max, unsigned long* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    unsigned long parsed = std::strtoul(text.c_str(), &end, base);
    if (errno != 0 || *end != '\0' || parsed > max) return false;
    *value = parsed;
    return true;
}

bool ReadMachineIni(const std::string& path, winsim::Settings* settings, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = path + ": cannot be read";
        return false;
    }
    winsim::Platform platform = winsim::Platform::NT4;
    bool windowsGiven = false, systemGiven = false;
    std::string windowsDir, systemDir;
    bool inMachine = false, sawMachine = false;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string where = path + ", line " + std::to_string(number) + ": ";
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            inMachine = Lower(line) == "[machine]";
            if (!inMachine) {
                *error = where + "unknown section " + line + " (only [machine])";
                return false;
            }
            sawMachine = true;
            continue;
        }
        if (!inMachine) {
            *error = where + "a setting outside the [machine] section";
            return false;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos) {
            *error = where + "expected key = value";
            return false;
        }
        const std::string key = Lower(Trim(line.substr(0, equals)));
        const std::string value = Trim(line.substr(equals + 1));
        unsigned long number_value = 0;
        if (key == "platform") {
            if (!winsim::ParsePlatform(Lower(value), &platform)) {
                *error = where + "platform must be 95, 98, nt351, nt4, 2000 or xp, not \"" + value + "\"";
                return false;
            }
        } else if (key == "codepage") {
            if (!ParseNumber(value, 10, 65535, &number_value)) {
                *error = where + "codepage must be a number such as 1252";
                return false;
            }
            settings->codePage = static_cast<UINT>(number_value);
        } else if (key == "language") {
            if (!ParseNumber(value, 16, 0xFFFF, &number_value)) {
                *error = where + "language must be a language id in hex such as 0x0409";
                return false;
            }
            settings->language = static_cast<LANGID>(number_value);
        } else if (key == "windows" || key == "system" || key == "installer") {
            if (!IsWindowsPath(value)) {
                *error = where + key + " must be a full Windows path such as C:\\WINDOWS";
                return false;
            }
            if (key == "windows") {
                windowsDir = value;
                windowsGiven = true;
            } else if (key == "system") {
                systemDir = value;
                systemGiven = true;
            } else {
                settings->modulePath = value;
            }
        } else if (key == "shutdown_privilege") {
            if (Lower(value) != "yes" && Lower(value) != "no") {
                *error = where + "shutdown_privilege must be yes or no";
                return false;
            }
            settings->shutdownPrivilege = Lower(value) == "yes";
        } else {
            *error = where + "unknown key \"" + key + "\"";
            return false;
        }
    }
    if (!sawMachine) {
        *error = path + ": no [machine] section";
        return false;
    }
    // The platform's version numbers and usual folders, then the folders given.
    winsim::ApplyPlatform(platform, settings);
    if (windowsGiven) settings->windowsDir = windowsDir;
    if (systemGiven) settings->systemDir = systemDir;
    return true;
}

}  // namespace

bool LoadMachineFolder(const std::string& dir, MachineFolder* machine, std::string* error) {
    machine->dir = dir;
    if (!fs::is_directory(dir)) {
        *error = dir + ": no such folder";
        return false;
    }
    if (!ReadMachineIni(dir + "/machine.ini", &machine->settings, error)) return false;

    const std::string drives = dir + "/drives";
    if (!fs::is_directory(drives)) {
        *error = drives + ": missing (one folder per drive letter: drives/c, drives/d ...)";
        return false;
    }
    for (const auto& entry : fs::directory_iterator(drives)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_directory() || name.size() != 1 || !std::isalpha(static_cast<unsigned char>(name[0]))) {
            *error = entry.path().string() + ": drives/ holds only one folder per drive letter";
            return false;
        }
        machine->drives.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(name[0]))));
    }
    auto mapped = [&](const std::string& path) {
        return path.size() >= 2 && path[0] == '\\' ? true
               : std::find(machine->drives.begin(), machine->drives.end(),
                           static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) != machine->drives.end();
    };
    for (const std::string* path : {&machine->settings.windowsDir, &machine->settings.systemDir,
                                    &machine->settings.modulePath}) {
        if (!mapped(*path)) {
            *error = dir + "/machine.ini: " + *path + " is on a drive that has no folder under drives/";
            return false;
        }
    }

    const std::string registry = dir + "/registry.reg";
    if (fs::exists(registry)) {
        std::ifstream in(registry, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        machine->registry = text.str();
        // Checked now, on a scratch registry, so that a malformed file stops
        // the command before anything runs.
        std::string problem;
        if (!winsim::RegLoad(machine->registry, &problem)) {
            *error = registry + ": " + problem;
            return false;
        }
    }
    return true;
}

bool StartMachine(const MachineFolder& machine, std::string* error) {
    winsim::Reset();
    winsim::settings() = machine.settings;
    for (char letter : machine.drives) {
        winsim::MapDrive(letter, fs::absolute(machine.dir + "/drives/" + static_cast<char>(std::tolower(letter))).string());
    }
    if (!machine.registry.empty() && !winsim::RegLoad(machine.registry, error)) return false;
    return true;
}

bool SaveRegistry(const MachineFolder& machine, std::string* error) {
    const std::string path = machine.dir + "/registry.reg";
    const std::string temp = path + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << winsim::RegSave();
        if (!out) {
            *error = temp + ": cannot be written";
            return false;
        }
    }
    std::error_code code;
    fs::rename(temp, path, code);
    if (code) {
        *error = path + ": " + code.message();
        return false;
    }
    return true;
}

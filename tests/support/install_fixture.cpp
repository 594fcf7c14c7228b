#include "install_fixture.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "winsim/filesystem.h"
#include "winsim/machine.h"
#include "winsim/transcript.h"

namespace {

void CopyText(char* buffer, const std::string& text) {
    std::strncpy(buffer, text.c_str(), MAX_PATH - 1);
    buffer[MAX_PATH - 1] = '\0';
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

InstallContext PreparedContext(const char* destDir) {
    InstallContext context = {};
    const winsim::Settings& settings = winsim::settings();
    CopyText(context.sourceDir, settings.modulePath.substr(0, settings.modulePath.find_last_of('\\')));
    CopyText(context.windowsDir, settings.windowsDir);
    CopyText(context.systemDir, settings.systemDir);
    std::strcpy(context.productName, "Quorlet V4.06");
    context.productNameLength = 13;
    CopyText(context.destDir, destDir);
    context.destDirLength = static_cast<int>(std::strlen(context.destDir));
    context.isNT = winsim::IsNT();
    winsim::MakeDirectory(destDir);
    return context;
}

distribution::Options SmallDistribution() {
    distribution::Options options;
    options.sizeScale = 0.01;
    return options;
}

void PlaceDistribution(distribution::Options options) {
    const std::string& module = winsim::settings().modulePath;
    const std::string folder = module.substr(0, module.find_last_of('\\'));
    winsim::MakeDirectory(folder);
    distribution::Build(winsim::HostPath(folder), options);
}

void PlaceSystemDll(const std::string& name, const pe::Version& version) {
    pe::Options options;
    options.dll = true;
    options.version = pe::VersionResource();
    options.version->file = version;
    options.version->dll = true;
    winsim::WriteFile(winsim::settings().systemDir + "\\" + name, pe::BuildImage(options));
}

void PlaceUnversionedSystemDll(const std::string& name) {
    pe::Options options;
    options.dll = true;
    winsim::WriteFile(winsim::settings().systemDir + "\\" + name, pe::BuildImage(options));
}

std::vector<std::string> FilesLike(const std::string& folder, const std::string& prefix, const std::string& suffix) {
    std::vector<std::string> names;
    const std::string host = winsim::HostPath(folder);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(host, error)) {
        const std::string name = entry.path().filename().string();
        const std::string upper = Upper(name);
        if (upper.size() >= prefix.size() + suffix.size() && upper.compare(0, prefix.size(), Upper(prefix)) == 0 &&
            upper.compare(upper.size() - suffix.size(), suffix.size(), Upper(suffix)) == 0) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string StopBox(const std::string& text) {
    return "messagebox caption=\"Install\" icon=stop buttons=0 owner=none text=" + winsim::Quote(text);
}

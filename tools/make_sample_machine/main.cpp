// make-sample-machine DIR [--platform 95|98|nt351|nt4|2000|xp] [--language 0x040C]
//                         [--dlls-up-to-date] [--installer FILE]
//
// Writes a machine folder for install-sim: machine.ini, drives/c and
// drives/d, registry.reg. The machine holds what the installer meets in the
// field (shell folders, the search path, a text-file class, older system
// DLLs unless told otherwise) and the product's distribution in D:\Setup;
// with --installer, Install.EXE beside it.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "sample_machine.h"
#include "winsim/filesystem.h"
#include "winsim/machine.h"
#include "winsim/registry.h"

namespace fs = std::filesystem;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: make-sample-machine DIR [--platform 95|98|nt351|nt4|2000|xp] [--language 0x040C]\n"
                 "       [--dlls-up-to-date] [--installer Install.EXE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir, platformName = "nt4", installer;
    unsigned long language = 0x0409;
    sample::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--platform" && i + 1 < argc) {
            platformName = argv[++i];
        } else if (arg == "--language" && i + 1 < argc) {
            char* end = nullptr;
            language = std::strtoul(argv[++i], &end, 16);
            if (*end != '\0' || language > 0xFFFF) return Usage();
        } else if (arg == "--dlls-up-to-date") {
            options.systemDllsUpToDate = true;
        } else if (arg == "--installer" && i + 1 < argc) {
            installer = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && dir.empty()) {
            dir = arg;
        } else {
            return Usage();
        }
    }
    winsim::Platform platform;
    if (dir.empty() || !winsim::ParsePlatform(platformName, &platform)) return Usage();
    if (fs::exists(dir) && !fs::is_empty(dir)) {
        std::fprintf(stderr, "make-sample-machine: %s exists and is not empty\n", dir.c_str());
        return 2;
    }

    winsim::Reset();
    winsim::SetPlatform(platform);
    winsim::settings().language = static_cast<LANGID>(language);
    for (char letter : {'c', 'd'}) {
        const std::string folder = dir + "/drives/" + letter;
        fs::create_directories(folder);
        winsim::MapDrive(letter, fs::absolute(folder).string());
    }
    sample::Prepare(options);
    if (!installer.empty()) {
        fs::copy_file(installer, fs::path(winsim::HostPath(winsim::settings().modulePath)),
                      fs::copy_options::overwrite_existing);
    }

    const winsim::Settings& s = winsim::settings();
    char languageText[8];
    std::snprintf(languageText, sizeof languageText, "0x%04lX", language);
    std::ofstream ini(dir + "/machine.ini");
    ini << "; A simulated machine for install-sim (docs/install-sim.md).\n"
        << "[machine]\n"
        << "platform = " << platformName << "\n"
        << "codepage = " << s.codePage << "\n"
        << "language = " << languageText << "\n"
        << "windows = " << s.windowsDir << "\n"
        << "system = " << s.systemDir << "\n"
        << "installer = " << s.modulePath << "\n"
        << "shutdown_privilege = yes\n";
    std::ofstream(dir + "/registry.reg", std::ios::binary) << winsim::RegSave();
    std::printf("%s: a %s machine, language %s, with the distribution in D:\\Setup\n", dir.c_str(),
                platformName.c_str(), languageText);
    return 0;
}

// make_distribution FOLDER [options]
//
// Writes the distribution folder of Quorlet V4.06 into FOLDER:
//   --dll NAME=A.B.C.D     version of a system DLL (Mfc42.dll ...)
//   --dll-unversioned NAME a system DLL without a version resource
//   --editor-version A.B.C.D
//   --editor-unversioned   the editor without a version resource
//   --omit NAME            leave a file out
//   --scale X              file sizes times X (1: about 5 MiB in all)
//   --installer FILE       also copy Install.EXE (build/windows/Install.EXE)
//                          into FOLDER, ready to run from there
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "distribution.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: make_distribution FOLDER [--dll NAME=A.B.C.D] [--dll-unversioned NAME]\n"
                 "       [--editor-version A.B.C.D] [--editor-unversioned] [--omit NAME]\n"
                 "       [--scale X] [--installer Install.EXE]\n");
    return 2;
}

bool ParseVersion(const std::string& text, pe::Version* version) {
    unsigned parts[4];
    char tail;
    if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &parts[0], &parts[1], &parts[2], &parts[3], &tail) != 4) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (parts[i] > 0xFFFF) return false;
        (*version)[i] = static_cast<uint16_t>(parts[i]);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string folder = argv[1];
    distribution::Options options;
    std::string installer;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc && option != "--editor-unversioned") return Usage();
        if (option == "--dll") {
            const std::string value = argv[++i];
            const std::size_t equals = value.find('=');
            pe::Version version;
            if (equals == std::string::npos || !ParseVersion(value.substr(equals + 1), &version)) return Usage();
            options.dllVersions[value.substr(0, equals)] = version;
        } else if (option == "--dll-unversioned") {
            options.dllsWithoutVersion.insert(argv[++i]);
        } else if (option == "--editor-version") {
            if (!ParseVersion(argv[++i], &options.editor.file)) return Usage();
        } else if (option == "--editor-unversioned") {
            options.editorHasVersion = false;
        } else if (option == "--omit") {
            options.omit.insert(argv[++i]);
        } else if (option == "--scale") {
            options.sizeScale = std::atof(argv[++i]);
            if (options.sizeScale < 0) return Usage();
        } else if (option == "--installer") {
            installer = argv[++i];
        } else {
            return Usage();
        }
    }
    const std::size_t bytes = distribution::Build(folder, options);
    if (!installer.empty()) {
        std::error_code error;
        std::filesystem::copy_file(installer, std::filesystem::path(folder) / "Install.EXE",
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error) {
            std::fprintf(stderr, "make_distribution: cannot copy %s: %s\n", installer.c_str(),
                         error.message().c_str());
            return 1;
        }
    }
    std::printf("%s: %zu bytes of distribution files\n", folder.c_str(), bytes);
    return 0;
}

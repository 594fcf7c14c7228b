#include "distribution.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace distribution {
namespace {

struct FileKind {
    const char* name;
    unsigned kib;  // size at scale 1.0
};

// Sizes at scale 1.0: help files and dictionaries of a few hundred KiB,
// small syntax files, documents of tens of KiB.
const FileKind kAppFileSizes[] = {
    {"64asm.ini", 4},     {"Ada.ini", 3},        {"American.vtd", 330}, {"Basic.ini", 3},
    {"Batfiles.ini", 2},  {"C31.ini", 3},        {"Corba.ini", 2},      {"Cpp.ini", 5},
    {"Default.dll", 56},  {"Default.ini", 2},    {"Quorlet.exe", 780},  {"Quorlet.ocx", 180},
    {"Fortran.dll", 44},  {"Fortran.ini", 3},    {"French.vtd", 300},   {"Generic.dll", 38},
    {"Helpfr.cnt", 5},    {"Helpfr.hlp", 290},   {"Helpit.cnt", 5},     {"Helpit.hlp", 285},
    {"Helpru.cnt", 5},    {"Helpru.hlp", 300},   {"Helpus.cnt", 5},     {"Helpus.hlp", 310},
    {"Html.dll", 68},     {"Html.ini", 4},       {"Inifiles.dll", 34},  {"Inifiles.ini", 1},
    {"Italian.vtd", 290}, {"Java.ini", 4},       {"Joyerr.tex", 3},     {"Latex.dll", 50},
    {"Latex.ini", 4},     {"Lisp.ini", 2},       {"Matlab.ini", 3},     {"Opl.ini", 2},
    {"Orderfr.doc", 42},  {"Orderit.doc", 41},   {"Orderru.doc", 44},   {"Orderus.doc", 40},
    {"Pascal.ini", 3},    {"Perl.ini", 4},       {"Pov.ini", 3},        {"Readmefr.doc", 58},
    {"Readmeit.doc", 56}, {"Readmeru.doc", 61},  {"Readmeus.doc", 54},  {"Spell.dll", 120},
    {"Sql.ini", 4},       {"Tipsfr.txt", 12},    {"Tipsit.txt", 12},    {"Tipsru.txt", 13},
    {"Tipsus.txt", 11},
};

const FileKind kDllSizes[] = {{"Mfc42.dll", 420}, {"Msvcrt.dll", 270}, {"Oleaut32.dll", 230}, {"Olepro32.dll", 90}};

const pe::Version kProductVersion = {4, 0, 6, 1};

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Extension(const std::string& name) {
    std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : Lower(name.substr(dot + 1));
}

std::string Stem(const std::string& name) { return name.substr(0, name.find_last_of('.')); }

uint32_t Seed(const std::string& name) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    return hash == 0 ? 1 : hash;
}

std::size_t ScaledSize(unsigned kib, double scale) {
    return static_cast<std::size_t>(std::llround(kib * 1024.0 * scale));
}

unsigned BaseKib(const std::string& name) {
    for (const auto& file : kAppFileSizes) {
        if (name == file.name) return file.kib;
    }
    for (const auto& file : kDllSizes) {
        if (name == file.name) return file.kib;
    }
    return 1;
}

// Text made of lines, cut to `size` bytes (at least the first line).
std::string TextOfLines(const std::string& first, const std::string& line, std::size_t size) {
    std::string text = first;
    for (unsigned n = 1; text.size() < size; ++n) text += line + std::to_string(n) + "\r\n";
    if (text.size() > size && size > first.size()) text.resize(size);
    return text;
}

// A program or DLL of the product: version 4.0.6.1 unless told otherwise.
std::string Program(const std::string& name, bool dll, std::size_t size, const pe::VersionResource* version) {
    pe::Options options;
    options.dll = dll;
    if (version) options.version = *version;
    options.overlaySeed = Seed(name);
    const std::size_t bare = pe::BuildImage(options).size();
    options.overlayBytes = size > bare ? size - bare : 0;
    return pe::BuildImage(options);
}

pe::VersionResource ProductVersion(const std::string& name, const std::string& description, bool dll) {
    pe::VersionResource version;
    version.file = kProductVersion;
    version.dll = dll;
    version.strings = {{"CompanyName", "Quorlet Software"},
                       {"FileDescription", description},
                       {"FileVersion", "4.06"},
                       {"InternalName", Stem(name)},
                       {"OriginalFilename", name},
                       {"ProductName", "Quorlet V4.06"},
                       {"ProductVersion", "4.06"}};
    return version;
}

}  // namespace

const std::vector<std::string> kSystemDlls = {"Mfc42.dll", "Msvcrt.dll", "Oleaut32.dll", "Olepro32.dll"};

const std::vector<std::string> kAppFiles = [] {
    std::vector<std::string> names;
    for (const auto& file : kAppFileSizes) names.push_back(file.name);
    return names;
}();

const char kEditor[] = "Quorlet.exe";
const char kUninstaller[] = "Remvex.exe";

pe::VersionResource Options::DefaultEditorVersion() {
    return ProductVersion(kEditor, "Quorlet programmer's editor", false);
}

pe::Version DefaultDllVersion(const std::string& name) {
    if (name == "Mfc42.dll") return {6, 0, 8665, 0};
    if (name == "Msvcrt.dll") return {6, 1, 8637, 0};
    if (name == "Oleaut32.dll") return {2, 40, 4275, 1};
    if (name == "Olepro32.dll") return {5, 0, 4275, 1};
    return {1, 0, 0, 0};
}

std::string FileContent(const std::string& name, const Options& options) {
    const std::size_t size = ScaledSize(BaseKib(name), options.sizeScale);
    for (const auto& dll : kSystemDlls) {
        if (name != dll) continue;
        if (options.dllsWithoutVersion.count(name)) return Program(name, true, size, nullptr);
        pe::VersionResource version;
        auto chosen = options.dllVersions.find(name);
        version.file = chosen != options.dllVersions.end() ? chosen->second : DefaultDllVersion(name);
        version.dll = true;
        version.strings = {{"FileDescription", Stem(name) + " shared library"}, {"OriginalFilename", name}};
        return Program(name, true, size, &version);
    }
    if (name == kEditor) return Program(name, false, size, options.editorHasVersion ? &options.editor : nullptr);
    if (name == kUninstaller) {
        pe::VersionResource version = ProductVersion(name, "Quorlet uninstaller", false);
        return Program(name, false, ScaledSize(48, options.sizeScale), &version);
    }
    const std::string extension = Extension(name);
    if (extension == "dll" || extension == "ocx") {
        pe::VersionResource version = ProductVersion(name, Stem(name) + " component of Quorlet", true);
        return Program(name, true, size, &version);
    }
    if (extension == "ini") {
        return TextOfLines("; Quorlet syntax definition: " + Stem(name) + "\r\n[Keywords]\r\n", "Keyword", size);
    }
    if (extension == "txt") return TextOfLines("Quorlet tips\r\n", "Tip number ", size);
    if (extension == "tex") return TextOfLines("% Quorlet error messages\r\n", "\\error ", size);
    if (extension == "cnt") {
        return TextOfLines(":Base " + Stem(name) + ".hlp\r\n:Title Quorlet\r\n", "1 Topic ", size);
    }
    // Help files, documents and dictionaries: a header of their kind, then
    // deterministic bytes.
    std::string header = extension == "hlp"   ? std::string("\x3F\x5F\x03\x00", 4)
                         : extension == "doc" ? std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)
                                              : std::string("QVTD");
    if (size <= header.size()) return header;
    return header + pe::FillerBytes(size - header.size(), Seed(name));
}

std::size_t Build(const std::string& hostDir, const Options& options) {
    std::filesystem::create_directories(hostDir);
    std::vector<std::string> names = kSystemDlls;
    names.insert(names.end(), kAppFiles.begin(), kAppFiles.end());
    names.push_back(kUninstaller);
    std::size_t total = 0;
    for (const auto& name : names) {
        if (options.omit.count(name)) continue;
        const std::string content = FileContent(name, options);
        std::ofstream out(hostDir + "/" + name, std::ios::binary | std::ios::trunc);
        out << content;
        total += content.size();
    }
    return total;
}

}  // namespace distribution

// A small writer of Windows executables: PE32 (and PE32+) programs and
// DLLs that Windows' own loader and Wine accept, carrying a version
// resource of our choice. The same files serve the simulated runs and the
// runs of the real Install.EXE.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pe {

using Version = std::array<uint16_t, 4>;

// The VS_VERSIONINFO resource. Texts are 8-bit (code page 1252 taken as
// ISO 8859-1) and stored as UTF-16, as the resource compiler stores them.
struct VersionResource {
    Version file = {1, 0, 0, 0};
    std::optional<Version> product;  // the file version when not given
    bool fixedInfo = true;           // false: no VS_FIXEDFILEINFO at all
    bool dll = false;                // dwFileType VFT_DLL, else VFT_APP
    // StringFileInfo: one string table under `table`; none when empty.
    std::string table = "040904b0";
    std::vector<std::pair<std::string, std::string>> strings;
    bool translation = true;  // VarFileInfo\Translation
    uint16_t translationLanguage = 0x0409;
    uint16_t translationCodePage = 1200;
};

struct Options {
    bool dll = false;
    bool pe32plus = false;  // x64 image instead of i386
    std::optional<VersionResource> version;
    uint16_t resourceLanguage = 0x0409;  // language the version is filed under
    // A resource section even without a version resource (it then holds
    // one RT_RCDATA resource), or none at all.
    bool resourceSection = true;
    // Bytes appended after the last section (the loader ignores them), to
    // give the file a plausible size; deterministic from the seed.
    std::size_t overlayBytes = 0;
    uint32_t overlaySeed = 1;
};

// The bytes of a VS_VERSIONINFO resource.
std::string BuildVersionResource(const VersionResource& version);

// The bytes of a whole executable file.
std::string BuildImage(const Options& options);

// Deterministic filler bytes.
std::string FillerBytes(std::size_t count, uint32_t seed);

}  // namespace pe

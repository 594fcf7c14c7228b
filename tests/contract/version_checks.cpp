// GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA("\\") on
// executables written by the test PE writer: with a version resource,
// without one, without any resources, and on files that are no executable.
#include <string.h>

#include "contract.h"
#include "fixtures.h"
#include "pe_writer.h"

namespace contract {
namespace {

std::string Image(bool withVersion, bool fixedInfo, bool resourceSection) {
    pe::Options options;
    options.dll = true;
    options.resourceSection = resourceSection;
    if (withVersion) {
        pe::VersionResource version;
        version.file = {4, 6, 0, 21};
        version.dll = true;
        version.fixedInfo = fixedInfo;
        version.strings = {{"FileVersion", "4.06"}};
        options.version = version;
    }
    return pe::BuildImage(options);
}

void CheckWithVersion() {
    const std::string path = At("version\\with version.dll");
    PutFile(path, Image(true, true, true));

    DWORD handle = 0x1234;
    ArmSentinel();
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    Check("GetFileVersionInfoSizeA.with_version.result", size > 0, "answered 0");
    CheckNumber("GetFileVersionInfoSizeA.with_version.handle", handle, 0);
    if (size == 0) return;

    // A block of exactly the size reported, as the installer allocates it.
    void* block = HeapAlloc(GetProcessHeap(), 0, size);
    ArmSentinel();
    Check("GetFileVersionInfoA.with_version.result", GetFileVersionInfoA(path.c_str(), 0, size, block) != FALSE);

    void* value = nullptr;
    UINT length = 0;
    ArmSentinel();
    BOOL ok = VerQueryValueA(block, "\\", &value, &length);
    Check("VerQueryValueA.root.result", ok != FALSE);
    CheckNumber("VerQueryValueA.root.length", length, sizeof(VS_FIXEDFILEINFO));
    const char* start = static_cast<const char*>(block);
    const char* at = static_cast<const char*>(value);
    const bool inside = at != nullptr && at >= start && at + sizeof(VS_FIXEDFILEINFO) <= start + size;
    Check("VerQueryValueA.root.inside_block", inside, "the pointer is not inside the block");
    if (inside) {
        VS_FIXEDFILEINFO info;
        memcpy(&info, at, sizeof(info));
        CheckNumber("VerQueryValueA.root.signature", info.dwSignature, VS_FFI_SIGNATURE);
        CheckNumber("VerQueryValueA.root.version_ms", info.dwFileVersionMS, 0x00040006);
        CheckNumber("VerQueryValueA.root.version_ls", info.dwFileVersionLS, 0x00000015);
    }
    HeapFree(GetProcessHeap(), 0, block);
}

// A version resource that holds no VS_FIXEDFILEINFO: "\\" gives no value.
void CheckWithoutFixedInfo() {
    const std::string path = At("version\\no fixed info.dll");
    PutFile(path, Image(true, false, true));
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    Check("GetFileVersionInfoSizeA.no_fixed_info.result", size > 0, "answered 0");
    if (size == 0) return;
    void* block = HeapAlloc(GetProcessHeap(), 0, size);
    GetFileVersionInfoA(path.c_str(), 0, size, block);
    void* value = nullptr;
    UINT length = 1234;
    BOOL ok = VerQueryValueA(block, "\\", &value, &length);
    Check("VerQueryValueA.no_fixed_info.no_value", !ok || length == 0,
          Format("answered %d with length %u", ok, length));
    HeapFree(GetProcessHeap(), 0, block);
}

// Files with no version resource: 0 and the reason in the last error.
void CheckWithout() {
    PutFile(At("version\\no version.dll"), Image(false, false, true));
    PutFile(At("version\\no resources.dll"), Image(false, false, false));
    PutFile(At("version\\plain.txt"), "not an executable\r\n");
    struct Case {
        const char* name;
        const char* file;
        DWORD error;
    };
    const Case cases[] = {
        {"no_version", "no version.dll", ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"no_resources", "no resources.dll", ERROR_RESOURCE_DATA_NOT_FOUND},
        {"missing", "missing.dll", ERROR_FILE_NOT_FOUND},
        {"in_missing_folder", "none\\missing.dll", ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        const std::string name = std::string("GetFileVersionInfoSizeA.") + c.name;
        DWORD handle = 0x1234;
        ArmSentinel();
        CheckNumber(name + ".result", GetFileVersionInfoSizeA(At(std::string("version\\") + c.file).c_str(), &handle),
                    0);
        CheckError(name + ".error", c.error);
    }
    ArmSentinel();
    CheckNumber("GetFileVersionInfoSizeA.not_executable.result",
                GetFileVersionInfoSizeA(At("version\\plain.txt").c_str(), nullptr), 0);
}

void Run() {
    PutFolder(At("version"));
    CheckWithVersion();
    CheckWithoutFixedInfo();
    CheckWithout();
}

Group g_group("files.version", Run);

}  // namespace
}  // namespace contract

// File version resources: GetFileVersionInfoSizeA, GetFileVersionInfoA and
// VerQueryValueA over the RT_VERSION resource (name 1) of PE files.
//
// As on Windows NT, the size reported is twice the resource plus 4 bytes:
// the second half of the caller's block is where VerQueryValueA puts the
// ANSI form of the UTF-16 strings it is asked for.
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "codepage.h"
#include "fs_internal.h"
#include "winsim/pe_image.h"
#include "winsim/version_block.h"
#include "winsim/faults.h"
#include "winsim/machine.h"

namespace winsim {
namespace {

const WORD kVersionType = 16;  // RT_VERSION
const WORD kVersionName = 1;   // VS_VERSION_INFO

// Blocks that GetFileVersionInfoA filled: their size and the bytes of the
// resource in them, so that queries never read past either.
struct Block {
    DWORD capacity = 0;
    DWORD filled = 0;
};
std::map<const void*, Block> g_blocks;
ResetHook g_reset([] { g_blocks.clear(); });

bool Fail(const char* api) {
    DWORD error;
    if (!ShouldFail(api, &error)) return false;
    SetLastError(error);
    return true;
}

// The version resource of a file, or the error code Windows gives.
DWORD ReadVersionResource(LPCSTR fileName, std::string* resource) {
    if (fileName == nullptr || fileName[0] == '\0') return ERROR_INVALID_PARAMETER;
    fs::Resolved r = fs::Resolve(fileName);
    if (r.error != ERROR_SUCCESS) return r.error;
    if (!r.exists) return ERROR_FILE_NOT_FOUND;
    if (r.isDirectory || fs::IsDenied(r, true)) return ERROR_ACCESS_DENIED;
    if (fs::OpenConflicts(r.host, GENERIC_READ, FILE_SHARE_READ)) return ERROR_SHARING_VIOLATION;
    std::ifstream in(r.host, std::ios::binary);
    if (!in) return ERROR_ACCESS_DENIED;
    std::ostringstream content;
    content << in.rdbuf();
    const std::string image = content.str();
    PeResource found;
    DWORD error = FindPeResource(image, kVersionType, kVersionName, settings().language, &found);
    if (error != ERROR_SUCCESS) return error;
    // The first word is the structure's own length; a resource shorter than
    // its header is none.
    if (found.size < 6 || found.size > 0x7FFFFFF0u / 2) return ERROR_RESOURCE_DATA_NOT_FOUND;
    resource->assign(image, found.offset, found.size);
    return ERROR_SUCCESS;
}

bool SameKey(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperWide(a[i]) != UpperWide(b[i])) return false;
    }
    return true;
}

bool FindChild(const unsigned char* block, const VersionNode& parent, const std::u16string& key, VersionNode* child) {
    for (const VersionNode& node : VersionChildren(block, parent)) {
        if (SameKey(node.key, key)) {
            *child = node;
            return true;
        }
    }
    return false;
}

}  // namespace
}  // namespace winsim

extern "C" {

DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR fileName, LPDWORD handle) {
    if (handle) *handle = 0;
    if (winsim::Fail("GetFileVersionInfoSizeA")) return 0;
    std::string resource;
    DWORD error = winsim::ReadVersionResource(fileName, &resource);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return 0;
    }
    return static_cast<DWORD>(resource.size() * 2 + 4);
}

BOOL WINAPI GetFileVersionInfoA(LPCSTR fileName, DWORD handle, DWORD length, LPVOID data) {
    (void)handle;
    if (winsim::Fail("GetFileVersionInfoA")) return FALSE;
    if (data == nullptr || length == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string resource;
    DWORD error = winsim::ReadVersionResource(fileName, &resource);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    // A block smaller than the resource takes what fits, as on Windows.
    const DWORD filled = resource.size() < length ? static_cast<DWORD>(resource.size()) : length;
    std::memcpy(data, resource.data(), filled);
    winsim::g_blocks[data] = winsim::Block{length, filled};
    return TRUE;
}

BOOL WINAPI VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, PUINT length) {
    using winsim::VersionNode;
    if (length) *length = 0;
    if (block == nullptr || subBlock == nullptr || buffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (winsim::Fail("VerQueryValueA")) return FALSE;
    const unsigned char* bytes = static_cast<const unsigned char*>(block);
    auto known = winsim::g_blocks.find(block);
    // A block that did not come from GetFileVersionInfoA is taken at the
    // length its first word gives, as Windows takes it.
    const DWORD capacity = known != winsim::g_blocks.end() ? known->second.capacity : winsim::VersionWord(bytes, 0);
    const DWORD filled = known != winsim::g_blocks.end() ? known->second.filled : capacity;
    VersionNode node;
    if (!winsim::ReadVersionNode(bytes, 0, filled, &node)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE;
    }
    const DWORD rootEnd = node.end;
    // Walk the path one backslash-separated key at a time.
    const std::string path = subBlock;
    std::size_t pos = 0;
    while (pos < path.size()) {
        std::size_t next = path.find('\\', pos);
        if (next == std::string::npos) next = path.size();
        if (next > pos) {
            std::u16string key = winsim::AnsiToUtf16(path.substr(pos, next - pos), winsim::ActiveCodePage());
            VersionNode child;
            if (!winsim::FindChild(bytes, node, key, &child)) {
                SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
                return FALSE;
            }
            node = child;
        }
        pos = next + 1;
    }
    if (!node.text || node.valueBytes == 0) {
        *buffer = const_cast<unsigned char*>(bytes) + node.value;
        if (length) *length = node.valueBytes;
        return TRUE;
    }
    // Text: its ANSI form goes to the spare half of the block, at half the
    // offset of the UTF-16 form, so that no two strings overlap.
    std::u16string text;
    for (DWORD at = node.value; at + 2 <= node.value + node.valueBytes; at += 2) {
        const char16_t c = winsim::VersionWord(bytes, at);
        if (c == 0) break;
        text += c;
    }
    const std::string ansi = winsim::Utf16ToAnsi(text, winsim::ActiveCodePage());
    const DWORD target = winsim::VersionAlign4(rootEnd) + 4 + node.value / 2;
    if (target > capacity || ansi.size() + 1 > capacity - target) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    char* out = static_cast<char*>(const_cast<void*>(block)) + target;
    std::memcpy(out, ansi.c_str(), ansi.size() + 1);
    *buffer = out;
    if (length) *length = static_cast<UINT>(ansi.size() + 1);
    return TRUE;
}

}  // extern "C"

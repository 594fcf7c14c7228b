// The tree of a version resource (VS_VERSIONINFO): nodes of a length, a
// value length, a type, a UTF-16 key, a value and child nodes, each on a
// 4-byte boundary. VerQueryValueA walks it; tests read whole blocks with it.
#pragma once

#include <string>
#include <vector>

#include "../windows.h"

namespace winsim {

// One node (VS_VERSIONINFO, StringFileInfo, a StringTable, a String,
// VarFileInfo, a Var); offsets are bytes into the block.
struct VersionNode {
    DWORD start = 0;
    DWORD end = 0;
    std::u16string key;
    DWORD value = 0;       // offset of the value
    DWORD valueBytes = 0;  // bytes of it that lie inside the node
    WORD valueLength = 0;  // as stored: bytes, or characters for text
    bool text = false;
    DWORD children = 0;    // offset of the first child
};

// The node at `start`, which must end at or before `limit`; false when the
// bytes there do not hold one. Nothing at or past `limit` is read.
bool ReadVersionNode(const unsigned char* block, DWORD start, DWORD limit, VersionNode* node);

// The children of a node, in order, as far as they can be read.
std::vector<VersionNode> VersionChildren(const unsigned char* block, const VersionNode& parent);

// A little-endian word of the block, and an offset rounded up to 4.
inline WORD VersionWord(const unsigned char* block, DWORD offset) {
    return static_cast<WORD>(block[offset] | (block[offset + 1] << 8));
}
inline DWORD VersionAlign4(DWORD offset) { return (offset + 3) & ~3u; }

}  // namespace winsim

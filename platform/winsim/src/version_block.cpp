// Nodes of a version resource's tree.
#include "winsim/version_block.h"

namespace winsim {

bool ReadVersionNode(const unsigned char* block, DWORD start, DWORD limit, VersionNode* node) {
    if (start > limit || limit - start < 6) return false;
    const WORD length = VersionWord(block, start);
    if (length < 6 || length > limit - start) return false;
    node->start = start;
    node->end = start + length;
    node->valueLength = VersionWord(block, start + 2);
    node->text = VersionWord(block, start + 4) == 1;
    DWORD at = start + 6;
    node->key.clear();
    while (true) {
        if (node->end - at < 2) return false;
        const char16_t c = VersionWord(block, at);
        at += 2;
        if (c == 0) break;
        node->key += c;
    }
    node->value = VersionAlign4(at) < node->end ? VersionAlign4(at) : node->end;
    const DWORD wanted = node->text ? static_cast<DWORD>(node->valueLength) * 2 : node->valueLength;
    node->valueBytes = wanted < node->end - node->value ? wanted : node->end - node->value;
    const DWORD children = VersionAlign4(node->value + node->valueBytes);
    node->children = children < node->end ? children : node->end;
    return true;
}

std::vector<VersionNode> VersionChildren(const unsigned char* block, const VersionNode& parent) {
    std::vector<VersionNode> children;
    DWORD at = parent.children;
    VersionNode node;
    while (ReadVersionNode(block, at, parent.end, &node)) {
        children.push_back(node);
        at = VersionAlign4(node.end);
    }
    return children;
}

}  // namespace winsim

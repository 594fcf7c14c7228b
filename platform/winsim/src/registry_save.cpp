// The registry written as a REGEDIT4 file, the way regedit exports it:
// "REGEDIT4", a blank line, then one section per key followed by a blank
// line, lines ended by CR LF. The order is fixed so that equal registries
// give equal text: roots HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS;
// below each key its sub-keys sorted by name without regard to case (as
// Windows NT lists them); values in the order they were first set. A root
// gets a section of its own only when it holds values. Values that the
// string or dword forms would not give back byte for byte (a REG_SZ without
// its single terminating zero, or holding a line break) are written in hex.
#include <algorithm>
#include <cstdio>

#include "registry_tree.h"
#include "winsim/registry.h"

namespace winsim {
namespace {

using reg::Key;

const char kEol[] = "\r\n";
const size_t kWrapColumn = 76;  // hex lists are continued after this column

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

bool IsPlainString(const RegValue& value) {
    const std::string& data = value.data;
    return value.type == REG_SZ && !data.empty() && data.find('\0') == data.size() - 1 &&
           data.find_first_of("\r\n") == std::string::npos;
}

std::string HexList(std::string line, const std::string& data) {
    char byte[4];
    for (size_t i = 0; i < data.size(); ++i) {
        std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(data[i]));
        line += byte;
        if (i + 1 == data.size()) break;
        line += ',';
        size_t lineStart = line.rfind('\n');
        lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
        if (line.size() - lineStart >= kWrapColumn) line += std::string("\\") + kEol + "  ";
    }
    return line;
}

std::string ValueLine(const std::string& name, const RegValue& value) {
    std::string line = (name.empty() ? std::string("@") : Quoted(name)) + "=";
    if (IsPlainString(value)) return line + Quoted(value.data.substr(0, value.data.size() - 1));
    char text[32];
    if (value.type == REG_DWORD && value.data.size() == 4) {
        const auto* b = reinterpret_cast<const unsigned char*>(value.data.data());
        unsigned long number = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<unsigned long>(b[3]) << 24);
        std::snprintf(text, sizeof text, "dword:%08lx", number);
        return line + text;
    }
    if (value.type == REG_BINARY) return HexList(line + "hex:", value.data);
    std::snprintf(text, sizeof text, "hex(%lx):", static_cast<unsigned long>(value.type));
    return HexList(line + text, value.data);
}

void SaveKey(const Key& key, std::string* out) {
    if (key.parent != nullptr || !key.values.empty()) {
        *out += "[" + reg::FullName(key) + "]" + kEol;
        for (const auto& value : key.values) *out += ValueLine(value.first, value.second) + kEol;
        *out += kEol;
    }
    std::vector<const Key*> subKeys;
    for (const auto& sub : key.subKeys) subKeys.push_back(sub.get());
    std::sort(subKeys.begin(), subKeys.end(),
              [](const Key* a, const Key* b) { return reg::NameLess(a->name, b->name); });
    for (const Key* sub : subKeys) SaveKey(*sub, out);
}

}  // namespace

std::string RegSave() {
    std::string out = std::string("REGEDIT4") + kEol + kEol;
    for (int root = 0; root < reg::kRootCount; ++root) SaveKey(reg::RootKey(static_cast<reg::Root>(root)), &out);
    return out;
}

}  // namespace winsim

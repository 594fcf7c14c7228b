// A REGEDIT4 file read into a fresh registry, which replaces the current
// one only when the whole file is sound. Accepted: the "REGEDIT4" first line;
// blank lines and ';' comments; sections [HKEY_LOCAL_MACHINE\...],
// [HKEY_CURRENT_USER\...], [HKEY_USERS\...] and [HKEY_CLASSES_ROOT\...] (the
// last stored under HKEY_LOCAL_MACHINE\Software\Classes); values
// "name"=... or @=... as "string" (with \\ and \" escapes), dword:xxxxxxxx,
// hex:bytes (REG_BINARY) and hex(N):bytes (type N in hex: 2 REG_EXPAND_SZ,
// 7 REG_MULTI_SZ ...). A value line ending in a backslash goes on in the
// next line, as regedit wraps long hex lists. Bytes are the machine's ANSI
// text, taken as they are.
#include "registry_tree.h"
#include "winsim/registry.h"

namespace winsim {
namespace {

using reg::Key;

// A line of the file; `number` counts from 1.
struct Line {
    std::string text;
    int number = 0;
};

std::string Trimmed(const std::string& text) {
    size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string::npos) return std::string();
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(start, end - start + 1);
}

std::vector<Line> SplitLines(const std::string& file) {
    std::vector<Line> lines;
    size_t start = 0;
    int number = 1;
    while (start <= file.size()) {
        size_t end = file.find('\n', start);
        if (end == std::string::npos) end = file.size();
        lines.push_back(Line{Trimmed(file.substr(start, end - start)), number++});
        start = end + 1;
    }
    return lines;
}

// Reads one quoted text at `pos` (on its opening quote) into *text and
// leaves `pos` behind the closing quote.
bool ParseQuoted(const std::string& line, size_t* pos, std::string* text, std::string* error) {
    text->clear();
    for (size_t i = *pos + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            *pos = i + 1;
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= line.size() || (line[i + 1] != '\\' && line[i + 1] != '"')) {
                *error = "unknown escape in a quoted text";
                return false;
            }
            c = line[++i];
        }
        *text += c;
    }
    *error = "unterminated quoted text";
    return false;
}

bool ParseHexNumber(const std::string& digits, size_t maxDigits, unsigned long* number) {
    if (digits.empty() || digits.size() > maxDigits) return false;
    if (digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
    *number = std::stoul(digits, nullptr, 16);
    return true;
}

bool ParseBytes(const std::string& list, std::string* bytes, std::string* error) {
    bytes->clear();
    if (Trimmed(list).empty()) return true;
    size_t start = 0;
    while (true) {
        size_t comma = list.find(',', start);
        std::string item = Trimmed(list.substr(start, comma == std::string::npos ? comma : comma - start));
        unsigned long byte;
        if (!ParseHexNumber(item, 2, &byte)) {
            *error = item.empty() ? "a byte is missing in a hex list"
                                  : "bad byte \"" + item + "\" in a hex list";
            return false;
        }
        *bytes += static_cast<char>(byte);
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

// The data part of a value line, behind its '='.
bool ParseData(const std::string& text, RegValue* value, std::string* error) {
    if (!text.empty() && text[0] == '"') {
        size_t pos = 0;
        if (!ParseQuoted(text, &pos, &value->data, error)) return false;
        if (pos != text.size()) {
            *error = "text after the closing quote";
            return false;
        }
        value->type = REG_SZ;
        value->data += '\0';
        return true;
    }
    if (text.compare(0, 6, "dword:") == 0) {
        unsigned long number;
        if (!ParseHexNumber(text.substr(6), 8, &number)) {
            *error = "a dword needs 1 to 8 hex digits";
            return false;
        }
        value->type = REG_DWORD;
        value->data.clear();
        for (int i = 0; i < 4; ++i) value->data += static_cast<char>((number >> (8 * i)) & 0xFF);
        return true;
    }
    if (text.compare(0, 4, "hex:") == 0) {
        value->type = REG_BINARY;
        return ParseBytes(text.substr(4), &value->data, error);
    }
    size_t close = text.find("):");
    if (text.compare(0, 4, "hex(") == 0 && close != std::string::npos) {
        unsigned long type;
        if (!ParseHexNumber(text.substr(4, close - 4), 8, &type)) {
            *error = "bad type number in hex(...)";
            return false;
        }
        value->type = static_cast<DWORD>(type);
        return ParseBytes(text.substr(close + 2), &value->data, error);
    }
    *error = "unknown kind of value data";
    return false;
}

bool ParseValue(const std::string& line, Key* section, std::string* error) {
    if (section == nullptr) {
        *error = "value outside a section";
        return false;
    }
    std::string name;  // "@" stands for the default value, whose name is empty
    size_t pos = 0;
    if (line[0] == '@') {
        pos = 1;
    } else if (!ParseQuoted(line, &pos, &name, error)) {
        return false;
    }
    if (pos >= line.size() || line[pos] != '=') {
        *error = "'=' expected after the value name";
        return false;
    }
    RegValue value;
    if (!ParseData(line.substr(pos + 1), &value, error)) return false;
    reg::SetValue(*section, name, value);
    return true;
}

Key* ParseSection(const std::string& line, reg::Tree* tree, std::string* error) {
    reg::Root root;
    std::vector<std::string> levels;
    if (line.back() != ']' || !reg::ParseKeyName(line.substr(1, line.size() - 2), false, &root, &levels)) {
        *error = "bad section name " + line + " (unknown root key, or an empty level)";
        return nullptr;
    }
    Key* key = tree->roots[root].get();
    for (const auto& level : levels) key = &reg::SubKey(*key, level);
    return key;
}

}  // namespace

bool RegLoad(const std::string& regedit4, std::string* error) {
    std::vector<Line> lines = SplitLines(regedit4);
    std::string problem;
    if (lines[0].text != "REGEDIT4") {
        if (error) *error = "line 1: the file does not begin with REGEDIT4";
        return false;
    }
    reg::Tree tree;
    Key* section = nullptr;
    for (size_t i = 1; i < lines.size(); ++i) {
        const Line& first = lines[i];
        std::string text = first.text;
        if (text.empty() || text[0] == ';') continue;
        bool ok;
        if (text[0] == '[') {
            section = ParseSection(text, &tree, &problem);
            ok = section != nullptr;
        } else if (text[0] == '"' || text[0] == '@') {
            while (text.back() == '\\' && i + 1 < lines.size()) {
                text.pop_back();
                text += lines[++i].text;
            }
            ok = ParseValue(text, section, &problem);
        } else {
            problem = "unexpected text";
            ok = false;
        }
        if (!ok) {
            if (error) *error = "line " + std::to_string(first.number) + ": " + problem;
            return false;
        }
    }
    reg::InstallTree(std::move(tree));
    return true;
}

}  // namespace winsim

// The transcript of one simulated run.
#include "winsim/transcript.h"

#include <cstdio>

#include "winsim/machine.h"

namespace winsim {
namespace {

std::vector<std::string> g_lines;
ResetHook g_reset([] { g_lines.clear(); });

}  // namespace

void Record(const std::string& line) { g_lines.push_back(line); }

const std::vector<std::string>& Transcript() { return g_lines; }

std::string TranscriptText() {
    std::string text;
    for (const auto& line : g_lines) text += line + "\n";
    return text;
}

std::vector<std::string> TranscriptLines(const std::string& prefix) {
    std::vector<std::string> lines;
    for (const auto& line : g_lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
    }
    return lines;
}

std::string Quote(const std::string& text) {
    std::string quoted = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '\n': quoted += "\\n"; break;
            case '\r': quoted += "\\r"; break;
            case '\t': quoted += "\\t"; break;
            case '\\': quoted += "\\\\"; break;
            case '"': quoted += "\\\""; break;
            default:
                if (c < 32) {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\x%02X", c);
                    quoted += hex;
                } else {
                    quoted += static_cast<char>(c);
                }
        }
    }
    return quoted + "\"";
}

}  // namespace winsim

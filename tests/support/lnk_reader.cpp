#include "lnk_reader.h"

#include <cstdint>

namespace {

struct Reader {
    const std::string& bytes;
    size_t pos = 0;
    bool ok = true;

    uint32_t U16(size_t at) const {
        return static_cast<uint8_t>(bytes[at]) | (static_cast<uint8_t>(bytes[at + 1]) << 8);
    }
    uint32_t U32(size_t at) const { return U16(at) | (U16(at + 2) << 16); }
    bool Has(size_t at, size_t count) const { return at <= bytes.size() && count <= bytes.size() - at; }

    std::string CString(size_t at) {
        std::string text;
        while (Has(at, 1) && bytes[at] != '\0') text += bytes[at++];
        if (!Has(at, 1)) ok = false;
        return text;
    }

    std::string Counted(bool unicode) {
        if (!Has(pos, 2)) {
            ok = false;
            return {};
        }
        uint32_t count = U16(pos);
        pos += 2;
        size_t size = count * (unicode ? 2 : 1);
        if (!Has(pos, size)) {
            ok = false;
            return {};
        }
        std::string text;
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t c = unicode ? U16(pos + 2 * i) : static_cast<uint8_t>(bytes[pos + i]);
            text += c < 256 ? static_cast<char>(c) : '?';
        }
        pos += size;
        return text;
    }
};

}  // namespace

std::optional<LinkContents> ParseLink(const std::string& bytes) {
    Reader r{bytes};
    if (!r.Has(0, 0x4C) || r.U32(0) != 0x4C) return std::nullopt;
    LinkContents link;
    const uint32_t flags = r.U32(0x14);
    link.iconIndex = static_cast<int>(r.U32(0x38));
    link.showCommand = static_cast<int>(r.U32(0x3C));
    r.pos = 0x4C;
    if (flags & 0x01) {  // an id list: skipped
        if (!r.Has(r.pos, 2)) return std::nullopt;
        r.pos += 2 + r.U16(r.pos);
    }
    if (flags & 0x02) {  // link info
        if (!r.Has(r.pos, 0x1C)) return std::nullopt;
        const size_t start = r.pos;
        const uint32_t size = r.U32(start);
        const uint32_t infoFlags = r.U32(start + 8);
        if (!r.Has(start, size)) return std::nullopt;
        if (infoFlags & 1) link.target = r.CString(start + r.U32(start + 16));
        r.pos = start + size;
    }
    const bool unicode = (flags & 0x80) != 0;
    if (flags & 0x04) link.description = r.Counted(unicode);
    if (flags & 0x08) link.relativePath = r.Counted(unicode);
    if (flags & 0x10) link.workingDir = r.Counted(unicode);
    if (flags & 0x20) link.arguments = r.Counted(unicode);
    if (flags & 0x40) link.iconLocation = r.Counted(unicode);
    if (!r.ok) return std::nullopt;
    return link;
}

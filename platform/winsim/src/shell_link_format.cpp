#include "shell_link_format.h"

#include "codepage.h"

namespace winsim {
namespace {

const unsigned char kShellLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                           0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum LinkFlags : unsigned {
    HasLinkInfo = 0x02,
    HasName = 0x04,
    HasRelativePath = 0x08,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
};

void Put16(std::string* out, unsigned value) {
    out->push_back(static_cast<char>(value & 0xFF));
    out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string* out, unsigned value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutCountedString(std::string* out, const std::string& ansi) {
    std::u16string text = AnsiToUtf16(ansi, ActiveCodePage());
    Put16(out, static_cast<unsigned>(text.size()));
    for (char16_t c : text) Put16(out, c);
}

// Link info: a local path on a fixed volume.
std::string LinkInfo(const std::string& target) {
    const std::string label;  // the volume has no label
    std::string volume;
    Put32(&volume, static_cast<unsigned>(16 + label.size() + 1));  // VolumeIDSize
    Put32(&volume, 3);                                             // DRIVE_FIXED
    Put32(&volume, 0x1E5F0A70);                                    // serial number
    Put32(&volume, 16);                                            // label offset
    volume += label;
    volume.push_back('\0');

    const unsigned headerSize = 0x1C;
    const unsigned volumeOffset = headerSize;
    const unsigned basePathOffset = volumeOffset + static_cast<unsigned>(volume.size());
    const unsigned suffixOffset = basePathOffset + static_cast<unsigned>(target.size()) + 1;
    const unsigned totalSize = suffixOffset + 1;

    std::string info;
    Put32(&info, totalSize);
    Put32(&info, headerSize);
    Put32(&info, 1);  // VolumeIDAndLocalBasePath
    Put32(&info, volumeOffset);
    Put32(&info, basePathOffset);
    Put32(&info, 0);  // no network location
    Put32(&info, suffixOffset);
    info += volume;
    info += target;
    info.push_back('\0');
    info.push_back('\0');  // empty common path suffix
    return info;
}

}  // namespace

std::string EncodeShellLink(const ShellLinkData& link) {
    unsigned flags = IsUnicode;
    if (!link.target.empty()) flags |= HasLinkInfo;
    if (!link.description.empty()) flags |= HasName;
    if (!link.workingDir.empty()) flags |= HasWorkingDir;
    if (!link.arguments.empty()) flags |= HasArguments;
    if (!link.iconPath.empty()) flags |= HasIconLocation;

    std::string out;
    Put32(&out, 0x4C);
    out.append(reinterpret_cast<const char*>(kShellLinkClsid), 16);
    Put32(&out, flags);
    Put32(&out, link.targetIsDirectory ? 0x10 : link.targetAttributes);
    for (int i = 0; i < 6; ++i) Put32(&out, 0);  // creation, access and write times
    Put32(&out, link.targetSize);
    Put32(&out, static_cast<unsigned>(link.iconIndex));
    Put32(&out, static_cast<unsigned>(link.showCommand));
    Put16(&out, 0);  // hot key
    Put16(&out, 0);
    Put32(&out, 0);
    Put32(&out, 0);

    if (flags & HasLinkInfo) out += LinkInfo(link.target);
    if (flags & HasName) PutCountedString(&out, link.description);
    if (flags & HasWorkingDir) PutCountedString(&out, link.workingDir);
    if (flags & HasArguments) PutCountedString(&out, link.arguments);
    if (flags & HasIconLocation) PutCountedString(&out, link.iconPath);
    Put32(&out, 0);  // terminal extra-data block
    return out;
}

}  // namespace winsim

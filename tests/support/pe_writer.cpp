// Layout of the files written here (file alignment 0x200, section
// alignment 0x1000):
//   0x000  DOS header and the usual real-mode stub
//   0x080  "PE\0\0", file header, optional header, section table
//   0x200  .text:  the entry point; for a program also its import of
//                  KERNEL32!ExitProcess
//          .rsrc:  type -> name -> language directories, one data entry
//          .reloc: (DLLs) one empty block, so the DLL may be loaded anywhere
//          overlay bytes, if asked for
// The checksum field holds the image checksum, as the linker writes it.
#include "pe_writer.h"

namespace pe {
namespace {

const uint32_t kFileAlignment = 0x200;
const uint32_t kSectionAlignment = 0x1000;

uint32_t AlignUp(uint32_t value, uint32_t alignment) { return (value + alignment - 1) / alignment * alignment; }

void Put16(std::string* out, std::size_t at, uint16_t value) {
    (*out)[at] = static_cast<char>(value & 0xFF);
    (*out)[at + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string* out, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) (*out)[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void Put64(std::string* out, std::size_t at, uint64_t value) {
    Put32(out, at, static_cast<uint32_t>(value));
    Put32(out, at + 4, static_cast<uint32_t>(value >> 32));
}

void Append16(std::string* out, uint16_t value) {
    out->push_back(static_cast<char>(value & 0xFF));
    out->push_back(static_cast<char>(value >> 8));
}

void Append32(std::string* out, uint32_t value) {
    Append16(out, static_cast<uint16_t>(value & 0xFFFF));
    Append16(out, static_cast<uint16_t>(value >> 16));
}

void PadTo4(std::string* out) {
    while (out->size() % 4) out->push_back('\0');
}

void AppendWide(std::string* out, const std::string& text) {
    for (unsigned char c : text) Append16(out, c);
    Append16(out, 0);
}

// One node of the version tree: header, key, value, children, each part
// starting on a 4-byte boundary.
std::string VersionNode(const std::string& key, const std::string& value, uint16_t valueLength, bool text,
                        const std::vector<std::string>& children) {
    std::string node(6, '\0');
    AppendWide(&node, key);
    PadTo4(&node);
    node += value;
    for (const auto& child : children) {
        PadTo4(&node);
        node += child;
    }
    Put16(&node, 0, static_cast<uint16_t>(node.size()));
    Put16(&node, 2, valueLength);
    Put16(&node, 4, text ? 1 : 0);
    return node;
}

std::string FixedFileInfo(const VersionResource& version) {
    const Version& product = version.product ? *version.product : version.file;
    std::string info;
    Append32(&info, 0xFEEF04BD);  // signature
    Append32(&info, 0x00010000);  // structure version
    Append32(&info, (static_cast<uint32_t>(version.file[0]) << 16) | version.file[1]);
    Append32(&info, (static_cast<uint32_t>(version.file[2]) << 16) | version.file[3]);
    Append32(&info, (static_cast<uint32_t>(product[0]) << 16) | product[1]);
    Append32(&info, (static_cast<uint32_t>(product[2]) << 16) | product[3]);
    Append32(&info, 0x3F);                     // flags mask
    Append32(&info, 0);                        // flags
    Append32(&info, 0x00040004);               // VOS_NT_WINDOWS32
    Append32(&info, version.dll ? 2 : 1);      // VFT_DLL or VFT_APP
    Append32(&info, 0);                        // subtype
    Append32(&info, 0);                        // date
    Append32(&info, 0);
    return info;
}

uint32_t Next(uint32_t* state) {
    // xorshift32: the same bytes on every host.
    uint32_t x = *state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return *state = x;
}

// The resource section at `rva`: one resource of `type`, name 1.
std::string ResourceSection(uint32_t rva, uint16_t type, uint16_t language, const std::string& data) {
    std::string section;
    auto directory = [&](uint32_t id, uint32_t offset) {
        Append32(&section, 0);  // characteristics
        Append32(&section, 0);  // time stamp
        Append32(&section, 0);  // version
        Append16(&section, 0);  // named entries
        Append16(&section, 1);  // id entries
        Append32(&section, id);
        Append32(&section, offset);
    };
    directory(type, 0x80000000u | 0x18);
    directory(1, 0x80000000u | 0x30);
    directory(language, 0x48);
    Append32(&section, rva + 0x58);  // data entry: data's address, size, code page
    Append32(&section, static_cast<uint32_t>(data.size()));
    Append32(&section, 0);
    Append32(&section, 0);
    section += data;
    return section;
}

// Entry point code and, for a program, its import of ExitProcess; the
// offsets of the import directory and the address table within .text.
struct Text {
    std::string bytes;
    uint32_t imports = 0;  // 0: none
    uint32_t addressTable = 0;
    uint32_t addressTableSize = 0;
};

Text TextSection(const Options& options, uint32_t rva, uint64_t imageBase) {
    Text text;
    if (options.dll) {
        // DllMain: return TRUE.
        text.bytes = options.pe32plus ? std::string("\xB8\x01\x00\x00\x00\xC3", 6)
                                      : std::string("\xB8\x01\x00\x00\x00\xC2\x0C\x00", 8);
        return text;
    }
    // The program's import table, after 16 bytes of code.
    const uint32_t thunk = options.pe32plus ? 8 : 4;
    const uint32_t descriptors = rva + 0x10;
    const uint32_t lookup = descriptors + 40;
    const uint32_t address = lookup + 2 * thunk;
    const uint32_t hintName = address + 2 * thunk;
    const uint32_t dllName = hintName + 14;
    if (options.pe32plus) {
        // sub rsp,28h; xor ecx,ecx; call [rip+disp32]
        text.bytes = std::string("\x48\x83\xEC\x28\x33\xC9\xFF\x15", 8);
        Append32(&text.bytes, address - (rva + 12));
    } else {
        // push 0; call [ExitProcess]
        text.bytes = std::string("\x6A\x00\xFF\x15", 4);
        Append32(&text.bytes, static_cast<uint32_t>(imageBase) + address);
    }
    while (text.bytes.size() < 0x10) text.bytes.push_back('\xCC');
    // Import descriptor for KERNEL32.dll, then the closing empty one.
    Append32(&text.bytes, lookup);
    Append32(&text.bytes, 0);
    Append32(&text.bytes, 0);
    Append32(&text.bytes, dllName);
    Append32(&text.bytes, address);
    text.bytes.append(20, '\0');
    for (int table = 0; table < 2; ++table) {  // lookup table, then address table
        Append32(&text.bytes, hintName);
        text.bytes.append(thunk - 4, '\0');
        text.bytes.append(thunk, '\0');
    }
    Append16(&text.bytes, 0);  // hint
    text.bytes += std::string("ExitProcess\0", 12);
    text.bytes += std::string("KERNEL32.dll\0", 13);
    text.imports = descriptors;
    text.addressTable = address;
    text.addressTableSize = 2 * thunk;
    return text;
}

uint32_t Checksum(const std::string& image, std::size_t checksumAt) {
    uint64_t sum = 0;
    for (std::size_t i = 0; i < image.size(); i += 2) {
        if (i == checksumAt || i == checksumAt + 2) continue;
        uint32_t word = static_cast<unsigned char>(image[i]);
        if (i + 1 < image.size()) word |= static_cast<uint32_t>(static_cast<unsigned char>(image[i + 1])) << 8;
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum) + static_cast<uint32_t>(image.size());
}

struct Section {
    const char* name;
    std::string data;
    uint32_t characteristics;
    uint32_t rva = 0;
    uint32_t rawOffset = 0;
};

}  // namespace

std::string FillerBytes(std::size_t count, uint32_t seed) {
    std::string bytes(count, '\0');
    uint32_t state = seed == 0 ? 0x9E3779B9u : seed;
    for (std::size_t i = 0; i < count; i += 4) {
        const uint32_t value = Next(&state);
        for (std::size_t j = 0; j < 4 && i + j < count; ++j) bytes[i + j] = static_cast<char>(value >> (8 * j));
    }
    return bytes;
}

std::string BuildVersionResource(const VersionResource& version) {
    std::vector<std::string> children;
    if (!version.strings.empty()) {
        std::vector<std::string> strings;
        for (const auto& entry : version.strings) {
            std::string value;
            AppendWide(&value, entry.second);
            strings.push_back(
                VersionNode(entry.first, value, static_cast<uint16_t>(entry.second.size() + 1), true, {}));
        }
        children.push_back(
            VersionNode("StringFileInfo", "", 0, true, {VersionNode(version.table, "", 0, true, strings)}));
    }
    if (version.translation) {
        std::string pair;
        Append16(&pair, version.translationLanguage);
        Append16(&pair, version.translationCodePage);
        children.push_back(VersionNode("VarFileInfo", "", 0, true, {VersionNode("Translation", pair, 4, false, {})}));
    }
    const std::string fixed = version.fixedInfo ? FixedFileInfo(version) : std::string();
    return VersionNode("VS_VERSION_INFO", fixed, static_cast<uint16_t>(fixed.size()), false, children);
}

std::string BuildImage(const Options& options) {
    const bool wide = options.pe32plus;
    const uint64_t imageBase = wide ? (options.dll ? 0x180000000ull : 0x140000000ull)
                                    : (options.dll ? 0x10000000ull : 0x00400000ull);
    const uint32_t optionalSize = wide ? 240 : 224;
    std::vector<Section> sections;
    sections.push_back({".text", "", options.dll ? 0x60000020u : 0xE0000020u});
    Text text = TextSection(options, kSectionAlignment, imageBase);
    sections[0].data = text.bytes;
    const bool resources = options.version.has_value() || options.resourceSection;
    if (resources) sections.push_back({".rsrc", "", 0x40000040u});
    if (options.dll) {
        std::string reloc;
        Append32(&reloc, kSectionAlignment);  // the page of .text, no fix-ups in it
        Append32(&reloc, 12);
        Append32(&reloc, 0);
        sections.push_back({".reloc", reloc, 0x42000040u});
    }
    // Addresses and file offsets.
    const uint32_t headersEnd = 0x80 + 4 + 20 + optionalSize + 40 * static_cast<uint32_t>(sections.size());
    const uint32_t headersSize = AlignUp(headersEnd, kFileAlignment);
    uint32_t rva = kSectionAlignment, raw = headersSize;
    for (auto& section : sections) {
        section.rva = rva;
        if (std::string(section.name) == ".rsrc") {
            section.data = options.version
                               ? ResourceSection(rva, 16, options.resourceLanguage, BuildVersionResource(*options.version))
                               : ResourceSection(rva, 10, options.resourceLanguage, std::string("\0\0\0\0", 4));
        }
        section.rawOffset = raw;
        rva += AlignUp(static_cast<uint32_t>(section.data.size()), kSectionAlignment);
        raw += AlignUp(static_cast<uint32_t>(section.data.size()), kFileAlignment);
    }
    const uint32_t imageSize = rva;
    std::string image(raw, '\0');

    // DOS header and stub.
    const unsigned char dosHeader[] = {0x4D, 0x5A, 0x90, 0x00, 0x03, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00,
                                       0x00, 0xFF, 0xFF, 0x00, 0x00, 0xB8, 0x00, 0x00, 0x00, 0x00, 0x00,
                                       0x00, 0x00, 0x40, 0x00, 0x00, 0x00};
    image.replace(0, sizeof dosHeader, reinterpret_cast<const char*>(dosHeader), sizeof dosHeader);
    Put32(&image, 0x3C, 0x80);
    const std::string stub = std::string("\x0E\x1F\xBA\x0E\x00\xB4\x09\xCD\x21\xB8\x01\x4C\xCD\x21", 14) +
                             "This program cannot be run in DOS mode.\r\r\n$";
    image.replace(0x40, stub.size(), stub);

    // PE signature and file header.
    const std::size_t fileHeader = 0x84;
    image.replace(0x80, 4, std::string("PE\0\0", 4));
    Put16(&image, fileHeader, wide ? 0x8664 : 0x014C);
    Put16(&image, fileHeader + 2, static_cast<uint16_t>(sections.size()));
    Put16(&image, fileHeader + 16, static_cast<uint16_t>(optionalSize));
    uint16_t characteristics = 0x0002 | 0x0004 | 0x0008;  // executable, no line numbers or symbols
    characteristics |= wide ? 0x0020 : 0x0100;           // large addresses / 32-bit machine
    if (options.dll) {
        characteristics |= 0x2000;
    } else {
        characteristics |= 0x0001;  // a program stays at its base: no relocations
    }
    Put16(&image, fileHeader + 18, characteristics);

    // Optional header.
    const std::size_t opt = fileHeader + 20;
    uint32_t codeSize = 0, dataSize = 0;
    for (const auto& section : sections) {
        (section.characteristics & 0x20 ? codeSize : dataSize) += AlignUp(static_cast<uint32_t>(section.data.size()), kFileAlignment);
    }
    Put16(&image, opt, wide ? 0x20B : 0x10B);
    image[opt + 2] = 6;  // linker version
    Put32(&image, opt + 4, codeSize);
    Put32(&image, opt + 8, dataSize);
    Put32(&image, opt + 16, sections[0].rva);  // entry point
    Put32(&image, opt + 20, sections[0].rva);  // base of code
    if (wide) {
        Put64(&image, opt + 24, imageBase);
    } else {
        Put32(&image, opt + 24, sections.size() > 1 ? sections[1].rva : sections[0].rva);  // base of data
        Put32(&image, opt + 28, static_cast<uint32_t>(imageBase));
    }
    Put32(&image, opt + 32, kSectionAlignment);
    Put32(&image, opt + 36, kFileAlignment);
    Put16(&image, opt + 40, wide ? 5 : 4);  // operating system version
    Put16(&image, opt + 42, wide ? 2 : 0);
    Put16(&image, opt + 48, wide ? 5 : 4);  // subsystem version
    Put16(&image, opt + 50, wide ? 2 : 0);
    Put32(&image, opt + 56, imageSize);
    Put32(&image, opt + 60, headersSize);
    Put16(&image, opt + 68, 2);  // Windows GUI
    const std::size_t directories = wide ? opt + 112 : opt + 96;
    if (wide) {
        Put64(&image, opt + 72, 0x100000);
        Put64(&image, opt + 80, 0x1000);
        Put64(&image, opt + 88, 0x100000);
        Put64(&image, opt + 96, 0x1000);
        Put32(&image, opt + 108, 16);
    } else {
        Put32(&image, opt + 72, 0x100000);
        Put32(&image, opt + 76, 0x1000);
        Put32(&image, opt + 80, 0x100000);
        Put32(&image, opt + 84, 0x1000);
        Put32(&image, opt + 92, 16);
    }
    auto directory = [&](int index, uint32_t address, uint32_t size) {
        Put32(&image, directories + 8 * index, address);
        Put32(&image, directories + 8 * index + 4, size);
    };
    if (text.imports) {
        directory(1, text.imports, 40);
        directory(12, text.addressTable, text.addressTableSize);
    }
    for (const auto& section : sections) {
        const std::string name = section.name;
        if (name == ".rsrc") directory(2, section.rva, static_cast<uint32_t>(section.data.size()));
        if (name == ".reloc") directory(5, section.rva, static_cast<uint32_t>(section.data.size()));
    }

    // Section table and section data.
    std::size_t header = opt + optionalSize;
    for (const auto& section : sections) {
        image.replace(header, std::string(section.name).size(), section.name);
        Put32(&image, header + 8, static_cast<uint32_t>(section.data.size()));
        Put32(&image, header + 12, section.rva);
        Put32(&image, header + 16, AlignUp(static_cast<uint32_t>(section.data.size()), kFileAlignment));
        Put32(&image, header + 20, section.rawOffset);
        Put32(&image, header + 36, section.characteristics);
        image.replace(section.rawOffset, section.data.size(), section.data);
        header += 40;
    }
    image += FillerBytes(options.overlayBytes, options.overlaySeed);
    Put32(&image, opt + 64, Checksum(image, opt + 64));
    return image;
}

}  // namespace pe

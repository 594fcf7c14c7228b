// winsim's reader of PE images (headers, imports, the resource list) on
// files of the PE writer, whole and cut short: what it gives, and that it
// never reads past the bytes it has. The shipped Install.EXE is read with
// it in tests/shipped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pe_writer.h"
#include "winsim/pe_image.h"

namespace {

pe::Options WithVersion(bool pe32plus) {
    pe::Options options;
    options.pe32plus = pe32plus;
    pe::VersionResource version;
    version.file = {4, 6, 0, 1};
    version.strings = {{"FileDescription", "Module"}};
    options.version = version;
    options.resourceLanguage = 0x040C;
    return options;
}

TEST(PeImageTest, HeadersAndTheResourceListOfAWrittenImage) {
    for (bool pe32plus : {false, true}) {
        SCOPED_TRACE(pe32plus ? "PE32+" : "PE32");
        const pe::Options options = WithVersion(pe32plus);
        const std::string image = pe::BuildImage(options);
        winsim::PeHeaders headers;
        ASSERT_TRUE(winsim::ReadPeHeaders(image, &headers));
        EXPECT_EQ(headers.pe32plus, pe32plus);
        EXPECT_FALSE(headers.sections.empty());
        std::vector<winsim::PeResourceEntry> resources;
        ASSERT_TRUE(winsim::ListPeResources(image, &resources));
        ASSERT_EQ(resources.size(), 1u);
        EXPECT_EQ(resources[0].type.id, 16);  // RT_VERSION
        EXPECT_EQ(resources[0].name.id, 1);
        EXPECT_EQ(resources[0].language, 0x040C);
        EXPECT_EQ(image.substr(resources[0].data.offset, resources[0].data.size),
                  pe::BuildVersionResource(*options.version));
        // The writer's program imports ExitProcess; its DLL nothing.
        std::vector<winsim::PeImportedDll> imports;
        ASSERT_TRUE(winsim::ReadPeImports(image, &imports));
        ASSERT_EQ(imports.size(), 1u);
        EXPECT_EQ(imports[0].name, "KERNEL32.dll");
        EXPECT_EQ(imports[0].functions, std::vector<std::string>{"ExitProcess"});
        EXPECT_TRUE(imports[0].ordinals.empty());
        pe::Options dll = options;
        dll.dll = true;
        ASSERT_TRUE(winsim::ReadPeImports(pe::BuildImage(dll), &imports));
        EXPECT_TRUE(imports.empty());
    }
}

TEST(PeImageTest, NotAnImageAndNoResourceSection) {
    std::vector<winsim::PeResourceEntry> resources;
    winsim::PeHeaders headers;
    for (const std::string& bytes : {std::string(), std::string("MZ"), std::string(4096, '\0')}) {
        EXPECT_FALSE(winsim::ReadPeHeaders(bytes, &headers));
        EXPECT_FALSE(winsim::ListPeResources(bytes, &resources));
    }
    pe::Options options;
    options.resourceSection = false;
    EXPECT_FALSE(winsim::ListPeResources(pe::BuildImage(options), &resources));
}

// Every shorter file: each reader answers (true or false) from the bytes it
// has; AddressSanitizer reports any read past them (each cut is its own
// allocation of exactly its size).
TEST(PeImageTest, ImagesCutShortAreReadWithinTheirBytes) {
    const std::string image = pe::BuildImage(WithVersion(false));
    for (std::size_t length = 0; length < image.size(); ++length) {
        std::vector<char> exact(image.begin(), image.begin() + length);
        const std::string cut(exact.begin(), exact.end());
        winsim::PeHeaders headers;
        std::vector<winsim::PeResourceEntry> resources;
        std::vector<winsim::PeImportedDll> imports;
        winsim::PeResource found;
        winsim::ReadPeHeaders(cut, &headers);
        if (winsim::ListPeResources(cut, &resources)) {
            for (const auto& r : resources) EXPECT_LE(r.data.offset + r.data.size, cut.size()) << length;
        }
        winsim::ReadPeImports(cut, &imports);
        if (winsim::FindPeResource(cut, 16, 1, 0x0409, &found) == 0) {
            EXPECT_LE(found.offset + found.size, cut.size()) << length;
        }
    }
}

}  // namespace

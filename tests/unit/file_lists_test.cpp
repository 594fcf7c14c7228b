// The file lists: names, order and count, against the distribution the
// publisher ships (written out independently in the fixture).
#include <gtest/gtest.h>

#include "distribution.h"
#include "install/file_lists.h"

namespace {

std::vector<std::string> Names(const char* list) {
    std::vector<std::string> names;
    for (const char* name = list; *name != '\0'; name = NextName(name)) names.push_back(name);
    return names;
}

TEST(FileListsTest, NamesInTheirOrder) {
    EXPECT_EQ(Names(g_szSystemDlls), distribution::kSystemDlls);
    EXPECT_EQ(Names(g_szAppFiles), distribution::kAppFiles);
    EXPECT_EQ(CountNames(g_szSystemDlls) + CountNames(g_szAppFiles), 57);
    EXPECT_STREQ(g_szEditorExe, "Quorlet.exe");
    EXPECT_STREQ(g_szUninstallerExe, "Remvex.exe");
    EXPECT_STREQ(g_szUninstallerName, "Remvex000.exe");
    EXPECT_EQ(sizeof(g_szUninstallerName), 14u);
}

TEST(FileListsTest, AnEmptyListCountsNothing) {
    EXPECT_EQ(CountNames(""), 0);
    EXPECT_EQ(CountNames("a\0"), 1);
    EXPECT_EQ(CountNames("a\0bc\0"), 2);
}

}  // namespace

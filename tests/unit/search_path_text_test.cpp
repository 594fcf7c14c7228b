// Reading search paths: entries of a path value, the PATH assignment of a
// batch file and its line end.
#include <gtest/gtest.h>

#include <string>

#include "register/path_text.h"
#include "test_machine.h"

namespace {

TEST(PathValueHoldsTest, Cases) {
    TestMachine machine;
    const char* folder = "C:\\Program Files\\Quorlet V4.06";
    struct Case {
        std::string value;
        bool holds;
    } cases[] = {
        {"C:\\WINNT\\system32;C:\\Program Files\\Quorlet V4.06", true},
        {"c:\\program files\\QUORLET v4.06;C:\\WINNT", true},
        {"C:\\WINNT;C:\\Program Files\\Quorlet V4.06\\;", true},
        {"C:\\WINNT;\"C:\\Program Files\\Quorlet V4.06\";D:\\x", true},
        {"C:\\Program Files\\Quorlet V4.06 Beta;C:\\WINNT", false},
        {"C:\\Program Files\\Quorlet V4.06x", false},
        {"C:\\Program Files\\Quorlet", false},
        {"X;C:\\Program Files\\Quorlet V4.06;;", true},
        {"", false},
        {";", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathValueHolds(c.value.c_str(), static_cast<int>(c.value.size()), folder), c.holds) << c.value;
    }
    EXPECT_TRUE(PathValueHolds("D:\\;C:\\", 7, "C:\\")) << "a drive root keeps its backslash";
    EXPECT_TRUE(PathValueHolds("C:\\Apps", 7, "C:\\Apps\\")) << "the destination's own trailing backslash";
}

TEST(FindPathAssignmentTest, Cases) {
    TestMachine machine;
    struct Case {
        std::string text;
        int position;
    } cases[] = {
        {"PATH=C:\\DOS\r\n", 0},
        {"path=C:\\DOS\r\n", 0},
        {"@ECHO OFF\r\nSET PATH=C:\\DOS\r\n", 15},
        {"@ECHO OFF\r\nset\tpath=C:\\DOS\r\n", 15},
        {"  PATH=C:\\DOS", 2},
        {"SET CLASSPATH=C:\\JAVA\r\nPATH=C:\\DOS\r\n", 23},
        {"SET CLASSPATH=C:\\JAVA\r\n", -1},
        {"REM PATH=C:\\OLD\r\nPATH=C:\\DOS\r\n", 17},
        {"SETPATH=C:\\X\r\n", -1},
        {"PATH C:\\DOS\r\n", -1},
        {"echo x\nPATH=C:\\DOS\n", 7},
        {"PATH", -1},
        {"", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindPathAssignment(c.text.data(), static_cast<int>(c.text.size())), c.position) << c.text;
    }
}

TEST(FindLineEndTest, Cases) {
    struct Case {
        std::string text;
        int from;
        int end;
    } cases[] = {
        {"PATH=A\r\nX", 0, 6},
        {"PATH=A\nX", 0, 6},
        {"PATH=A", 0, 6},
        {"X\r\nPATH=\r\n", 3, 8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindLineEnd(c.text.data(), static_cast<int>(c.text.size()), c.from), c.end) << c.text;
    }
}

}  // namespace

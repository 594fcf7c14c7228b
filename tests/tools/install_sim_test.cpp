// install-sim: its answer file, its machine folder, and the command itself.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "answers.h"
#include "machine_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(AnswersTest, ParsesWindowsAndActions) {
    std::vector<Answer> answers;
    std::string error;
    ASSERT_TRUE(ParseAnswers("# comment\n\ndestination: browse \"D:\\My Apps, old\", next\r\n"
                             "FileTypes: type \"c cpp\", Yes\nrestart: later, ok\nmessage: ok\n",
                             &answers, &error))
        << error;
    ASSERT_EQ(answers.size(), 4u);
    EXPECT_EQ(answers[0].window, "destination");
    ASSERT_EQ(answers[0].actions.size(), 2u);
    EXPECT_EQ(answers[0].actions[0].verb, "browse");
    EXPECT_EQ(answers[0].actions[0].text, "D:\\My Apps, old");
    EXPECT_EQ(answers[1].window, "filetypes");
    EXPECT_EQ(answers[1].actions[1].verb, "yes");
    EXPECT_EQ(answers[2].line, 5);
}

TEST(AnswersTest, MalformedLinesAreNamed) {
    const std::map<std::string, std::string> cases = {
        {"destination next\n", "line 1: expected"},
        {"\nwizard: next\n", "line 2: unknown window \"wizard\""},
        {"restart: yes\n", "line 1: \"yes\" is not an action of the restart window"},
        {"filetypes: type c cpp, yes\n", "line 1: \"type\" needs a text"},
        {"destination: browse \"D:\\x, next\n", "line 1: a double quote is not closed"},
        {"message: ok,\n", "line 1: an empty action"},
        {"destination: next now\n", "line 1: \"next\" takes nothing after it"},
    };
    for (const auto& c : cases) {
        std::vector<Answer> answers;
        std::string error;
        EXPECT_FALSE(ParseAnswers(c.first, &answers, &error)) << c.first;
        EXPECT_EQ(error.compare(0, c.second.size(), c.second), 0) << c.first << " gave: " << error;
    }
}

// A scratch folder for a machine.
class InstallSimTest : public ::testing::Test {
protected:
    std::string dir;

    void SetUp() override {
        char pattern[] = "/tmp/install-sim-XXXXXX";
        dir = mkdtemp(pattern);
        fs::remove(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    static int Run(const std::string& command, std::string* output = nullptr) {
        const std::string file = "/tmp/install-sim-output.txt";
        int status = std::system((command + " >" + file + " 2>&1").c_str());
        if (output) {
            std::ifstream in(file);
            std::ostringstream text;
            text << in.rdbuf();
            *output = text.str();
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    void MakeMachine(const std::string& options = "") {
        ASSERT_EQ(Run(std::string(MAKE_SAMPLE_MACHINE) + " " + dir + " " + options), 0);
    }

    // Every file of the folder with its content, to prove nothing changed.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream content;
            content << in.rdbuf();
            files[entry.path().string()] = entry.is_regular_file() ? content.str() : "<folder>";
        }
        return files;
    }

    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(dir + "/" + name, std::ios::binary) << text;
    }
};

TEST_F(InstallSimTest, RunsTheInstallationAndSavesTheMachine) {
    MakeMachine();
    std::string output;
    EXPECT_EQ(Run(std::string(INSTALL_SIM) + " " + dir + " --restart", &output), 0) << output;
    EXPECT_NE(output.find("dialog open id=257 language=0x0409 caption=\"Quorlet installation\""), std::string::npos);
    EXPECT_NE(output.find("exitwindows reboot flags=2"), std::string::npos);
    EXPECT_NE(output.find("restart windows=nt"), std::string::npos) << output;
    EXPECT_TRUE(fs::exists(dir + "/drives/c/Program Files/Quorlet V4.06/Quorlet.exe"));
    std::ifstream registry(dir + "/registry.reg");
    std::ostringstream text;
    text << registry.rdbuf();
    EXPECT_NE(text.str().find("\"UninstallString\"=\"C:\\\\WINNT\\\\Remvex406.exe /Quorlet V4.06 /C:\\\\Program Files\\\\Quorlet V4.06\""),
              std::string::npos);
    EXPECT_NE(text.str().find("\"Path\"=hex(2):"), std::string::npos) << "Path keeps its type";
}

TEST_F(InstallSimTest, AnswerFileDrivesTheWindows) {
    MakeMachine("--platform 98 --language 0x0410");
    Write("answers.txt", "destination: next\nfiletypes: no\nrestart: later, ok\n");
    std::string output;
    EXPECT_EQ(Run(std::string(INSTALL_SIM) + " " + dir + " --answers " + dir + "/answers.txt", &output), 0) << output;
    EXPECT_NE(output.find("caption=\"Installazione di Quorlet\""), std::string::npos);
    EXPECT_NE(output.find("dialog end id=260 result=2"), std::string::npos);
    EXPECT_EQ(output.find("exitwindows"), std::string::npos);
}

TEST_F(InstallSimTest, AnAnswerForAnotherWindowIsReported) {
    MakeMachine();
    Write("answers.txt", "filetypes: yes\n");
    std::string output;
    EXPECT_EQ(Run(std::string(INSTALL_SIM) + " " + dir + " --answers " + dir + "/answers.txt", &output), 3);
    EXPECT_NE(output.find("answer file line 1 is for the filetypes window, but the destination window opened"),
              std::string::npos)
        << output;
}

TEST_F(InstallSimTest, AMalformedFolderChangesNothing) {
    struct Case {
        const char* file;
        std::string content;
        std::string message;
    } cases[] = {
        {"machine.ini", "[machine]\nplatform = nt5\n", "machine.ini, line 2: platform must be"},
        {"machine.ini", "[machine]\nlanguage = French\n", "machine.ini, line 2: language must be"},
        {"machine.ini", "[machine]\nspeed = fast\n", "machine.ini, line 2: unknown key \"speed\""},
        {"machine.ini", "platform = nt4\n", "machine.ini, line 1: a setting outside the [machine] section"},
        {"machine.ini", "[machine]\nwindows = E:\\WINNT\n", "E:\\WINNT is on a drive that has no folder"},
        {"machine.ini", "[machine]\nwindows = WINNT\n", "windows must be a full Windows path"},
        {"registry.reg", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software]\n\"x\"=dword:zz\n", "registry.reg: line 4"},
        {"answers.txt", "wizard: next\n", "answers.txt, line 1: unknown window"},
    };
    for (const auto& c : cases) {
        MakeMachine();
        Write("answers.txt", "destination: next\n");
        Write(c.file, c.content);
        const auto before = Snapshot();
        std::string output;
        EXPECT_EQ(Run(std::string(INSTALL_SIM) + " " + dir + " --answers " + dir + "/answers.txt", &output), 2)
            << c.content;
        EXPECT_NE(output.find(c.message), std::string::npos) << "expected: " << c.message << "\ngot: " << output;
        EXPECT_EQ(Snapshot(), before) << c.content;
        fs::remove_all(dir);
    }
    EXPECT_EQ(Run(std::string(INSTALL_SIM) + " /tmp/no-such-machine-here"), 2);
    EXPECT_EQ(Run(std::string(INSTALL_SIM)), 2);
}

}  // namespace

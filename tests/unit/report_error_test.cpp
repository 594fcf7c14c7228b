// The installer's error reports and its message boxes by string id, as the
// user sees them: one message box with the application title as caption.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/install_app.h"
#include "installer_strings.h"
#include "test_machine.h"
#include "winsim/faults.h"
#include "winsim/memory.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

const char* const kEnvironmentKey = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";

LANGID LanguageId(Language language) {
    const LANGID ids[] = {0x0409, 0x040C, 0x0410};
    return ids[language];
}

// The one message box the step showed, as the transcript records it.
std::string OnlyMessageBox() {
    std::vector<std::string> boxes = winsim::TranscriptLines("messagebox");
    EXPECT_EQ(boxes.size(), 1u) << winsim::TranscriptText();
    return boxes.empty() ? std::string() : boxes[0];
}

std::string ExpectedBox(const char* icon, const std::string& text) {
    return std::string("messagebox caption=\"Install\" icon=") + icon +
           " buttons=0 owner=none text=" + winsim::Quote(text);
}

// A machine in one language with the application object started as the
// framework starts it, without the run.
class ReportErrorTest : public ::testing::Test {
protected:
    void Start(Language language) {
        TearDown();  // the machine before goes first: a new one starts from a reset
        machine_.reset(new TestMachine(winsim::Platform::NT4, LanguageId(language)));
        winsim::ExpectMessageBox();  // each case shows one
        app_.reset(new CInstallApp);
        ASSERT_TRUE(AfxWinInit(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_SHOWNORMAL));
    }
    void TearDown() override {
        app_.reset();
        machine_.reset();
    }

    std::unique_ptr<TestMachine> machine_;
    std::unique_ptr<CInstallApp> app_;
};

TEST_F(ReportErrorTest, TheMessageCarriesTheArgumentsAndTheSystemText) {
    struct Case {
        Language language;
        UINT id;
        const char* first;
        const char* second;  // NULL: ReportError with one argument
        DWORD error;
        UINT type;
        const char* icon;
        const char* text;  // UTF-8
    } cases[] = {
        {kEnglish, IDS_COPY_FAILED, "D:\\Setup\\Readme.txt", "C:\\Program Files\\Quorlet\\Readme.txt",
         ERROR_FILE_NOT_FOUND, MB_ICONSTOP, "stop",
         "Copying D:\\Setup\\Readme.txt to C:\\Program Files\\Quorlet\\Readme.txt : "
         "The system cannot find the file specified.\r\n"},
        {kFrench, IDS_COPY_FAILED, "D:\\Setup\\Readme.txt", "C:\\Quorlet\\Readme.txt", ERROR_DISK_FULL, MB_ICONSTOP,
         "stop", "Copie de D:\\Setup\\Readme.txt vers C:\\Quorlet\\Readme.txt : Espace insuffisant sur le disque.\r\n"},
        {kItalian, IDS_COPY_FAILED, "D:\\Setup\\Readme.txt", "C:\\Quorlet\\Readme.txt", ERROR_SHARING_VIOLATION,
         MB_ICONSTOP, "stop",
         "Copia di D:\\Setup\\Readme.txt verso C:\\Quorlet\\Readme.txt : "
         "Impossibile accedere al file. Il file è utilizzato da un altro processo.\r\n !"},
        // The advice goes on the line after the system text, opening with a blank.
        {kEnglish, IDS_DLL_ACCESS_DENIED, "C:\\WINNT\\system32\\Mfc42.dll", nullptr, ERROR_ACCESS_DENIED,
         MB_ICONSTOP, "stop",
         "Could not update the C:\\WINNT\\system32\\Mfc42.dll system dll : Access is denied.\r\n"
         " Please give write access rights or logon again as administrator !"},
        {kFrench, IDS_DLL_ACCESS_DENIED, "C:\\WINNT\\system32\\Mfc42.dll", nullptr, ERROR_ACCESS_DENIED,
         MB_ICONSTOP, "stop",
         "Mise à jour de la dll système C:\\WINNT\\system32\\Mfc42.dll impossible : Accès refusé.\r\n"
         " Svp, donnez les droits d'accès ou reconnectez vous sous le compte administrateur !"},
        {kItalian, IDS_DLL_ACCESS_DENIED, "C:\\WINNT\\system32\\Mfc42.dll", nullptr, ERROR_ACCESS_DENIED,
         MB_ICONSTOP, "stop",
         "È impossibile aggiornare la dll systema C:\\WINNT\\system32\\Mfc42.dll : Accesso negato.\r\n"
         " ! Per favore, attribui i diritti di scrittura o riconnetti come amministratore !"},
        {kEnglish, IDS_DLL_UPDATE_FAILED, "C:\\WINNT\\system32\\Msvcrt.dll", nullptr, ERROR_SHARING_VIOLATION,
         MB_ICONSTOP, "stop",
         "Could not update the C:\\WINNT\\system32\\Msvcrt.dll system dll : "
         "The process cannot access the file because it is being used by another process.\r\n"},
        // The same folder text for both icons.
        {kEnglish, IDS_CREATE_DIR, "C:\\Program Files\\Quorlet", nullptr, ERROR_PATH_NOT_FOUND, MB_ICONSTOP, "stop",
         "Could not create directory C:\\Program Files\\Quorlet : The system cannot find the path specified.\r\n"},
        {kEnglish, IDS_CREATE_DIR, "C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs\\Quorlet V4.06", nullptr,
         ERROR_ACCESS_DENIED, MB_ICONINFORMATION, "information",
         "Could not create directory C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs\\Quorlet V4.06 : "
         "Access is denied.\r\n"},
        {kItalian, IDS_WRITE_ERROR, "C:\\WINDOWS\\WININIT.INI", nullptr, ERROR_DISK_FULL, MB_ICONSTOP, "stop",
         "Errore di scrittura sul file C:\\WINDOWS\\WININIT.INI : Spazio insufficiente sul disco.\r\n !"},
        // The key path after the root name; the registry status made the last error.
        {kEnglish, IDS_KEY_ACCESS, kEnvironmentKey, nullptr, ERROR_ACCESS_DENIED, MB_ICONSTOP, "stop",
         "Could not access key  HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\"
         "Environment : Access is denied.\r\n"},
        {kFrench, IDS_KEY_ACCESS, kEnvironmentKey, nullptr, ERROR_FILE_NOT_FOUND, MB_ICONSTOP, "stop",
         "Accès à la clé HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\Environment "
         "impossible : Le fichier spécifié est introuvable.\r\n"},
        // A status without a system text: its number stands in its place.
        {kEnglish, IDS_KEY_ACCESS, kEnvironmentKey, nullptr, 0xFFFFFFFF, MB_ICONSTOP, "stop",
         "Could not access key  HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\"
         "Environment : -1\r\n"},
        {kItalian, IDS_FILE_ACCESS, "D:\\Setup\\Quorlet.exe", nullptr, 0x12345, MB_ICONSTOP, "stop",
         "È impossibile accedere al file D:\\Setup\\Quorlet.exe : 74565\r\n !"},
    };
    for (const auto& c : cases) {
        Start(c.language);
        SCOPED_TRACE(std::string("id ") + std::to_string(c.id) + " language " + std::to_string(c.language));
        int localBlocks = winsim::LiveLocalBlocks();
        SetLastError(c.error);
        if (c.second == nullptr) {
            CInstallApp::ReportError(c.id, c.first, c.type);
        } else {
            CInstallApp::ReportError2(c.id, c.first, c.second, c.type);
        }
        EXPECT_EQ(OnlyMessageBox(), ExpectedBox(c.icon, Ansi(c.text)));
        EXPECT_EQ(winsim::LiveLocalBlocks(), localBlocks) << "the system text is released";
    }
}

TEST_F(ReportErrorTest, ItalianMessagesCloseOnTheLineAfterTheSystemText) {
    for (UINT id : {IDS_DLL_UPDATE_FAILED, IDS_FILE_ACCESS, IDS_WRITE_ERROR, IDS_CREATE_DIR, IDS_CREATE_FILE}) {
        Start(kItalian);
        SetLastError(ERROR_ACCESS_DENIED);
        CInstallApp::ReportError(id, "C:\\x", MB_ICONSTOP);
        std::string expected = Expected(id, kItalian);
        expected.replace(expected.find("%s"), 2, "C:\\x");
        expected.replace(expected.find("%s"), 2, "Accesso negato.\r\n");
        EXPECT_EQ(OnlyMessageBox(), ExpectedBox("stop", expected)) << id;
        EXPECT_EQ(expected.substr(expected.size() - 4), "\r\n !");
    }
}

TEST_F(ReportErrorTest, WithoutMemoryForTheSystemTextTheCodeIsShown) {
    Start(kEnglish);
    winsim::FailCall("LocalAlloc", ERROR_NOT_ENOUGH_MEMORY);
    SetLastError(ERROR_FILE_NOT_FOUND);
    CInstallApp::ReportError(IDS_FILE_ACCESS, "D:\\Setup\\Quorlet.exe", MB_ICONSTOP);
    EXPECT_EQ(OnlyMessageBox(), ExpectedBox("stop", "Could not access file D:\\Setup\\Quorlet.exe : 2\r\n"));
    EXPECT_EQ(winsim::LiveLocalBlocks(), 0);
}

TEST_F(ReportErrorTest, AMessageLongerThan1023CharactersIsCut) {
    Start(kEnglish);
    std::string first(700, 'a');
    std::string second(700, 'b');
    SetLastError(ERROR_FILE_NOT_FOUND);
    CInstallApp::ReportError2(IDS_COPY_FAILED, first.c_str(), second.c_str(), MB_ICONSTOP);
    std::string whole = "Copying " + first + " to " + second + " : The system cannot find the file specified.\r\n";
    EXPECT_EQ(OnlyMessageBox(), ExpectedBox("stop", whole.substr(0, 1023)));
    EXPECT_EQ(winsim::LiveLocalBlocks(), 0);
}

TEST_F(ReportErrorTest, MessagesByIdAreShownAsStored) {
    struct Case {
        UINT id;
        UINT type;
        const char* icon;
    } cases[] = {
        {IDS_NEED_WIN32, MB_ICONSTOP, "stop"},
        {IDS_NO_MEMORY, MB_ICONSTOP, "stop"},
        {IDS_FILES_BUSY, MB_ICONINFORMATION, "information"},
        {IDS_LOGOFF, MB_ICONINFORMATION, "information"},
        {IDS_DONE, MB_ICONINFORMATION, "information"},
    };
    for (Language language : {kEnglish, kFrench, kItalian}) {
        for (const auto& c : cases) {
            Start(language);
            SetLastError(ERROR_ACCESS_DENIED);  // no system text joins these
            AfxMessageBox(c.id, c.type);
            EXPECT_EQ(OnlyMessageBox(), ExpectedBox(c.icon, Expected(c.id, language)))
                << "id " << c.id << " language " << language;
        }
    }
}

}  // namespace

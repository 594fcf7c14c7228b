// The simulated shell link object writes real .lnk files.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include <shlobj.h>

#include "lnk_reader.h"
#include "test_machine.h"
#include "winsim/faults.h"
#include "winsim/filesystem.h"
#include "winsim/shell.h"
#include "winsim/transcript.h"

namespace {

std::u16string Wide(const std::string& text) {
    std::u16string wide;
    for (unsigned char c : text) wide += static_cast<char16_t>(c);
    return wide;
}

HRESULT SaveLink(const std::string& linkPath, const char* target, const char* description, const char* arguments) {
    IShellLinkA* link = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link));
    if (FAILED(hr)) return hr;
    IPersistFile* file = nullptr;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(hr)) hr = link->SetPath(target);
    if (SUCCEEDED(hr)) hr = link->SetDescription(description);
    if (SUCCEEDED(hr)) hr = link->SetArguments(arguments);
    if (SUCCEEDED(hr)) hr = link->SetShowCmd(SW_SHOWNORMAL);
    if (SUCCEEDED(hr)) hr = file->Save(Wide(linkPath).c_str(), TRUE);
    if (file) file->Release();
    link->Release();
    return hr;
}

TEST(WinsimShellLinkTest, SavedLinkReadsBackWithOurReaderAndWithLnkinfo) {
    TestMachine machine;
    winsim::MakeDirectory("C:\\Programs");
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    ASSERT_EQ(SaveLink("C:\\Programs\\D\xE9sinstaller.lnk", "C:\\WINNT\\Remvex406.exe", " Disinstallare",
                       "/Quorlet V4.06 /C:\\Program Files\\Quorlet V4.06"),
              S_OK);
    CoUninitialize();
    EXPECT_EQ(winsim::LiveComObjects(), 0);
    EXPECT_EQ(winsim::ComInitializeDepth(), 0);

    std::string bytes = winsim::ReadFile("C:\\Programs\\D\xE9sinstaller.lnk");
    auto link = ParseLink(bytes);
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->target, "C:\\WINNT\\Remvex406.exe");
    EXPECT_EQ(link->description, " Disinstallare");
    EXPECT_EQ(link->arguments, "/Quorlet V4.06 /C:\\Program Files\\Quorlet V4.06");
    EXPECT_EQ(link->showCommand, SW_SHOWNORMAL);
    EXPECT_EQ(winsim::TranscriptLines("link saved").size(), 1u);

    // A standard tool reads the same file.
    std::string host = winsim::HostPath("C:\\Programs\\D\xE9sinstaller.lnk");
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("lnkinfo '" + host + "' 2>&1").c_str(), "r"), pclose);
    ASSERT_TRUE(pipe);
    std::string output;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
    EXPECT_NE(output.find("C:\\WINNT\\Remvex406.exe"), std::string::npos) << output;
    EXPECT_NE(output.find("/Quorlet V4.06 /C:\\Program Files\\Quorlet V4.06"), std::string::npos) << output;
    EXPECT_NE(output.find("Disinstallare"), std::string::npos) << output;
}

TEST(WinsimShellLinkTest, FailuresComeBackAsHResults) {
    TestMachine machine;
    EXPECT_EQ(SaveLink("C:\\x.lnk", "C:\\t", "d", ""), CO_E_NOTINITIALIZED);
    CoInitialize(nullptr);
    EXPECT_EQ(SaveLink("C:\\Missing\\x.lnk", "C:\\t", "d", ""), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    winsim::DenyAccess("C:\\Locked");
    winsim::MakeDirectory("C:\\Locked");
    EXPECT_EQ(SaveLink("C:\\Locked\\x.lnk", "C:\\t", "d", ""), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    winsim::FailCall("IShellLinkA::SetDescription", static_cast<DWORD>(E_OUTOFMEMORY));
    EXPECT_EQ(SaveLink("C:\\x.lnk", "C:\\t", "d", ""), E_OUTOFMEMORY);
    EXPECT_FALSE(winsim::FileExists("C:\\x.lnk"));
    CoUninitialize();
    EXPECT_EQ(winsim::LiveComObjects(), 0);
}

}  // namespace

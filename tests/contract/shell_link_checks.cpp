// The shell link object as the installer uses it: created through COM, its
// path, arguments, description, icon and show command set, saved through
// IPersistFile under a UTF-16 name; the file read back by the tests' own
// .lnk reader. (The installer never loads a link.)
#include "contract.h"  // <windows.h> before the shell's headers

#include <shlobj.h>
#include <string.h>

#include "fixtures.h"
#include "lnk_reader.h"

namespace contract {
namespace {

struct Link {
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    ~Link() {
        if (file) file->Release();
        if (link) link->Release();
    }
};

std::string WithoutZeros(std::string text) {
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

bool Create(Link* made, const std::string& name) {
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&made->link));
    Check(name + ".CoCreateInstance", SUCCEEDED(hr) && made->link != nullptr, Format("hr 0x%08lX", static_cast<unsigned long>(hr)));
    if (made->link == nullptr) return false;
    hr = made->link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&made->file));
    Check(name + ".QueryInterface_IPersistFile", SUCCEEDED(hr) && made->file != nullptr);
    return made->file != nullptr;
}

void Run() {
    Check("CoInitialize.result", SUCCEEDED(CoInitialize(nullptr)));
    PutFolder(At("links"));
    const std::string target = At("links\\Quorlet.exe");
    PutFile(target, "MZ");
    const std::string linkPath = At("links\\Quorlet editor.lnk");
    WCHAR widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH);

    {
        Link made;
        if (Create(&made, "ShellLink.write")) {
            CheckNumber("IShellLinkA.SetPath", made.link->SetPath(target.c_str()), S_OK);
            CheckNumber("IShellLinkA.SetArguments", made.link->SetArguments("/Quorlet V4.06 /C:\\Quorlet"), S_OK);
            CheckNumber("IShellLinkA.SetDescription", made.link->SetDescription("Quorlet text editor"), S_OK);
            CheckNumber("IShellLinkA.SetIconLocation", made.link->SetIconLocation(target.c_str(), 0), S_OK);
            // Not the default show command, so that the file shows it was stored.
            CheckNumber("IShellLinkA.SetShowCmd", made.link->SetShowCmd(SW_SHOWMINIMIZED), S_OK);
            CheckNumber("IPersistFile.Save", made.file->Save(widePath, TRUE), S_OK);
        }
    }

    // The file as written.
    std::string bytes = FileContent(linkPath);
    std::optional<LinkContents> parsed = ParseLink(bytes);
    Check("ShellLink.file.parses", parsed.has_value(), Format("%u bytes", static_cast<unsigned>(bytes.size())));
    if (parsed) {
        CheckText("ShellLink.file.target", parsed->target, target);
        CheckText("ShellLink.file.arguments", WithoutZeros(parsed->arguments), "/Quorlet V4.06 /C:\\Quorlet");
        CheckText("ShellLink.file.description", WithoutZeros(parsed->description), "Quorlet text editor");
        CheckText("ShellLink.file.icon_location", WithoutZeros(parsed->iconLocation), target);
        // Each string is stored with its count of characters and no terminator.
        Check("ShellLink.file.strings_unterminated",
              parsed->arguments == WithoutZeros(parsed->arguments) &&
                  parsed->description == WithoutZeros(parsed->description) &&
                  parsed->iconLocation == WithoutZeros(parsed->iconLocation),
              "a string of the file ends with a zero");
        CheckNumber("ShellLink.file.icon_index", parsed->iconIndex, 0);
        CheckNumber("ShellLink.file.show_command", parsed->showCommand, SW_SHOWMINIMIZED);
    }

    CoUninitialize();
}

Group g_group("shell.links", Run);

}  // namespace
}  // namespace contract

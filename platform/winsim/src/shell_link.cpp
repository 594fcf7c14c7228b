// The shell link object: IShellLinkA to describe a link, IPersistFile to
// write it as a .lnk file.
#include <fstream>

#include "codepage.h"
#include "com_internal.h"
#include "fs_internal.h"
#include "shell_link_format.h"
#include "shlobj.h"
#include "winsim/transcript.h"

namespace winsim {
namespace {

class ShellLink final : public IShellLinkA, public IPersistFile {
public:
    ShellLink() { ComObjectCreated(); }
    ~ShellLink() { ComObjectDestroyed(); }

    // IUnknown, shared by both interfaces.
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (SameGuid(iid, IID_IUnknown) || SameGuid(iid, IID_IShellLinkA)) {
            *object = static_cast<IShellLinkA*>(this);
        } else if (SameGuid(iid, IID_IPersistFile)) {
            HRESULT failure;
            if (ComFails("QueryInterface", &failure)) {
                *object = nullptr;
                return failure;
            }
            *object = static_cast<IPersistFile*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        ++references_;
        return S_OK;
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IShellLinkA: what the installer sets.
    HRESULT SetPath(LPCSTR path) override { return Set("IShellLinkA::SetPath", path, &link_.target); }
    HRESULT SetDescription(LPCSTR text) override {
        return Set("IShellLinkA::SetDescription", text, &link_.description);
    }
    HRESULT SetArguments(LPCSTR text) override { return Set("IShellLinkA::SetArguments", text, &link_.arguments); }
    HRESULT SetWorkingDirectory(LPCSTR dir) override {
        return Set("IShellLinkA::SetWorkingDirectory", dir, &link_.workingDir);
    }
    HRESULT SetIconLocation(LPCSTR path, int index) override {
        HRESULT result = Set("IShellLinkA::SetIconLocation", path, &link_.iconPath);
        if (SUCCEEDED(result)) link_.iconIndex = index;
        return result;
    }
    HRESULT SetShowCmd(int show) override {
        HRESULT failure;
        if (ComFails("IShellLinkA::SetShowCmd", &failure)) return failure;
        link_.showCommand = show;
        return S_OK;
    }

    // IShellLinkA: reading back.
    HRESULT GetPath(LPSTR file, int size, WIN32_FIND_DATAA*, DWORD) override { return Get(link_.target, file, size); }
    HRESULT GetDescription(LPSTR text, int size) override { return Get(link_.description, text, size); }
    HRESULT GetArguments(LPSTR text, int size) override { return Get(link_.arguments, text, size); }
    HRESULT GetWorkingDirectory(LPSTR dir, int size) override { return Get(link_.workingDir, dir, size); }
    HRESULT GetIconLocation(LPSTR path, int size, int* index) override {
        if (index) *index = link_.iconIndex;
        return Get(link_.iconPath, path, size);
    }
    HRESULT GetShowCmd(int* show) override {
        if (show == nullptr) return E_POINTER;
        *show = link_.showCommand;
        return S_OK;
    }
    HRESULT GetHotkey(WORD* key) override {
        if (key == nullptr) return E_POINTER;
        *key = 0;
        return S_OK;
    }
    HRESULT SetHotkey(WORD) override { return S_OK; }
    HRESULT GetIDList(LPITEMIDLIST*) override { return E_NOTIMPL; }
    HRESULT SetIDList(LPCITEMIDLIST) override { return E_NOTIMPL; }
    HRESULT SetRelativePath(LPCSTR, DWORD) override { return S_OK; }
    HRESULT Resolve(HWND, DWORD) override { return S_OK; }

    // IPersistFile.
    HRESULT GetClassID(CLSID* clsid) override {
        if (clsid == nullptr) return E_POINTER;
        *clsid = CLSID_ShellLink;
        return S_OK;
    }
    HRESULT IsDirty() override { return S_OK; }
    HRESULT Load(LPCOLESTR, DWORD) override { return E_NOTIMPL; }
    HRESULT Save(LPCOLESTR fileName, BOOL) override;
    HRESULT SaveCompleted(LPCOLESTR) override { return S_OK; }
    HRESULT GetCurFile(LPOLESTR*) override { return E_NOTIMPL; }

private:
    HRESULT Set(const char* call, LPCSTR text, std::string* field) {
        HRESULT failure;
        if (ComFails(call, &failure)) return failure;
        if (text == nullptr) return E_INVALIDARG;
        *field = text;
        return S_OK;
    }
    static HRESULT Get(const std::string& value, LPSTR out, int size) {
        if (out == nullptr || size <= 0) return E_INVALIDARG;
        std::string cut = value.substr(0, static_cast<size_t>(size - 1));
        std::copy(cut.begin(), cut.end(), out);
        out[cut.size()] = '\0';
        return S_OK;
    }

    ULONG references_ = 1;
    ShellLinkData link_;
};

HRESULT ShellLink::Save(LPCOLESTR fileName, BOOL) {
    HRESULT failure;
    if (ComFails("IPersistFile::Save", &failure)) return failure;
    if (fileName == nullptr) return E_INVALIDARG;
    std::u16string wide;
    for (const OLECHAR* p = fileName; *p != 0; ++p) wide += *p;
    std::string path = Utf16ToAnsi(wide, ActiveCodePage());

    fs::Resolved where = fs::Resolve(path.c_str());
    if (where.error != ERROR_SUCCESS) return HRESULT_FROM_WIN32(where.error);
    if (where.isDirectory || fs::IsDenied(where, false) ||
        (where.exists && (fs::Attributes(where) & FILE_ATTRIBUTE_READONLY))) {
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    }
    fs::Resolved target = fs::Resolve(link_.target.c_str());
    ShellLinkData data = link_;
    if (target.error == ERROR_SUCCESS && target.exists) data.targetIsDirectory = target.isDirectory;

    std::ofstream out(where.host, std::ios::binary | std::ios::trunc);
    out << EncodeShellLink(data);
    if (!out) return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
    fs::NoteWrite(path);
    Record("link saved path=" + Quote(path) + " target=" + Quote(link_.target) + " arguments=" +
           Quote(link_.arguments) + " description=" + Quote(link_.description) +
           " show=" + std::to_string(link_.showCommand));
    return S_OK;
}

}  // namespace

IUnknown* NewShellLink() { return static_cast<IShellLinkA*>(new ShellLink()); }

}  // namespace winsim

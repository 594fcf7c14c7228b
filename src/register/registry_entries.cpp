#include "register/registry_entries.h"

#include "app/install_app.h"
#include "ui/file_types_dlg.h"
#include "ui/resource.h"
#include "util/path_compose.h"
#include "util/reg_path.h"

namespace {

const char kAppPathKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quorlet.exe";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kEditorSuffix[] = "\\Quorlet.exe";
const char kTextFileClass[] = "txtfile";
const int kMaxExtension = MAX_PATH - 2;  // the dot, the word, the terminator

void WriteString(HKEY root, const char* keyPath, const char* valueName, const char* text) {
    RegWritePath(root, keyPath, valueName, REG_SZ, reinterpret_cast<const BYTE*>(text),
                 static_cast<DWORD>(lstrlenA(text) + 1));
}

char* Allocate(int size) { return static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(size))); }

// Copies `text` to `target` and returns the position after it.
char* Put(char* target, const char* text) {
    int length = lstrlenA(text);
    lstrcpynA(target, text, length + 1);
    return target + length;
}

// The editor's path, then `tail`: "destDir\Quorlet.exe" + tail.
void EditorCommand(char* buffer, const InstallContext& context, const char* head, const char* tail) {
    PathStart(buffer, head);
    PathAppend(buffer, context.destDir);
    PathAppend(buffer, kEditorSuffix);
    PathAppend(buffer, tail);
}

BOOL WriteUninstallEntry(const InstallContext& context) {
    const int keySize = lstrlenA(kUninstallKey) + lstrlenA(context.productName) + 1;
    char* key = Allocate(keySize);
    if (key == NULL) {
        AfxMessageBox(IDS_NO_MEMORY, MB_ICONSTOP);
        return FALSE;
    }
    Put(Put(key, kUninstallKey), context.productName);
    WriteString(HKEY_LOCAL_MACHINE, key, "DisplayName", context.productName);

    // uninstaller /product /destination, never cut.
    const int commandSize =
        lstrlenA(context.uninstallerPath) + lstrlenA(context.productName) + lstrlenA(context.destDir) + 4 + 1;
    char* command = Allocate(commandSize);
    if (command == NULL) {
        HeapFree(GetProcessHeap(), 0, key);
        AfxMessageBox(IDS_NO_MEMORY, MB_ICONSTOP);
        return FALSE;
    }
    Put(Put(Put(Put(Put(command, context.uninstallerPath), " /"), context.productName), " /"), context.destDir);
    WriteString(HKEY_LOCAL_MACHINE, key, "UninstallString", command);
    HeapFree(GetProcessHeap(), 0, command);
    HeapFree(GetProcessHeap(), 0, key);
    return TRUE;
}

void WriteTextFileClass(const InstallContext& context) {
    char value[MAX_PATH];
    EditorCommand(value, context, "", ",0");
    WriteString(HKEY_CLASSES_ROOT, "txtfile\\DefaultIcon", "", value);
    // The editor's path in quotes: a path with blanks would otherwise start
    // whatever program its first word names.
    EditorCommand(value, context, "\"", "\" \"%1\"");
    WriteString(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", "", value);
    EditorCommand(value, context, "\"", "\" /p \"%1\"");
    WriteString(HKEY_CLASSES_ROOT, "txtfile\\shell\\print\\command", "", value);
}

}  // namespace

void RegisterExtensions(char* list) {
    char keyName[MAX_PATH];
    keyName[0] = '.';
    char* cursor = list;
    while (TRUE) {
        while (*cursor == ' ') ++cursor;
        if (*cursor == '\0') return;
        char* word = cursor;
        while (*cursor != ' ' && *cursor != '\0') ++cursor;
        if (*cursor == ' ') *cursor++ = '\0';
        lstrcpynA(keyName + 1, word, kMaxExtension + 1);
        WriteString(HKEY_CLASSES_ROOT, keyName, "", kTextFileClass);
    }
}

BOOL WriteRegistryEntries(InstallContext& context) {
    char appPath[MAX_PATH];
    PathJoin(appPath, context.destDir, "Quorlet.exe");
    WriteString(HKEY_LOCAL_MACHINE, kAppPathKey, NULL, appPath);

    if (!WriteUninstallEntry(context)) return FALSE;

    CFileTypesDlg dialog(NULL);
    if (dialog.DoModal() == IDOK) {
        WriteTextFileClass(context);
        const int length = dialog.m_strTypes.GetLength();
        char* list = dialog.m_strTypes.GetBuffer(length);
        if (list != NULL) {
            RegisterExtensions(list);
            dialog.m_strTypes.ReleaseBuffer(0);
        }
    }
    return TRUE;
}

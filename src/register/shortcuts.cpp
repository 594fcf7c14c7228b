#include "register/shortcuts.h"

#include "app/install_app.h"
#include "install/file_lists.h"
#include "register/create_shortcut.h"
#include "ui/resource.h"
#include "util/path_compose.h"
#include "util/reg_path.h"
#include "util/text_utils.h"

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const int kUninstallerNameLength = 10;  // "Remvex.exe"

// A shell folder's path; a value that is not a string counts as missing,
// since only a string's terminator is guaranteed within the buffer.
BOOL ReadShellFolder(const char* name, char* folder, DWORD size) {
    DWORD type = REG_NONE;
    return RegReadPath(HKEY_CURRENT_USER, kShellFolders, name, &type, folder, &size) == ERROR_SUCCESS &&
           type == REG_SZ;
}

// The shortcut table: entries "link=target,description\n" turned into a run
// of zero-terminated fields that is walked without passing its end.
class ShortcutTable {
public:
    ShortcutTable(char* text, int length) : m_text(text), m_length(length), m_cursor(0) {
        for (int i = 0; i < m_length; ++i) {
            if (m_text[i] == '=' || m_text[i] == ',' || m_text[i] == '\n') m_text[i] = '\0';
        }
    }

    // The next entry's three fields; FALSE at the end of the table, at an
    // entry that begins with a separator, and at an entry cut short by the
    // end of the text.
    BOOL Next(const char** link, const char** target, const char** description) {
        if (m_text == 0 || m_cursor >= m_length || m_text[m_cursor] == '\0') return FALSE;
        const char** fields[3] = {link, target, description};
        int position = m_cursor;
        for (int i = 0; i < 3; ++i) {
            if (position > m_length) return FALSE;
            *fields[i] = m_text + position;
            position += lstrlenA(m_text + position) + 1;
        }
        m_cursor = position;
        return TRUE;
    }

private:
    char* m_text;
    int m_length;
    int m_cursor;
};

BOOL IsUninstaller(const char* target) {
    return lstrlenA(target) >= kUninstallerNameLength &&
           CompareNoCaseN(target, g_szUninstallerExe, kUninstallerNameLength) == 0;
}

}  // namespace

BOOL CreateShortcuts(InstallContext& context) {
    char programs[MAX_PATH - 1];
    if (!ReadShellFolder("Programs", programs, sizeof(programs))) return TRUE;

    char group[MAX_PATH];
    PathJoin(group, programs, context.productName);
    if (!CreateDirectoryA(group, NULL) && GetLastError() != ERROR_ALREADY_EXISTS) {
        CInstallApp::ReportError(IDS_CREATE_DIR, group, MB_ICONINFORMATION);
        return FALSE;
    }

    CString text;
    text.LoadString(IDS_SHORTCUTS);
    const int length = text.GetLength();
    char* table = text.GetBuffer(length);
    if (table != 0) {
        CreateTableLinks(context, group, table, length);
        text.ReleaseBuffer(0);
    }
    return TRUE;
}

void CreateTableLinks(const InstallContext& context, const char* group, char* table, int length) {
    ShortcutTable entries(table, length);
    BOOL firstEntry = TRUE;
    const char* linkName;
    const char* targetName;
    const char* descriptionField;
    while (entries.Next(&linkName, &targetName, &descriptionField)) {
        char linkPath[MAX_PATH];
        PathJoin(linkPath, group, linkName);
        char targetPath[MAX_PATH];
        char arguments[MAX_PATH];
        arguments[0] = '\0';
        if (IsUninstaller(targetName)) {
            PathStart(targetPath, context.uninstallerPath);
            PathStart(arguments, "/");
            PathAppend(arguments, context.productName);
            PathAppend(arguments, " /");
            PathAppend(arguments, context.destDir);
        } else {
            PathJoin(targetPath, context.destDir, targetName);
        }
        char description[MAX_PATH];
        PathStart(description, descriptionField);
        CreateShortcut(targetPath, linkPath, description, arguments, "", 0);

        if (firstEntry) {
            firstEntry = FALSE;
            char desktop[MAX_PATH];
            if (ReadShellFolder("Desktop", desktop, sizeof(desktop))) {
                PathJoin(linkPath, desktop, linkName);
                CreateShortcut(targetPath, linkPath, description, arguments, "", 0);
            }
        }
    }
}

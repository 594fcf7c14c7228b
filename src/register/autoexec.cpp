#include "app/install_app.h"
#include "register/path_text.h"
#include "register/search_path.h"
#include "ui/resource.h"
#include "util/file_replace.h"
#include "util/file_utils.h"
#include "util/text_utils.h"

namespace {

const char kAutoexec[] = "C:\\Autoexec.bat";
const char kSetPath[] = "set PATH=";
const char kLineEnd[] = "\r\n";

// TRUE when the quoted destination starts somewhere in [from, lineEnd).
BOOL LineHolds(const char* text, int from, int lineEnd, const char* quoted, int quotedLength) {
    for (int p = from; p + quotedLength <= lineEnd; ++p) {
        if (CompareNoCaseN(text + p, quoted, quotedLength) == 0) return TRUE;
    }
    return FALSE;
}

BOOL Report(int result) {
    CInstallApp::ReportError(result == REPLACE_OPEN_FAILED ? IDS_CREATE_FILE : IDS_WRITE_ERROR, kAutoexec,
                             MB_ICONSTOP);
    return FALSE;
}

}  // namespace

BOOL UpdateAutoexec(InstallContext& context) {
    // The destination in double quotes.
    char quoted[MAX_PATH + 2];
    quoted[0] = '"';
    lstrcpynA(quoted + 1, context.destDir, MAX_PATH);
    int quotedLength = lstrlenA(quoted);
    quoted[quotedLength++] = '"';
    quoted[quotedLength] = '\0';

    HGLOBAL block = NULL;
    char* text = NULL;
    DWORD fileSize = 0;
    int loaded = LoadWholeFile(kAutoexec, &block, &text, &fileSize);
    if (loaded != LOAD_OK) {
        if (loaded == LOAD_READ_FAILED) {
            GlobalUnlock(block);
            GlobalFree(block);
        }
        return TRUE;
    }
    // The text ends at the first zero byte; what follows it is kept as it is.
    const int length = lstrlenA(text);
    const int assignment = FindPathAssignment(text, length);

    BOOL result = TRUE;
    if (assignment >= 0) {
        const int lineEnd = FindLineEnd(text, length, assignment);
        if (!LineHolds(text, assignment, lineEnd, quoted, quotedLength)) {
            context.restartNeeded = TRUE;
            int insertAt = lineEnd;
            if (insertAt > 0 && text[insertAt - 1] == ';') --insertAt;
            const void* pieces[] = {text, ";", quoted, text + insertAt};
            const DWORD sizes[] = {static_cast<DWORD>(insertAt), 1, static_cast<DWORD>(quotedLength),
                                   fileSize - static_cast<DWORD>(insertAt)};
            int replaced = ReplaceFileContent(kAutoexec, pieces, sizes, 4);
            if (replaced != REPLACE_OK) result = Report(replaced);
        }
    } else {
        context.restartNeeded = TRUE;
        const void* pieces[] = {kSetPath, quoted, kLineEnd, text};
        const DWORD sizes[] = {sizeof(kSetPath) - 1, static_cast<DWORD>(quotedLength), sizeof(kLineEnd) - 1,
                               fileSize};
        int replaced = ReplaceFileContent(kAutoexec, pieces, sizes, 4);
        if (replaced != REPLACE_OK) result = Report(replaced);
    }
    GlobalUnlock(block);
    GlobalFree(block);
    return result;
}

#include "install/wininit_queue.h"

#include <afxwin.h>

#include "app/install_app.h"
#include "ui/resource.h"
#include "util/file_replace.h"
#include "util/path_compose.h"
#include "util/text_utils.h"

namespace {

const char kHeader[] = "[rename]\r\n";
const char kIniName[] = "Wininit.ini";
// The longest entry: "NUL=" path "\r\n" path "=" path "\r\n".
const DWORD kMaxEntry = 4 + (MAX_PATH - 1) + 2 + (MAX_PATH - 1) + 1 + (MAX_PATH - 1) + 2;

BOOL IsBlank(char c) { return c == ' ' || c == '\t'; }

// "[rename]" at `line` (blanks allowed inside the brackets), in any case.
BOOL IsRenameHeader(const char* line, DWORD length) {
    DWORD at = 1;
    while (at < length && IsBlank(line[at])) ++at;
    if (length - at < 6 || CompareNoCaseN(line + at, "rename", 6) != 0) return FALSE;
    at += 6;
    while (at < length && IsBlank(line[at])) ++at;
    return at < length && line[at] == ']';
}

void Append(WininitQueue& queue, const char* text, DWORD length) {
    for (DWORD i = 0; i < length && queue.addedSize < queue.addedCapacity; ++i) {
        queue.added[queue.addedSize++] = text[i];
    }
}

void AppendText(WininitQueue& queue, const char* text) { Append(queue, text, lstrlenA(text)); }

// The short form of an existing path; the path as composed when there is
// none (a target DLL that is not installed yet).
void ShortPath(const char* path, char* shortPath) {
    DWORD length = GetShortPathNameA(path, shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) PathStart(shortPath, path);
}

// Reads the file's content before this run, once, every byte of it. FALSE
// after the failure message.
BOOL LoadOriginal(WininitQueue& queue) {
    HANDLE file = CreateFileA(queue.path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) {
            CInstallApp::ReportError(IDS_CREATE_FILE, queue.path, MB_ICONSTOP);
            return FALSE;
        }
    } else {
        DWORD high = 0;
        const DWORD size = GetFileSize(file, &high);
        if (size == INVALID_FILE_SIZE || high != 0 || size > 0x7FFFFFFF) {
            // Wininit.ini is a small text file; one this large is not read.
            CloseHandle(file);
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            CInstallApp::ReportError(IDS_CREATE_FILE, queue.path, MB_ICONSTOP);
            return FALSE;
        }
        queue.original = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size + 1));
        if (queue.original == NULL) {
            CloseHandle(file);
            AfxMessageBox(IDS_NO_MEMORY, MB_ICONSTOP);
            return FALSE;
        }
        DWORD read = 0;
        BOOL ok = ReadFile(file, queue.original, size, &read, NULL) && read == size;
        DWORD code = GetLastError();
        CloseHandle(file);
        if (!ok) {
            SetLastError(code);
            CInstallApp::ReportError(IDS_CREATE_FILE, queue.path, MB_ICONSTOP);
            return FALSE;
        }
        queue.originalData = queue.original;
        queue.originalSize = size;
    }
    queue.insertAt = FindRenameInsertPoint(queue.originalData, queue.originalSize, &queue.hasRenameSection);
    queue.lineBreakFirst = queue.insertAt > 0 && queue.originalData[queue.insertAt - 1] != '\n';
    queue.loaded = TRUE;
    return TRUE;
}

// Writes the earlier content with this run's lines in place of the file,
// so that a failure leaves the earlier content as it was.
BOOL PutInPlace(WininitQueue& queue) {
    const void* pieces[4] = {queue.originalData, "\r\n", queue.added, queue.originalData + queue.insertAt};
    const DWORD sizes[4] = {queue.insertAt, queue.lineBreakFirst ? 2u : 0u, queue.addedSize,
                            queue.originalSize - queue.insertAt};
    int result = ReplaceFileContent(queue.path, pieces, sizes, 4);
    if (result == REPLACE_OK) return TRUE;
    CInstallApp::ReportError(result == REPLACE_OPEN_FAILED ? IDS_CREATE_FILE : IDS_WRITE_ERROR, queue.path,
                             MB_ICONSTOP);
    return FALSE;
}

}  // namespace

DWORD FindRenameInsertPoint(const char* data, DWORD size, BOOL* found) {
    BOOL inRename = FALSE;
    *found = FALSE;
    DWORD pos = 0;
    while (pos < size) {
        const DWORD lineStart = pos;
        DWORD at = pos;
        while (at < size && IsBlank(data[at])) ++at;
        DWORD lineEnd = at;
        while (lineEnd < size && data[lineEnd] != '\n') ++lineEnd;
        if (at < size && data[at] == '[') {
            if (inRename) return lineStart;
            inRename = IsRenameHeader(data + at, lineEnd - at);
            if (inRename) *found = TRUE;
        }
        pos = lineEnd < size ? lineEnd + 1 : size;
    }
    return size;
}

void InitWininitQueue(WininitQueue& queue, const char* windowsDir, int maxEntries) {
    PathJoin(queue.path, windowsDir, kIniName);
    queue.loaded = FALSE;
    queue.original = NULL;
    queue.originalData = "";
    queue.originalSize = 0;
    queue.insertAt = 0;
    queue.lineBreakFirst = FALSE;
    queue.hasRenameSection = FALSE;
    queue.added = NULL;
    queue.addedSize = 0;
    queue.addedCapacity = (sizeof(kHeader) - 1) + static_cast<DWORD>(maxEntries) * kMaxEntry;
}

BOOL QueueWininitReplacement(WininitQueue& queue, const char* target, const char* tempCopy) {
    if (!queue.loaded) {
        if (!LoadOriginal(queue)) return FALSE;
        queue.added = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, queue.addedCapacity));
        if (queue.added == NULL) {
            AfxMessageBox(IDS_NO_MEMORY, MB_ICONSTOP);
            return FALSE;
        }
        if (!queue.hasRenameSection) AppendText(queue, kHeader);
    }
    const DWORD before = queue.addedSize;
    if (before + kMaxEntry > queue.addedCapacity) {
        // More entries than the queue was made for: nothing is cut, the
        // entry is refused.
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        CInstallApp::ReportError(IDS_WRITE_ERROR, queue.path, MB_ICONSTOP);
        return FALSE;
    }
    char shortTarget[MAX_PATH];
    char shortTemp[MAX_PATH];
    ShortPath(target, shortTarget);
    ShortPath(tempCopy, shortTemp);
    AppendText(queue, "NUL=");
    AppendText(queue, shortTarget);
    AppendText(queue, "\r\n");
    AppendText(queue, shortTarget);
    AppendText(queue, "=");
    AppendText(queue, shortTemp);
    AppendText(queue, "\r\n");
    if (!PutInPlace(queue)) {
        // The file stays as it was, without this entry.
        queue.addedSize = before;
        return FALSE;
    }
    return TRUE;
}

void FreeWininitQueue(WininitQueue& queue) {
    if (queue.original != NULL) {
        HeapFree(GetProcessHeap(), 0, queue.original);
        queue.original = NULL;
    }
    if (queue.added != NULL) {
        HeapFree(GetProcessHeap(), 0, queue.added);
        queue.added = NULL;
    }
    queue.originalData = "";
}

#include "register/path_text.h"

#include "util/text_utils.h"

namespace {

BOOL IsBlank(char c) { return c == ' ' || c == '\t'; }

// Narrows [start, end) to the folder it names: surrounding double quotes
// and one trailing backslash (not the one of a drive root) removed.
void TrimFolder(const char* text, int* start, int* end) {
    if (*end - *start >= 2 && text[*start] == '"' && text[*end - 1] == '"') {
        ++*start;
        --*end;
    }
    if (*end - *start > 1 && text[*end - 1] == '\\' && text[*end - 2] != ':') --*end;
}

}  // namespace

BOOL PathValueHolds(const char* value, int length, const char* folder) {
    int folderStart = 0;
    int folderEnd = lstrlenA(folder);
    TrimFolder(folder, &folderStart, &folderEnd);
    const int folderLength = folderEnd - folderStart;
    if (folderLength == 0) return FALSE;

    int entryStart = 0;
    for (int i = 0; i <= length; ++i) {
        if (i < length && value[i] != ';') continue;
        int start = entryStart;
        int end = i;
        TrimFolder(value, &start, &end);
        if (end - start == folderLength && CompareNoCaseN(value + start, folder + folderStart, folderLength) == 0) {
            return TRUE;
        }
        entryStart = i + 1;
    }
    return FALSE;
}

int FindPathAssignment(const char* text, int length) {
    int lineStart = 0;
    while (lineStart < length) {
        int p = lineStart;
        while (p < length && IsBlank(text[p])) ++p;
        if (length - p >= 4 && CompareNoCaseN(text + p, "set", 3) == 0 && IsBlank(text[p + 3])) {
            p += 3;
            while (p < length && IsBlank(text[p])) ++p;
        }
        if (length - p >= 5 && CompareNoCaseN(text + p, "PATH=", 5) == 0) return p;
        // Next line: after the line feed (or a lone carriage return).
        int end = FindLineEnd(text, length, lineStart);
        if (end >= length) break;
        lineStart = end + ((text[end] == '\r' && end + 1 < length && text[end + 1] == '\n') ? 2 : 1);
    }
    return -1;
}

int FindLineEnd(const char* text, int length, int from) {
    int p = from;
    while (p < length && text[p] != '\r' && text[p] != '\n') ++p;
    return p;
}

#include "util/path_compose.h"

void PathStart(char* path, const char* first) { lstrcpynA(path, first, MAX_PATH); }

void PathAppend(char* path, const char* piece) {
    int length = lstrlenA(path);
    // lstrcpynA copies room - 1 characters and always terminates.
    lstrcpynA(path + length, piece, MAX_PATH - length);
}

void PathJoin(char* path, const char* folder, const char* name) {
    PathStart(path, folder);
    PathAppend(path, "\\");
    PathAppend(path, name);
}

// The one rule by which every path of the run is composed: a MAX_PATH
// buffer holding at most 259 characters and a zero byte; what does not fit
// is cut without a word, and the file call that uses the path then fails and
// reports.
#pragma once

#include <windows.h>

// Starts the path with `first` (at most 259 characters of it).
void PathStart(char* path, const char* first);
// Appends `piece`, cut to the room that is left.
void PathAppend(char* path, const char* piece);
// folder, then "\\" as a piece of its own, then name.
void PathJoin(char* path, const char* folder, const char* name);

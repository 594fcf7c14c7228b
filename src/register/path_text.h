// Reading search paths: the entries of a ";"-separated path value and the
// PATH assignment of a batch file.
#pragma once

#include <windows.h>

// TRUE when one of the ";"-separated entries of `value` (length bytes)
// names `folder`: equal without regard to case, a trailing backslash or
// surrounding double quotes on either side ignored. A longer folder that
// merely begins with `folder` is another folder.
BOOL PathValueHolds(const char* value, int length, const char* folder);

// Offset of the first PATH assignment of a batch text: "PATH=" at the
// start of a line after optional blanks, or after "set" and blanks, in any
// letter case. -1 when there is none.
int FindPathAssignment(const char* text, int length);

// Offset where the line that holds `from` ends: its CR LF, a lone line
// feed or carriage return, or the end of the text.
int FindLineEnd(const char* text, int length, int from);

// The progress of the file phases: the progress dialog, the number of files
// of both lists, and how many of them were begun.
#pragma once

#include <windows.h>

class CProgressDlg;

struct FileProgress {
    CProgressDlg* dialog;  // NULL when it could not be made
    int fileCount;         // names in both lists
    int filesBegun;        // files announced so far
};

// Opens the file phases: the progress dialog, the count, the range 0..100.
void OpenFilePhases(FileProgress& progress);

// Announces the next file: its name in the status line, and the bar at the
// share of files finished before it.
void AnnounceFile(FileProgress& progress, const char* name);

// Takes the progress dialog away (nothing when there is none).
void CloseFilePhases(FileProgress& progress);

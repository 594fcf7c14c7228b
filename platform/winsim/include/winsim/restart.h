// The next start of the simulated Windows: what the system carries out
// before any program runs, each step recorded in the transcript.
#pragma once

namespace winsim {

// Every process ends first, so every open file is closed. Then, on Windows
// NT, the operations of PendingFileRenameOperations in their order (an
// empty target deletes the source, a target starting "!" may be replaced)
// and the value removed; on Windows 95 and 98, the [rename] section of
// Wininit.ini in the Windows directory ("NUL=path" deletes the path,
// "target=source" renames the source to the target, in order, short names
// understood), after which the file is renamed Wininit.bak.
void Restart();

}  // namespace winsim

// The machine the contract checks run on. Each build brings its own file:
// environment_winsim.cpp sets up a simulated machine like a fresh Wine
// prefix; environment_windows.cpp uses the real one (under Wine).
#pragma once

#include <string>

namespace contract {

// Prepares the machine; false with a reason when it cannot.
bool PrepareMachine(std::string* error);
// Gives the machine back (the simulated one is removed).
void ReleaseMachine();
// "winsim", or "Wine 8.0" and the like.
std::string MachineName();
// True where the known Wine differences apply.
bool RunningUnderWine();
// The folder under which the scratch folder is made: "C:" unless the
// command line names another.
std::string ScratchParent(int argc, char** argv);

}  // namespace contract

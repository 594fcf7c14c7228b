// A simulated machine kept in a folder:
//   machine.ini   [machine] platform, codepage, language, windows, system,
//                 installer, shutdown_privilege
//   drives/c ...  one folder per drive letter
//   registry.reg  the registry in REGEDIT4 text (optional)
#pragma once

#include <string>
#include <vector>

#include "winsim/machine.h"

struct MachineFolder {
    std::string dir;
    winsim::Settings settings;
    std::vector<char> drives;  // letters with a folder under drives/
    std::string registry;      // REGEDIT4 text; empty when there is none
};

// Reads and checks the whole folder; false and a message naming the file
// (and line) when anything is malformed. Nothing is changed.
bool LoadMachineFolder(const std::string& dir, MachineFolder* machine, std::string* error);

// Makes the simulated machine this folder's machine. The drives are the
// folder's own, so the run changes them in place.
bool StartMachine(const MachineFolder& machine, std::string* error);

// Writes the registry back to registry.reg.
bool SaveRegistry(const MachineFolder& machine, std::string* error);

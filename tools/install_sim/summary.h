// What a run left in the simulated machine's registry and search path,
// printed for a person: the values the installer writes, decoded.
#pragma once

void PrintSummary();

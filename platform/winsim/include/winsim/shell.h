// COM and the shell link object, as a test inspects them.
#pragma once

#include <string>

namespace winsim {

// COM objects created by CoCreateInstance and not yet released.
int LiveComObjects();
// CoInitialize calls not yet balanced by CoUninitialize.
int ComInitializeDepth();

}  // namespace winsim

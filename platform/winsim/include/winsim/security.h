// Process tokens, as a test inspects them.
#pragma once

namespace winsim {

// Handles to the process token that are open.
int OpenTokenCount();

}  // namespace winsim

// The Win32 API subset that the installer and its framework call, declared
// from the public API documentation and served by the simulated machine.
#pragma once

#include "winsim/win_types.h"
#include "winsim/win_base.h"
#include "winsim/win_user.h"
#include "winsim/win_reg.h"
#include "winsim/win_ver.h"
#include "winsim/win_ole.h"

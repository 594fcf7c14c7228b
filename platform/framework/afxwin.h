// The application framework the installer is written against, on the Win32
// API only.
#pragma once

#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>

#include "afx_cmdtarget.h"
#include "cstring.h"
#include "cwnd.h"
#include "cdialog.h"
#include "cdataexchange.h"
#include "cprogressctrl.h"
#include "cpaintdc.h"
#include "ceditview.h"
#include "cwinapp.h"

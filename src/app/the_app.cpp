// The one application object of Install.EXE, built before the run begins.
#include "app/install_app.h"

CInstallApp theApp;

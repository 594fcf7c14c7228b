#include "app/install_run.h"

#include "app/install_app.h"

void RunInstallation(CInstallApp& app, InstallContext& context) {
    if (!RunStartupProbes(app, context)) return;
}

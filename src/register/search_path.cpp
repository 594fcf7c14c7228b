#include "register/search_path.h"

BOOL UpdateSearchPath(InstallContext& context) {
    return context.isNT ? UpdateNtPath(context) : UpdateAutoexec(context);
}

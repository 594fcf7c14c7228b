// The privilege calls before a restart: the process token, the shutdown
// privilege's identifier, enabling it and checking it.
#include <string.h>

#include "contract.h"

namespace contract {
namespace {

void Run() {
    HANDLE token = nullptr;
    ArmSentinel();
    Check("OpenProcessToken.own_process.result",
          OpenProcessToken(GetCurrentProcess(), 0xF00FF, &token) != FALSE && token != nullptr);

    struct Name {
        const char* name;
        const char* system;
    };
    const Name systems[] = {{"null_system", nullptr}, {"empty_system", ""}};
    LUID shutdown = {0, 0};
    for (const Name& n : systems) {
        const std::string name = std::string("LookupPrivilegeValueA.shutdown.") + n.name;
        LUID luid = {0xFFFF, 0xFFFF};
        ArmSentinel();
        Check(name + ".result", LookupPrivilegeValueA(n.system, SE_SHUTDOWN_NAME, &luid) != FALSE);
        // SE_SHUTDOWN_PRIVILEGE is 19 on every NT.
        CheckNumber(name + ".low", luid.LowPart, 19);
        CheckNumber(name + ".high", luid.HighPart, 0);
        shutdown = luid;
    }
    LUID none = {0, 0};
    ArmSentinel();
    Check("LookupPrivilegeValueA.unknown.result", LookupPrivilegeValueA(nullptr, "SeNoSuchPrivilege", &none) == FALSE);
    CheckError("LookupPrivilegeValueA.unknown.error", ERROR_NO_SUCH_PRIVILEGE);

    // Enabled through a one-entry TOKEN_PRIVILEGES, the previous state into
    // a 16-byte buffer; success says nothing by itself: the last error does.
    TOKEN_PRIVILEGES wanted;
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Luid = shutdown;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    union {
        TOKEN_PRIVILEGES privileges;
        BYTE bytes[16];
    } previous;
    memset(&previous, 0, sizeof(previous));
    DWORD returned = 0;
    ArmSentinel();
    Check("AdjustTokenPrivileges.enable.result",
          AdjustTokenPrivileges(token, FALSE, &wanted, 16, &previous.privileges, &returned) != FALSE);
    CheckError("AdjustTokenPrivileges.enable.error", ERROR_SUCCESS);

    PRIVILEGE_SET required;
    required.PrivilegeCount = 1;
    required.Control = PRIVILEGE_SET_ALL_NECESSARY;
    required.Privilege[0].Luid = shutdown;
    required.Privilege[0].Attributes = 0;
    BOOL held = 12345;
    ArmSentinel();
    Check("PrivilegeCheck.enabled.result", PrivilegeCheck(token, &required, &held) != FALSE);
    CheckNumber("PrivilegeCheck.enabled.held", held, TRUE);

    Check("CloseHandle.token.result", CloseHandle(token) != FALSE);
}

Group g_group("system.privileges", Run);

}  // namespace
}  // namespace contract

// Faults on demand and call counting.
#include "winsim/faults.h"

#include <map>

#include "winsim/machine.h"

namespace winsim {
namespace {

struct Fault {
    DWORD error = 0;
    int skip = 0;
    int times = 0;  // < 0: without end
};

std::map<std::string, Fault> g_faults;
std::map<std::string, int> g_calls;

ResetHook g_reset([] {
    g_faults.clear();
    g_calls.clear();
});

}  // namespace

void FailCall(const std::string& api, DWORD error, int skip, int times) {
    g_faults[api] = Fault{error, skip, times};
}

void ClearFaults() { g_faults.clear(); }

bool ShouldFail(const char* api, DWORD* error) {
    ++g_calls[api];
    auto it = g_faults.find(api);
    if (it == g_faults.end()) return false;
    Fault& fault = it->second;
    if (fault.skip > 0) {
        --fault.skip;
        return false;
    }
    if (fault.times == 0) return false;
    if (fault.times > 0) --fault.times;
    *error = fault.error;
    return true;
}

int CallCount(const std::string& api) {
    auto it = g_calls.find(api);
    return it == g_calls.end() ? 0 : it->second;
}

}  // namespace winsim

// Runs every group of contract checks, prints one line per failed check and
// a summary, and exits non-zero when a check failed.
#include <stdarg.h>
#include <stdio.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "contract.h"
#include "environment.h"
#include "known_wine_differences.h"

namespace contract {
namespace {

struct Tally {
    int checks = 0;
    int failed = 0;
    int knownDifferences = 0;
    std::set<std::string> names;
    std::set<std::string> duplicates;
    std::string currentGroup;
} g_tally;

std::string g_base;

std::vector<std::pair<std::string, GroupFunction>>& Groups() {
    static std::vector<std::pair<std::string, GroupFunction>> groups;
    return groups;
}

const KnownWineDifference* KnownDifference(const std::string& name) {
    for (const KnownWineDifference* k = kKnownWineDifferences; k->check != nullptr; ++k) {
        if (name == k->check) return k;
    }
    return nullptr;
}

// A fresh scratch folder under `parent`: the first of parent\contract,
// parent\contract2 ... that did not exist yet.
bool MakeBase(const std::string& parent) {
    for (int n = 1; n < 100; ++n) {
        std::string candidate = parent + "\\contract" + (n == 1 ? std::string() : std::to_string(n));
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            g_base = candidate;
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

}  // namespace

void Check(const std::string& name, bool passed, const std::string& detail) {
    ++g_tally.checks;
    if (!g_tally.names.insert(name).second) g_tally.duplicates.insert(name);
    const KnownWineDifference* known = KnownDifference(name);
    if (passed) {
        if (known && RunningUnderWine()) {
            printf("NOTE %s: passes, although listed as a known Wine difference\n", name.c_str());
        }
        return;
    }
    if (known && RunningUnderWine()) {
        ++g_tally.knownDifferences;
        printf("KNOWN WINE DIFFERENCE %s: %s (%s)\n", name.c_str(), detail.c_str(), known->reason);
        return;
    }
    ++g_tally.failed;
    printf("FAIL %s: %s\n", name.c_str(), detail.c_str());
}

void CheckNumber(const std::string& name, long long actual, long long expected) {
    Check(name, actual == expected, Format("got %lld, expected %lld", actual, expected));
}

void CheckText(const std::string& name, const std::string& actual, const std::string& expected) {
    Check(name, actual == expected,
          "got \"" + Printable(actual) + "\", expected \"" + Printable(expected) + "\"");
}

void CheckError(const std::string& name, DWORD expected) {
    DWORD actual = GetLastError();
    Check(name, actual == expected,
          Format("last error %lu (0x%lX), expected %lu (0x%lX)", static_cast<unsigned long>(actual),
                 static_cast<unsigned long>(actual), static_cast<unsigned long>(expected),
                 static_cast<unsigned long>(expected)));
}

std::string Format(const char* format, ...) {
    char buffer[2048];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    return buffer;
}

std::string Printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') out += static_cast<char>(c);
        else out += Format("\\x%02X", c);
    }
    return out;
}

const std::string& Base() { return g_base; }

std::string At(const std::string& relative) { return g_base + "\\" + relative; }

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

Group::Group(const char* name, GroupFunction run) { Groups().emplace_back(name, run); }

}  // namespace contract

int main(int argc, char** argv) {
    using namespace contract;
    setvbuf(stdout, nullptr, _IONBF, 0);
    std::string error;
    if (!PrepareMachine(&error)) {
        printf("contract: cannot prepare the machine: %s\n", error.c_str());
        return 2;
    }
    const std::string parent = ScratchParent(argc, argv);
    if (!MakeBase(parent)) {
        printf("contract: cannot make a scratch folder under %s (error %lu)\n", parent.c_str(),
               static_cast<unsigned long>(GetLastError()));
        ReleaseMachine();
        return 2;
    }
    printf("contract: checks on %s in %s\n", MachineName().c_str(), Base().c_str());

    std::sort(Groups().begin(), Groups().end());
    for (const auto& group : Groups()) {
        g_tally.currentGroup = group.first;
        group.second();
    }

    // The list of differences must name real checks only.
    int stale = 0;
    for (const KnownWineDifference* k = kKnownWineDifferences; k->check != nullptr; ++k) {
        if (!g_tally.names.count(k->check)) {
            printf("FAIL known_wine_differences.h: no check is named %s\n", k->check);
            ++stale;
        }
    }
    for (const auto& name : g_tally.duplicates) {
        printf("FAIL two checks are named %s\n", name.c_str());
        ++stale;
    }
    ReleaseMachine();

    const int failed = g_tally.failed + stale;
    printf("contract: %d checks, %d failed", g_tally.checks, failed);
    if (RunningUnderWine()) printf(", %d known Wine differences", g_tally.knownDifferences);
    printf(" (%s)\n", MachineName().c_str());
    return failed == 0 ? 0 : 1;
}

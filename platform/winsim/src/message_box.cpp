// MessageBoxA: recorded in the transcript and answered by the simulated user.
#include "winsim/transcript.h"
#include "windows.h"
#include "wm_internal.h"

namespace {

const char* IconName(UINT type) {
    switch (type & 0xF0) {
        case MB_ICONSTOP: return "stop";
        case MB_ICONQUESTION: return "question";
        case MB_ICONEXCLAMATION: return "exclamation";
        case MB_ICONINFORMATION: return "information";
        default: return "none";
    }
}

}  // namespace

extern "C" int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    std::string line = "messagebox caption=" + winsim::Quote(caption ? caption : "Error") +
                       " icon=" + IconName(type) + " buttons=" + std::to_string(type & 0x0F) +
                       " owner=" + (owner ? "yes" : "none") + " text=" + winsim::Quote(text ? text : "");
    winsim::Record(line);
    return winsim::UserMessageBox(caption ? caption : "Error", text ? text : "", type);
}

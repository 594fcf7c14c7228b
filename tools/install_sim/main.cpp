// install-sim MACHINE_DIR [--answers FILE] [--restart] [--summary]
//
// Runs the installer on the simulated machine kept in MACHINE_DIR (see
// machine_folder.h and docs/install-sim.md), answering its windows from the
// answer file or with their defaults, prints the transcript, optionally
// carries out the next start of Windows, with --summary prints the
// registry values and search path the run left, and saves the machine back.
// Exit status: 0 when the run was simulated, whatever the installer
// reported; 2 for a malformed machine folder, answer file or command line
// (nothing in the folder is changed then); 3 when a window did not match
// the answer file.
#include <cstdio>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>

#include <afxwin.h>

#include "answers.h"
#include "machine_folder.h"
#include "summary.h"
#include "ui/resource.h"
#include "winsim/resources.h"
#include "winsim/restart.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

extern const unsigned char g_installRes[];
extern const std::size_t g_installResSize;

namespace {

int Usage() {
    std::fprintf(stderr, "usage: install-sim MACHINE_DIR [--answers FILE] [--restart] [--summary]\n");
    return 2;
}

// The windows of the run, answered in order from the answer file.
class Responder {
public:
    explicit Responder(std::vector<Answer> answers) : answers_(answers.begin(), answers.end()) {}

    bool Respond(const winsim::OpenedWindow& window, winsim::WindowScript* script) {
        if (window.kind == winsim::WindowScript::Kind::Browser) return RespondBrowser(script);
        std::string name;
        if (window.kind == winsim::WindowScript::Kind::MessageBox) {
            name = "message";
        } else if (window.templateId == IDD_PROGRESS) {
            return true;  // nothing to answer
        } else if (window.templateId == IDD_DESTINATION) {
            name = "destination";
        } else if (window.templateId == IDD_FILETYPES) {
            name = "filetypes";
        } else if (window.templateId == IDD_RESTART) {
            name = "restart";
        } else {
            return false;
        }
        Answer answer = DefaultAnswer(name);
        if (!answers_.empty()) {
            answer = answers_.front();
            answers_.pop_front();
            if (answer.window != name) {
                mismatch_ = "answer file line " + std::to_string(answer.line) + " is for the " + answer.window +
                            " window, but the " + name + " window opened";
                return false;
            }
        }
        for (const auto& action : answer.actions) Apply(action, script);
        return true;
    }

    const std::string& mismatch() const { return mismatch_; }
    size_t unused() const { return answers_.size(); }

private:
    bool RespondBrowser(winsim::WindowScript* script) {
        if (browser_.empty()) {
            mismatch_ = "the folder browser opened without a browse action";
            return false;
        }
        const AnswerAction action = browser_.front();
        browser_.pop_front();
        if (action.verb == "browse") {
            script->Pick(action.text);
        } else {
            script->Cancel();
        }
        return true;
    }

    void Apply(const AnswerAction& action, winsim::WindowScript* script) {
        const std::string& verb = action.verb;
        if (verb == "next" || verb == "yes" || verb == "ok") {
            script->Press(IDOK);
        } else if (verb == "cancel" || verb == "no") {
            script->Press(IDCANCEL);
        } else if (verb == "enter") {
            script->Enter();
        } else if (verb == "escape") {
            script->Escape();
        } else if (verb == "close") {
            script->Close();
        } else if (verb == "browse" || verb == "browse-cancel") {
            browser_.push_back(action);
            script->Press(IDC_BROWSE);
        } else if (verb == "type") {
            script->Type(IDC_TYPES, action.text);
        } else if (verb == "now") {
            script->Click(IDC_RESTART_NOW);
        } else if (verb == "later") {
            script->Click(IDC_RESTART_LATER);
        }
    }

    std::deque<Answer> answers_;
    std::deque<AnswerAction> browser_;
    std::string mismatch_;
};

bool ReadText(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    *text = content.str();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string machineDir, answersPath;
    bool restart = false;
    bool summary = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--answers" && i + 1 < argc) {
            answersPath = argv[++i];
        } else if (arg == "--restart") {
            restart = true;
        } else if (arg == "--summary") {
            summary = true;
        } else if (!arg.empty() && arg[0] != '-' && machineDir.empty()) {
            machineDir = arg;
        } else {
            return Usage();
        }
    }
    if (machineDir.empty()) return Usage();

    MachineFolder machine;
    std::string error;
    if (!LoadMachineFolder(machineDir, &machine, &error)) {
        std::fprintf(stderr, "install-sim: %s\n", error.c_str());
        return 2;
    }
    std::vector<Answer> answers;
    if (!answersPath.empty()) {
        std::string text;
        if (!ReadText(answersPath, &text)) {
            std::fprintf(stderr, "install-sim: %s: cannot be read\n", answersPath.c_str());
            return 2;
        }
        if (!ParseAnswers(text, &answers, &error)) {
            std::fprintf(stderr, "install-sim: %s, %s\n", answersPath.c_str(), error.c_str());
            return 2;
        }
    }

    if (!StartMachine(machine, &error)) {
        std::fprintf(stderr, "install-sim: %s\n", error.c_str());
        return 2;
    }
    winsim::SetModuleResources(g_installRes, g_installResSize);
    Responder responder(answers);
    winsim::SetDefaultResponder([&responder](const winsim::OpenedWindow& window, winsim::WindowScript* script) {
        return responder.Respond(window, script);
    });
    std::string failure;
    winsim::SetUserFailureHandler([&failure](const std::string& message) {
        if (failure.empty()) failure = message;
    });

    AfxWinMain(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_SHOWNORMAL);
    for (const auto& line : winsim::Transcript()) std::printf("%s\n", line.c_str());

    if (restart) {
        const size_t before = winsim::Transcript().size();
        winsim::Restart();
        for (size_t i = before; i < winsim::Transcript().size(); ++i) std::printf("%s\n", winsim::Transcript()[i].c_str());
    }
    if (summary) PrintSummary();
    if (!SaveRegistry(machine, &error)) {
        std::fprintf(stderr, "install-sim: %s\n", error.c_str());
        return 2;
    }
    if (!failure.empty() || !responder.mismatch().empty()) {
        std::fprintf(stderr, "install-sim: %s\n",
                     responder.mismatch().empty() ? failure.c_str() : responder.mismatch().c_str());
        return 3;
    }
    if (responder.unused() > 0) {
        std::fprintf(stderr, "install-sim: %zu answer line(s) left over: the windows they were for did not open\n",
                     responder.unused());
        return 3;
    }
    return 0;
}

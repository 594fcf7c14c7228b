#include "answers.h"

#include "text.h"

#include <map>
#include <set>
#include <sstream>

namespace {

const std::map<std::string, std::set<std::string>> kVerbs = {
    {"destination", {"next", "cancel", "enter", "escape", "close", "browse", "browse-cancel"}},
    {"filetypes", {"yes", "no", "enter", "escape", "close", "type"}},
    {"restart", {"ok", "now", "later", "enter", "escape", "close"}},
    {"message", {"ok"}},
};
const std::set<std::string> kVerbsWithText = {"browse", "type"};

// Splits "a, b \"x, y\", c" at the commas outside double quotes.
bool SplitActions(const std::string& text, std::vector<std::string>* parts) {
    std::string current;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) {
            parts->push_back(Trim(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (quoted) return false;
    parts->push_back(Trim(current));
    return true;
}

bool ParseAction(const std::string& text, AnswerAction* action, std::string* problem) {
    size_t blank = text.find_first_of(" \t");
    action->verb = Lower(blank == std::string::npos ? text : text.substr(0, blank));
    std::string argument = blank == std::string::npos ? std::string() : Trim(text.substr(blank));
    const bool needsText = kVerbsWithText.count(action->verb) > 0;
    if (!needsText) {
        if (!argument.empty()) *problem = "\"" + action->verb + "\" takes nothing after it";
        return argument.empty();
    }
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"') {
        argument = argument.substr(1, argument.size() - 2);
    } else if (argument.find_first_of(" \t\"") != std::string::npos || argument.empty()) {
        *problem = "\"" + action->verb + "\" needs a text, in double quotes when it holds blanks";
        return false;
    }
    action->text = argument;
    return true;
}

}  // namespace

bool ParseAnswers(const std::string& text, std::vector<Answer>* answers, std::string* error) {
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string where = "line " + std::to_string(number) + ": ";
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        size_t colon = line.find(':');
        if (colon == std::string::npos) {
            *error = where + "expected \"window: action, ...\"";
            return false;
        }
        Answer answer;
        answer.line = number;
        answer.window = Lower(Trim(line.substr(0, colon)));
        auto verbs = kVerbs.find(answer.window);
        if (verbs == kVerbs.end()) {
            *error = where + "unknown window \"" + answer.window + "\" (destination, filetypes, restart, message)";
            return false;
        }
        std::vector<std::string> parts;
        if (!SplitActions(line.substr(colon + 1), &parts)) {
            *error = where + "a double quote is not closed";
            return false;
        }
        for (const auto& part : parts) {
            AnswerAction action;
            std::string problem;
            if (part.empty()) {
                *error = where + "an empty action";
                return false;
            }
            if (!ParseAction(part, &action, &problem)) {
                *error = where + problem;
                return false;
            }
            if (!verbs->second.count(action.verb)) {
                *error = where + "\"" + action.verb + "\" is not an action of the " + answer.window + " window";
                return false;
            }
            answer.actions.push_back(action);
        }
        answers->push_back(answer);
    }
    return true;
}

Answer DefaultAnswer(const std::string& window) {
    static const std::map<std::string, std::string> kDefaults = {
        {"destination", "next"}, {"filetypes", "yes"}, {"restart", "ok"}, {"message", "ok"}};
    Answer answer;
    answer.window = window;
    answer.actions.push_back(AnswerAction{kDefaults.at(window), ""});
    return answer;
}

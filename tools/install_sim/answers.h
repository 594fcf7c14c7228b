// The answer file of install-sim: what the user does in each window, one
// line per window in the order the windows open.
//
//   # comment
//   destination: browse "D:\Apps\Quorlet", next
//   filetypes: type "c cpp h", yes
//   restart: later, ok
//   message: ok
//
// Windows and their actions:
//   destination  next | cancel | enter | escape | close | browse "FOLDER" | browse-cancel
//   filetypes    yes | no | enter | escape | close | type "TEXT"
//   restart      ok | now | later | enter | escape | close
//   message      ok
// A window with no line left gets its default: Next, Yes, OK with the
// selected button, OK. The progress window takes no line.
#pragma once

#include <string>
#include <vector>

struct AnswerAction {
    std::string verb;  // as written, lower case
    std::string text;  // browse, type
};

struct Answer {
    std::string window;  // destination, filetypes, restart, message
    std::vector<AnswerAction> actions;
    int line = 0;
};

// False and a message with the line number when the file is malformed.
bool ParseAnswers(const std::string& text, std::vector<Answer>* answers, std::string* error);

// The answers a run gets without an answer file for `window`.
Answer DefaultAnswer(const std::string& window);

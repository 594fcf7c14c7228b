// The transcript: what the user saw and what the machine was asked to do, one
// line per event, in order. Texts are quoted (see Quote). Window lines:
//   dialog open id=<template> language=0x<lang> caption="..." owner=<none|window>
//       bigicon=<icon> smallicon=<icon>       after WM_INITDIALOG; then one line
//   control dialog=<template> id=<id> class=<class> text="..." states=<words>
//       [icon=<icon>] [range=<lo>..<hi> pos=<p> step=<s>]   per control, where
//       the words are enabled|disabled, hidden, checked, default, focus
//   text dialog=<t> id=<id> "..."     caption dialog=<t> "..."   (set after the opening)
//   progress dialog=<t> id=<id> pos=<p> | range=<lo>..<hi> | step=<s>
//   check dialog=<t> id=<id> state=<n>    enable|disable dialog=<t> [id=<id>]
//   dialog end id=<t> result=<n>          dialog destroy id=<t>
//   paint begin|end <window>              drawicon <window> x=<x> y=<y> icon=<icon>
//   messagebox caption="..." icon=<stop|question|exclamation|information|none>
//       buttons=<MB_ type> owner=<yes|none> text="..."
//   browse open title="..." owner=<none|window> flags=0x<flags> root=<desktop|given>
//   user <press|enter|escape|close|type|minimize|dragicon> <window> ...,
//   user pick "<folder>", user cancel browse, user answer <button>
// Icons are named by their resource ("256"), or "none".
#pragma once

#include <string>
#include <vector>

namespace winsim {

void Record(const std::string& line);
const std::vector<std::string>& Transcript();
std::string TranscriptText();  // all lines, each ended by a line feed
// The lines that start with `prefix` ("messagebox", "dialog" ...).
std::vector<std::string> TranscriptLines(const std::string& prefix);

// Quotes a text for a transcript line: "..." with \n, \r, \t, \\ and \"
// escaped and other bytes below 32 as \xNN.
std::string Quote(const std::string& text);

}  // namespace winsim

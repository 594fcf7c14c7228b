// The transcript: what the user saw and what the machine was asked to do, one
// line per event, in order.
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

// Small text helpers of install-sim's readers.
#pragma once

#include <cctype>
#include <string>

// Without the blanks, tabs and carriage returns at either end.
inline std::string Trim(const std::string& text) {
    size_t start = text.find_first_not_of(" \t\r");
    size_t end = text.find_last_not_of(" \t\r");
    return start == std::string::npos ? std::string() : text.substr(start, end - start + 1);
}

inline std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

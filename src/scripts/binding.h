#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velo::scripts {

inline constexpr std::string_view kLineEnd = "\r\n";

// bind <key> "<command>" and CR LF; nothing is escaped.
std::string bindingLine(std::string_view key, std::string_view command);

// A binding left out of a script: the game would read more than that binding from it.
struct Refusal {
    std::string box; // the box as the window labels it
    char character;  // the first character that would break the line
};

// The character of a key name that would end or split its binding: a blank, ";", a
// double quote or a line break.
std::optional<char> keyBreaker(std::string_view key);

// The character of a command text that would end its quotes or its line: a double quote
// or a line break. ";" stays: it is how players chain commands in one binding.
std::optional<char> commandBreaker(std::string_view command);

// Appends the binding line to script, or, when key or command would break it, appends
// nothing and notes it under box in refused (when given).
void addBinding(std::string& script, std::string_view box, std::string_view key,
                std::string_view command, std::vector<Refusal>* refused);

// The main script's last fixed line, handing over to the extra settings script.
inline constexpr std::string_view kHandOverLine = "exec q2extra.txt\r\n";

} // namespace velo::scripts

#pragma once

#include <string>
#include <string_view>

namespace velo::scripts {

inline constexpr std::string_view kLineEnd = "\r\n";

// bind <key> "<command>" and CR LF; nothing is escaped.
std::string bindingLine(std::string_view key, std::string_view command);

// The main script's last fixed line, handing over to the extra settings script.
inline constexpr std::string_view kHandOverLine = "exec q2extra.txt\r\n";

} // namespace velo::scripts

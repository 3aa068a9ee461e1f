#pragma once

#include "error.h"

#include <string>
#include <vector>

namespace velo::platform {

// What a start runs: the program and the arguments that follow it.
struct LaunchPlan {
    std::string program;
    std::vector<std::string> arguments;
};

// The composed line cut into a program and arguments, as a platform without a
// one-text command line needs it: the program is gameDir + "\Quake2.exe" as a
// native path; the rest of the line after that prefix is split at runs of blanks.
LaunchPlan splitCommandLine(const std::string& gameDir, const std::string& line);

// Starts the game with the composed line, detached, without waiting for it.
MaybeError startGame(const std::string& gameDir, const std::string& line);

} // namespace velo::platform

#pragma once

#include "error.h"
#include "game_watch.h"

#include <string>
#include <vector>

namespace velo::platform {

// What a start runs: the program, its arguments and the folder it works in.
struct LaunchPlan {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingDir; // empty: the launcher's own
    // What a system with one-text command lines (Windows) hands the program, its own
    // name first.
    std::string commandLine;
};

// True where a saved launch can be a shell script: systems whose shell runs one.
bool shellScriptsRun();

// Starts the plan without waiting for it; on Windows the game's window opens minimized.
// Where watch is given, it receives the game to see how it ends, and (POSIX) the game's
// output goes to watch's log.
MaybeError startGame(const LaunchPlan& plan, GameProcess* watch = nullptr);

} // namespace velo::platform

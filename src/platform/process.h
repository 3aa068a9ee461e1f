#pragma once

#include "error.h"
#include "game_watch.h"

#include <array>
#include <string>
#include <string_view>
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

// Native engines looked for in the game folder, in this order, when Quake2.exe
// itself cannot be started.
inline constexpr std::array<std::string_view, 3> kNativeEngines = {"quake2", "yquake2", "q2pro"};

struct PlanChoice {
    LaunchPlan plan;  // without error: what to execute
    MaybeError error; // nothing found can start the game: what was looked for
};

// POSIX only (Windows starts the line itself). How a system without a one-text
// command line starts the composed line. Only the program is chosen; the arguments
// are always the line's own after its program part:
// - Quake2.exe in gameDir that begins with "MZ": "wine" found in pathEnv (a PATH value),
//   with the Quake2.exe path as its first argument;
// - Quake2.exe that is a native executable: itself;
// - otherwise the first of kNativeEngines in gameDir that is a native executable.
PlanChoice choosePlan(const std::string& gameDir, const std::string& line,
                      std::string_view pathEnv);

// What startGame will run: choosePlan with this process's PATH; on Windows, which
// needs no choice, the line split after gameDir + "\Quake2.exe".
PlanChoice gamePlan(const std::string& gameDir, const std::string& line);

// True where a saved launch can be a shell script: systems whose shell runs one.
bool shellScriptsRun();

// Starts the game with the composed line, detached, without waiting for it. Windows:
// gameDir + "\Quake2.exe" is named as the program and the line is its command line,
// byte for byte; the game's window opens minimized. Where watch is given, it receives the
// game to see how it ends, and (POSIX) the game's output goes to watch's log.
MaybeError startGame(const std::string& gameDir, const std::string& line,
                     GameProcess* watch = nullptr);

} // namespace velo::platform

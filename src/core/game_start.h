#pragma once

#include "launch_options.h"
#include "platform/engines.h"
#include "platform/process.h"

#include <optional>
#include <string>
#include <vector>

namespace velo::core {

// A start that joins a running server instead of playing or hosting a map.
struct Join {
    std::string address;  // "host" or "host:port"
    std::string password; // empty: the server asks for none
};

struct StartPlan {
    platform::LaunchPlan plan; // program and working folder absolute
    // What starts, as the player reads it: the original program's line, else the program
    // and its arguments quoted as for a shell.
    std::string shown;
    platform::MaybeError error; // why nothing can start; the plan is then empty
};

// What starting the engine with these options runs, in the game folder, or why it cannot
// start. The original program gets the composed line's own words; a native engine one
// argument per choice, in its family's form.
//
// To join a server, pass a Join: the options then give only the game folder, the mod
// (the server's, or "baseq2") and the player's client choices (Always Run, Freelook,
// Sensitivity, Crosshair, handedness); the start adds the join's password and
// "+connect ADDRESS", and sends no server choice and no map.
StartPlan planStart(const platform::Engine& engine, const LaunchOptions& options,
                    const std::optional<Join>& join = std::nullopt);

// The basedir the original program can read: the game folder, or where it holds a
// blank, its short form, else "." (the game works in its folder).
std::string startedBasedir(const std::string& gameDir);

// program and arguments as one Windows command line, each split back by the C runtime
// as it stands here.
std::string windowsCommandLine(const std::string& program,
                               const std::vector<std::string>& arguments);

} // namespace velo::core

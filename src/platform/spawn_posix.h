#pragma once

#include "error.h"

#include <string>
#include <vector>

namespace velo::platform {

// Starts program with arguments, detached into its own session, and never waits for
// it. Reports a program that could not be executed; leaves no zombie behind. The
// program works in workingDir unless that is empty.
MaybeError spawnDetached(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingDir = {});

struct Spawned {
    int pid = 0;      // without error: the started program, a child of this process
    MaybeError error; // the program could not be executed
};

// As spawnDetached, but the program stays this process's child, so its end can be seen;
// when this process ends first, it runs on. Its standard output and error go to output
// when that is an open descriptor, else where this process's go.
Spawned spawnWatched(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingDir, int output);

// A new, empty file at log for the game's output, in folders made for it; -1 when log is
// empty or cannot be made.
int openGameLog(const std::string& log);

} // namespace velo::platform

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

} // namespace velo::platform

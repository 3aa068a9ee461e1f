#pragma once

#include "launch_options.h"

#include <string>

namespace velo::core {

// The game's command line: the 27 pieces joined as they stand, nothing added.
std::string ComposeCommandLine(const LaunchOptions& options);

// The same line with another text after " +set basedir " (a folder the game can read).
std::string ComposeCommandLine(const LaunchOptions& options, const std::string& basedir);

} // namespace velo::core

#pragma once

#include "launch_options.h"
#include "platform/engines.h"
#include "platform/process.h"

#include <string>
#include <vector>

namespace velo::core {

struct StartPlan {
    platform::LaunchPlan plan;
    platform::MaybeError error; // a choice the engine's command line cannot carry
};

// What starting the engine with these options runs, in the game folder. The original
// program gets the composed line's own words; a native engine one argument per field,
// in its family's form.
StartPlan planStart(const platform::Engine& engine, const LaunchOptions& options);

// The basedir the original program can read: the game folder, or where it holds a
// blank, its short form, else "." (the game works in its folder).
std::string startedBasedir(const std::string& gameDir);

// program and arguments as one Windows command line, each split back by the C runtime
// as it stands here.
std::string windowsCommandLine(const std::string& program,
                               const std::vector<std::string>& arguments);

} // namespace velo::core

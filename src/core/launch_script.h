#pragma once

#include "platform/error.h"
#include "platform/process.h"

#include <string>
#include <string_view>

namespace velo::core {

// True for a name ending in ".sh": the user asked for a shell script, not a batch file.
bool isShellScriptName(std::string_view name);

// text as one shell word read back unchanged: in single quotes, each ' as '\''.
std::string shellQuote(std::string_view text);

// The plan as one shell command line: the program, then each argument, all quoted.
std::string shellCommand(const platform::LaunchPlan& plan);

// The script's bytes: "#!/bin/sh", a change into the plan's working folder, then one
// exec line running the plan; LF line ends.
std::string launchScriptText(const platform::LaunchPlan& plan);

// Writes the script at path (a native path chosen in a save dialog), with its run bit.
platform::MaybeError writeLaunchScript(const std::string& path, const platform::LaunchPlan& plan);

} // namespace velo::core

#include "launch_script.h"

#include "platform/file.h"

namespace velo::core {

bool isShellScriptName(std::string_view name) {
    constexpr std::string_view suffix = ".sh";
    return name.size() >= suffix.size() && name.substr(name.size() - suffix.size()) == suffix;
}

std::string shellQuote(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
    return quoted;
}

std::string shellCommand(const platform::LaunchPlan& plan) {
    std::string command = shellQuote(plan.program);
    for (const std::string& argument : plan.arguments) {
        command += ' ';
        command += shellQuote(argument);
    }
    return command;
}

std::string launchScriptText(const platform::LaunchPlan& plan) {
    // exec: the game takes the script's place, as it would have taken the launcher's.
    const std::string cd =
        plan.workingDir.empty() ? "" : "cd " + shellQuote(plan.workingDir) + " || exit\n";
    return "#!/bin/sh\n" + cd + "exec " + shellCommand(plan) + "\n";
}

platform::MaybeError writeLaunchScript(const std::string& path, const platform::LaunchPlan& plan) {
    return platform::writeTextFileAtomic(path, launchScriptText(plan), /*executable*/ true);
}

} // namespace velo::core

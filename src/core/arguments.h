#pragma once

#include <string>
#include <vector>

namespace velo::core {

// What the program was asked to do on its command line.
struct Arguments {
    enum class Action { Window, Run, Help, Fault };
    Action action = Action::Window;
    std::string setup; // Run: the setup's name
    std::string fault; // Fault: what was wrong, for standard error
};

// args without the program's name, after the toolkit took its own options.
Arguments parseArguments(const std::vector<std::string>& args);

// True when args hold an option the window toolkit takes for itself ("-platform",
// "--style" …): such a line can be judged only once the toolkit has taken its own.
bool holdsToolkitOption(const std::vector<std::string>& args);

// What --help prints.
const char* usageText();

// The exit status of a command line the program cannot follow.
inline constexpr int kUsageExitStatus = 2;

} // namespace velo::core

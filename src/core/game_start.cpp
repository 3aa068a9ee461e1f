#include "game_start.h"

#include "command_line.h"
#include "platform/path.h"

#include <algorithm>
#include <string_view>

namespace velo::core {

namespace {

using platform::Family;

struct Field {
    const char* what;
    const std::string& value;
    bool named; // a mod, map or host name: id's parsing starts a command at any "+"
};

// Words between blanks: of a kept piece such as " +cl_run 1 " (ours, never typed), and of
// the line the original program splits so itself.
std::vector<std::string> words(std::string_view piece) {
    std::vector<std::string> found;
    std::size_t start = 0;
    while (start < piece.size()) {
        const std::size_t end = std::min(piece.find(' ', start), piece.size());
        if (end > start) {
            found.emplace_back(piece.substr(start, end - start));
        }
        start = end + 1;
    }
    return found;
}

platform::MaybeError uncarried(const platform::Engine& engine, const LaunchOptions& o) {
    const Field fields[] = {
        {"game folder", o.GameDir, false},     {"mod", o.ModName, true},
        {"sensitivity", o.Sensitivity, false}, {"map", o.MapName, true},
        {"host name", o.HostName, true},       {"frag limit", o.FragLimit, false},
        {"time limit", o.TimeLimit, false},
    };
    for (const Field& field : fields) {
        char bad = 0;
        if (field.value.find('"') != std::string::npos) {
            bad = '"';
        } else if (engine.family == Family::Q2pro
                       ? field.value.compare(0, 1, "+") == 0
                       : field.named && field.value.find('+') != std::string::npos) {
            bad = '+';
        }
        if (bad != 0) {
            return platform::Error{
                engine.program, "the " + std::string(field.what) + " \"" + field.value +
                                    "\" holds " + (bad == '"' ? "a double quote (\")" : "\"+\"") +
                                    ", which this engine's command line cannot carry"};
        }
    }
    return std::nullopt;
}

platform::LaunchPlan originalPlan(const platform::Engine& engine, const LaunchOptions& o) {
    const std::string line = ComposeCommandLine(o, startedBasedir(o.GameDir));
    const std::size_t program = o.GameDir.size() + std::string_view("\\Quake2.exe").size();
    platform::LaunchPlan plan;
    plan.program = engine.wine.empty() ? engine.program : engine.wine;
    if (!engine.wine.empty()) {
        plan.arguments.push_back(engine.program);
    }
    // The original splits its own line at blanks; wine hands it these words joined again.
    for (std::string& word : words(std::string_view(line).substr(program))) {
        plan.arguments.push_back(std::move(word));
    }
    plan.commandLine = line;
    return plan;
}

platform::LaunchPlan nativePlan(const platform::Engine& engine, const LaunchOptions& o) {
    const bool q2pro = engine.family == Family::Q2pro;
    // id's parsing re-splits values at blanks and ";" unless they are in double quotes.
    const auto value = [q2pro](const std::string& text) {
        const bool quote =
            !q2pro && (text.empty() || text.find_first_of(" ;") != std::string::npos);
        return quote ? "\"" + text + "\"" : text;
    };
    std::vector<std::string> a;
    const auto add = [&a](std::vector<std::string> more) {
        a.insert(a.end(), more.begin(), more.end());
    };
    const std::string folder = platform::nativePath(o.GameDir);
    // Before the first "+": id's parsing joins every word after a command to it.
    add(q2pro ? std::vector<std::string>{"+set", "basedir", folder}
              : std::vector<std::string>{"-datadir", folder});
    add({"+set", "game", value(o.ModName)});
    add(words(o.RunArg));
    add(words(o.FreelookArg));
    add({"+sensitivity", value(o.Sensitivity)});
    add({"+exec", "q2velo.txt"});
    add(words(o.CrosshairArg));
    const std::vector<std::string> hand = words(o.HandArg);
    if (hand.size() == 2) {
        add({"+set", hand[0], hand[1]});
    }
    add({"+set", "dedicated", o.Dedicated ? "1" : "0"});
    if (!o.MapName.empty() && o.MapName != "None") {
        add({"+map", value(o.MapName)});
    }
    add({"+menu_multiplayer"});
    add({"+hostname", value(o.HostName)});
    add({"+fraglimit", value(o.FragLimit)});
    add({"+timelimit", value(o.TimeLimit)});
    add({"+dmflags", std::to_string(o.DMFlags)});
    platform::LaunchPlan plan{engine.program, std::move(a), {}, {}};
    plan.commandLine = windowsCommandLine(plan.program, plan.arguments);
    if (!engine.wine.empty()) {
        plan.arguments.insert(plan.arguments.begin(), engine.program);
        plan.program = engine.wine;
    }
    return plan;
}

} // namespace

std::string startedBasedir(const std::string& gameDir) {
    if (gameDir.find(' ') == std::string::npos) {
        return gameDir;
    }
    std::string shortForm = platform::shortFolder(gameDir);
    return shortForm.find(' ') == std::string::npos ? shortForm : ".";
}

StartPlan planStart(const platform::Engine& engine, const LaunchOptions& options) {
    if (platform::MaybeError error = uncarried(engine, options)) {
        return {{}, std::move(error)};
    }
    platform::LaunchPlan plan = engine.family == Family::Original ? originalPlan(engine, options)
                                                                  : nativePlan(engine, options);
    plan.workingDir = platform::nativePath(options.GameDir);
    return {std::move(plan), std::nullopt};
}

std::string windowsCommandLine(const std::string& program,
                               const std::vector<std::string>& arguments) {
    std::string line;
    const auto append = [&line](const std::string& argument) {
        if (!line.empty()) {
            line += ' ';
        }
        if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
            line += argument;
            return;
        }
        // Backslashes double only before a quote, the added closing one included.
        line += '"';
        std::size_t slashes = 0;
        for (const char c : argument) {
            if (c == '\\') {
                ++slashes;
                continue;
            }
            line.append(c == '"' ? 2 * slashes + 1 : slashes, '\\');
            slashes = 0;
            line += c;
        }
        line.append(2 * slashes, '\\');
        line += '"';
    };
    append(program);
    for (const std::string& argument : arguments) {
        append(argument);
    }
    return line;
}

} // namespace velo::core

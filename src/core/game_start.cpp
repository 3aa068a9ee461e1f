#include "game_start.h"

#include "command_line.h"
#include "launch_script.h"
#include "platform/file.h"
#include "platform/path.h"

#include <algorithm>
#include <string_view>

namespace velo::core {

namespace {

using platform::Error;
using platform::Family;
using platform::MaybeError;

struct Field {
    const char* what;
    std::string_view value;
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

MaybeError uncarried(const platform::Engine& engine, const std::vector<Field>& fields) {
    for (const Field& field : fields) {
        char bad = 0;
        if (field.value.find('"') != std::string::npos) {
            bad = '"';
        } else if (engine.family == Family::Q2pro
                       ? field.value.substr(0, 1) == "+"
                       : field.named && field.value.find('+') != std::string::npos) {
            bad = '+';
        }
        if (bad != 0) {
            return Error{engine.program, "the " + std::string(field.what) + " \"" +
                                             std::string(field.value) + "\" holds " +
                                             (bad == '"' ? "a double quote (\")" : "\"+\"") +
                                             ", which this engine's command line cannot carry"};
        }
    }
    return std::nullopt;
}

// A word every engine takes as one console word: a map name, a server's address, a password.
MaybeError notOneWord(const char* field, const std::string& value) {
    const std::size_t bad = value.find_first_of(" ;\"+");
    if (bad == std::string::npos) {
        return std::nullopt;
    }
    const char c = value[bad];
    const std::string what = c == ' '   ? "a blank"
                             : c == '"' ? "a double quote (\")"
                                        : "\"" + std::string(1, c) + "\"";
    return Error{field, "\"" + value + "\" holds " + what +
                            ", which the game would read as more than its one word"};
}

MaybeError badMaxPlayers(const std::string& value) {
    const bool digits =
        !value.empty() && value.size() <= 3 &&
        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int players = digits ? std::stoi(value) : 0;
    if (players >= 2 && players <= 256) {
        return std::nullopt;
    }
    return Error{"Max Players", "\"" + value + "\" is not a whole number from 2 to 256"};
}

// Why these options cannot start at all, whatever the engine makes of them.
MaybeError refused(const platform::Engine& engine, const LaunchOptions& o,
                   const std::optional<Join>& join) {
    if (o.GameDir.empty()) {
        return Error{"Quake II Path", "no game folder is set. Choose one with \"...\" on "
                                      "\"Mod Settings\", then start again."};
    }
    std::vector<Field> fields{{"game folder", o.GameDir, false},
                              {"mod", o.ModName, true},
                              {"sensitivity", o.Sensitivity, false}};
    if (join) {
        if (join->address.empty()) {
            return Error{"server address", "no server is named"};
        }
        if (MaybeError error = notOneWord("server address", join->address)) {
            return error;
        }
        if (MaybeError error = notOneWord("password", join->password)) {
            return error;
        }
        return uncarried(engine, fields);
    }
    if (startsMap(o)) {
        if (MaybeError error = notOneWord("Maps", o.MapName)) {
            return error;
        }
    }
    if (hostsGame(o)) {
        if (MaybeError error = badMaxPlayers(o.MaxPlayers)) {
            return error;
        }
    }
    fields.insert(fields.end(), {{"host name", o.HostName, true},
                                 {"frag limit", o.FragLimit, false},
                                 {"time limit", o.TimeLimit, false}});
    return uncarried(engine, fields);
}

// A native engine on a system that tells names by case reads only "baseq2".
MaybeError misnamedBase(const platform::Engine& engine, const std::string& folder) {
    const std::string base = platform::baseFolder(folder);
    if (engine.family == Family::Original || base.substr(base.size() - 6) == "baseq2") {
        return std::nullopt;
    }
    return Error{base, "this engine reads the game's data only from a folder named \"baseq2\", in "
                       "small letters. Rename the folder to baseq2, then start again."};
}

platform::LaunchPlan originalPlan(const platform::Engine& engine, const LaunchOptions& o,
                                  const std::optional<Join>& join) {
    const std::string basedir = startedBasedir(o.GameDir);
    std::string line;
    if (join) {
        line = ComposeClientLine(o, basedir);
        if (!join->password.empty()) {
            line += " +set password " + join->password;
        }
        line += " +connect " + join->address;
    } else {
        line = ComposeCommandLine(o, basedir);
    }
    const std::size_t program = o.GameDir.size() + std::string_view("\\Quake2.exe").size();
    const std::string own = platform::absolutePath(engine.program);
    platform::LaunchPlan plan;
    plan.program = engine.wine.empty() ? own : platform::absolutePath(engine.wine);
    if (!engine.wine.empty()) {
        plan.arguments.push_back(own);
    }
    // The original splits its own line at blanks; wine hands it these words joined again.
    for (std::string& word : words(std::string_view(line).substr(program))) {
        plan.arguments.push_back(std::move(word));
    }
    plan.commandLine = line;
    return plan;
}

platform::LaunchPlan nativePlan(const platform::Engine& engine, const LaunchOptions& o,
                                const std::string& folder, const std::optional<Join>& join) {
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
    if (join) {
        if (!join->password.empty()) {
            add({"+set", "password", join->password});
        }
        add({"+connect", join->address});
    } else {
        add({"+set", "dedicated", o.Dedicated ? "1" : "0"});
        // Latched: they count only when set before the map starts.
        if (startsMap(o) && !o.Dedicated) {
            add({"+set", "deathmatch", "1"});
        }
        if (hostsGame(o)) {
            add({"+set", "maxclients", o.MaxPlayers});
        }
        // Before the map too: the game holds back what follows "map" until a player joins.
        add({"+hostname", value(o.HostName)});
        add({"+fraglimit", value(o.FragLimit)});
        add({"+timelimit", value(o.TimeLimit)});
        add({"+dmflags", std::to_string(o.DMFlags)});
        if (startsMap(o)) {
            add({"+map", o.MapName});
        } else if (!o.Dedicated) {
            add({"+menu_multiplayer"});
        }
    }
    platform::LaunchPlan plan{platform::absolutePath(engine.program), std::move(a), {}, {}};
    plan.commandLine = windowsCommandLine(plan.program, plan.arguments);
    if (!engine.wine.empty()) {
        plan.arguments.insert(plan.arguments.begin(), plan.program);
        plan.program = platform::absolutePath(engine.wine);
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

StartPlan planStart(const platform::Engine& engine, const LaunchOptions& options,
                    const std::optional<Join>& join) {
    // Absolute: the engine starts in the game folder, where a relative name means another file.
    const std::string folder = platform::absolutePath(platform::nativePath(options.GameDir));
    MaybeError error = refused(engine, options, join);
    if (!error) {
        error = misnamedBase(engine, folder);
    }
    if (error) {
        return {{}, {}, std::move(error)};
    }
    StartPlan start;
    if (engine.family == Family::Original) {
        start.plan = originalPlan(engine, options, join);
        start.shown = start.plan.commandLine;
    } else {
        start.plan = nativePlan(engine, options, folder, join);
        start.shown = shellCommand(start.plan);
    }
    start.plan.workingDir = folder;
    return start;
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

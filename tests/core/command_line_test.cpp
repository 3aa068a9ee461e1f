#include "core/command_line.h"
#include "core/game_start.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

namespace velo::core {
namespace {

const std::string kFirstExample =
    "C:\\Quake2\\Quake2.exe +set game baseq2 +set basedir C:\\Quake2 +cl_run 1  +freelook 1  "
    "+sensitivity 3 +exec q2velo.txt +crosshair 1  hand 2  +set dedicated 0 +map None hand 2  "
    "+menu_multiplayer +hostname Unnamed +fraglimit 0 +timelimit 0 +dmflags 16";

LaunchOptions atStart(std::string gameDir) {
    LaunchOptions options;
    setStartValues(options);
    options.GameDir = std::move(gameDir);
    return options;
}

// The first start's line; then each field as it stands, unquoted, into the same line. The
// second worked example's mod, map, host name and hand are pinned word for word in the
// original program's row of the engine table below, its boxes in the main window's test,
// which also pins a game folder with a blank, unquoted.
TEST(ComposeCommandLine, FirstWorkedExampleAndFieldsAsTheyStand) {
    EXPECT_EQ(ComposeCommandLine(atStart("C:\\Quake2")), kFirstExample);
    const struct {
        std::function<void(LaunchOptions&)> change;
        const char* from; // once in the first example's line
        const char* to;
    } rows[] = {
        {[](LaunchOptions& o) { o.HostName.clear(); }, "+hostname Unnamed +", "+hostname  +"},
        {[](LaunchOptions& o) { o.FragLimit = "abc"; }, "+fraglimit 0", "+fraglimit abc"},
        {[](LaunchOptions& o) { o.TimeLimit = "15"; }, "+timelimit 0", "+timelimit 15"},
        {[](LaunchOptions& o) { o.Dedicated = true; }, "dedicated 0", "dedicated 1"},
        {[](LaunchOptions& o) { o.GameDir = "C:\\"; },
         "C:\\Quake2\\Quake2.exe +set game baseq2 +set basedir C:\\Quake2",
         "C:\\\\Quake2.exe +set game baseq2 +set basedir C:\\"},
        {[](LaunchOptions& o) { o.ModName = "my mod"; }, "game baseq2 ", "game my mod "},
    };
    for (const auto& row : rows) {
        LaunchOptions options = atStart("C:\\Quake2");
        row.change(options);
        std::string expected = kFirstExample;
        expected.replace(expected.find(row.from), std::string_view(row.from).size(), row.to);
        EXPECT_EQ(ComposeCommandLine(options), expected);
    }
}

// Every choice reaches each engine family; "|" parts the expected arguments.
// clang-format off
#define CONTROLS "+cl_run|1|+freelook|1|+sensitivity|3|+exec|q2velo.txt|+crosshair|1|"
#define SERVER "+menu_multiplayer|+hostname|Frag Fest|+fraglimit|0|+timelimit|0|+dmflags|16"
#define ID_SERVER "+menu_multiplayer|+hostname|\"Frag Fest\"|+fraglimit|0|+timelimit|0|+dmflags|16"
#define OLD_SERVER "+menu_multiplayer|+hostname|Frag|Fest|+fraglimit|0|+timelimit|0|+dmflags|16"
TEST(StartArguments, OneArgumentPerChoiceInTheFamilysForm) {
    const struct {
        platform::Engine engine;
        const char* gameDir;
        const char* map;
        Hand hand;
        const char* arguments;
    } rows[] = {
        // Yamagi, left-handed, on a map
        {{"/g/yquake2", platform::Family::Yamagi, {}}, "/games/Quake 2",
         "q2dm1", Hand::Left, "-datadir|/games/Quake 2|+set|game|ctf|" CONTROLS
         "+set|hand|1|+set|dedicated|0|+map|q2dm1|" ID_SERVER},
        // Yamagi's Windows build through wine, no map
        {{"/g/yquake2.exe", platform::Family::Yamagi, "/usr/bin/wine"}, "/q2",
         "None", Hand::Centered, "/g/yquake2.exe|-datadir|/q2|+set|game|ctf|" CONTROLS "+set|hand|2|+set|dedicated|0|" ID_SERVER},
        // Q2PRO takes values as they are
        {{"/g/q2pro", platform::Family::Q2pro, {}}, "/games/Quake 2",
         "q2dm1", Hand::Right, "+set|basedir|/games/Quake 2|+set|game|ctf|" CONTROLS
         "+set|hand|0|+set|dedicated|0|+map|q2dm1|" SERVER},
        // the original through wine, working in its folder
        {{"/games/Quake 2/quake2.exe", platform::Family::Original, "/usr/bin/wine"}, "/games/Quake 2",
         "None", Hand::Left, "/games/Quake 2/quake2.exe|"
         "+set|game|ctf|+set|basedir|.|" CONTROLS "hand|1|+set|dedicated|0|+map|None|hand|1|" OLD_SERVER},
        // the original in a folder without a blank
        {{"/q2/Quake2.exe", platform::Family::Original, {}}, "/q2",
         "q2dm1", Hand::Right, "+set|game|ctf|+set|basedir|/q2|" CONTROLS
         "hand|0|+set|dedicated|0|+map|q2dm1|hand|0|" OLD_SERVER},
    };
    // clang-format on
    for (const auto& row : rows) {
        LaunchOptions options = atStart(row.gameDir);
        options.ModName = "ctf";
        options.MapName = row.map;
        options.HostName = "Frag Fest";
        handSelected(options, row.hand);
        const StartPlan start = planStart(row.engine, options);
        ASSERT_FALSE(start.error) << start.error->message();
        std::string joined;
        for (const std::string& argument : start.plan.arguments) {
            joined += (joined.empty() ? "" : "|") + argument;
        }
        EXPECT_EQ(joined, row.arguments);
        EXPECT_EQ(start.plan.program,
                  row.engine.wine.empty() ? row.engine.program : row.engine.wine);
        EXPECT_EQ(start.plan.workingDir, row.gameDir);
    }
    // On Windows, a native engine's arguments become one line the C runtime splits back.
    EXPECT_EQ(
        windowsCommandLine("C:\\Q 2\\q2pro.exe", {"+hostname", "Frag Fest", "\"x\"", "a\\", ""}),
        "\"C:\\Q 2\\q2pro.exe\" +hostname \"Frag Fest\" \"\\\"x\\\"\" a\\ \"\"");
}

TEST(StartArguments, StopOnWhatTheEngineCannotCarryNamingFieldAndCharacter) {
    using F = platform::Family;
    const struct {
        F family;
        std::string LaunchOptions::*field;
        const char* value;
        const char* says; // empty: the start goes ahead
    } rows[] = {
        {F::Yamagi, &LaunchOptions::ModName, "a+b", "the mod \"a+b\" holds \"+\""},
        {F::Original, &LaunchOptions::MapName, "dm+1", "the map \"dm+1\" holds \"+\""},
        {F::Yamagi, &LaunchOptions::HostName, "A+B", "host name"},
        {F::Q2pro, &LaunchOptions::HostName, "A+B", ""},
        {F::Q2pro, &LaunchOptions::FragLimit, "+5", "the frag limit \"+5\" holds \"+\""},
        {F::Q2pro, &LaunchOptions::HostName, "say \"hi\"", "double quote"},
    };
    for (const auto& row : rows) {
        LaunchOptions options = atStart("/q2");
        options.*row.field = row.value;
        const StartPlan start = planStart({"/g/engine", row.family, {}}, options);
        const std::string reason = start.error ? start.error->message() : "";
        EXPECT_EQ(reason.empty(), std::string(row.says).empty()) << row.value;
        EXPECT_NE(reason.find(row.says), std::string::npos) << reason;
        EXPECT_EQ(start.plan.program.empty(), start.error.has_value());
    }
}

} // namespace
} // namespace velo::core

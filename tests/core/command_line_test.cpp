#include "core/command_line.h"
#include "core/game_start.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
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

std::string joined(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        text += (text.empty() ? "" : "|") + argument;
    }
    return text;
}

// The first start's line; then each field as it stands, unquoted, into the same line, and
// what makes a hosted map a network game.
TEST(ComposeCommandLine, FirstWorkedExampleAndFieldsAsTheyStand) {
    EXPECT_EQ(ComposeCommandLine(atStart("C:\\Quake2")), kFirstExample);
    const struct {
        const char* name;
        std::function<void(LaunchOptions&)> change;
        const char* from; // once in the first example's line
        const char* to;
    } rows[] = {
        {"empty host name", [](LaunchOptions& o) { o.HostName.clear(); }, "+hostname Unnamed +",
         "+hostname  +"},
        {"frag limit as typed", [](LaunchOptions& o) { o.FragLimit = "abc"; }, "+fraglimit 0",
         "+fraglimit abc"},
        {"dedicated without a map", [](LaunchOptions& o) { o.Dedicated = true; }, "dedicated 0",
         "dedicated 1"},
        {"drive root", [](LaunchOptions& o) { o.GameDir = "C:\\"; },
         "C:\\Quake2\\Quake2.exe +set game baseq2 +set basedir C:\\Quake2",
         "C:\\\\Quake2.exe +set game baseq2 +set basedir C:\\"},
        {"mod with a blank", [](LaunchOptions& o) { o.ModName = "my mod"; }, "game baseq2 ",
         "game my mod "},
        {"hosted map, the default 8 players unsent", [](LaunchOptions& o) { o.MapName = "q2dm1"; },
         "dedicated 0 +map None", "dedicated 0 +set deathmatch 1 +map q2dm1"},
        {"hosted map with max players",
         [](LaunchOptions& o) {
             o.MapName = "q2dm1";
             o.MaxPlayers = "12";
         },
         "dedicated 0 +map None", "dedicated 0 +set deathmatch 1 +set maxclients 12 +map q2dm1"},
        {"an empty map is no map", [](LaunchOptions& o) { o.MapName.clear(); }, "+map None",
         "+map "},
    };
    for (const auto& row : rows) {
        LaunchOptions options = atStart("C:\\Quake2");
        row.change(options);
        std::string expected = kFirstExample;
        expected.replace(expected.find(row.from), std::string_view(row.from).size(), row.to);
        EXPECT_EQ(ComposeCommandLine(options), expected) << row.name;
    }
}

// The player's own choices, each away from its start value.
void clientChoices(LaunchOptions& o) {
    alwaysRunClicked(o, false);
    crosshairClicked(o, false);
    handSelected(o, Hand::Left);
    o.Sensitivity = "7";
}

// Dedicated, so no deathmatch is set, and 8 players is the game's own choice for a server.
TEST(ComposeCommandLine, SecondWorkedExampleByteForByte) {
    LaunchOptions o = atStart("D:\\Games\\Quake2");
    o.ModName = "ctf";
    clientChoices(o);
    o.Dedicated = true;
    o.MapName = "q2dm1";
    o.HostName = "Frag Fest";
    o.FragLimit = "20";
    o.TimeLimit = "15";
    flagBoxClicked(o, 3, true);
    EXPECT_EQ(ComposeCommandLine(o),
              "D:\\Games\\Quake2\\Quake2.exe +set game ctf +set basedir D:\\Games\\Quake2 +cl_run "
              "0  +freelook 1  +sensitivity 7 +exec q2velo.txt +crosshair 0  hand 1  +set "
              "dedicated 1 +map q2dm1 hand 1  +menu_multiplayer +hostname Frag Fest +fraglimit "
              "20 +timelimit 15 +dmflags 20");
}

// Every choice reaches each engine family; "|" parts the expected arguments.
// clang-format off
#define CONTROLS "+cl_run|1|+freelook|1|+sensitivity|3|+exec|q2velo.txt|+crosshair|1|"
#define SERVER "+hostname|Frag Fest|+fraglimit|0|+timelimit|0|+dmflags|16"
#define ID_SERVER "+hostname|\"Frag Fest\"|+fraglimit|0|+timelimit|0|+dmflags|16"
#define OLD_SERVER "+menu_multiplayer|+hostname|Frag|Fest|+fraglimit|0|+timelimit|0|+dmflags|16"
TEST(StartArguments, OneArgumentPerChoiceInTheFamilysForm) {
    const struct {
        const char* name;
        platform::Engine engine;
        const char* gameDir;
        const char* map;
        bool dedicated;
        Hand hand;
        const char* arguments;
    } rows[] = {
        {"Yamagi hosts a map: the server's settings before it, no menu over it",
         {"/g/yquake2", platform::Family::Yamagi, {}}, "/games/Quake 2", "q2dm1", false, Hand::Left,
         "-datadir|/games/Quake 2|+set|game|ctf|" CONTROLS "+set|hand|1|+set|dedicated|0|"
         "+set|deathmatch|1|+set|maxclients|12|" ID_SERVER "|+map|q2dm1"},
        {"Yamagi's Windows build through wine, no map: the menu",
         {"/g/yquake2.exe", platform::Family::Yamagi, "/usr/bin/wine"}, "/q2", "None", false,
         Hand::Centered, "/g/yquake2.exe|-datadir|/q2|+set|game|ctf|" CONTROLS
         "+set|hand|2|+set|dedicated|0|" ID_SERVER "|+menu_multiplayer"},
        {"a dedicated server forces deathmatch itself and has no menu",
         {"/g/q2ded", platform::Family::Yamagi, {}}, "/q2", "", true, Hand::Centered,
         "-datadir|/q2|+set|game|ctf|" CONTROLS "+set|hand|2|+set|dedicated|1|"
         "+set|maxclients|12|" ID_SERVER},
        {"Q2PRO takes values as they are",
         {"/g/q2pro", platform::Family::Q2pro, {}}, "/games/Quake 2", "q2dm1", false, Hand::Right,
         "+set|basedir|/games/Quake 2|+set|game|ctf|" CONTROLS "+set|hand|0|+set|dedicated|0|"
         "+set|deathmatch|1|+set|maxclients|12|" SERVER "|+map|q2dm1"},
        {"the original through wine, working in its folder",
         {"/games/Quake 2/quake2.exe", platform::Family::Original, "/usr/bin/wine"},
         "/games/Quake 2", "None", false, Hand::Left, "/games/Quake 2/quake2.exe|"
         "+set|game|ctf|+set|basedir|.|" CONTROLS "hand|1|+set|dedicated|0|+map|None|hand|1|"
         OLD_SERVER},
        {"the original hosting a map",
         {"/q2/Quake2.exe", platform::Family::Original, {}}, "/q2", "q2dm1", false, Hand::Right,
         "+set|game|ctf|+set|basedir|/q2|" CONTROLS "hand|0|+set|dedicated|0|+set|deathmatch|1|"
         "+set|maxclients|12|+map|q2dm1|hand|0|" OLD_SERVER},
    };
    // clang-format on
    for (const auto& row : rows) {
        LaunchOptions options = atStart(row.gameDir);
        options.ModName = "ctf";
        options.MapName = row.map;
        options.Dedicated = row.dedicated;
        options.HostName = "Frag Fest";
        options.MaxPlayers = "12";
        handSelected(options, row.hand);
        const StartPlan start = planStart(row.engine, options);
        ASSERT_FALSE(start.error) << start.error->message();
        EXPECT_EQ(joined(start.plan.arguments), row.arguments) << row.name;
        EXPECT_EQ(start.plan.program,
                  row.engine.wine.empty() ? row.engine.program : row.engine.wine);
        EXPECT_EQ(start.plan.workingDir, row.gameDir);
    }
    // On Windows, a native engine's arguments become one line the C runtime splits back.
    EXPECT_EQ(
        windowsCommandLine("C:\\Q 2\\q2pro.exe", {"+hostname", "Frag Fest", "\"x\"", "a\\", ""}),
        "\"C:\\Q 2\\q2pro.exe\" +hostname \"Frag Fest\" \"\\\"x\\\"\" a\\ \"\"");
}

// A join carries the player's client choices and the server, nothing of a server's own.
TEST(StartArguments, AJoinSendsTheClientChoicesThenConnects) {
    const struct {
        const char* name;
        platform::Family family;
        const char* password;
        const char* arguments;
    } rows[] = {
        // clang-format off
        {"Yamagi with a password", platform::Family::Yamagi, "s3cret",
         "-datadir|/q2|+set|game|baseq2|+cl_run|0|+freelook|1|+sensitivity|7|+exec|q2velo.txt|"
         "+crosshair|0|+set|hand|1|+set|password|s3cret|+connect|127.0.0.1:27911"},
        {"Q2PRO without one", platform::Family::Q2pro, "",
         "+set|basedir|/q2|+set|game|baseq2|+cl_run|0|+freelook|1|+sensitivity|7|+exec|"
         "q2velo.txt|+crosshair|0|+set|hand|1|+connect|127.0.0.1:27911"},
        {"the original's own line", platform::Family::Original, "s3cret",
         "+set|game|baseq2|+set|basedir|/q2|+cl_run|0|+freelook|1|+sensitivity|7|+exec|"
         "q2velo.txt|+crosshair|0|hand|1|+set|password|s3cret|+connect|127.0.0.1:27911"},
        // clang-format on
    };
    for (const auto& row : rows) {
        LaunchOptions options = atStart("/q2");
        clientChoices(options);
        // Server choices that must not travel with a join, bad Max Players included.
        options.MapName = "q2dm1";
        options.Dedicated = true;
        options.MaxPlayers = "1";
        const StartPlan start = planStart({"/g/engine", row.family, {}}, options,
                                          Join{"127.0.0.1:27911", row.password});
        ASSERT_FALSE(start.error) << start.error->message();
        EXPECT_EQ(joined(start.plan.arguments), row.arguments) << row.name;
    }
}

using Change = std::function<void(LaunchOptions&)>;

Change set(std::string LaunchOptions::*field, std::string value) {
    return [=](LaunchOptions& o) { o.*field = value; };
}

Change hosting(std::string players) {
    return [=](LaunchOptions& o) {
        o.MapName = "q2dm1";
        o.MaxPlayers = players;
    };
}

TEST(StartArguments, StopOnWhatCannotStartNamingFieldAndReason) {
    using F = platform::Family;
    using O = LaunchOptions;
    const Change none = [](O&) {};
    const struct {
        const char* name;
        F family;
        Change change;
        std::optional<Join> join;
        const char* says; // empty: the start goes ahead
    } rows[] = {
        // clang-format off
        {"+ in a mod", F::Yamagi, set(&O::ModName, "a+b"), {}, "the mod \"a+b\" holds \"+\""},
        {"+ in a host name", F::Yamagi, set(&O::HostName, "A+B"), {}, "host name"},
        {"Q2PRO takes + inside", F::Q2pro, set(&O::HostName, "A+B"), {}, ""},
        {"Q2PRO and a leading +", F::Q2pro, set(&O::FragLimit, "+5"), {},
         "the frag limit \"+5\" holds \"+\""},
        {"a double quote", F::Q2pro, set(&O::HostName, "say \"hi\""), {}, "double quote"},
        {"no game folder", F::Original, set(&O::GameDir, ""), {},
         "Quake II Path: no game folder is set. Choose one with \"...\" on \"Mod Settings\""},
        {"a blank in the map", F::Q2pro, set(&O::MapName, "q2 dm1"), {},
         "Maps: \"q2 dm1\" holds a blank"},
        {"a ; in the map", F::Original, set(&O::MapName, "q2dm1;quit"), {},
         "Maps: \"q2dm1;quit\" holds \";\""},
        {"+ in the map", F::Original, set(&O::MapName, "dm+1"), {}, "Maps: \"dm+1\" holds \"+\""},
        {"one player cannot host", F::Yamagi, [](O& o) { o.Dedicated = true; o.MaxPlayers = "1"; },
         {}, "Max Players: \"1\" is not a whole number from 2 to 256"},
        {"257 players", F::Yamagi, hosting("257"), {}, "Max Players: \"257\""},
        {"a sign", F::Original, hosting("+8"), {}, "Max Players: \"+8\""},
        {"256 players", F::Yamagi, hosting("256"), {}, ""},
        {"max players of a game not hosted", F::Yamagi, set(&O::MaxPlayers, "many"), {}, ""},
        {"a join needs a server", F::Yamagi, none, Join{}, "server address"},
        {"a password of two words", F::Yamagi, none, Join{"127.0.0.1", "two words"},
         "password: \"two words\" holds a blank"},
        // clang-format on
    };
    for (const auto& row : rows) {
        LaunchOptions options = atStart("/q2");
        row.change(options);
        const StartPlan start = planStart({"/g/engine", row.family, {}}, options, row.join);
        const std::string reason = start.error ? start.error->message() : "";
        EXPECT_EQ(reason.empty(), std::string(row.says).empty()) << row.name;
        EXPECT_NE(reason.find(row.says), std::string::npos) << row.name << ": " << reason;
        EXPECT_EQ(start.plan.program.empty(), start.error.has_value()) << row.name;
    }
}

} // namespace
} // namespace velo::core

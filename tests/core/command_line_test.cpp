#include "core/command_line.h"
#include "core/game_start.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

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

std::string replacedAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

TEST(ComposeCommandLine, FirstWorkedExample) {
    const std::string line = ComposeCommandLine(atStart("C:\\Quake2"));
    EXPECT_EQ(line, kFirstExample);
    EXPECT_EQ(line.size(), 247u);
}

TEST(ComposeCommandLine, SecondWorkedExample) {
    LaunchOptions options = atStart("D:\\Games\\Quake2");
    options.ModName = "ctf";
    alwaysRunClicked(options, false);
    crosshairClicked(options, false);
    handSelected(options, Hand::Left);
    options.Sensitivity = "7";
    options.Dedicated = true;
    options.MapName = "q2dm1";
    options.HostName = "Frag Fest";
    options.FragLimit = "20";
    options.TimeLimit = "15";
    flagBoxClicked(options, 3, true);
    EXPECT_EQ(ComposeCommandLine(options),
              "D:\\Games\\Quake2\\Quake2.exe +set game ctf +set basedir D:\\Games\\Quake2 +cl_run "
              "0  +freelook 1  +sensitivity 7 +exec q2velo.txt +crosshair 0  hand 1  +set "
              "dedicated 1 +map q2dm1 hand 1  +menu_multiplayer +hostname Frag Fest +fraglimit 20 "
              "+timelimit 15 +dmflags 20");
}

struct EdgeCase {
    const char* name;
    std::function<void(LaunchOptions&)> change;
    const char* from; // in the first example's line
    const char* to;
};

class ComposeEdge : public testing::TestWithParam<EdgeCase> {};

TEST_P(ComposeEdge, PassesFieldsAsTheyStand) {
    LaunchOptions options = atStart("C:\\Quake2");
    GetParam().change(options);
    EXPECT_EQ(ComposeCommandLine(options),
              replacedAll(kFirstExample, GetParam().from, GetParam().to));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Fields, ComposeEdge, testing::Values(
    EdgeCase{"EmptyHostName", [](LaunchOptions& o) { o.HostName.clear(); }, "+hostname Unnamed +", "+hostname  +"},
    EdgeCase{"FragLimitNotANumber", [](LaunchOptions& o) { o.FragLimit = "abc"; }, "+fraglimit 0", "+fraglimit abc"},
    EdgeCase{"BlankInGameDirUnquoted", [](LaunchOptions& o) { o.GameDir = "C:\\Program Files\\Quake2"; },
             "C:\\Quake2", "C:\\Program Files\\Quake2"},
    EdgeCase{"DriveRootGameDir", [](LaunchOptions& o) { o.GameDir = "C:\\"; }, "C:\\Quake2", "C:\\"},
    EdgeCase{"BlankInModUnquoted", [](LaunchOptions& o) { o.ModName = "my mod"; }, "game baseq2 ", "game my mod "}),
    [](const testing::TestParamInfo<EdgeCase>& row) { return row.param.name; });
// clang-format on

// Every choice reaches each engine family; "|" parts the expected arguments.
struct EngineRow {
    const char* name;
    platform::Engine engine;
    const char* gameDir;
    const char* map;
    Hand hand;
    const char* arguments;
};

class StartArguments : public testing::TestWithParam<EngineRow> {};

TEST_P(StartArguments, OneArgumentPerChoiceInTheFamilysForm) {
    const EngineRow& row = GetParam();
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
    EXPECT_EQ(start.plan.program, row.engine.wine.empty() ? row.engine.program : row.engine.wine);
    EXPECT_EQ(start.plan.workingDir, row.gameDir);
    if (row.engine.family == platform::Family::Original) {
        EXPECT_EQ(start.plan.commandLine,
                  ComposeCommandLine(options, startedBasedir(options.GameDir)));
    }
}

// clang-format off
#define CONTROLS "+cl_run|1|+freelook|1|+sensitivity|3|+exec|q2velo.txt|+crosshair|1|"
#define SERVER "+menu_multiplayer|+hostname|Frag Fest|+fraglimit|0|+timelimit|0|+dmflags|16"
#define ID_SERVER "+menu_multiplayer|+hostname|\"Frag Fest\"|+fraglimit|0|+timelimit|0|+dmflags|16"
#define OLD_SERVER "+menu_multiplayer|+hostname|Frag|Fest|+fraglimit|0|+timelimit|0|+dmflags|16"
INSTANTIATE_TEST_SUITE_P(Families, StartArguments, testing::Values(
    EngineRow{"YamagiLeftOnAMap", {"/g/yquake2", platform::Family::Yamagi, {}}, "/games/Quake 2",
              "q2dm1", Hand::Left, "-datadir|/games/Quake 2|+set|game|ctf|" CONTROLS
              "+set|hand|1|+set|dedicated|0|+map|q2dm1|" ID_SERVER},
    EngineRow{"YamagiExeThroughWineNoMap", {"/g/yquake2.exe", platform::Family::Yamagi, "/usr/bin/wine"}, "/q2",
              "None", Hand::Centered, "/g/yquake2.exe|-datadir|/q2|+set|game|ctf|" CONTROLS "+set|hand|2|+set|dedicated|0|" ID_SERVER},
    EngineRow{"Q2proRightAsTheyAre", {"/g/q2pro", platform::Family::Q2pro, {}}, "/games/Quake 2",
              "q2dm1", Hand::Right, "+set|basedir|/games/Quake 2|+set|game|ctf|" CONTROLS
              "+set|hand|0|+set|dedicated|0|+map|q2dm1|" SERVER},
    EngineRow{"OriginalThroughWineInItsFolder", {"/games/Quake 2/quake2.exe", platform::Family::Original,
              "/usr/bin/wine"}, "/games/Quake 2", "None", Hand::Left, "/games/Quake 2/quake2.exe|"
              "+set|game|ctf|+set|basedir|.|" CONTROLS "hand|1|+set|dedicated|0|+map|None|hand|1|" OLD_SERVER},
    EngineRow{"OriginalFolderWithoutBlank", {"/q2/Quake2.exe", platform::Family::Original, {}}, "/q2",
              "q2dm1", Hand::Right, "+set|game|ctf|+set|basedir|/q2|" CONTROLS
              "hand|0|+set|dedicated|0|+map|q2dm1|hand|0|" OLD_SERVER}),
    [](const testing::TestParamInfo<EngineRow>& row) { return row.param.name; });
// clang-format on

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

TEST(WindowsCommandLine, QuotesWhatTheRuntimeWouldSplit) {
    EXPECT_EQ(
        windowsCommandLine("C:\\Q 2\\q2pro.exe", {"+hostname", "Frag Fest", "\"x\"", "a\\", ""}),
        "\"C:\\Q 2\\q2pro.exe\" +hostname \"Frag Fest\" \"\\\"x\\\"\" a\\ \"\"");
}

} // namespace
} // namespace velo::core

#include "core/command_line.h"

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

INSTANTIATE_TEST_SUITE_P(
    Fields, ComposeEdge,
    testing::Values(EdgeCase{"EmptyHostName", [](LaunchOptions& o) { o.HostName.clear(); },
                             "+hostname Unnamed +", "+hostname  +"},
                    EdgeCase{"FragLimitNotANumber", [](LaunchOptions& o) { o.FragLimit = "abc"; },
                             "+fraglimit 0", "+fraglimit abc"},
                    EdgeCase{"BlankInGameDirUnquoted",
                             [](LaunchOptions& o) { o.GameDir = "C:\\Program Files\\Quake2"; },
                             "C:\\Quake2", "C:\\Program Files\\Quake2"},
                    EdgeCase{"DriveRootGameDir", [](LaunchOptions& o) { o.GameDir = "C:\\"; },
                             "C:\\Quake2", "C:\\"},
                    EdgeCase{"BlankInModUnquoted", [](LaunchOptions& o) { o.ModName = "my mod"; },
                             "game baseq2 ", "game my mod "}),
    [](const testing::TestParamInfo<EdgeCase>& row) { return row.param.name; });

} // namespace
} // namespace velo::core

#include "core/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velo::core {
namespace {

struct ArgumentsCase {
    const char* name;
    std::vector<std::string> args;
    Arguments::Action action;
    std::string setup; // Run: the name; Fault: a word the message holds
};

class CommandLine : public testing::TestWithParam<ArgumentsCase> {};

TEST_P(CommandLine, IsFollowedOrRefused) {
    const ArgumentsCase& c = GetParam();
    const Arguments parsed = parseArguments(c.args);
    EXPECT_EQ(parsed.action, c.action);
    if (c.action == Arguments::Action::Run) {
        EXPECT_EQ(parsed.setup, c.setup);
    } else if (c.action == Arguments::Action::Fault) {
        EXPECT_NE(parsed.fault.find(c.setup), std::string::npos) << parsed.fault;
    }
}

using A = Arguments::Action;
INSTANTIATE_TEST_SUITE_P(
    Rules, CommandLine,
    testing::Values(ArgumentsCase{"None", {}, A::Window, {}},
                    ArgumentsCase{"Run", {"--run", "LAN CTF"}, A::Run, "LAN CTF"},
                    ArgumentsCase{"RunWithEquals", {"--run=LAN CTF"}, A::Run, "LAN CTF"},
                    ArgumentsCase{"NameLikeAnOption", {"--run", "--help"}, A::Run, "--help"},
                    ArgumentsCase{"UnknownBeforeHelp", {"--bogus", "-h"}, A::Fault, "--bogus"},
                    ArgumentsCase{"Help", {"--run", "x", "--help"}, A::Help, {}},
                    ArgumentsCase{"RunWithoutName", {"--run"}, A::Fault, "name"},
                    ArgumentsCase{"Unknown", {"--bogus"}, A::Fault, "--bogus"},
                    ArgumentsCase{"StrayWord", {"LAN"}, A::Fault, "LAN"},
                    ArgumentsCase{"TwoSetups", {"--run", "a", "--run", "b"}, A::Fault, "--run"}),
    [](const testing::TestParamInfo<ArgumentsCase>& row) { return row.param.name; });

// A wrong line is refused before the toolkit starts only where the toolkit would not have
// taken part of it: its options come with one dash or two, and with "=".
TEST(CommandLine, ToolkitOptionsAreLeftToTheToolkit) {
    for (const std::vector<std::string>& line :
         {std::vector<std::string>{"-platform", "offscreen", "--bogus"},
          {"--style=fusion", "--bogus"},
          {"--run", "x", "-reverse"}}) {
        EXPECT_TRUE(holdsToolkitOption(line)) << line.front();
    }
    for (const std::vector<std::string>& line :
         {std::vector<std::string>{"--bogus"}, {"--run", "platform"}, {"-platforms"}}) {
        EXPECT_FALSE(holdsToolkitOption(line)) << line.front();
    }
}

} // namespace
} // namespace velo::core

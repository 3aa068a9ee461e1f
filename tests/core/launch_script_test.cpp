#include "core/launch_script.h"

#include "support/recorder.h"
#include "support/temp_dir.h"
#include "support/with_path.h"

#include "platform/process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace velo::core {
namespace {

namespace fs = std::filesystem;

struct NameRow {
    const char* name;
    const char* file;
    bool script;
};

class ShellScriptName : public testing::TestWithParam<NameRow> {};

TEST_P(ShellScriptName, OnlyTheEndingCounts) {
    EXPECT_EQ(isShellScriptName(GetParam().file), GetParam().script);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ShellScriptName,
    testing::Values(NameRow{"Plain", "ctf.sh", true}, NameRow{"FullPath", "/home/a/Mod.sh", true},
                    NameRow{"Batch", "Mod.bat", false}, NameRow{"NoExtension", "Mod", false},
                    NameRow{"BareWord", "sh", false}, NameRow{"InTheMiddle", "a.sh.bat", false},
                    NameRow{"CaseCounts", "Mod.SH", false}),
    [](const testing::TestParamInfo<NameRow>& row) { return std::string(row.param.name); });

struct ScriptRow {
    const char* name;
    platform::LaunchPlan plan;
    const char* text;
};

class LaunchScriptText : public testing::TestWithParam<ScriptRow> {};

TEST_P(LaunchScriptText, OneExecLineEveryWordQuoted) {
    EXPECT_EQ(launchScriptText(GetParam().plan), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, LaunchScriptText,
    testing::Values(
        ScriptRow{"NativeEngine",
                  {"/games/q2/yquake2", {"+set", "game", "baseq2", "+cl_run", "1"}},
                  "#!/bin/sh\nexec '/games/q2/yquake2' '+set' 'game' 'baseq2' '+cl_run' '1'\n"},
        ScriptRow{"QuoteInPath",
                  {"/home/o'neil/q2/Quake2.exe", {"basedir", "/home/o'neil/q2"}},
                  "#!/bin/sh\nexec '/home/o'\\''neil/q2/Quake2.exe' 'basedir' "
                  "'/home/o'\\''neil/q2'\n"},
        ScriptRow{"ShellCharactersStayText",
                  {"/g/quake2", {"$HOME", "`id`", "a;b", "*", "\"x\"", "\\"}},
                  "#!/bin/sh\nexec '/g/quake2' '$HOME' '`id`' 'a;b' '*' '\"x\"' '\\'\n"},
        ScriptRow{"NoArguments", {"/g/quake2", {}}, "#!/bin/sh\nexec '/g/quake2'\n"}),
    [](const testing::TestParamInfo<ScriptRow>& row) { return std::string(row.param.name); });

TEST(WriteLaunchScript, ReplacesTheFileAndSetsItsRunBit) {
    test::TempDir dir;
    const std::string path = dir.file("Mod.sh");
    dir.write("Mod.sh", "old text that is longer than the new one\n");
    ASSERT_FALSE(writeLaunchScript(path, {"/g/quake2", {"+map", "q2dm1"}}));
    EXPECT_EQ(dir.read("Mod.sh"), "#!/bin/sh\nexec '/g/quake2' '+map' 'q2dm1'\n");
    EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::none);
    const platform::MaybeError error = writeLaunchScript(dir.file("none/Mod.sh"), {"/g/q", {}});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->subject, dir.file("none/Mod.sh"));
}

// The saved script must start the game exactly as "Run Quake II" does, quotes,
// blanks and all, whichever program the plan chose.
class SavedScript : public testing::TestWithParam<bool> {};

TEST_P(SavedScript, PassesTheGameWhatStartGameWould) {
    const bool throughWine = GetParam();
    test::TempDir dir;
    const fs::path game = dir.path() / "it's my game";
    fs::create_directories(game);
    fs::create_directories(dir.path() / "bin");
    const fs::path record = dir.path() / "args";
    if (throughWine) {
        std::ofstream(game / "Quake2.exe", std::ios::binary) << "MZ";
        test::writeRecorder(dir.path() / "bin/wine", record);
    } else {
        test::writeRecorder(game / "q2pro", record);
    }
    std::optional<test::WithPath> path(std::in_place, dir.file("bin"));

    const std::string gameDir = game.string();
    const std::string line = gameDir + "\\Quake2.exe +set game baseq2 +set basedir " + gameDir +
                             " +cl_run 1  +hostname $USER `x` +dmflags 16";
    ASSERT_FALSE(platform::startGame(gameDir, line));
    const std::vector<std::string> started = test::recordedArguments(record);
    fs::remove(record);

    const platform::PlanChoice chosen = platform::gamePlan(gameDir, line);
    path.reset();
    ASSERT_FALSE(chosen.error);
    const std::string script = dir.file("Mod.sh");
    ASSERT_FALSE(writeLaunchScript(script, chosen.plan));
    ASSERT_EQ(std::system(shellQuote(script).c_str()), 0);

    ASSERT_FALSE(started.empty());
    EXPECT_EQ(test::recordedArguments(record), started);
}

INSTANTIATE_TEST_SUITE_P(Programs, SavedScript, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& row) {
                             return std::string(row.param ? "ThroughWine" : "NativeEngine");
                         });

} // namespace
} // namespace velo::core

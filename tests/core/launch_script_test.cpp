#include "core/game_start.h"
#include "core/launch_script.h"

#include "support/recorder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace velo::core {
namespace {

namespace fs = std::filesystem;

TEST(ShellScriptName, OnlyTheEndingCounts) {
    for (const char* name : {"/home/a/Mod.sh", "Mod.bat", "sh", "a.sh.bat", "Mod.SH"}) {
        EXPECT_EQ(isShellScriptName(name), name[0] == '/') << name;
    }
}

TEST(LaunchScriptText, IntoTheGameFolderThenOneExecLineEveryWordQuoted) {
    EXPECT_EQ(
        launchScriptText(
            {"/home/o'neil/q2/quake2", {"$HOME", "`id`", "a;b", "\"x\""}, "/home/o'neil/q2", {}}),
        "#!/bin/sh\ncd '/home/o'\\''neil/q2' || exit\n"
        "exec '/home/o'\\''neil/q2/quake2' '$HOME' '`id`' 'a;b' '\"x\"'\n");
    EXPECT_EQ(launchScriptText({"/g/quake2", {}, {}, {}}), "#!/bin/sh\nexec '/g/quake2'\n");
}

TEST(WriteLaunchScript, ReplacesTheFileAndSetsItsRunBit) {
    test::TempDir dir;
    const std::string path = dir.file("Mod.sh");
    dir.write("Mod.sh", "old text that is longer than the new one\n");
    ASSERT_FALSE(writeLaunchScript(path, {"/g/quake2", {"+map", "q2dm1"}, {}, {}}));
    EXPECT_EQ(dir.read("Mod.sh"), "#!/bin/sh\nexec '/g/quake2' '+map' 'q2dm1'\n");
    EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::none);
    const platform::MaybeError error =
        writeLaunchScript(dir.file("none/Mod.sh"), {"/g/q", {}, {}, {}});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->subject, dir.file("none/Mod.sh"));
}

// The saved script starts the engine exactly as "Run Quake II" does: the same
// folder, and every argument with its quotes and blanks.
TEST(SavedScript, PassesTheGameWhatStartGameWould) {
    test::TempDir dir;
    const fs::path game = dir.path() / "it's my game";
    fs::create_directories(game);
    const fs::path record = dir.path() / "args";
    test::writeRecorder(game / "yquake2", record, /*withFolder*/ true);
    LaunchOptions options;
    setStartValues(options);
    options.GameDir = game.string();
    options.HostName = "$USER `x` Fest";
    const StartPlan start =
        planStart({(game / "yquake2").string(), platform::Family::Yamagi, {}}, options);
    ASSERT_FALSE(start.error);
    ASSERT_FALSE(platform::startGame(start.plan));
    const std::vector<std::string> started = test::recordedArguments(record);
    fs::remove(record);

    const std::string script = dir.file("Mod.sh");
    ASSERT_FALSE(writeLaunchScript(script, start.plan));
    ASSERT_EQ(std::system(shellQuote(script).c_str()), 0);
    ASSERT_FALSE(started.empty());
    EXPECT_EQ(started[0], fs::canonical(game).string());
    EXPECT_EQ(started[started.size() - 7], "\"$USER `x` Fest\"");
    EXPECT_EQ(test::recordedArguments(record), started);
}

} // namespace
} // namespace velo::core

#include "core/game_start.h"
#include "core/launch_script.h"

#include "support/recorder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace velo::core {
namespace {

namespace fs = std::filesystem;

// Only a name ending in ".sh" is a script: into the game folder, then one exec line with
// every word quoted.
TEST(LaunchScript, NamedByItsEndingIntoTheGameFolderThenOneExecLineEveryWordQuoted) {
    for (const char* name : {"/home/a/Mod.sh", "Mod.bat", "sh", "a.sh.bat", "Mod.SH"}) {
        EXPECT_EQ(isShellScriptName(name), name[0] == '/') << name;
    }
    EXPECT_EQ(
        launchScriptText(
            {"/home/o'neil/q2/quake2", {"$HOME", "`id`", "a;b", "\"x\""}, "/home/o'neil/q2", {}}),
        "#!/bin/sh\ncd '/home/o'\\''neil/q2' || exit\n"
        "exec '/home/o'\\''neil/q2/quake2' '$HOME' '`id`' 'a;b' '\"x\"'\n");
    EXPECT_EQ(launchScriptText({"/g/quake2", {}, {}, {}}), "#!/bin/sh\nexec '/g/quake2'\n");
}

// The saved script, written over an older file, runs (so it has its run bit) and starts
// the engine exactly as "Run Quake II" does: the same folder, and every argument with its
// quotes and blanks. The writer is the atomic one, whose failures name the path.
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
    dir.write("Mod.sh", "exit 3\n");
    ASSERT_FALSE(writeLaunchScript(script, start.plan));
    ASSERT_EQ(std::system(shellQuote(script).c_str()), 0);
    ASSERT_FALSE(started.empty());
    EXPECT_EQ(started[0], fs::canonical(game).string());
    const auto host = std::find(started.begin(), started.end(), "+hostname");
    ASSERT_NE(host, started.end());
    EXPECT_EQ(host[1], "\"$USER `x` Fest\"");
    EXPECT_EQ(test::recordedArguments(record), started);
}

} // namespace
} // namespace velo::core

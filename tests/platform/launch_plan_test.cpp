#include "support/temp_dir.h"

#include "core/command_line.h"
#include "core/game_start.h"
#include "platform/engines.h"
#include "platform/process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

using namespace velo::platform;
using velo::test::TempDir;
namespace fs = std::filesystem;

namespace {

enum class Kind { Native, Windows, NoRunBit };

void put(const fs::path& path, Kind kind) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << (kind == Kind::Windows ? "MZ\x90" : "#!/bin/sh\n");
    fs::permissions(path, kind == Kind::NoRunBit ? fs::perms::owner_read : fs::perms::owner_all);
}

struct TreeRow {
    const char* name;
    std::vector<std::pair<const char*, Kind>> files; // under the prepared root
    const char* found; // "|" between the programs found, "+wine" after one started through wine
};

class FindEngines : public testing::TestWithParam<TreeRow> {};

// The game folder is root/games/Quake 2; PATH is root/empty, root/bin, root/usr/games.
TEST_P(FindEngines, InTheDefaultOrder) {
    TempDir root;
    for (const auto& [file, kind] : GetParam().files) {
        put(root.path() / file, kind);
    }
    const std::string r = root.path().string();
    const std::vector<Engine> engines =
        findEngines({r + "/games/Quake 2", r + "/empty:" + r + "/bin:" + r + "/usr/games", r});
    std::string found;
    for (const Engine& engine : engines) {
        found += (found.empty() ? "" : "|") + engine.program.substr(r.size() + 1) +
                 (engine.wine.empty() ? "" : "+" + engine.wine.substr(r.size() + 1));
    }
    EXPECT_EQ(found, GetParam().found);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Trees, FindEngines, testing::Values(
    TreeRow{"SteamLowerCaseExeThroughWine", {{"games/Quake 2/quake2.exe", Kind::Windows},
            {"bin/wine", Kind::Native}}, "games/Quake 2/quake2.exe+bin/wine"},
    TreeRow{"WindowsExeWithoutWineIsNoEngine", {{"games/Quake 2/Quake2.exe", Kind::Windows}}, ""},
    TreeRow{"NativeInTheGameFolderFirst", {{"games/Quake 2/Quake2.exe", Kind::Windows},
            {"bin/wine", Kind::Native}, {"games/Quake 2/q2pro", Kind::Native},
            {"games/Quake 2/quake2", Kind::NoRunBit}, {"bin/yquake2", Kind::Native}},
            "games/Quake 2/q2pro|games/Quake 2/Quake2.exe+bin/wine|bin/yquake2"},
    TreeRow{"DebianNotItsLauncherScript", {{"usr/games/quake2", Kind::Native},
            {"usr/lib/yamagi-quake2/q2ded", Kind::Native}, {"usr/lib/yamagi-quake2/quake2", Kind::Native}},
            "usr/lib/yamagi-quake2/quake2|usr/lib/yamagi-quake2/q2ded"},
    TreeRow{"NothingFound", {{"games/Quake 2/baseq2/pak0.pak", Kind::NoRunBit}}, ""}),
    [](const testing::TestParamInfo<TreeRow>& row) { return std::string(row.param.name); });
// clang-format on

TEST(EngineAt, TellsTheFamilyOrWhyNot) {
    TempDir dir;
    put(dir.path() / "q2proded", Kind::Native);
    put(dir.path() / "QUAKE2.EXE", Kind::Windows);
    EXPECT_EQ(engineAt(dir.file("q2proded"), "").engine->family, Family::Q2pro);
    EXPECT_EQ(engineAt(dir.file("QUAKE2.EXE"), "").error->reason,
              "a Windows program, but wine is not on PATH");
    EXPECT_EQ(engineAt(dir.file("gone"), "").error->reason, "not found");
}

// The real engine, started as the launcher starts it, tells on its console what arrived.
TEST(RealEngine, TakesEveryChoiceFromAFolderWithABlank) {
    const std::string q2ded = "/usr/lib/yamagi-quake2/q2ded";
    if (::access(q2ded.c_str(), X_OK) != 0) {
        const char* ci = std::getenv("CI");
        ASSERT_FALSE(ci && std::string(ci) == "true") << q2ded << " is missing: CI installs it";
        GTEST_SKIP() << q2ded << " is not installed (Debian: yamagi-quake2-core)";
    }
    TempDir dir;
    fs::create_directories(dir.path() / "Quake 2/baseq2");
    fs::create_directories(dir.path() / "home");
    dir.write("Quake 2/baseq2/q2velo.txt", "set logfile 2\nset velo_marker velo-42\n");
    // Asked once the command line has run: the engine prints each value.
    dir.write("console", "hostname\ngame\ndmflags\nvelo_marker\nquit\n");
    fs::permissions(dir.path(), fs::perms::all);
    fs::permissions(dir.path() / "home", fs::perms::all);

    velo::core::LaunchOptions options;
    velo::core::setStartValues(options);
    options.GameDir = dir.file("Quake 2");
    options.ModName = "ctf";
    options.HostName = "Frag Fest";
    options.Dedicated = true; // only a dedicated server reads its console from stdin
    velo::core::flagBoxClicked(options, 3, true);
    velo::core::StartPlan start = velo::core::planStart({q2ded, Family::Yamagi, {}}, options);
    ASSERT_FALSE(start.error);
    // The engine refuses to run as root; it reads its console from stdin; timeout ends it
    // should it never read quit.
    LaunchPlan& plan = start.plan;
    if (::geteuid() == 0) {
        plan.arguments.insert(plan.arguments.begin(),
                              {"--reuid=nobody", "--regid=nogroup", "--clear-groups", q2ded});
        plan.program = "/usr/bin/setpriv";
    }
    plan.arguments.insert(plan.arguments.begin(),
                          {"-c", "HOME=\"$0/home\" exec /usr/bin/timeout 30 \"$@\" <\"$0/console\"",
                           dir.path().string(), plan.program});
    plan.program = "/bin/sh";
    ASSERT_FALSE(startGame(plan));

    const fs::path log = dir.path() / "home/.yq2/ctf/qconsole.log";
    std::string text;
    for (int i = 0; i < 200 && text.find("shutting down") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        text = fs::exists(log) ? dir.read("home/.yq2/ctf/qconsole.log") : "";
    }
    for (const char* said : {"\"hostname\" is \"Frag Fest\"", "\"game\" is \"ctf\"",
                             "\"dmflags\" is \"20\"", "\"velo_marker\" is \"velo-42\""}) {
        EXPECT_NE(text.find(said), std::string::npos) << said << " not in:\n" << text;
    }
}

} // namespace

#include "support/recorder.h"
#include "support/temp_dir.h"
#include "support/with_path.h"

#include "platform/process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace velo::platform;
using velo::test::TempDir;
namespace fs = std::filesystem;

namespace {

// Windows programs copied off a game disc often lack the run bit; WindowsRunBit has it.
enum class Kind { Native, Windows, WindowsRunBit, NoRunBit, Folder };

struct GameFile {
    const char* name;
    Kind kind;
};

void put(const fs::path& folder, const GameFile& file) {
    const fs::path path = folder / file.name;
    if (file.kind == Kind::Folder) {
        fs::create_directory(path);
        return;
    }
    const bool windows = file.kind == Kind::Windows || file.kind == Kind::WindowsRunBit;
    std::ofstream(path, std::ios::binary) << (windows ? "MZ\x90" : "#!/bin/sh\nexit 0\n");
    const bool runBit = file.kind != Kind::Windows && file.kind != Kind::NoRunBit;
    fs::permissions(path,
                    runBit ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
}

struct PlanRow {
    const char* name;
    std::vector<GameFile> files;
    bool wineOnPath;
    const char* program;     // "wine", a file in the game folder, or "" for no plan
    const char* reason = ""; // without a plan: what the error says before the engine list
};

class ChoosePlan : public testing::TestWithParam<PlanRow> {};

TEST_P(ChoosePlan, PicksTheProgramAndKeepsTheLinesArguments) {
    const PlanRow& row = GetParam();
    TempDir dir;
    const fs::path game = dir.path() / "game";
    fs::create_directory(game);
    fs::create_directory(dir.path() / "bin");
    fs::create_directory(dir.path() / "empty");
    for (const GameFile& file : row.files) {
        put(game, file);
    }
    put(dir.path() / "bin", {"wine", Kind::Native});
    // An empty folder first: the search goes on past entries without wine.
    const std::string pathEnv =
        dir.file("empty") + (row.wineOnPath ? ":" + dir.file("bin") : std::string());

    const std::string gameDir = game.string();
    const std::string line = gameDir + "\\Quake2.exe +set game ctf +set basedir " + gameDir +
                             " +cl_run 1  +hostname Frag Fest";
    const PlanChoice chosen = choosePlan(gameDir, line, pathEnv);
    const std::vector<std::string> lineArguments{"+set",      "game",  "ctf",     "+set",
                                                 "basedir",   gameDir, "+cl_run", "1",
                                                 "+hostname", "Frag",  "Fest"};

    if (std::string(row.program).empty()) {
        ASSERT_TRUE(chosen.error);
        EXPECT_EQ(chosen.error->subject, (game / "Quake2.exe").string());
        EXPECT_EQ(chosen.error->reason,
                  std::string(row.reason) +
                      ", and no native engine (quake2, yquake2 or q2pro) is in " + gameDir +
                      ": Wine or a native engine is needed");
        return;
    }
    ASSERT_FALSE(chosen.error) << chosen.error->message();
    std::vector<std::string> expected = lineArguments;
    if (std::string(row.program) == "wine") {
        EXPECT_EQ(chosen.plan.program, dir.file("bin/wine"));
        expected.insert(expected.begin(), (game / "Quake2.exe").string());
    } else {
        EXPECT_EQ(chosen.plan.program, (game / row.program).string());
    }
    EXPECT_EQ(chosen.plan.arguments, expected);
}

INSTANTIATE_TEST_SUITE_P(
    GameFolders, ChoosePlan,
    testing::Values(
        PlanRow{"NativeQuake2Exe", {{"Quake2.exe", Kind::Native}}, true, "Quake2.exe"},
        PlanRow{"WindowsExeThroughWine", {{"Quake2.exe", Kind::Windows}}, true, "wine"},
        PlanRow{"WindowsExeWithRunBitStillThroughWine",
                {{"Quake2.exe", Kind::WindowsRunBit}},
                true,
                "wine"},
        PlanRow{"WineBeforeAnEngine",
                {{"Quake2.exe", Kind::Windows}, {"quake2", Kind::Native}},
                true,
                "wine"},
        PlanRow{"WindowsExeWithoutWineIsAnError",
                {{"Quake2.exe", Kind::Windows}},
                false,
                "",
                "a Windows program, but wine is not on PATH"},
        PlanRow{"WindowsExeWithoutWineFallsBackToAnEngine",
                {{"Quake2.exe", Kind::Windows}, {"q2pro", Kind::Native}},
                false,
                "q2pro"},
        PlanRow{"NativeQuake2ExeBeforeEngines",
                {{"Quake2.exe", Kind::Native}, {"quake2", Kind::Native}},
                false,
                "Quake2.exe"},
        PlanRow{"OnlyYquake2", {{"yquake2", Kind::Native}}, true, "yquake2"},
        PlanRow{"EnginesInOrder",
                {{"q2pro", Kind::Native}, {"yquake2", Kind::Native}, {"quake2", Kind::Native}},
                false,
                "quake2"},
        PlanRow{"UnrunnableEnginesSkipped",
                {{"quake2", Kind::Folder}, {"yquake2", Kind::NoRunBit}, {"q2pro", Kind::Native}},
                false,
                "q2pro"},
        PlanRow{"NoRunBitOnNativeQuake2Exe",
                {{"Quake2.exe", Kind::NoRunBit}},
                true,
                "",
                "not executable"},
        PlanRow{"NothingThere", {}, true, "", "not found"}),
    [](const testing::TestParamInfo<PlanRow>& row) { return std::string(row.param.name); });

TEST(ChoosePlan, AnEmptyGameFolderIsAnError) {
    const PlanChoice chosen = choosePlan("", "\\Quake2.exe +map q2dm1", "/usr/bin");
    ASSERT_TRUE(chosen.error);
    EXPECT_EQ(chosen.error->subject, "Quake2.exe");
}

TEST(StartGame, RunsAWindowsGameThroughTheFirstWineOnPath) {
    TempDir dir;
    fs::create_directories(dir.path() / "my game");
    fs::create_directories(dir.path() / "bin");
    fs::create_directories(dir.path() / "later");
    put(dir.path() / "my game", {"Quake2.exe", Kind::Windows});
    velo::test::writeRecorder(dir.path() / "bin/wine", dir.path() / "args");
    velo::test::writeRecorder(dir.path() / "later/wine", dir.path() / "wrong");
    const velo::test::WithPath path(dir.file("bin") + ":" + dir.file("later"));

    const std::string gameDir = dir.file("my game");
    ASSERT_FALSE(
        startGame(gameDir, gameDir + "\\Quake2.exe +set basedir " + gameDir + " +map q2dm1"));
    EXPECT_EQ(velo::test::recordedArguments(dir.path() / "args"),
              (std::vector<std::string>{dir.file("my game/Quake2.exe"), "+set", "basedir",
                                        dir.file("my"), "game", "+map", "q2dm1"}));
    EXPECT_FALSE(fs::exists(dir.path() / "wrong"));
}

} // namespace

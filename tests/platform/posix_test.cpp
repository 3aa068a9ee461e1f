#include "support/recorder.h"
#include "support/temp_dir.h"

#include "core/settings.h"
#include "platform/file.h"
#include "platform/game_search.h"
#include "platform/process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace velo::platform;
using velo::test::entries;
using velo::test::TempDir;
namespace fs = std::filesystem;

namespace {
mode_t modeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

void put(const fs::path& file, const std::string& text = {}) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}
} // namespace

TEST(AtomicWrite, AReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permission bits do not stop root";
    }
    TempDir dir;
    fs::create_directory(dir.path() / "ro");
    dir.write("ro/keep.txt", "old");
    fs::permissions(dir.path() / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_TRUE(writeTextFileAtomic(dir.file("ro/keep.txt"), "new").has_value());
    fs::permissions(dir.path() / "ro", fs::perms::owner_all);
    EXPECT_EQ(dir.read("ro/keep.txt"), "old");
    EXPECT_EQ(entries(dir.path() / "ro"), std::vector<std::string>{"keep.txt"});
}

TEST(AtomicWrite, ReplacesKeepingModesAndSetsTheRunBit) {
    TempDir dir;
    const std::string path = dir.file("a.txt");
    ASSERT_FALSE(writeTextFileAtomic(path, "one\r\ntwo\r\n"));
    ::chmod(path.c_str(), 0600);
    ASSERT_FALSE(writeTextFileAtomic(path, "three\r\n"));
    EXPECT_EQ(dir.read("a.txt"), "three\r\n");
    EXPECT_EQ(modeOf(path), 0600u);
    ASSERT_FALSE(writeTextFileAtomic(dir.file("run.sh"), "#!/bin/sh\n", true));
    EXPECT_EQ(modeOf(dir.file("run.sh")) & 0100, 0100u);
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"a.txt", "run.sh"}));
}

TEST(FileExists, FindsADanglingLink) {
    TempDir dir;
    fs::create_symlink(dir.path() / "gone", dir.path() / "link");
    EXPECT_TRUE(FileExists(dir.file("link")));
}

struct SplitRow {
    const char* name;
    const char* gameDir;
    const char* line;
    const char* program;
    std::vector<std::string> arguments;
};

class SplitCommandLine : public testing::TestWithParam<SplitRow> {};

TEST_P(SplitCommandLine, CutsAtRunsOfBlanks) {
    const SplitRow& row = GetParam();
    const LaunchPlan plan = splitCommandLine(row.gameDir, row.line);
    EXPECT_EQ(plan.program, row.program);
    EXPECT_EQ(plan.arguments, row.arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitCommandLine,
    testing::Values(SplitRow{"DoubleBlanks",
                             "/games/q2",
                             "/games/q2\\Quake2.exe +cl_run 1  +freelook 1 ",
                             "/games/q2/Quake2.exe",
                             {"+cl_run", "1", "+freelook", "1"}},
                    SplitRow{"BlankInFolder",
                             "/tmp/my game",
                             "/tmp/my game\\Quake2.exe +set basedir /tmp/my game",
                             "/tmp/my game/Quake2.exe",
                             {"+set", "basedir", "/tmp/my", "game"}},
                    SplitRow{"Backslashes",
                             "C:\\Q2",
                             "C:\\Q2\\Quake2.exe +map q2dm1",
                             "C:/Q2/Quake2.exe",
                             {"+map", "q2dm1"}},
                    SplitRow{"OtherStart", "/g", "+map x", "/g/Quake2.exe", {"+map", "x"}},
                    SplitRow{"EmptyHostName",
                             "/g",
                             "/g\\Quake2.exe +hostname  +fraglimit 0",
                             "/g/Quake2.exe",
                             {"+hostname", "+fraglimit", "0"}}),
    [](const testing::TestParamInfo<SplitRow>& row) { return std::string(row.param.name); });

class StartGame : public testing::TestWithParam<const char*> {};

TEST_P(StartGame, RunsTheGameDetachedWithTheSplitLine) {
    TempDir dir;
    const fs::path game = dir.path() / GetParam();
    fs::create_directory(game);
    velo::test::writeRecorder(game / "Quake2.exe", game / "args");
    const std::string gameDir = game.string();
    const std::string line = gameDir + "\\Quake2.exe +set game baseq2  +hostname Frag Fest";
    ASSERT_FALSE(startGame(gameDir, line));
    EXPECT_EQ(velo::test::recordedArguments(game / "args"),
              (std::vector<std::string>{"+set", "game", "baseq2", "+hostname", "Frag", "Fest"}));
}

INSTANTIATE_TEST_SUITE_P(Folders, StartGame, testing::Values("quake2", "my game"),
                         [](const testing::TestParamInfo<const char*>& row) {
                             return std::string(row.index == 0 ? "Plain" : "WithBlank");
                         });

TEST(SettingsPath, AtTheRootIsOneFileInIt) {
    EXPECT_EQ(velo::core::settingsPathIn("/"), "/q2velo.ini");
    EXPECT_EQ(velo::core::settingsPathIn("/opt/velo"), "/opt/velo/q2velo.ini");
}

TEST(FindGameFolders, SteamLibrariesThenTheSystemsPackageEachOnceNeverARerelease) {
    TempDir home, root, disk, bare;
    const fs::path steam = home.path() / ".local/share/Steam";
    const fs::path library = disk.path() / "Steam Library";
    // The root's own library holds only the re-release; the second one the classic game, in
    // the spelling of the store's files.
    put(steam / "steamapps/common/Quake 2/rerelease/baseq2/pak0.pak");
    put(library / "steamapps/common/Quake 2/quake2.exe");
    put(library / "steamapps/common/Quake 2/BaseQ2/PAK0.PAK");
    put(steam / "steamapps/libraryfolders.vdf",
        "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + steam.string() +
            "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"2320\"\t\t\"0\"\n\t\t}\n\t}\n\t\"1\"\n\t{\n"
            "\t\t\"path\"\t\t\"" +
            library.string() + "\"\n\t}\n}\n");
    // The usual link from ~/.steam/steam to the same root finds nothing new.
    fs::create_directories(home.path() / ".steam");
    fs::create_directory_symlink(steam, home.path() / ".steam/steam");
    put(home.path() / "Games/rerelease/baseq2/pak0.pak");
    put(root.path() / "usr/share/games/quake2/baseq2/pak0.pak");
    EXPECT_EQ(findGameFolders({home.path().string(), root.path().string()}),
              (std::vector<std::string>{(library / "steamapps/common/Quake 2").string(),
                                        (root.path() / "usr/share/games/quake2").string()}));
    EXPECT_TRUE(findGameFolders({bare.path().string(), bare.path().string()}).empty());
    // The older form, with a Windows path as the numbered entry's value.
    EXPECT_EQ(libraryFolders("\"LibraryFolders\" { \"ContentStatsID\" \"7\" "
                             "\"1\" \"D:\\\\Steam Library\" } // end"),
              std::vector<std::string>{"D:\\Steam Library"});
}

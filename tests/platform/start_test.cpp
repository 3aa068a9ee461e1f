#include "support/recorder.h"
#include "support/temp_dir.h"

#include "core/batch_file.h"
#include "core/command_line.h"
#include "core/game_start.h"
#include "platform/engines.h"
#include "platform/path.h"
#include "platform/process.h"
#include "platform/win_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>

using namespace velo::platform;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
// What the stub records: its program, command line, show state, settings file and
// working folder.
using velo::test::recordedArguments;

namespace {

// A game folder with a blank in it, the stub copied in as Quake2.exe, and the stub
// again as a decoy where the first blank of the unquoted path would cut it.
class GameWithBlank : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(gameDir);
        const std::string stub = joinNative(programDirectory(), "game_stub.exe");
        ASSERT_TRUE(copy(stub, game) && copy(stub, decoy)) << stub;
        SetEnvironmentVariableW(L"VELO_STUB_RECORD", wide(record).c_str());
        velo::core::setStartValues(options);
        options.GameDir = gameDir;
    }

    void TearDown() override {
        dir.write("record.txt.go", "");
        SetEnvironmentVariableW(L"VELO_STUB_EXIT", nullptr);
        // A stub still on its way out keeps its file open a moment.
        for (const std::string& copied : copies) {
            for (int i = 0; i < 100 && !DeleteFileW(wide(copied).c_str()) && fs::exists(copied);
                 ++i) {
                Sleep(50);
            }
        }
    }

    static std::wstring wide(const std::string& text) { return win::wide(text).value(); }

    bool copy(const std::string& from, const std::string& to) {
        copies.push_back(to);
        return CopyFileW(wide(from).c_str(), wide(to).c_str(), FALSE) != 0;
    }

    velo::test::TempDir dir;
    const std::string gameDir = dir.file("my game");
    const std::string game = joinNative(gameDir, "Quake2.exe");
    const std::string decoy = dir.file("my.exe");
    const std::string record = dir.file("record.txt");
    velo::core::LaunchOptions options;
    Lines copies;
};

// The original program gets the composed line, its basedir in the short form that
// holds no blank, and works in the game folder.
TEST_F(GameWithBlank, StartGameRunsTheGameWithTheLineAsComposedMinimizedWithoutWaiting) {
    const std::string basedir = shortFolder(gameDir);
    ASSERT_EQ(basedir.find(' '), std::string::npos) << basedir;
    const velo::core::StartPlan start =
        velo::core::planStart({game, Family::Original, {}}, options);
    ASSERT_FALSE(start.error);
    ASSERT_FALSE(startGame(start.plan));
    EXPECT_EQ(
        recordedArguments(record),
        (Lines{game, velo::core::ComposeCommandLine(options, basedir),
               std::to_string(SW_SHOWMINIMIZED), joinNative(gameDir, "q2velo.ini"), gameDir}));
    EXPECT_FALSE(fs::exists(record + ".done")) << "the start waited for the game to end";
}

// A missing game is an error naming it; a game that fails is seen ending with its code.
TEST_F(GameWithBlank, AMissingOrFailingGameIsNamedOrSeenEnding) {
    const std::string elsewhere = dir.file("no game");
    const MaybeError error =
        startGame({elsewhere + "\\Quake2.exe", {}, {}, elsewhere + "\\Quake2.exe +map q2dm1"});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->subject, elsewhere + "\\Quake2.exe");
    SetEnvironmentVariableW(L"VELO_STUB_EXIT", L"0xC0000135");
    GameProcess watch;
    ASSERT_FALSE(startGame({game, {}, gameDir, "Quake2.exe"}, &watch));
    std::optional<GameEnd> end;
    for (int i = 0; i < 400 && !(end = watch.ended()); ++i) {
        Sleep(50);
    }
    ASSERT_TRUE(end);
    EXPECT_TRUE(end->failed);
    EXPECT_EQ(end->status, "exit code 0xC0000135");
}

// The settings file of a program at a drive root is the one file directly in the root.
TEST_F(GameWithBlank, AtADriveRootTheSettingsFileIsInTheRoot) {
    const std::string root = dir.path().root_path().string();
    const std::string atRoot = root + "velo-stub-" + std::to_string(GetCurrentProcessId()) + ".exe";
    if (!copy(game, atRoot)) {
        GTEST_SKIP() << "the root of " << root << " cannot be written";
    }
    ASSERT_FALSE(startGame({atRoot, {}, root, "stub"}));
    EXPECT_EQ(recordedArguments(record), (Lines{atRoot, "stub", "2", root + "q2velo.ini", root}));
}

// Written by the batch writer, the line starts the game, not the decoy where the first
// blank of the unquoted program would cut it, with the short form as basedir; a host name
// full of what the command interpreter reads as commands, pipes, redirections and variables
// reaches the game whole, and nothing else runs: not the Jerry.bat an unescaped "& Jerry"
// would start, reading the file 3.
TEST_F(GameWithBlank, ABatchFileUnderCmdStartsTheGameAndNothingElse) {
    dir.write("Jerry.bat", "echo INJECTED> marker.txt\r\n");
    dir.write("3", "\r\n");
    for (const char* host : {"Unnamed", "Tom & Jerry <3 100% ^_^ | more"}) {
        options.HostName = host;
        const std::string line = velo::core::ComposeCommandLine(options, shortFolder(gameDir));
        ASSERT_FALSE(velo::core::writeBatchFile(dir.file("run.bat"), line, gameDir));
        const char* cmd = std::getenv("ComSpec");
        ASSERT_TRUE(cmd);
        fs::remove(record);
        ASSERT_FALSE(
            startGame({cmd, {}, dir.path().string(), "cmd /c \"" + dir.file("run.bat") + "\""}));
        Lines got = recordedArguments(record);
        got.resize(2);
        EXPECT_EQ(got, (Lines{game, velo::core::batchLine(line, gameDir)})) << host;
        dir.write("record.txt.go", "");
        Sleep(500);
        EXPECT_FALSE(fs::exists(dir.path() / "marker.txt")) << host;
        fs::remove(dir.path() / "record.txt.go");
    }
}

// The game reads nothing the launcher was handed: its standard input is the null device,
// even when the launcher's is a pipe holding something to read.
TEST_F(GameWithBlank, TheGamesInputIsTheNullDevice) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE input = nullptr;
    HANDLE feed = nullptr;
    ASSERT_TRUE(CreatePipe(&input, &feed, &inherited, 0));
    DWORD put = 0;
    ASSERT_TRUE(WriteFile(feed, "leak\n", 5, &put, nullptr));
    CloseHandle(feed);
    const HANDLE saved = GetStdHandle(STD_INPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, input);
    const MaybeError error = startGame({game, {}, gameDir, "Quake2.exe"});
    SetStdHandle(STD_INPUT_HANDLE, saved);
    CloseHandle(input);
    ASSERT_FALSE(error);
    ASSERT_FALSE(recordedArguments(record).empty());
    EXPECT_EQ(dir.read("record.txt.input"), "null");
}

} // namespace

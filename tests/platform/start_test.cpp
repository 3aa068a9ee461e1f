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

#include <filesystem>

using namespace velo::platform;
namespace fs = std::filesystem;

namespace {

struct Record {
    std::string program;
    std::string commandLine;
    std::string show;
    std::string settingsPath;
    std::string workingDir;
};

// A game folder with a blank in it, the stub copied in as Quake2.exe, and the stub
// again as a decoy where the first blank of the unquoted path would cut it.
class GameWithBlank : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(gameDir);
        const std::string stub = joinNative(programDirectory(), "game_stub.exe");
        ASSERT_TRUE(copy(stub, game)) << stub;
        ASSERT_TRUE(copy(stub, decoy)) << stub;
        SetEnvironmentVariableW(L"VELO_STUB_RECORD", wide(record).c_str());
        velo::core::setStartValues(options);
        options.GameDir = gameDir;
        line = velo::core::ComposeCommandLine(options);
    }

    void TearDown() override {
        release();
        SetEnvironmentVariableW(L"VELO_STUB_RECORD", nullptr);
        SetEnvironmentVariableW(L"VELO_STUB_EXIT", nullptr);
        // A stub still on its way out keeps its file open a moment.
        for (int i = 0; i < 100 && (fs::exists(game) || fs::exists(decoy)); ++i) {
            DeleteFileW(wide(game).c_str());
            DeleteFileW(wide(decoy).c_str());
            Sleep(50);
        }
    }

    static std::wstring wide(const std::string& text) { return win::wide(text).value(); }

    static bool copy(const std::string& from, const std::string& to) {
        return CopyFileW(wide(from).c_str(), wide(to).c_str(), FALSE) != 0;
    }

    // What the stub recorded, waiting up to twenty seconds for it.
    Record recorded() const {
        for (int i = 0; i < 400 && !fs::exists(record); ++i) {
            Sleep(50);
        }
        if (!fs::exists(record)) {
            return {};
        }
        const std::string text = dir.read("record.txt");
        Record got;
        std::size_t start = 0;
        for (std::string* field :
             {&got.program, &got.commandLine, &got.show, &got.settingsPath, &got.workingDir}) {
            const std::size_t end = text.find('\n', start);
            *field = text.substr(start, end - start);
            start = end == std::string::npos ? text.size() : end + 1;
        }
        return got;
    }

    bool stubEnded() const { return fs::exists(record + ".done"); }

    void release() const { dir.write("record.txt.go", ""); }

    velo::test::TempDir dir;
    const std::string gameDir = dir.file("my game");
    const std::string game = joinNative(gameDir, "Quake2.exe");
    const std::string decoy = dir.file("my.exe");
    const std::string record = dir.file("record.txt");
    velo::core::LaunchOptions options;
    std::string line;
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
    const Record got = recorded();
    EXPECT_EQ(got.program, game);
    EXPECT_EQ(got.commandLine, velo::core::ComposeCommandLine(options, basedir));
    EXPECT_EQ(got.workingDir, gameDir);
    EXPECT_EQ(got.show, std::to_string(SW_SHOWMINIMIZED));
    EXPECT_EQ(got.settingsPath, joinNative(gameDir, "q2velo.ini"));
    EXPECT_FALSE(stubEnded()) << "the start waited for the game to end";
}

TEST_F(GameWithBlank, AGameThatFailsIsSeenEndingWithItsExitCode) {
    SetEnvironmentVariableW(L"VELO_STUB_EXIT", L"0xC0000135");
    GameProcess watch;
    ASSERT_FALSE(startGame(gameDir, line, &watch));
    std::optional<GameEnd> end;
    for (int i = 0; i < 400 && !(end = watch.ended()); ++i) {
        Sleep(50);
    }
    ASSERT_TRUE(end);
    EXPECT_TRUE(end->failed);
    EXPECT_EQ(end->status, "exit code 0xC0000135");
}

TEST_F(GameWithBlank, AMissingGameIsAnErrorNamingIt) {
    const std::string elsewhere = dir.file("no game");
    const MaybeError error =
        startGame({elsewhere + "\\Quake2.exe", {}, {}, elsewhere + "\\Quake2.exe +map q2dm1"});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->subject, elsewhere + "\\Quake2.exe");
    EXPECT_FALSE(fs::exists(record)) << "something else was started";
}

// The settings file of a program at a drive root is the one file directly in the root.
TEST_F(GameWithBlank, AtADriveRootTheSettingsFileIsInTheRoot) {
    const std::string root = dir.path().root_path().string();
    ASSERT_EQ(root.size(), 3u) << root;
    const std::string atRoot = root + "velo-stub-" + std::to_string(GetCurrentProcessId()) + ".exe";
    if (!copy(game, atRoot)) {
        GTEST_SKIP() << "the root of " << root << " cannot be written";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::wstring commandLine = L"stub";
    const BOOL ran = CreateProcessW(wide(atRoot).c_str(), commandLine.data(), nullptr, nullptr,
                                    FALSE, 0, nullptr, nullptr, &startup, &started);
    const Record got = ran ? recorded() : Record{};
    release();
    if (ran) {
        WaitForSingleObject(started.hProcess, 20000);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    DeleteFileW(wide(atRoot).c_str());
    ASSERT_TRUE(ran);
    EXPECT_EQ(got.program, atRoot);
    EXPECT_EQ(got.settingsPath, root + "q2velo.ini");
}

// Written by the batch writer, the line starts the game, not the decoy where the first
// blank of the unquoted program would cut it, with the short form as basedir.
TEST_F(GameWithBlank, ABatchFileUnderCmdStartsTheGame) {
    const std::string batch = dir.file("run.bat");
    line = velo::core::ComposeCommandLine(options, shortFolder(gameDir));
    ASSERT_NE(line, velo::core::ComposeCommandLine(options));
    ASSERT_FALSE(velo::core::writeBatchFile(batch, line, gameDir));
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::wstring cmd = std::wstring(system, length) + L"\\cmd.exe";
    std::wstring commandLine = L"cmd /c \"" + wide(batch) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(cmd.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                               CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started));
    const Record got = recorded();
    release();
    WaitForSingleObject(started.hProcess, 20000);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    EXPECT_EQ(got.program, game);
    const std::string bytes = dir.read("run.bat");
    EXPECT_EQ(got.commandLine, bytes.substr(0, bytes.size() - 2));
}

} // namespace

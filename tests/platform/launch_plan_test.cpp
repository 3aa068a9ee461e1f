#include "support/temp_dir.h"

#include "core/game_start.h"
#include "platform/engines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

// The game folder is root/games/Quake 2; PATH is root/empty, root/bin, root/usr/games. "|"
// parts the programs found, "+wine" follows one started through wine.
TEST(FindEngines, InTheDefaultOrderOrOneAlone) {
    const struct {
        const char* name;
        std::vector<std::pair<const char*, Kind>> files; // under the prepared root
        const char* found;
    } rows[] = {
        // clang-format off
        {"Steam's lower-case exe through wine", {{"games/Quake 2/quake2.exe", Kind::Windows},
         {"bin/wine", Kind::Native}}, "games/Quake 2/quake2.exe+bin/wine"},
        {"a Windows exe without wine is no engine", {{"games/Quake 2/Quake2.exe", Kind::Windows}}, ""},
        {"native in the game folder first", {{"games/Quake 2/Quake2.exe", Kind::Windows},
         {"bin/wine", Kind::Native}, {"games/Quake 2/q2pro", Kind::Native},
         {"games/Quake 2/quake2", Kind::NoRunBit}, {"bin/yquake2", Kind::Native}},
         "games/Quake 2/q2pro|games/Quake 2/Quake2.exe+bin/wine|bin/yquake2"},
        {"Debian's, not its launcher script", {{"usr/games/quake2", Kind::Native},
         {"usr/lib/yamagi-quake2/q2ded", Kind::Native}, {"usr/lib/yamagi-quake2/quake2", Kind::Native}},
         "usr/lib/yamagi-quake2/quake2|usr/lib/yamagi-quake2/q2ded"},
        {"nothing found", {{"games/Quake 2/baseq2/pak0.pak", Kind::NoRunBit}}, ""},
        // clang-format on
    };
    for (const auto& row : rows) {
        TempDir root;
        for (const auto& [file, kind] : row.files) {
            put(root.path() / file, kind);
        }
        const std::string r = root.path().string();
        std::string found;
        for (const Engine& engine : findEngines(
                 {r + "/games/Quake 2", r + "/empty:" + r + "/bin:" + r + "/usr/games", r})) {
            found += (found.empty() ? "" : "|") + engine.program.substr(r.size() + 1) +
                     (engine.wine.empty() ? "" : "+" + engine.wine.substr(r.size() + 1));
        }
        EXPECT_EQ(found, row.found) << row.name;
    }
}

// "Other…" takes programs only, telling the family or why it is none: a text file is
// refused even with its run bit set, and Yamagi's Windows quake2.exe, beside its
// yquake2.exe, is Yamagi's.
TEST(EngineAt, TakesOnlyProgramsAndKnowsYamagisStarter) {
    TempDir dir;
    dir.write("hostname", "quake-box\n");
    fs::permissions(dir.path() / "hostname", fs::perms::owner_all);
    put(dir.path() / "yamagi/quake2.exe", Kind::Windows);
    put(dir.path() / "yamagi/yquake2.exe", Kind::Windows);
    put(dir.path() / "id/quake2.exe", Kind::Windows);
    put(dir.path() / "bin/wine", Kind::Native);
    const std::string path = dir.file("bin");
    put(dir.path() / "q2proded", Kind::Native);
    EXPECT_EQ(engineAt(dir.file("q2proded"), "").engine->family, Family::Q2pro);
    EXPECT_EQ(engineAt(dir.file("id/quake2.exe"), "").error->reason,
              "a Windows program, but wine is not on PATH");

    const EngineLookup text = engineAt(dir.file("hostname"), path);
    ASSERT_FALSE(text.engine);
    EXPECT_NE(text.error->reason.find("not a program"), std::string::npos) << text.error->reason;
    EXPECT_EQ(engineAt(dir.file("yamagi/quake2.exe"), path).engine->family, Family::Yamagi);
    EXPECT_EQ(engineAt(dir.file("id/quake2.exe"), path).engine->family, Family::Original);
}

std::string joined(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        text += (text.empty() ? "" : "|") + argument;
    }
    return text;
}

// The engine starts in the game folder, so a relative program or folder would name another
// file there; and a native engine on a system that tells case reads only "baseq2".
TEST(StartPaths, AbsoluteFromWhereTheLauncherRunsAndTheBaseFolderSpelledAsEnginesRead) {
    TempDir here;
    const fs::path before = fs::current_path();
    fs::current_path(here.path());
    fs::create_directories(here.path() / "q2/BaseQ2");
    const std::string cwd = fs::current_path().string();
    const struct {
        const char* name;
        Engine engine;
        const char* gameDir;
        std::string program;
        std::string firstArguments;
        std::string says; // empty: the start goes ahead
    } rows[] = {
        // clang-format off
        {"an empty PATH entry's engine", {"./yquake2", Family::Yamagi, {}}, "/q2",
         cwd + "/yquake2", "-datadir|/q2", ""},
        {"a hand-edited relative folder", {"/e/q2pro", Family::Q2pro, {}}, ".\\q3",
         "/e/q2pro", "+set|basedir|" + cwd + "/q3", ""},
        {"the original through a relative wine", {"q3/quake2.exe", Family::Original, "bin/wine"},
         "q3", cwd + "/bin/wine", cwd + "/q3/quake2.exe|+set", ""},
        {"BaseQ2 and a native engine", {"/e/quake2", Family::Yamagi, {}}, "q2", "", "",
         cwd + "/q2/BaseQ2: this engine reads the game's data only from a folder named \"baseq2\""},
        {"BaseQ2 and the original", {"q2/Quake2.exe", Family::Original, {}}, "q2",
         cwd + "/q2/Quake2.exe", "+set|game", ""},
        // clang-format on
    };
    for (const auto& row : rows) {
        const velo::core::StartPlan start = velo::core::planStart(row.engine, [&] {
            velo::core::LaunchOptions o;
            velo::core::setStartValues(o);
            o.GameDir = row.gameDir;
            return o;
        }());
        const std::string reason = start.error ? start.error->message() : "";
        EXPECT_EQ(reason.substr(0, row.says.size()), row.says) << row.name;
        EXPECT_EQ(start.plan.program, row.program) << row.name;
        EXPECT_EQ(joined(start.plan.arguments).substr(0, row.firstArguments.size()),
                  row.firstArguments)
            << row.name;
        if (!start.error) {
            EXPECT_EQ(start.plan.workingDir.substr(0, 1), "/") << row.name;
        }
    }
    fs::current_path(before);
}

} // namespace

#include "support/temp_dir.h"

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
    // One program, looked at alone, tells its family or why it is none.
    TempDir dir;
    put(dir.path() / "q2proded", Kind::Native);
    put(dir.path() / "QUAKE2.EXE", Kind::Windows);
    EXPECT_EQ(engineAt(dir.file("q2proded"), "").engine->family, Family::Q2pro);
    EXPECT_EQ(engineAt(dir.file("QUAKE2.EXE"), "").error->reason,
              "a Windows program, but wine is not on PATH");
}

} // namespace

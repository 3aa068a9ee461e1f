#include "core/game_content.h"
#include "core/pak.h"

#include "support/game_data.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace velo::core {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

std::string pakBytes(const std::vector<test::PakEntry>& entries) {
    test::TempDir dir;
    test::writePak(dir.path() / "x.pak", entries);
    return dir.read("x.pak");
}

std::string le32(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

// A pak read from memory gives its names, or none when its header or directory cannot hold.
TEST(Pak, NamesFromTheDirectoryOrNoneWhenItDoesNotFit) {
    const std::string good = pakBytes({{"pics/colormap.pcx", "abc"}, {"maps/q2dm1.bsp", "IBSP"}});
    const std::string name56(56, 'n'); // fills its field: no NUL ends it
    const struct {
        const char* name;
        std::string bytes;
        Names names;
    } rows[] = {
        {"a pak the game writes", good, {"pics/colormap.pcx", "maps/q2dm1.bsp"}},
        {"not a pak", "PAKK" + good.substr(4), {}},
        {"shorter than its header", good.substr(0, 11), {}},
        {"directory past the end", good.substr(0, good.size() - 1), {}},
        {"offset past the end", "PACK" + le32(0xFFFFFFF0u) + le32(64) + std::string(64, 'x'), {}},
        {"a part entry at the end is dropped",
         "PACK" + le32(12) + le32(70) + "maps/a.bsp" + std::string(54, '\0') + "tail!!",
         {"maps/a.bsp"}},
        {"a name filling its field, an empty one skipped",
         "PACK" + le32(12) + le32(128) + name56 + std::string(8, '\0') + std::string(64, '\0'),
         {name56}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(pakNames(row.bytes), row.names) << row.name;
    }
}

TEST(Pak, MapsAreBspFilesInTheMapsFolder) {
    const struct {
        const char* entry;
        const char* map; // empty: no map
    } rows[] = {
        {"maps/q2dm1.bsp", "q2dm1"}, {"MAPS/Base1.BSP", "Base1"}, {"maps/sub/x.bsp", ""},
        {"maps/.bsp", ""},           {"maps/q2dm1.bsp.txt", ""},  {"pics/x.bsp", ""},
        {"maps\\x.bsp", ""},         {"maps/a.b.bsp", "a.b"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(mapOf(row.entry).value_or(""), row.map) << row.entry;
    }
}

// The maps of the base game and the mod, packed or loose, in any case of folder and ending;
// another mod's stay out. Mods are folders with game code or a pak.
TEST(GameContent, MapsAndModsAsInstalled) {
    test::TempDir dir;
    const fs::path game = dir.path() / "Quake 2";
    test::writePak(game / "BaseQ2/pak0.pak", {{"maps/q2dm1.bsp", "x"}, {"maps/base1.bsp", "x"}});
    test::writePak(game / "BaseQ2/PAK1.PAK", {{"maps/q2dm8.bsp", "x"}, {"sound/a.wav", "x"}});
    test::writeGameFile(game / "BaseQ2/maps/loose.bsp", "x");
    test::writeGameFile(game / "BaseQ2/maps/notes.txt", "x");
    test::writePak(game / "ctf/pak0.pak", {{"maps/q2ctf1.bsp", "x"}});
    test::writeGameFile(game / "ctf/Maps/ctfloose.BSP", "x");
    test::writeGameFile(game / "rogue/gamex86.DLL", "x");
    test::writePak(game / "rogue/pak0.pak", {{"maps/rmine1.bsp", "x"}});
    test::writeGameFile(game / "xatrix/gamex86_64.so", "x");
    test::writeGameFile(game / "screenshots/shot.pcx", "x");
    test::writeGameFile(game / "broken/pak0.pak", "not a pak");
    const fs::path engine = dir.path() / "engine";
    test::writeGameFile(engine / "ctf/game.so", "x");
    test::writeGameFile(engine / "zaero/game.so", "x");
    test::writeGameFile(engine / "baseq2/game.so", "x");
    test::writeGameFile(engine / "packed/pak0.pak", "x");

    EXPECT_EQ(findMaps(game.string(), "ctf"),
              (Names{"base1", "ctfloose", "loose", "q2ctf1", "q2dm1", "q2dm8"}));
    EXPECT_EQ(findMaps(game.string(), "baseq2"), (Names{"base1", "loose", "q2dm1", "q2dm8"}));
    EXPECT_EQ(findMaps(game.string(), "../ctf"), (Names{"base1", "loose", "q2dm1", "q2dm8"}));
    EXPECT_EQ(findMaps((dir.path() / "none").string(), "ctf"), Names{});
    EXPECT_EQ(findMods(game.string(), engine.string()),
              (Names{"broken", "ctf", "rogue", "xatrix", "zaero"}));
}

} // namespace
} // namespace velo::core

#include "platform/game_search.h"

#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kLibraries = 3;
constexpr int kGames = 200;

void put(const fs::path& file, const std::string& text = {}) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

// A home folder whose Steam knows three libraries of 200 games each; the last library
// holds the game, as the re-release and the classic one.
struct SteamTree {
    velo::test::TempDir home;
    velo::test::TempDir disks;
    std::string vdf = "\"libraryfolders\"\n{\n";

    SteamTree() {
        const fs::path root = home.path() / ".local/share/Steam";
        for (int library = 0; library < kLibraries; ++library) {
            const fs::path folder =
                library == 0 ? root : disks.path() / ("Library " + std::to_string(library));
            vdf += "\t\"" + std::to_string(library) + "\"\n\t{\n\t\t\"path\"\t\t\"" +
                   folder.string() + "\"\n\t\t\"apps\"\n\t\t{\n";
            for (int game = 0; game < kGames; ++game) {
                const std::string app = std::to_string(10000 + library * kGames + game);
                vdf += "\t\t\t\"" + app + "\"\t\t\"123456789\"\n";
                put(folder / "steamapps" / ("appmanifest_" + app + ".acf"), "\"AppState\"\n{\n}\n");
                put(folder / "steamapps/common" / ("Game " + app) / "game.bin");
            }
            vdf += "\t\t}\n\t}\n";
        }
        vdf += "}\n";
        put(root / "steamapps/libraryfolders.vdf", vdf);
        const fs::path game = disks.path() / "Library 2/steamapps/common/Quake 2";
        put(game / "rerelease/baseq2/pak0.pak");
        put(game / "baseq2/pak0.pak");
    }
};

void FindGameFolders(benchmark::State& state) {
    const SteamTree tree;
    const velo::platform::SearchRoots roots{tree.home.path().string(), tree.disks.path().string()};
    for (auto _ : state) {
        auto found = velo::platform::findGameFolders(roots);
        if (found.size() != 1) {
            state.SkipWithError("the game was not found exactly once");
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(FindGameFolders)->Unit(benchmark::kMicrosecond);

void ReadLibraryFolders(benchmark::State& state) {
    const SteamTree tree;
    for (auto _ : state) {
        benchmark::DoNotOptimize(velo::platform::libraryFolders(tree.vdf));
    }
}
BENCHMARK(ReadLibraryFolders)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

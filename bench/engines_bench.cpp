#include "platform/engines.h"

#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

void program(const fs::path& path, const char* bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    fs::permissions(path, fs::perms::owner_all);
}

// Engine discovery as a player's machine meets it: a PATH of 20 folders of 40 programs
// each, wine and an engine in the last one, a Steam game folder with quake2.exe and
// its data, and the distribution's engine folder.
void BM_FindEngines(benchmark::State& state) {
    const velo::test::TempDir root;
    const fs::path top = root.path();
    std::string path;
    for (int folder = 0; folder < 20; ++folder) {
        const fs::path bin = top / ("bin" + std::to_string(folder));
        for (int i = 0; i < 40; ++i) {
            program(bin / ("tool" + std::to_string(i)), "#!/bin/sh\n");
        }
        path += (path.empty() ? "" : ":") + bin.string();
    }
    program(top / "bin19/wine", "#!/bin/sh\n");
    program(top / "bin19/q2pro", "#!/bin/sh\n");
    const fs::path game = top / "steamapps/common/Quake 2";
    program(game / "quake2.exe", "MZ\x90");
    for (int pak = 0; pak < 3; ++pak) {
        program(game / "baseq2" / ("pak" + std::to_string(pak) + ".pak"), "PACK");
    }
    program(top / "usr/lib/yamagi-quake2/quake2", "#!/bin/sh\n");
    const velo::platform::EngineSearch where{game.string(), path, top.string()};
    for (auto _ : state) {
        std::vector<velo::platform::Engine> engines = velo::platform::findEngines(where);
        if (engines.size() != 3) {
            state.SkipWithError("the prepared engines were not all found");
        }
        benchmark::DoNotOptimize(engines);
    }
}

BENCHMARK(BM_FindEngines)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

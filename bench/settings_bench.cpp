#include "core/profile.h"
#include "core/settings.h"

#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kEntries = 10000;

// A settings file with the program's own twelve entries and a large hand-kept section,
// kEntries entries in all; the key looked up sits near the end of the file.
std::string largeSettings() {
    std::string text = "[Quake2]\r\nPath=C:\\Games\\Quake2\r\nRunSetup=No\r\n[Mod]\r\n";
    for (int slot = 0; slot < 10; ++slot) {
        text += "Mod" + std::to_string(slot) + "=mod" + std::to_string(slot) + "\r\n";
    }
    text += "[Servers]\r\n";
    for (int i = 0; i < kEntries - 12; ++i) {
        text += "Server" + std::to_string(i) + " = \"frag" + std::to_string(i) +
                ".example.org:27910\"\r\n";
    }
    return text;
}

const std::string kNearEnd = "server" + std::to_string(kEntries - 20);

void BM_ReadINI(benchmark::State& state) {
    const velo::test::TempDir dir;
    dir.write("q2velo.ini", largeSettings());
    const velo::core::SettingsFile settings(velo::core::settingsPathIn(dir.path().string()));
    for (auto _ : state) {
        velo::core::SettingsRead read = settings.ReadINI("SERVERS", kNearEnd);
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(largeSettings().size()));
}
BENCHMARK(BM_ReadINI)->Unit(benchmark::kMillisecond);

void BM_WriteINI(benchmark::State& state) {
    const velo::test::TempDir dir;
    dir.write("q2velo.ini", largeSettings());
    velo::core::SettingsFile settings(velo::core::settingsPathIn(dir.path().string()));
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        velo::platform::MaybeError error =
            settings.WriteINI("Servers", kNearEnd, flip ? "one.example.org" : "two.example.org");
        if (error) {
            state.SkipWithError(error->message().c_str());
            break;
        }
    }
}
BENCHMARK(BM_WriteINI)->Unit(benchmark::kMillisecond);

// The same work without the file system, to tell parsing from I/O.
void BM_ProfileGet(benchmark::State& state) {
    const std::string text = largeSettings();
    for (auto _ : state) {
        benchmark::DoNotOptimize(velo::core::profileGet(text, "Servers", kNearEnd));
    }
}
BENCHMARK(BM_ProfileGet)->Unit(benchmark::kMicrosecond);

void BM_ProfileSet(benchmark::State& state) {
    const std::string text = largeSettings();
    for (auto _ : state) {
        benchmark::DoNotOptimize(velo::core::profileSet(text, "Servers", kNearEnd, "x"));
    }
}
BENCHMARK(BM_ProfileSet)->Unit(benchmark::kMicrosecond);

// A missing key is the worst case: the whole file is searched, then spliced.
void BM_ProfileSetNewKey(benchmark::State& state) {
    const std::string text = largeSettings();
    for (auto _ : state) {
        benchmark::DoNotOptimize(velo::core::profileSet(text, "Servers", "Absent", "x"));
    }
}
BENCHMARK(BM_ProfileSetNewKey)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

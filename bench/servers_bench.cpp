// "Join a Game" over 1,000 stand-in servers on loopback that a stand-in master lists: the
// time until all are listed, the longest the window's event loop was kept from running, and
// the memory the list takes per server.
#include "core/settings.h"
#include "support/stand_in_servers.h"
#include "support/temp_dir.h"
#include "ui/fake_services.h"
#include "ui/frmServers/frmServers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kServers = 1000;

QApplication& application() {
    static int argc = 1;
    static char name[] = "servers_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static auto* app = new QApplication(argc, argv);
    return *app;
}

void BM_ListThousandServers(benchmark::State& state) {
    application();
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = std::max<rlim_t>(files.rlim_cur, std::min<rlim_t>(files.rlim_max, 4096));
    setrlimit(RLIMIT_NOFILE, &files);

    velo::test::StandIns standIns;
    std::vector<velo::core::ServerAddress> listed;
    for (int i = 0; i < kServers; ++i) {
        const std::string name = "Stand-in " + std::to_string(i);
        listed.push_back({velo::core::kLoopback,
                          standIns.add(velo::test::server(velo::test::statusAnswer(
                              name, "q2dm" + std::to_string(i % 8 + 1), 16, {"Ann", "Bob"})))});
    }
    const std::uint16_t master = standIns.add(velo::test::master(listed));
    standIns.start();
    const velo::test::TempDir home;
    velo::core::SettingsFile settings(home.file("q2velo.ini"));
    settings.WriteINI("Servers", "Masters", "127.0.0.1:" + std::to_string(master));
    velo::test::FakeServices services;

    double longestBlock = 0;
    double bytesPerServer = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto window = std::make_unique<velo::ui::frmServers>(settings, services);
        auto* list = window->findChild<QTreeWidget*>(QStringLiteral("lstServers"));
        window->show();
        // The window itself and its first paint (its backing store alone is over a megabyte)
        // come before any answer can: not part of what is measured.
        QApplication::processEvents();
        const std::size_t before = mallinfo2().uordblks;
        // A timer that fires whenever the loop is free: the gaps between firings are how long
        // the window kept it.
        QElapsedTimer gap;
        gap.start();
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            longestBlock = std::max(longestBlock, static_cast<double>(gap.nsecsElapsed()) / 1e6);
            gap.restart();
        });
        probe.start(0);
        while (list->topLevelItemCount() < kServers && clock.elapsed() < 10000) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        if (list->topLevelItemCount() < kServers) {
            state.SkipWithError("not every server was listed within 10 s");
            break;
        }
        bytesPerServer = static_cast<double>(mallinfo2().uordblks - before) / kServers;
        probe.stop();
        window.reset();
        QApplication::processEvents();
    }
    state.counters["longest_block_ms"] = longestBlock;
    state.counters["bytes_per_server"] = bytesPerServer;
}
BENCHMARK(BM_ListThousandServers)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();

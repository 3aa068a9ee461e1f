// "Join a Game" against two real dedicated servers on loopback, one with a password, listed
// by a stand-in master beside a server that never answers and one that answers garbage.
#include "fake_services.h"
#include "support/game_data.h"
#include "support/real_engine.h"
#include "support/stand_in_servers.h"
#include "support/temp_dir.h"

#include "core/settings.h"
#include "platform/process.h"
#include "ui/frmServers/frmServers.h"
#include "ui/frmVelo/frmVelo.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

using namespace velo;
using namespace velo::test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {
QApplication& application() {
    static int argc = 1;
    static char name[] = "servers_real_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds within) {
    const auto until = std::chrono::steady_clock::now() + within;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

struct Server {
    int port;
    const char* name;
    const char* map;
    const char* password; // nullptr: none
};
constexpr Server kServers[] = {{27910, "Velo-One", "velo1", nullptr},
                               {27911, "Velo-Two", "velo2", "s3cret"}};

// Starts the client it is handed as nobody on the test's display, and says it runs on.
class ClientServices : public FakeServices {
public:
    RealGame* client = nullptr;
    platform::MaybeError startGame(const platform::LaunchPlan& plan) override {
        starts.push_back(plan);
        return platform::startGame(client->wrap(plan), &client->watch());
    }
};

class RealServers : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_PROGRAM(kDedicatedServer, "yamagi-quake2-core");
        application();
        writeTestGame(game, {"velo1", "velo2"});
        for (const Server& server : kServers) {
            const std::string id = "server" + std::to_string(server.port);
            auto& engine = servers.emplace_back(
                std::make_unique<RealGame>(dir.path() / id, dir.path() / (id + ".log")));
            platform::LaunchPlan plan{kDedicatedServer,
                                      {"-datadir", game.string(), "+set", "port",
                                       std::to_string(server.port), "+set", "hostname", server.name,
                                       "+set", "deathmatch", "1"},
                                      game.string(),
                                      {}};
            if (server.password != nullptr) {
                plan.arguments.insert(plan.arguments.end(), {"+set", "password", server.password});
            }
            plan.arguments.insert(plan.arguments.end(), {"+map", server.map});
            ASSERT_FALSE(platform::startGame(engine->wrap(plan), &engine->watch()));
        }
        for (std::size_t i = 0; i < servers.size(); ++i) {
            ASSERT_TRUE(waitForStatus(kServers[i].port, 15s, servers[i].get()))
                << servers[i]->output();
        }
        const std::uint16_t garbage =
            standIns.add([](const std::string&) { return std::string("\xff\xff\xff\xffprint"); });
        const std::uint16_t silent = standIns.add([](const std::string&) { return std::string(); });
        const std::uint16_t master = standIns.add(test::master({{core::kLoopback, 27910},
                                                                {core::kLoopback, 27911},
                                                                {core::kLoopback, garbage},
                                                                {core::kLoopback, silent}}));
        standIns.start();
        settings.WriteINI("Servers", "Masters", "127.0.0.1:" + std::to_string(master));
        settings.WriteINI("Quake2", "Path", game.string());
        settings.WriteINI("Quake2", "RunSetup", "No");
    }

    // The rows once the window's search has finished, as "name map players".
    static std::vector<std::string> listed(ui::frmServers& window) {
        EXPECT_TRUE(waitFor([&] { return window.finished(); }, 20s));
        auto* list = window.findChild<QTreeWidget*>(QStringLiteral("lstServers"));
        std::vector<std::string> rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            rows.push_back((item->text(0) + QLatin1Char(' ') + item->text(1) + QLatin1Char(' ') +
                            item->text(2) + QLatin1Char(' ') + item->text(5))
                               .toStdString());
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    TempDir dir;
    fs::path game = dir.path() / "Quake 2";
    std::vector<std::unique_ptr<RealGame>> servers;
    StandIns standIns;
    core::SettingsFile settings{dir.file("q2velo.ini")};
    ClientServices services;
};

TEST_F(RealServers, ListsExactlyTheTwoServers) {
    ui::frmServers window(settings, services);
    EXPECT_EQ(listed(window), (std::vector<std::string>{"Velo-One velo1 0/8 127.0.0.1:27910",
                                                        "Velo-Two velo2 0/8 127.0.0.1:27911"}));
}
} // namespace

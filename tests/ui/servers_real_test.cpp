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
// The application of the whole run, gone before the program's own statics are.
class QtEnvironment : public testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[18] = "servers_real_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};
testing::Environment* const qtEnvironment = testing::AddGlobalTestEnvironment(new QtEnvironment);

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

bool hasPlayers(const std::string& status) {
    return !statusPlayers(status).empty();
}

TEST_F(RealServers, ListsExactlyTheTwoServers) {
    ui::frmServers window(settings, services);
    EXPECT_EQ(listed(window), (std::vector<std::string>{"Velo-One velo1 0/8 127.0.0.1:27910",
                                                        "Velo-Two velo2 0/8 127.0.0.1:27911"}));
}

// Joined from the main window's "Join Game…", the real client asks for the password, plays
// on that server and the launcher ends.
TEST_F(RealServers, TheClientJoinsThePasswordServer) {
    REQUIRE_PROGRAM(kClient, "yamagi-quake2");
    REQUIRE_PROGRAM(kXvfb, "xvfb");
    Xvfb x;
    ASSERT_FALSE(x.display().empty()) << x.error();
    RealGame client(dir.path() / "client", dir.path() / "client.log",
                    {clientEnvironment(x.display())});
    services.client = &client;
    services.engines = std::vector<platform::Engine>{{kClient, platform::Family::Yamagi, {}}};
    services.passwords.push_back(QStringLiteral("s3cret"));

    ui::frmVelo launcher(settings, services);
    ASSERT_TRUE(launcher.Form_Load());
    // Every page is made, as the start left it, before the test looks for a control on it.
    launcher.buildPages();
    launcher.findChild<QPushButton*>(QStringLiteral("cmdJoin"))->click();
    auto* window = launcher.findChild<ui::frmServers*>();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(listed(*window).size(), 2u);
    auto* list = window->findChild<QTreeWidget*>(QStringLiteral("lstServers"));
    const auto two = list->findItems(QStringLiteral("Velo-Two"), Qt::MatchExactly, 0);
    ASSERT_EQ(two.size(), 1);
    list->setCurrentItem(two.front());
    window->findChild<QPushButton*>(QStringLiteral("cmdJoinServer"))->click();

    EXPECT_EQ(services.passwordAsks, std::vector<QString>{QStringLiteral("127.0.0.1:27911")});
    ASSERT_EQ(services.starts.size(), 1u);
    EXPECT_EQ(services.quits, std::vector<int>{0}) << client.output();
    const auto status = waitForStatus(27911, 30s, servers[1].get(), hasPlayers);
    ASSERT_TRUE(status && hasPlayers(*status)) << client.output().substr(0, 20000);
    EXPECT_EQ(statusValue(*status, "needpass"), "1") << *status;
}
} // namespace

#include "support/game_data.h"
#include "support/real_engine.h"
#include "support/temp_dir.h"

#include "core/game_start.h"
#include "platform/engines.h"
#include "platform/process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

using namespace velo::test;
using namespace std::chrono_literals;
using velo::platform::LaunchPlan;
using velo::platform::startGame;
namespace fs = std::filesystem;

namespace {

// A deathmatch on map from the game folder, as the launcher starts one.
LaunchPlan deathmatch(const std::string& program, const fs::path& game, const std::string& map,
                      std::vector<std::string> more = {}) {
    LaunchPlan plan{program, {"-datadir", game.string()}, game.string(), {}};
    plan.arguments.insert(plan.arguments.end(), more.begin(), more.end());
    for (const char* word : {"+set", "deathmatch", "1", "+map"}) {
        plan.arguments.emplace_back(word);
    }
    plan.arguments.push_back(map);
    return plan;
}

// The real engine, started as the launcher starts it, tells on its console what arrived.
TEST(RealEngine, TakesEveryChoiceFromAFolderWithABlank) {
    REQUIRE_PROGRAM(kDedicatedServer, "yamagi-quake2-core");
    TempDir dir;
    writeGameFile(dir.path() / "Quake 2/baseq2/q2velo.txt",
                  "set logfile 2\nset velo_marker velo-42\n");
    // Asked once the command line has run: the engine prints each value.
    dir.write("console", "hostname\ngame\ndmflags\nvelo_marker\nquit\n");

    velo::core::LaunchOptions options;
    velo::core::setStartValues(options);
    options.GameDir = dir.file("Quake 2");
    options.ModName = "ctf";
    options.HostName = "Frag Fest";
    options.Dedicated = true; // only a dedicated server reads its console from stdin
    velo::core::flagBoxClicked(options, 3, true);
    const velo::core::StartPlan start =
        velo::core::planStart({kDedicatedServer, velo::platform::Family::Yamagi, {}}, options);
    ASSERT_FALSE(start.error);
    RealGame engine(dir.path() / "home", dir.path() / "output", {{}, dir.file("console")});
    ASSERT_FALSE(startGame(engine.wrap(start.plan), &engine.watch()));
    ASSERT_TRUE(engine.waitForEnd(30s)) << "quit on the console did not end it";
    std::ifstream log(engine.home() / ".yq2/ctf/qconsole.log");
    const std::string text{std::istreambuf_iterator<char>(log), {}};
    for (const char* said : {"\"hostname\" is \"Frag Fest\"", "\"game\" is \"ctf\"",
                             "\"dmflags\" is \"20\"", "\"velo_marker\" is \"velo-42\""}) {
        EXPECT_NE(text.find(said), std::string::npos) << said << " not in:\n" << text;
    }
}

TEST(RealEngine, DedicatedServersRunTheirOwnMaps) {
    REQUIRE_PROGRAM(kDedicatedServer, "yamagi-quake2-core");
    TempDir dir;
    const fs::path game = dir.path() / "Quake 2";
    writeTestGame(game, {"velo1", "velo2"});
    const struct {
        int port;
        const char* map;
    } servers[] = {{27910, "velo1"}, {27911, "velo2"}};
    std::vector<std::unique_ptr<RealGame>> running;
    for (const auto& server : servers) {
        const std::string name = "server" + std::to_string(server.port);
        auto& engine = running.emplace_back(
            std::make_unique<RealGame>(dir.path() / name, dir.path() / (name + ".log")));
        const LaunchPlan plan = deathmatch(kDedicatedServer, game, server.map,
                                           {"+set", "port", std::to_string(server.port)});
        const LaunchPlan wrapped = engine->wrap(plan);
        ASSERT_GE(wrapped.arguments.size(), plan.arguments.size());
        EXPECT_TRUE(
            std::equal(plan.arguments.rbegin(), plan.arguments.rend(), wrapped.arguments.rbegin()));
        ASSERT_FALSE(startGame(wrapped, &engine->watch()));
    }
    for (std::size_t i = 0; i < running.size(); ++i) {
        const auto status = waitForStatus(servers[i].port, 15s, running[i].get());
        ASSERT_TRUE(status) << servers[i].map << " never answered:\n" << running[i]->output();
        EXPECT_EQ(statusValue(*status, "mapname"), servers[i].map) << *status;
        EXPECT_EQ(statusValue(*status, "deathmatch"), "1") << *status;
        EXPECT_TRUE(statusPlayers(*status).empty()) << *status;
    }
}

bool hasPlayers(const std::string& status) {
    return !statusPlayers(status).empty();
}

TEST(RealEngine, ClientHostsADeathmatchAndSavesItsSettings) {
    REQUIRE_PROGRAM(kClient, "yamagi-quake2");
    REQUIRE_PROGRAM(kXvfb, "xvfb");
    TempDir dir;
    const fs::path game = dir.path() / "Quake 2";
    writeTestGame(game, {"velo1"});
    Xvfb x;
    ASSERT_FALSE(x.display().empty()) << x.error();
    RealGame client(dir.path() / "home", dir.path() / "client.log",
                    {clientEnvironment(x.display())});
    ASSERT_FALSE(
        startGame(client.wrap(deathmatch(kClient, game, "velo1",
                                         {"+set", "vid_renderer", "gl1", "+sensitivity", "7"})),
                  &client.watch()));
    // The game answers a moment before its host has joined it.
    const auto status = waitForStatus(27910, 20s, &client, hasPlayers);
    ASSERT_TRUE(status) << "the client's game never answered:\n" << client.output();
    EXPECT_EQ(statusValue(*status, "mapname"), "velo1") << *status;
    EXPECT_EQ(statusPlayers(*status).size(), 1U) << *status;
    const auto end = client.stop();
    ASSERT_TRUE(end) << "SIGTERM did not end the client";
    std::ifstream config(client.home() / ".yq2/baseq2/config.cfg");
    const std::string text{std::istreambuf_iterator<char>(config), {}};
    EXPECT_NE(text.find("set sensitivity \"7\""), std::string::npos) << text;
}

TEST(RealEngine, ClientJoinsADedicatedServer) {
    REQUIRE_PROGRAM(kDedicatedServer, "yamagi-quake2-core");
    REQUIRE_PROGRAM(kClient, "yamagi-quake2");
    REQUIRE_PROGRAM(kXvfb, "xvfb");
    TempDir dir;
    const fs::path game = dir.path() / "Quake 2";
    writeTestGame(game, {"velo1"});
    RealGame server(dir.path() / "server", dir.path() / "server.log");
    ASSERT_FALSE(startGame(
        server.wrap(deathmatch(kDedicatedServer, game, "velo1", {"+set", "port", "27911"})),
        &server.watch()));
    ASSERT_TRUE(waitForStatus(27911, 15s, &server)) << server.output();
    Xvfb x;
    ASSERT_FALSE(x.display().empty()) << x.error();
    RealGame client(dir.path() / "client", dir.path() / "client.log",
                    {clientEnvironment(x.display())});
    ASSERT_FALSE(startGame(client.wrap({kClient,
                                        {"-datadir", game.string(), "+set", "vid_renderer", "gl1",
                                         "+set", "name", "velo", "+connect", "127.0.0.1:27911"},
                                        game.string(),
                                        {}}),
                           &client.watch()));
    const auto status = waitForStatus(27911, 20s, &server, hasPlayers);
    ASSERT_TRUE(status && hasPlayers(*status)) << client.output().substr(0, 20000);
    EXPECT_NE(statusPlayers(*status).front().find("\"velo\""), std::string::npos) << *status;
}

} // namespace

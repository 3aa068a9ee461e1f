#include "core/server_protocol.h"
#include "core/server_search.h"

#include <gtest/gtest.h>

#include <string>

using namespace velo::core;
using namespace std::chrono_literals;

namespace {
const std::string kPrint = "\xff\xff\xff\xffprint\n";
const std::string kServers = "\xff\xff\xff\xffservers ";

std::string record(std::uint32_t ip, std::uint16_t port) {
    return {static_cast<char>(ip >> 24), static_cast<char>(ip >> 16),  static_cast<char>(ip >> 8),
            static_cast<char>(ip),       static_cast<char>(port >> 8), static_cast<char>(port)};
}

std::string statusAnswer(const std::string& name) {
    return kPrint + "\\hostname\\" + name + "\\mapname\\q2dm1\\maxclients\\8\n0 0 \"p\"\n";
}

struct StatusRow {
    const char* name;
    std::string packet;
    bool parsed;
    std::string hostname;
    std::string mod;
    std::size_t players;
};

class StatusParse : public testing::TestWithParam<StatusRow> {};

TEST_P(StatusParse, KeepsWhatTheListShows) {
    const StatusRow& row = GetParam();
    const std::optional<ServerStatus> status = parseStatus(row.packet);
    ASSERT_EQ(status.has_value(), row.parsed);
    if (status) {
        EXPECT_EQ(status->name, row.hostname);
        EXPECT_EQ(status->mod, row.mod);
        EXPECT_EQ(status->players.size(), row.players);
    }
}

std::string manyKeys() {
    std::string info = "\\hostname\\Big";
    for (int i = 0; i < 10000; ++i) {
        info += "\\k" + std::to_string(i) + "\\v";
    }
    return kPrint + info + "\n";
}

std::string manyPlayers() {
    std::string lines;
    while (lines.size() < 100 * 1024) {
        lines += "12 34 \"" + std::string(40, 'x') + "\"\n";
    }
    return kPrint + "\\hostname\\Crowd\n" + lines;
}

INSTANTIATE_TEST_SUITE_P(
    Packets, StatusParse,
    testing::Values(StatusRow{"BaseGame",
                              kPrint + "\\gamename\\baseq2\\hostname\\Frag Fest\\mapname\\q2dm1\n"
                                       "3 50 \"Ann\"\n-1 999 \"Bob\"\n",
                              true, "Frag Fest", "baseq2", 2},
                    StatusRow{"ModNamesItsGame",
                              kPrint + "\\gamename\\ctf\\game\\ctfmod\\hostname\\C\n", true, "C",
                              "ctfmod", 0},
                    StatusRow{"HighBitLettersMadePlainControlsDropped",
                              kPrint + "\\hostname\\" + std::string("\xc6\xf2\x01\x0b\x7fg") + "\n",
                              true, "Frg", "", 0},
                    StatusRow{"NoNewline", kPrint + "\\hostname\\Only", true, "Only", "", 0},
                    StatusRow{"ValueMissingAtTheEnd", kPrint + "\\hostname", true, "", "", 0},
                    StatusRow{"ShorterThanItsHeader", "\xff\xff\xff", false, "", "", 0},
                    StatusRow{"NoInfoLine", kPrint, false, "", "", 0},
                    StatusRow{"InfoAnswerIsNoStatus", "\xff\xff\xff\xffinfo\nHost q2dm1 0/8\n",
                              false, "", "", 0},
                    StatusRow{"TenThousandKeys", manyKeys(), true, "Big", "", 0},
                    StatusRow{"HundredKilobytesOfPlayersCapped", manyPlayers(), true, "Crowd", "",
                              kMaxPlayers}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(StatusParse, PlayerLinesAndFlags) {
    const auto status = parseStatus(kPrint + "\\needpass\\1\\maxclients\\16\\hostname\\" +
                                    std::string(200, 'n') + "\n7 42 \"Cl\x80ire\"\nnot a player\n");
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->needsPassword);
    EXPECT_EQ(status->maxPlayers, 16);
    EXPECT_EQ(status->name.size(), kMaxText);
    ASSERT_EQ(status->players.size(), 1u);
    EXPECT_EQ(status->players[0].score, 7);
    EXPECT_EQ(status->players[0].ping, 42);
    EXPECT_EQ(status->players[0].name, "Clire");
}

TEST(MasterList, Records) {
    const std::uint32_t a = 0x0a000001;
    const auto list = parseMasterList(kServers + record(a, 27910) + record(a, 27911) +
                                      record(a, 27910) + record(0, 27910) + record(a, 0) + "\x01");
    ASSERT_TRUE(list);
    EXPECT_EQ(*list, (std::vector<ServerAddress>{{a, 27910}, {a, 27911}}));
    EXPECT_FALSE(parseMasterList("\xff\xff\xff\xffserver"));
    EXPECT_FALSE(parseMasterList("servers " + record(a, 1)));

    std::string big = kServers;
    for (std::uint32_t i = 0; i < 50000; ++i) {
        big += record(0x0b000000 + i, 27910);
    }
    EXPECT_EQ(parseMasterList(big)->size(), 50000u);
}

struct HostRow {
    const char* name;
    const char* text;
    bool valid;
    const char* host;
    std::uint16_t port;
};

class HostPortSplit : public testing::TestWithParam<HostRow> {};

TEST_P(HostPortSplit, Splits) {
    const HostRow& row = GetParam();
    const auto split = splitHostPort(row.text, 27910);
    ASSERT_EQ(split.has_value(), row.valid);
    if (split) {
        EXPECT_EQ(split->host, row.host);
        EXPECT_EQ(split->port, row.port);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HostPortSplit,
    testing::Values(HostRow{"NoPort", "q2.example.org", true, "q2.example.org", 27910},
                    HostRow{"Port", "127.0.0.1:27911", true, "127.0.0.1", 27911},
                    HostRow{"PortZero", "h:0", false, "", 0},
                    HostRow{"PortTooBig", "h:65536", false, "", 0},
                    HostRow{"PortNotANumber", "h:2x", false, "", 0},
                    HostRow{"NegativePort", "h:-5", false, "", 0},
                    HostRow{"EmptyHost", ":27910", false, "", 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Dotted, OnlyFourPartsOfABytes) {
    EXPECT_EQ(parseDottedIPv4("127.0.0.1"), kLoopback);
    for (const char* bad : {"127.0.0", "256.0.0.1", "1.2.3.4.5", "a.b.c.d", "1..2.3", "1.2.3.4 "}) {
        EXPECT_FALSE(parseDottedIPv4(bad)) << bad;
    }
}

class Search : public testing::Test {
protected:
    ServerSearch::Clock::time_point t0 = ServerSearch::Clock::now();
    SearchLimits limits = [] {
        SearchLimits l;
        l.inFlight = 2;
        l.timeout = 100ms;
        return l;
    }();
    ServerAddress a{kLoopback, 27910}, b{kLoopback, 27911}, c{kLoopback, 27912};
};

TEST_F(Search, AsksABoundedNumberAtOnceAndRetriesOnce) {
    ServerSearch search(limits);
    search.add(a, kFromMaster);
    search.add(b, kFromMaster);
    search.add(c, kFavourite);
    EXPECT_EQ(search.due(t0).size(), 2u);
    EXPECT_TRUE(search.due(t0 + 10ms).empty());
    search.receive(a, statusAnswer("A"), t0 + 30ms);
    EXPECT_EQ(search.servers()[0].ping, 30ms);
    // a's answer frees a place for c.
    const auto next = search.due(t0 + 40ms);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].to, c);
    // b times out and is asked again, once.
    EXPECT_EQ(search.due(t0 + 100ms).size(), 1u);
    EXPECT_EQ(search.due(t0 + 140ms).size(), 1u); // c's retry
    EXPECT_FALSE(search.finished(t0 + 150ms));
    EXPECT_TRUE(search.due(t0 + 300ms).empty());
    EXPECT_TRUE(search.finished(t0 + 300ms));
    EXPECT_EQ(search.answered(), 1u);
    EXPECT_EQ(search.counted(), 3u);
    // The silent favourite is listed; the silent master server is not.
    EXPECT_EQ(search.takeChanged(), (std::vector<std::size_t>{0, 2}));
    EXPECT_FALSE(search.servers()[1].listed());
}

TEST_F(Search, IgnoresWhatWasNotAskedFor) {
    ServerSearch search(limits);
    search.add(a, kFromMaster);
    search.add(b, kFromMaster);
    search.receive(a, statusAnswer("early"), t0); // not asked yet
    search.due(t0);
    search.receive(c, statusAnswer("stranger"), t0 + 1ms);
    search.receive(a, "\xff\xff\xff\xffprint", t0 + 1ms); // garbage from an asked server
    search.receive(b, kServers + record(0x0a000001, 1), t0 + 1ms);
    search.receive(c, "\xff\xff\xff\xffinfo\nx", t0 + 1ms); // no LAN search is listening
    EXPECT_EQ(search.answered(), 0u);
    EXPECT_EQ(search.servers().size(), 2u);
    EXPECT_TRUE(search.takeChanged().empty());
}

TEST_F(Search, MastersListsLanAnswersAndProbes) {
    limits.maxServers = 4;
    ServerSearch search(limits);
    const ServerAddress master{kLoopback, 27900}, deaf{kLoopback, 27901};
    EXPECT_EQ(search.askMaster(master, "m.example.org", t0).bytes, "query");
    search.askMaster(deaf, "deaf.example.org", t0);
    search.add(c, kFromLan, /*probe*/ true);
    EXPECT_EQ(search.counted(), 0u);
    search.listenForLan(t0);
    search.receive(a, "\xff\xff\xff\xffinfo\nA q2dm1 0/8\n", t0 + 1ms);
    std::string list = kServers + record(kLoopback, 27910);
    for (std::uint16_t port = 30000; port < 30010; ++port) {
        list += record(kLoopback, port);
    }
    search.receive(master, list, t0 + 2ms);
    EXPECT_EQ(search.servers().size(), 4u);
    EXPECT_EQ(search.servers()[1].origins, unsigned{kFromLan | kFromMaster});
    search.due(t0 + 3ms);
    search.receive(c, statusAnswer("local"), t0 + 5ms);
    EXPECT_EQ(search.counted(), 4u);
    search.due(limits.masterWait + t0);
    EXPECT_EQ(search.takeNotes(), (std::vector<std::string>{"deaf.example.org: no answer"}));
}

TEST_F(Search, TellsWhenItHasWorkNext) {
    ServerSearch search(limits);
    EXPECT_FALSE(search.nextDeadline());
    search.add(a, kTyped);
    EXPECT_LE(*search.nextDeadline(), t0);
    search.due(t0);
    EXPECT_EQ(*search.nextDeadline(), t0 + limits.timeout);
    search.receive(a, statusAnswer("A"), t0 + 1ms);
    search.due(t0 + 2ms);
    EXPECT_FALSE(search.nextDeadline());
}
} // namespace

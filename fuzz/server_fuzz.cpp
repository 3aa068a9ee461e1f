// The server answer parsers and the search's bookkeeping under libFuzzer. An input is one
// packet, handed to each parser and to a search as the answer of a master and of a server.
#include "core/server_protocol.h"
#include "core/server_search.h"

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

using namespace velo::core;

namespace {
bool plain(const std::string& text) {
    if (text.size() > kMaxText) {
        return false;
    }
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) >= 127) {
            return false;
        }
    }
    return true;
}

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view packet(reinterpret_cast<const char*>(data), size);
    if (const auto status = parseStatus(packet)) {
        check(plain(status->name) && plain(status->map) && plain(status->mod));
        check(status->players.size() <= kMaxPlayers);
        for (const PlayerInfo& player : status->players) {
            check(plain(player.name));
        }
    }
    if (const auto list = parseMasterList(packet)) {
        check(list->size() <= (size - 12) / 6);
        check(std::set<ServerAddress>(list->begin(), list->end()).size() == list->size());
    }
    if (const auto split = splitHostPort(packet, kServerPort)) {
        check(!split->host.empty() && split->port != 0);
    }
    (void)parseDottedIPv4(packet);

    SearchLimits limits;
    limits.maxServers = 100;
    ServerSearch search(limits);
    const auto now = ServerSearch::Clock::now();
    const ServerAddress master{kLoopback, kMasterPort};
    const ServerAddress server{kLoopback, kServerPort};
    search.askMaster(master, "master", now);
    search.listenForLan(now);
    search.add(server, kFavourite);
    search.due(now);
    search.receive(master, packet, now);
    search.receive(server, packet, now);
    search.receive({kLoopback, 1}, packet, now);
    check(search.servers().size() <= limits.maxServers);
    check(search.answered() <= search.counted());
    return 0;
}

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velo::core {

inline constexpr std::uint16_t kServerPort = 27910;
inline constexpr std::uint16_t kMasterPort = 27900;

// An IPv4 address and port, the address in host byte order.
struct ServerAddress {
    std::uint32_t ip = 0;
    std::uint16_t port = 0;

    friend bool operator==(ServerAddress a, ServerAddress b) {
        return a.ip == b.ip && a.port == b.port;
    }
    friend bool operator!=(ServerAddress a, ServerAddress b) { return !(a == b); }
    friend bool operator<(ServerAddress a, ServerAddress b) {
        return a.ip != b.ip ? a.ip < b.ip : a.port < b.port;
    }
};

inline constexpr std::uint32_t kLoopback = 0x7f000001;

// "a.b.c.d:port".
std::string toString(ServerAddress address);

// A host name or dotted address with an optional ":port".
struct HostPort {
    std::string host;
    std::uint16_t port = 0;
};

// text split at its last ':'; nullopt when the host is empty or the port is not 1 to 65535.
std::optional<HostPort> splitHostPort(std::string_view text, std::uint16_t defaultPort);

// A dotted IPv4 address (four decimal parts of 0 to 255), in host byte order.
std::optional<std::uint32_t> parseDottedIPv4(std::string_view text);

// The words of a blank-separated list, as the Masters and Favorites keys hold them.
std::vector<std::string> splitWords(std::string_view text);

// The requests, as sent.
std::string statusRequest();
std::string infoRequest();
std::string masterQuery();

struct PlayerInfo {
    int score = 0;
    int ping = 0;
    std::string name;
};

// What a server's status answer tells about it, the texts already made plain.
struct ServerStatus {
    std::string name;
    std::string map;
    std::string mod;     // gamename, or game where the server names one
    std::string gameDir; // the folder a joining client plays in: game, else "baseq2"
    int maxPlayers = 0;
    bool needsPassword = false;
    std::vector<PlayerInfo> players;
};

// Bounds that keep a hostile answer from costing more than a fair one.
inline constexpr std::size_t kMaxPlayers = 256;
inline constexpr std::size_t kMaxText = 64;

// A status answer ("print\n", the info line, one line per player); nullopt for anything else.
std::optional<ServerStatus> parseStatus(std::string_view packet);

// Whether packet is a server's answer to infoRequest().
bool isInfoAnswer(std::string_view packet);

// A master's answer: the servers it lists, duplicates, null addresses and a short tail left
// out; nullopt when the packet is no master answer.
std::optional<std::vector<ServerAddress>> parseMasterList(std::string_view packet);

// The game's high-bit ("coloured") letters made plain and control characters dropped, cut
// to kMaxText characters.
std::string plainText(std::string_view text);

} // namespace velo::core

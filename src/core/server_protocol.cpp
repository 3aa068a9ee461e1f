#include "server_protocol.h"

#include <algorithm>
#include <set>

namespace velo::core {

namespace {
constexpr std::string_view kHeader = "\xff\xff\xff\xff";
constexpr std::string_view kServersHeader = "\xff\xff\xff\xffservers ";

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// A decimal number at the start of text, skipping blanks; moves text past it.
std::optional<long> takeNumber(std::string_view& text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    long value = 0;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        if (value < 1000000000) {
            value = value * 10 + (text[digits] - '0');
        }
        ++digits;
    }
    if (digits == 0) {
        return std::nullopt;
    }
    text.remove_prefix(digits);
    return negative ? -value : value;
}

int toInt(std::string_view text) {
    const std::optional<long> number = takeNumber(text);
    return number ? static_cast<int>(*number) : 0;
}

// One "SCORE PING "NAME"" line.
std::optional<PlayerInfo> parsePlayer(std::string_view line) {
    const std::optional<long> score = takeNumber(line);
    const std::optional<long> ping = takeNumber(line);
    if (!score || !ping) {
        return std::nullopt;
    }
    const std::size_t open = line.find('"');
    const std::size_t close = line.rfind('"');
    std::string_view name = line.substr(std::min(line.find_first_not_of(' '), line.size()));
    if (open != std::string_view::npos) {
        name = close > open ? line.substr(open + 1, close - open - 1) : line.substr(open + 1);
    }
    return PlayerInfo{static_cast<int>(*score), static_cast<int>(*ping), plainText(name)};
}
} // namespace

std::string toString(ServerAddress address) {
    const std::uint32_t ip = address.ip;
    return std::to_string(ip >> 24) + '.' + std::to_string((ip >> 16) & 0xff) + '.' +
           std::to_string((ip >> 8) & 0xff) + '.' + std::to_string(ip & 0xff) + ':' +
           std::to_string(address.port);
}

std::optional<HostPort> splitHostPort(std::string_view text, std::uint16_t defaultPort) {
    HostPort result{std::string(text), defaultPort};
    const std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos) {
        std::string_view port = text.substr(colon + 1);
        const std::optional<long> number = takeNumber(port);
        if (!number || !port.empty() || *number < 1 || *number > 65535 || text[colon + 1] == ' ' ||
            text[colon + 1] == '-') {
            return std::nullopt;
        }
        result.host = std::string(text.substr(0, colon));
        result.port = static_cast<std::uint16_t>(*number);
    }
    if (result.host.empty()) {
        return std::nullopt;
    }
    return result;
}

std::optional<std::uint32_t> parseDottedIPv4(std::string_view text) {
    std::uint32_t ip = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != '.') {
                return std::nullopt;
            }
            text.remove_prefix(1);
        }
        std::size_t digits = 0;
        unsigned value = 0;
        while (digits < text.size() && digits < 4 && text[digits] >= '0' && text[digits] <= '9') {
            value = value * 10 + static_cast<unsigned>(text[digits] - '0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) {
            return std::nullopt;
        }
        text.remove_prefix(digits);
        ip = (ip << 8) | value;
    }
    if (!text.empty()) {
        return std::nullopt;
    }
    return ip;
}

std::vector<std::string> splitWords(std::string_view text) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
        words.emplace_back(text.substr(start, end - start));
        at = end;
    }
    return words;
}

std::string statusRequest() {
    return std::string(kHeader) + "status\n";
}

std::string infoRequest() {
    return std::string(kHeader) + "info 34\n";
}

std::string masterQuery() {
    return "query";
}

std::optional<ServerStatus> parseStatus(std::string_view packet) {
    const std::string_view start = "\xff\xff\xff\xffprint\n";
    if (!startsWith(packet, start)) {
        return std::nullopt;
    }
    packet.remove_prefix(start.size());
    const std::size_t lineEnd = std::min(packet.find('\n'), packet.size());
    std::string_view info = packet.substr(0, lineEnd);
    if (info.empty() || info.front() != '\\') {
        return std::nullopt;
    }
    ServerStatus status;
    std::string gamename;
    std::string game;
    // Walked in place, keeping only the keys shown: a long info line costs no memory.
    while (!info.empty()) {
        info.remove_prefix(1);
        const std::size_t keyEnd = std::min(info.find('\\'), info.size());
        const std::string_view key = info.substr(0, keyEnd);
        info.remove_prefix(keyEnd);
        std::string_view value;
        if (!info.empty()) {
            info.remove_prefix(1);
            const std::size_t valueEnd = std::min(info.find('\\'), info.size());
            value = info.substr(0, valueEnd);
            info.remove_prefix(valueEnd);
        }
        if (key == "hostname") {
            status.name = plainText(value);
        } else if (key == "mapname") {
            status.map = plainText(value);
        } else if (key == "gamename") {
            gamename = plainText(value);
        } else if (key == "game") {
            game = plainText(value);
        } else if (key == "maxclients") {
            status.maxPlayers = toInt(value);
        } else if (key == "needpass") {
            status.needsPassword = toInt(value) != 0;
        }
    }
    status.mod = game.empty() ? gamename : game;
    status.gameDir = game.empty() ? "baseq2" : game;
    packet.remove_prefix(std::min(lineEnd + 1, packet.size()));
    while (!packet.empty() && status.players.size() < kMaxPlayers) {
        const std::size_t end = std::min(packet.find('\n'), packet.size());
        if (std::optional<PlayerInfo> player = parsePlayer(packet.substr(0, end))) {
            status.players.push_back(std::move(*player));
        }
        packet.remove_prefix(std::min(end + 1, packet.size()));
    }
    return status;
}

bool isInfoAnswer(std::string_view packet) {
    return startsWith(packet, std::string(kHeader) + "info\n");
}

std::optional<std::vector<ServerAddress>> parseMasterList(std::string_view packet) {
    if (!startsWith(packet, kServersHeader)) {
        return std::nullopt;
    }
    packet.remove_prefix(kServersHeader.size());
    std::vector<ServerAddress> servers;
    std::set<ServerAddress> seen;
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(packet[at]); };
    for (std::size_t at = 0; at + 6 <= packet.size(); at += 6) {
        const ServerAddress address{
            (std::uint32_t{byte(at)} << 24) | (std::uint32_t{byte(at + 1)} << 16) |
                (std::uint32_t{byte(at + 2)} << 8) | std::uint32_t{byte(at + 3)},
            static_cast<std::uint16_t>((byte(at + 4) << 8) | byte(at + 5))};
        if (address.ip != 0 && address.port != 0 && seen.insert(address).second) {
            servers.push_back(address);
        }
    }
    return servers;
}

std::string plainText(std::string_view text) {
    std::string plain;
    for (const char c : text) {
        if (plain.size() == kMaxText) {
            break;
        }
        const char letter = static_cast<char>(static_cast<unsigned char>(c) & 0x7f);
        if (letter >= 32 && letter != 127) {
            plain += letter;
        }
    }
    return plain;
}

} // namespace velo::core

#pragma once

// Stand-in masters and game servers on loopback, answering from a thread of their own.

#include "core/server_protocol.h"
#include "platform/udp.h"

#include <poll.h>

#include <atomic>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace velo::test {

// What a stand-in sends back to a request; empty sends nothing.
using Answer = std::function<std::string(const std::string& request)>;

class StandIns {
public:
    StandIns() = default;
    StandIns(const StandIns&) = delete;
    StandIns& operator=(const StandIns&) = delete;
    ~StandIns() { stop(); }

    // A stand-in on ip:port (port 0: a free one); its port. Add them all before start().
    std::uint16_t add(Answer answer, std::uint16_t port = 0, std::uint32_t ip = core::kLoopback) {
        auto socket = std::make_unique<platform::UdpSocket>();
        if (auto error = socket->open(ip, port)) {
            throw std::runtime_error(error->message());
        }
        const std::uint16_t bound = socket->localPort();
        sockets_.push_back({std::move(socket), std::move(answer)});
        return bound;
    }

    void start() {
        thread_ = std::thread([this] { serve(); });
    }

    void stop() {
        running_ = false;
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    std::atomic<int> requests{0};

private:
    struct Entry {
        std::unique_ptr<platform::UdpSocket> socket;
        Answer answer;
    };

    void serve() {
        std::vector<pollfd> watched;
        for (const Entry& entry : sockets_) {
            watched.push_back({static_cast<int>(entry.socket->handle()), POLLIN, 0});
        }
        while (running_) {
            if (::poll(watched.data(), watched.size(), 20) <= 0) {
                continue;
            }
            for (std::size_t i = 0; i < watched.size(); ++i) {
                if ((watched[i].revents & POLLIN) == 0) {
                    continue;
                }
                while (auto datagram = sockets_[i].socket->receive()) {
                    ++requests;
                    const std::string reply = sockets_[i].answer(datagram->bytes);
                    if (!reply.empty()) {
                        (void)sockets_[i].socket->sendTo(datagram->ip, datagram->port, reply);
                    }
                }
            }
        }
    }

    std::vector<Entry> sockets_;
    std::thread thread_;
    std::atomic<bool> running_{true};
};

// A status answer as a base-game server gives it.
inline std::string statusAnswer(const std::string& name, const std::string& map, int maxClients,
                                const std::vector<std::string>& players, bool needPass = false) {
    std::string text = "\xff\xff\xff\xffprint\n\\cheats\\0\\deathmatch\\1\\gamename\\baseq2"
                       "\\hostname\\" +
                       name + "\\mapname\\" + map + "\\maxclients\\" + std::to_string(maxClients) +
                       "\\needpass\\" + (needPass ? "1" : "0") + "\\protocol\\34\n";
    int score = 0;
    for (const std::string& player : players) {
        text += std::to_string(score += 3) + " 25 \"" + player + "\"\n";
    }
    return text;
}

// A game server that answers status, and info when it hears a LAN search.
inline Answer server(std::string status) {
    return [status = std::move(status)](const std::string& request) -> std::string {
        if (request == core::statusRequest()) {
            return status;
        }
        if (request == core::infoRequest()) {
            return "\xff\xff\xff\xffinfo\nStand-in        q2dm1     0/ 8\n";
        }
        return {};
    };
}

// A master listing servers, all in one answer.
inline Answer master(const std::vector<core::ServerAddress>& servers) {
    std::string list = "\xff\xff\xff\xffservers ";
    for (const core::ServerAddress& s : servers) {
        for (const int shift : {24, 16, 8, 0}) {
            list += static_cast<char>((s.ip >> shift) & 0xff);
        }
        list += static_cast<char>(s.port >> 8);
        list += static_cast<char>(s.port & 0xff);
    }
    return [list](const std::string& request) {
        return request == core::masterQuery() ? list : std::string();
    };
}

} // namespace velo::test

#pragma once

#include "server_protocol.h"

#include <chrono>
#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velo::core {

struct SearchLimits {
    std::size_t inFlight = 64; // status requests waiting for an answer at once
    std::chrono::milliseconds timeout{1200};
    int tries = 2; // the first request and one retry
    std::size_t maxServers = 10000;
    std::chrono::milliseconds masterWait{3000};
    std::chrono::milliseconds lanWait{1500};
};

// Where a server became known; one server may have several.
enum Origin : unsigned { kFromMaster = 1, kFromLan = 2, kFavourite = 4, kTyped = 8 };

struct ServerEntry {
    enum class State { Waiting, Asked, Answered, Silent };
    ServerAddress address;
    unsigned origins = 0;
    // A guess (a port on this machine): listed and counted only once it answers.
    bool probe = false;
    State state = State::Waiting;
    int tries = 0;
    std::chrono::steady_clock::time_point sentAt;
    std::chrono::milliseconds ping{0};
    ServerStatus status;

    // Listed: it answered, or it is a favourite that did not.
    bool listed() const {
        return state == State::Answered || (state == State::Silent && (origins & kFavourite));
    }
};

// The bookkeeping of one search: whom to ask, what is in flight, what answered and when.
// It sends nothing itself; the caller sends what due() returns and hands in what arrives.
class ServerSearch {
public:
    using Clock = std::chrono::steady_clock;
    struct Datagram {
        ServerAddress to;
        std::string bytes;
    };

    explicit ServerSearch(SearchLimits limits = {});

    // Expects master's list until masterWait from now; the query is the caller's to send.
    Datagram askMaster(ServerAddress master, std::string name, Clock::time_point now);
    // Takes info answers from any address as LAN servers until lanWait from now.
    void listenForLan(Clock::time_point now);
    // A server to ask, or one more origin of one known; false when the search is full.
    bool add(ServerAddress address, unsigned origin, bool probe = false);

    // The status requests to send now, first tries and retries; gives up on the silent.
    std::vector<Datagram> due(Clock::time_point now);
    // A datagram that arrived; anything not asked for is ignored.
    void receive(ServerAddress from, std::string_view packet, Clock::time_point now);
    // The servers whose row changed since the last call, once each.
    std::vector<std::size_t> takeChanged();
    // What the progress line should name: masters that failed.
    std::vector<std::string> takeNotes();
    void note(std::string text) { notes_.push_back(std::move(text)); }

    // When due() has work next; nullopt when nothing waits.
    std::optional<Clock::time_point> nextDeadline() const;
    bool finished(Clock::time_point now) const;

    const std::vector<ServerEntry>& servers() const { return servers_; }
    std::optional<std::size_t> find(ServerAddress address) const;
    std::size_t answered() const { return answered_; }
    // The servers asked or to be asked, less the probes that have not answered.
    std::size_t counted() const { return servers_.size() - unansweredProbes_; }

private:
    struct Master {
        ServerAddress address;
        std::string name;
        Clock::time_point deadline;
        bool answered = false;
        bool expired = false;
    };
    struct Sent {
        std::size_t server;
        int attempt;
    };

    void changed(std::size_t server);

    SearchLimits limits_;
    std::vector<ServerEntry> servers_;
    std::map<ServerAddress, std::size_t> index_;
    std::deque<std::size_t> waiting_;
    std::deque<Sent> inFlight_; // in the order sent, so the first is the first to time out
    std::size_t asked_ = 0;     // servers in state Asked
    std::vector<Master> masters_;
    std::optional<Clock::time_point> lanUntil_; // reset by due() once passed
    std::vector<std::size_t> changed_;
    std::vector<std::string> notes_;
    std::size_t answered_ = 0;
    std::size_t unansweredProbes_ = 0;
};

} // namespace velo::core

#include "server_search.h"

#include <algorithm>

namespace velo::core {

ServerSearch::ServerSearch(SearchLimits limits) : limits_(limits) {}

ServerSearch::Datagram ServerSearch::askMaster(ServerAddress master, std::string name,
                                               Clock::time_point now) {
    masters_.push_back({master, std::move(name), now + limits_.masterWait});
    return {master, masterQuery()};
}

void ServerSearch::listenForLan(Clock::time_point now) {
    lanUntil_ = now + limits_.lanWait;
}

bool ServerSearch::add(ServerAddress address, unsigned origin, bool probe) {
    if (const std::optional<std::size_t> known = find(address)) {
        ServerEntry& entry = servers_[*known];
        entry.origins |= origin;
        if (entry.probe && !probe) {
            entry.probe = false;
            if (entry.state != ServerEntry::State::Answered) {
                --unansweredProbes_;
            }
            if (entry.listed()) {
                changed(*known);
            }
        }
        return true;
    }
    if (servers_.size() >= limits_.maxServers) {
        return false;
    }
    index_.emplace(address, servers_.size());
    waiting_.push_back(servers_.size());
    ServerEntry entry;
    entry.address = address;
    entry.origins = origin;
    entry.probe = probe;
    servers_.push_back(std::move(entry));
    unansweredProbes_ += probe ? 1 : 0;
    return true;
}

std::optional<std::size_t> ServerSearch::find(ServerAddress address) const {
    const auto found = index_.find(address);
    if (found == index_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::vector<ServerSearch::Datagram> ServerSearch::due(Clock::time_point now) {
    std::vector<Datagram> sends;
    const auto send = [&](std::size_t server) {
        ServerEntry& entry = servers_[server];
        entry.state = ServerEntry::State::Asked;
        entry.sentAt = now;
        ++entry.tries;
        inFlight_.push_back({server, entry.tries});
        sends.push_back({entry.address, statusRequest()});
    };
    while (!inFlight_.empty()) {
        const Sent sent = inFlight_.front();
        ServerEntry& entry = servers_[sent.server];
        const bool current =
            entry.state == ServerEntry::State::Asked && entry.tries == sent.attempt;
        if (current && now < entry.sentAt + limits_.timeout) {
            break;
        }
        inFlight_.pop_front();
        if (!current) {
            continue;
        }
        --asked_;
        if (entry.tries < limits_.tries) {
            ++asked_;
            send(sent.server);
        } else {
            entry.state = ServerEntry::State::Silent;
            if (entry.listed()) {
                changed(sent.server);
            }
        }
    }
    while (!waiting_.empty() && asked_ < limits_.inFlight) {
        const std::size_t server = waiting_.front();
        waiting_.pop_front();
        ++asked_;
        send(server);
    }
    if (lanUntil_ && now >= *lanUntil_) {
        lanUntil_.reset();
    }
    for (Master& master : masters_) {
        if (!master.answered && !master.expired && now >= master.deadline) {
            master.expired = true;
            notes_.push_back(master.name + ": no answer");
        }
    }
    return sends;
}

void ServerSearch::receive(ServerAddress from, std::string_view packet, Clock::time_point now) {
    for (Master& master : masters_) {
        if (master.address == from) {
            if (std::optional<std::vector<ServerAddress>> list = parseMasterList(packet)) {
                master.answered = true;
                for (const ServerAddress& server : *list) {
                    if (!add(server, kFromMaster)) {
                        break;
                    }
                }
            }
            return;
        }
    }
    if (lanUntil_ && now < *lanUntil_ && isInfoAnswer(packet)) {
        add(from, kFromLan);
        return;
    }
    const std::optional<std::size_t> server = find(from);
    if (!server) {
        return;
    }
    ServerEntry& entry = servers_[*server];
    if (entry.state != ServerEntry::State::Asked && entry.state != ServerEntry::State::Silent) {
        return;
    }
    std::optional<ServerStatus> status = parseStatus(packet);
    if (!status) {
        return;
    }
    if (entry.state == ServerEntry::State::Asked) {
        --asked_;
    }
    if (entry.probe) {
        --unansweredProbes_;
    }
    entry.state = ServerEntry::State::Answered;
    entry.ping = std::chrono::duration_cast<std::chrono::milliseconds>(now - entry.sentAt);
    entry.status = std::move(*status);
    ++answered_;
    changed(*server);
}

void ServerSearch::changed(std::size_t server) {
    changed_.push_back(server);
}

std::vector<std::size_t> ServerSearch::takeChanged() {
    std::vector<std::size_t> taken;
    taken.swap(changed_);
    std::sort(taken.begin(), taken.end());
    taken.erase(std::unique(taken.begin(), taken.end()), taken.end());
    return taken;
}

std::vector<std::string> ServerSearch::takeNotes() {
    std::vector<std::string> taken;
    taken.swap(notes_);
    return taken;
}

std::optional<ServerSearch::Clock::time_point> ServerSearch::nextDeadline() const {
    std::optional<Clock::time_point> next;
    const auto consider = [&next](Clock::time_point at) {
        if (!next || at < *next) {
            next = at;
        }
    };
    if (!waiting_.empty() && asked_ < limits_.inFlight) {
        consider(Clock::time_point::min());
    }
    for (const Sent& sent : inFlight_) {
        const ServerEntry& entry = servers_[sent.server];
        if (entry.state == ServerEntry::State::Asked && entry.tries == sent.attempt) {
            consider(entry.sentAt + limits_.timeout);
            break;
        }
    }
    for (const Master& master : masters_) {
        if (!master.answered && !master.expired) {
            consider(master.deadline);
        }
    }
    if (lanUntil_) {
        consider(*lanUntil_);
    }
    return next;
}

bool ServerSearch::finished(Clock::time_point now) const {
    const bool mastersDone = std::all_of(masters_.begin(), masters_.end(),
                                         [](const Master& m) { return m.answered || m.expired; });
    return waiting_.empty() && asked_ == 0 && mastersDone && (!lanUntil_ || now >= *lanUntil_);
}

} // namespace velo::core

#pragma once

#include "platform/error.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velo::platform {

// Addresses are IPv4 in host byte order.
struct ReceivedDatagram {
    std::uint32_t ip = 0;
    std::uint16_t port = 0;
    std::string bytes;
};

// A non-blocking UDP socket that may send broadcasts.
class UdpSocket {
public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Binds to ip:port; port 0 picks a free one.
    MaybeError open(std::uint32_t ip = 0, std::uint16_t port = 0);
    void close();
    bool isOpen() const { return handle_ != kClosed; }
    // The socket's own handle, for an event loop to watch for datagrams.
    std::intptr_t handle() const { return handle_; }
    std::uint16_t localPort() const;

    MaybeError sendTo(std::uint32_t ip, std::uint16_t port, std::string_view bytes);
    // The next datagram that has arrived, without waiting; nullopt when there is none.
    std::optional<ReceivedDatagram> receive();
    // Waits at most timeout for a datagram; true when one is there.
    bool wait(std::chrono::milliseconds timeout);

private:
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t handle_ = kClosed;
};

struct Resolved {
    std::vector<std::uint32_t> addresses;
    MaybeError error; // the host name and the resolver's reason
};

// The IPv4 addresses of host; blocks while the resolver works.
Resolved resolveIPv4(const std::string& host);

// The broadcast address of every IPv4 interface that has one.
std::vector<std::uint32_t> broadcastAddresses();

} // namespace velo::platform

#include "udp.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace velo::platform {

namespace {
sockaddr_in socketAddress(std::uint32_t ip, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(ip);
    address.sin_port = htons(port);
    return address;
}

Error failure(const char* what) {
    return Error{what, reasonFor(errno)};
}
} // namespace

UdpSocket::~UdpSocket() {
    close();
}

MaybeError UdpSocket::open(std::uint32_t ip, std::uint16_t port) {
    close();
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return failure("UDP socket");
    }
    const int on = 1;
    const sockaddr_in address = socketAddress(ip, port);
    if (::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const Error error = failure("UDP socket");
        ::close(fd);
        return error;
    }
    handle_ = fd;
    return std::nullopt;
}

void UdpSocket::close() {
    if (handle_ != kClosed) {
        ::close(static_cast<int>(handle_));
        handle_ = kClosed;
    }
}

std::uint16_t UdpSocket::localPort() const {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (::getsockname(static_cast<int>(handle_), reinterpret_cast<sockaddr*>(&address), &size) !=
        0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

MaybeError UdpSocket::sendTo(std::uint32_t ip, std::uint16_t port, std::string_view bytes) {
    const sockaddr_in address = socketAddress(ip, port);
    if (::sendto(static_cast<int>(handle_), bytes.data(), bytes.size(), 0,
                 reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
        return failure("UDP send");
    }
    return std::nullopt;
}

std::optional<ReceivedDatagram> UdpSocket::receive() {
    char buffer[65536];
    for (;;) {
        sockaddr_in from{};
        socklen_t size = sizeof from;
        const ssize_t got = ::recvfrom(static_cast<int>(handle_), buffer, sizeof buffer, 0,
                                       reinterpret_cast<sockaddr*>(&from), &size);
        if (got >= 0) {
            return ReceivedDatagram{ntohl(from.sin_addr.s_addr), ntohs(from.sin_port),
                                    std::string(buffer, static_cast<std::size_t>(got))};
        }
        if (errno != EINTR) {
            return std::nullopt;
        }
    }
}

bool UdpSocket::wait(std::chrono::milliseconds timeout) {
    pollfd watched{static_cast<int>(handle_), POLLIN, 0};
    return ::poll(&watched, 1, static_cast<int>(timeout.count())) > 0;
}

Resolved resolveIPv4(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const int status = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (status != 0) {
        return {{}, Error{host, status == EAI_SYSTEM ? reasonFor(errno) : gai_strerror(status)}};
    }
    Resolved resolved;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
        const std::uint32_t ip = ntohl(address->sin_addr.s_addr);
        if (std::find(resolved.addresses.begin(), resolved.addresses.end(), ip) ==
            resolved.addresses.end()) {
            resolved.addresses.push_back(ip);
        }
    }
    ::freeaddrinfo(found);
    return resolved;
}

std::vector<std::uint32_t> broadcastAddresses() {
    std::vector<std::uint32_t> found;
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0) {
        return found;
    }
    for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_BROADCAST) == 0 || (entry->ifa_flags & IFF_UP) == 0 ||
            entry->ifa_broadaddr == nullptr) {
            continue;
        }
        const std::uint32_t ip =
            ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_broadaddr)->sin_addr.s_addr);
        if (std::find(found.begin(), found.end(), ip) == found.end()) {
            found.push_back(ip);
        }
    }
    ::freeifaddrs(interfaces);
    return found;
}

} // namespace velo::platform

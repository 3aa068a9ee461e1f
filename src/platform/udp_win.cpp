#include "udp.h"

#include "win_text.h"

// winsock2.h comes before the headers that use its types.
#include <winsock2.h>

#include <iphlpapi.h>
#include <ws2tcpip.h>

#include <algorithm>

namespace velo::platform {

namespace {
// Not in every SDK's headers.
constexpr DWORD kUdpConnReset = 0x9800000C;

sockaddr_in socketAddress(std::uint32_t ip, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(ip);
    address.sin_port = htons(port);
    return address;
}

Error failure(const char* what) {
    return Error{what, win::reasonFor(static_cast<unsigned long>(WSAGetLastError()))};
}

SOCKET native(std::intptr_t handle) {
    return static_cast<SOCKET>(handle);
}

// Winsock counts its users itself; each socket and each lookup is one.
bool startWinsock() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}
} // namespace

UdpSocket::~UdpSocket() {
    close();
}

MaybeError UdpSocket::open(std::uint32_t ip, std::uint16_t port) {
    close();
    if (!startWinsock()) {
        return Error{"UDP socket", "Windows Sockets could not be started"};
    }
    const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) {
        const Error error = failure("UDP socket");
        WSACleanup();
        return error;
    }
    const BOOL on = TRUE;
    u_long nonBlocking = 1;
    // Without this, a port-unreachable answer to one request fails the next receive.
    BOOL reportReset = FALSE;
    DWORD returned = 0;
    WSAIoctl(s, kUdpConnReset, &reportReset, sizeof reportReset, nullptr, 0, &returned, nullptr,
             nullptr);
    const sockaddr_in address = socketAddress(ip, port);
    if (::setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on) !=
            0 ||
        ::ioctlsocket(s, static_cast<long>(FIONBIO), &nonBlocking) != 0 ||
        ::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const Error error = failure("UDP socket");
        ::closesocket(s);
        WSACleanup();
        return error;
    }
    handle_ = static_cast<std::intptr_t>(s);
    return std::nullopt;
}

void UdpSocket::close() {
    if (handle_ != kClosed) {
        ::closesocket(native(handle_));
        handle_ = kClosed;
        WSACleanup();
    }
}

std::uint16_t UdpSocket::localPort() const {
    sockaddr_in address{};
    int size = sizeof address;
    if (::getsockname(native(handle_), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

MaybeError UdpSocket::sendTo(std::uint32_t ip, std::uint16_t port, std::string_view bytes) {
    const sockaddr_in address = socketAddress(ip, port);
    if (::sendto(native(handle_), bytes.data(), static_cast<int>(bytes.size()), 0,
                 reinterpret_cast<const sockaddr*>(&address), sizeof address) == SOCKET_ERROR) {
        return failure("UDP send");
    }
    return std::nullopt;
}

std::optional<ReceivedDatagram> UdpSocket::receive() {
    std::string buffer(65536, '\0');
    sockaddr_in from{};
    int size = sizeof from;
    const int got = ::recvfrom(native(handle_), buffer.data(), static_cast<int>(buffer.size()), 0,
                               reinterpret_cast<sockaddr*>(&from), &size);
    if (got == SOCKET_ERROR) {
        return std::nullopt;
    }
    buffer.resize(static_cast<std::size_t>(got));
    return ReceivedDatagram{ntohl(from.sin_addr.s_addr), ntohs(from.sin_port), std::move(buffer)};
}

bool UdpSocket::wait(std::chrono::milliseconds timeout) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(native(handle_), &readable);
    timeval limit{static_cast<long>(timeout.count() / 1000),
                  static_cast<long>((timeout.count() % 1000) * 1000)};
    return ::select(0, &readable, nullptr, nullptr, &limit) > 0;
}

Resolved resolveIPv4(const std::string& host) {
    if (!startWinsock()) {
        return {{}, Error{host, "Windows Sockets could not be started"}};
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    Resolved resolved;
    if (const int status = ::getaddrinfo(host.c_str(), nullptr, &hints, &found); status != 0) {
        resolved.error = Error{host, win::reasonFor(static_cast<unsigned long>(status))};
    } else {
        for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
            const std::uint32_t ip = ntohl(address->sin_addr.s_addr);
            if (std::find(resolved.addresses.begin(), resolved.addresses.end(), ip) ==
                resolved.addresses.end()) {
                resolved.addresses.push_back(ip);
            }
        }
        ::freeaddrinfo(found);
    }
    WSACleanup();
    return resolved;
}

std::vector<std::uint32_t> broadcastAddresses() {
    std::vector<std::uint32_t> found;
    ULONG size = 0;
    if (GetIpAddrTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER) {
        return found;
    }
    std::string buffer(size, '\0');
    auto* table = reinterpret_cast<MIB_IPADDRTABLE*>(buffer.data());
    if (GetIpAddrTable(table, &size, FALSE) != NO_ERROR) {
        return found;
    }
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        const std::uint32_t ip = ntohl(table->table[i].dwAddr);
        const std::uint32_t mask = ntohl(table->table[i].dwMask);
        if (ip == 0 || (ip >> 24) == 127 || mask == 0xffffffffu) {
            continue;
        }
        const std::uint32_t broadcast = ip | ~mask;
        if (std::find(found.begin(), found.end(), broadcast) == found.end()) {
            found.push_back(broadcast);
        }
    }
    return found;
}

} // namespace velo::platform

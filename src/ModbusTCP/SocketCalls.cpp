#include "ModbusTCP/SocketCalls.hpp"

#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

#include <cstring>
#include <memory>

namespace tessarin {

SocketCalls& SocketCalls::system() {
    static SocketCalls calls;
    return calls;
}

std::optional<std::vector<ResolvedAddress>> SocketCalls::resolve(const std::string& host,
                                                                 const std::string& service) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* list = nullptr;
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &list) != 0) return std::nullopt;
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(list, &::freeaddrinfo);

    std::vector<ResolvedAddress> out;
    for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_addr == nullptr || entry->ai_addrlen > sizeof(sockaddr_storage)) continue;
        ResolvedAddress& address = out.emplace_back();
        address.family = entry->ai_family;
        address.socketType = entry->ai_socktype;
        address.protocol = entry->ai_protocol;
        std::memcpy(&address.address, entry->ai_addr, entry->ai_addrlen);
        address.length = entry->ai_addrlen;
    }
    return out;
}

int SocketCalls::socket(int family, int type, int protocol) {
    return ::socket(family, type, protocol);
}

int SocketCalls::connect(int fd, const sockaddr* address, socklen_t length) {
    return ::connect(fd, address, length);
}

int SocketCalls::poll(pollfd* fds, nfds_t count, int timeoutMs) {
    return ::poll(fds, count, timeoutMs);
}

ssize_t SocketCalls::send(int fd, const void* data, std::size_t size, int flags) {
    return ::send(fd, data, size, flags);
}

ssize_t SocketCalls::recv(int fd, void* data, std::size_t size, int flags) {
    return ::recv(fd, data, size, flags);
}

}  // namespace tessarin

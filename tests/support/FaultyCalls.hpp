#pragma once

// Header-only on purpose: only test executables that link the ModbusTCP layer include it.

#include "ModbusTCP/SocketCalls.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessarin::test {

// The system calls of the real operating system, with faults a real peer cannot produce on
// demand injected in front of them: interrupted or failing calls, send buffers that stay
// full, a resolver with a chosen address list. Used from the thread that drives the link only.
class FaultyCalls : public SocketCalls {
public:
    // errno values to fail the next calls with, one per call, before the real call is made.
    std::deque<int> sendFaults, recvFaults, pollFaults, socketFaults;
    // At most this many bytes per send.
    std::optional<std::size_t> sendLimit;
    // After this many sends that moved bytes, the send buffer "stays full": sends fail with
    // EAGAIN and polls for writability find nothing.
    std::optional<int> sendsBeforeStall;
    // Replaces getaddrinfo when set.
    std::function<std::optional<std::vector<ResolvedAddress>>(const std::string&)> resolver;
    // Runs before every real recv (to watch the link's state at that moment).
    std::function<void()> beforeRecv;

    int sendCalls = 0, recvCalls = 0, pollCalls = 0, socketCalls = 0, connectCalls = 0, resolveCalls = 0;
    int sendsDone = 0;
    std::vector<int> pollTimeouts;

    std::optional<std::vector<ResolvedAddress>> resolve(const std::string& host,
                                                        const std::string& service) override {
        ++resolveCalls;
        return resolver ? resolver(host) : SocketCalls::resolve(host, service);
    }
    int socket(int family, int type, int protocol) override {
        ++socketCalls;
        if (failNext(socketFaults)) return -1;
        return SocketCalls::socket(family, type, protocol);
    }
    int connect(int fd, const sockaddr* address, socklen_t length) override {
        ++connectCalls;
        return SocketCalls::connect(fd, address, length);
    }
    int poll(pollfd* fds, nfds_t count, int timeoutMs) override {
        ++pollCalls;
        pollTimeouts.push_back(timeoutMs);
        if (failNext(pollFaults)) return -1;
        if (stalled() && count == 1 && (fds[0].events & POLLOUT) != 0) {
            fds[0].revents = 0;
            return 0;
        }
        return SocketCalls::poll(fds, count, timeoutMs);
    }
    ssize_t send(int fd, const void* data, std::size_t size, int flags) override {
        ++sendCalls;
        if (failNext(sendFaults)) return -1;
        if (stalled()) {
            errno = EAGAIN;
            return -1;
        }
        const ssize_t sent =
            SocketCalls::send(fd, data, sendLimit ? std::min(size, *sendLimit) : size, flags);
        if (sent > 0) ++sendsDone;
        return sent;
    }
    ssize_t recv(int fd, void* data, std::size_t size, int flags) override {
        ++recvCalls;
        if (failNext(recvFaults)) return -1;
        if (beforeRecv) beforeRecv();
        return SocketCalls::recv(fd, data, size, flags);
    }

private:
    static bool failNext(std::deque<int>& faults) {
        if (faults.empty()) return false;
        errno = faults.front();
        faults.pop_front();
        return true;
    }
    bool stalled() const { return sendsBeforeStall && sendsDone >= *sendsBeforeStall; }
};

// The IPv4 loopback address with port, as the resolver would give it.
inline ResolvedAddress loopbackAddress(std::uint16_t port) {
    ResolvedAddress out;
    out.socketType = SOCK_STREAM;
    out.protocol = IPPROTO_TCP;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    out.family = AF_INET;
    std::memcpy(&out.address, &address, sizeof address);
    out.length = sizeof address;
    return out;
}

}  // namespace tessarin::test

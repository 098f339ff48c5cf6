#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tessarin {

// One address the resolver found, owned, so that a substitute resolver can hand out addresses
// without building getaddrinfo's linked list.
struct ResolvedAddress {
    int family = AF_UNSPEC;
    int socketType = SOCK_STREAM;
    int protocol = 0;
    sockaddr_storage address{};
    socklen_t length = 0;
};

// The system calls the link makes, behind one small seam. The base class calls the operating
// system; a test derives from it to inject what a real peer cannot produce on demand (EINTR,
// EAGAIN, ECONNRESET, a host with several addresses) and forwards everything else. Each call
// keeps its POSIX contract: -1 with errno set on failure.
class SocketCalls {
public:
    SocketCalls() = default;
    SocketCalls(const SocketCalls&) = delete;
    SocketCalls& operator=(const SocketCalls&) = delete;
    virtual ~SocketCalls() = default;

    // The process-wide instance that goes straight to the operating system.
    [[nodiscard]] static SocketCalls& system();

    // getaddrinfo for stream sockets of any family, protocol TCP, no flags, in the resolver's
    // order. No value when the resolver fails; an empty list is possible.
    [[nodiscard]] virtual std::optional<std::vector<ResolvedAddress>> resolve(const std::string& host,
                                                                              const std::string& service);
    virtual int socket(int family, int type, int protocol);
    virtual int connect(int fd, const sockaddr* address, socklen_t length);
    virtual int poll(pollfd* fds, nfds_t count, int timeoutMs);
    virtual ssize_t send(int fd, const void* data, std::size_t size, int flags);
    virtual ssize_t recv(int fd, void* data, std::size_t size, int flags);
};

// Repeats a system call for as long as a signal interrupts it. The one place where EINTR is
// handled: a call whose argument depends on the time left recomputes it on every attempt,
// because the lambda is evaluated afresh.
template <typename Call>
auto retryingInterrupted(Call&& call) -> decltype(call()) {
    for (;;) {
        const auto result = call();
        if (result < 0 && errno == EINTR) continue;
        return result;
    }
}

[[nodiscard]] inline bool wouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}

}  // namespace tessarin

#pragma once

#include "ModbusTCP/Socket.hpp"

#include <poll.h>

#include <cstdint>
#include <expected>
#include <span>
#include <unordered_map>
#include <vector>

namespace tessarin {

// Waits until one of a changing set of sockets is ready. Interest and answers are in poll()
// terms (POLLIN, POLLOUT; POLLERR and POLLHUP come unasked). The native kind is an epoll set on
// Linux, which costs per ready socket rather than per watched one and is told only of changes;
// the portable kind hands the whole set to poll() on every wait, and is what other systems get.
class SocketWatcher {
public:
    enum class Kind : std::uint8_t { native, portable };

    // An epoll set that cannot be made (out of descriptors) leaves the watcher portable.
    explicit SocketWatcher(Kind kind = Kind::native);

    struct Ready {
        int fd = -1;
        short events = 0;
    };

    [[nodiscard]] Kind kind() const { return m_epoll.isOpen() ? Kind::native : Kind::portable; }

    // Watches fd for events, or changes what it is watched for; a repeat costs no system call.
    // False when the system refuses the descriptor.
    bool watch(int fd, short events);
    // Stops watching fd. Call it before the descriptor is closed.
    void forget(int fd);

    // Waits up to timeoutMs (-1: without limit) and returns the ready sockets, valid until the
    // next call: empty after the time-out or a signal, the errno of any other failure.
    [[nodiscard]] std::expected<std::span<const Ready>, int> wait(int timeoutMs);

private:
    Socket m_epoll;
    std::unordered_map<int, short> m_watched;  // what each fd is watched for
    std::vector<Ready> m_ready;
    std::vector<pollfd> m_pollSet;  // the portable kind's set, made anew for every wait
};

}  // namespace tessarin

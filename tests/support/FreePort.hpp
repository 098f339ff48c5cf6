#pragma once

#include <cstdint>

#include <netinet/in.h>

namespace tessarin::test {

// A loopback port that refuses connections: a socket is bound to it but does not listen, so
// connects get a reset at once and no other process can take the port while this lives.
class ClosedPort {
public:
    ClosedPort();
    ClosedPort(const ClosedPort&) = delete;
    ClosedPort& operator=(const ClosedPort&) = delete;
    ~ClosedPort();

    [[nodiscard]] std::uint16_t port() const { return m_port; }

private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
};

// A loopback port whose connects never complete: it listens with a backlog of 0 and one
// connection of its own fills that backlog, so the kernel drops every further handshake and
// a client's connect runs into its time-out, as with a device that is switched off.
class SilentPort {
public:
    SilentPort();
    SilentPort(const SilentPort&) = delete;
    SilentPort& operator=(const SilentPort&) = delete;
    ~SilentPort();

    [[nodiscard]] std::uint16_t port() const { return m_port; }

private:
    int m_listener = -1;
    int m_filler = -1;
    std::uint16_t m_port = 0;
};

// Port and descriptor of a TCP socket bound to 127.0.0.1 on a port the kernel picks; aborts
// the test binary when the machine has no loopback sockets at all.
int bindLoopback(std::uint16_t& port);

// 127.0.0.1 at the given port (0: the kernel picks one when bound).
sockaddr_in loopback(std::uint16_t port);

}  // namespace tessarin::test

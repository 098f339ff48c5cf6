#include "support/FreePort.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tessarin::test {

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "loopback test socket: %s: %s\n", what, std::strerror(errno));
    std::abort();
}

}  // namespace

sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int bindLoopback(std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) fail("socket");
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = loopback(0);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) fail("bind");
    socklen_t size = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) fail("getsockname");
    port = ntohs(address.sin_port);
    return fd;
}

ClosedPort::ClosedPort() {
    m_fd = bindLoopback(m_port);
}

ClosedPort::~ClosedPort() {
    ::close(m_fd);
}

SilentPort::SilentPort() {
    m_listener = bindLoopback(m_port);
    if (::listen(m_listener, 0) != 0) fail("listen");
    m_filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_filler < 0) fail("socket");
    const sockaddr_in address = loopback(m_port);
    // Blocking: the backlog is empty, so this one handshake completes at once.
    if (::connect(m_filler, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        fail("connect");
}

SilentPort::~SilentPort() {
    ::close(m_filler);
    ::close(m_listener);
}

}  // namespace tessarin::test

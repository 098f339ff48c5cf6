#pragma once

namespace tessarin {

// Owns one socket descriptor and closes it exactly once. Move-only; a moved-from or closed
// socket holds -1.
class Socket {
public:
    Socket() = default;
    explicit Socket(int fd) : m_fd(fd) {}
    Socket(Socket&& other) noexcept : m_fd(other.release()) {}
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() { close(); }

    [[nodiscard]] int fd() const { return m_fd; }
    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }

    // Not retried on EINTR: on Linux the descriptor is gone either way, and a retry could
    // close a descriptor another thread has just been given.
    void close();

    // Gives up ownership without closing.
    [[nodiscard]] int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd = -1;
};

}  // namespace tessarin

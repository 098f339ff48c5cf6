#include "DeviceSimulator/SocketWatcher.hpp"

#include <cerrno>

#if defined(__linux__)
#include <sys/epoll.h>

#include <array>
#endif

namespace tessarin {

namespace {

#if defined(__linux__)
// Ready sockets taken per wait; more simply wait for the next round, which returns at once.
constexpr std::size_t readyPerWait = 64;

std::uint32_t epollEvents(short events) {
    std::uint32_t wanted = 0;
    if ((events & POLLIN) != 0) wanted |= EPOLLIN;
    if ((events & POLLOUT) != 0) wanted |= EPOLLOUT;
    return wanted;
}

short pollEvents(std::uint32_t events) {
    short got = 0;
    if ((events & EPOLLIN) != 0) got |= POLLIN;
    if ((events & EPOLLOUT) != 0) got |= POLLOUT;
    if ((events & EPOLLERR) != 0) got |= POLLERR;
    if ((events & EPOLLHUP) != 0) got |= POLLHUP;
    return got;
}
#endif

}  // namespace

SocketWatcher::SocketWatcher(Kind kind) {
#if defined(__linux__)
    if (kind == Kind::native) m_epoll = Socket(::epoll_create1(EPOLL_CLOEXEC));
#else
    (void)kind;
#endif
}

bool SocketWatcher::watch(int fd, short events) {
    const auto known = m_watched.find(fd);
    if (known != m_watched.end() && known->second == events) return true;
#if defined(__linux__)
    if (m_epoll.isOpen()) {
        epoll_event change{};
        change.events = epollEvents(events);
        change.data.fd = fd;
        const int operation = known == m_watched.end() ? EPOLL_CTL_ADD : EPOLL_CTL_MOD;
        if (::epoll_ctl(m_epoll.fd(), operation, fd, &change) != 0) return false;
    }
#endif
    m_watched[fd] = events;
    return true;
}

void SocketWatcher::forget(int fd) {
    if (m_watched.erase(fd) == 0) return;
#if defined(__linux__)
    if (m_epoll.isOpen()) ::epoll_ctl(m_epoll.fd(), EPOLL_CTL_DEL, fd, nullptr);
#endif
}

std::expected<std::span<const SocketWatcher::Ready>, int> SocketWatcher::wait(int timeoutMs) {
    m_ready.clear();
#if defined(__linux__)
    if (m_epoll.isOpen()) {
        std::array<epoll_event, readyPerWait> events{};
        const int count =
            ::epoll_wait(m_epoll.fd(), events.data(), static_cast<int>(events.size()), timeoutMs);
        if (count < 0) {
            if (errno == EINTR) return std::span<const Ready>{};
            return std::unexpected(errno);
        }
        for (int i = 0; i < count; ++i) {
            m_ready.push_back({events[static_cast<std::size_t>(i)].data.fd,
                               pollEvents(events[static_cast<std::size_t>(i)].events)});
        }
        return std::span<const Ready>(m_ready);
    }
#endif
    m_pollSet.clear();
    for (const auto& [fd, events] : m_watched) m_pollSet.push_back({fd, events, 0});
    const int count = ::poll(m_pollSet.data(), m_pollSet.size(), timeoutMs);
    if (count < 0) {
        if (errno == EINTR) return std::span<const Ready>{};
        return std::unexpected(errno);
    }
    for (const pollfd& entry : m_pollSet) {
        if (entry.revents != 0) m_ready.push_back({entry.fd, entry.revents});
    }
    return std::span<const Ready>(m_ready);
}

}  // namespace tessarin

#include "DeviceSimulator/DeviceSimulator.hpp"

#include "DeviceSimulator/SimulatorConnection.hpp"
#include "DeviceSimulator/SocketWatcher.hpp"
#include "Localization/L10n.hpp"
#include "ModbusCore/HostPort.hpp"
#include "ModbusTCP/Socket.hpp"
#include "ModbusTCP/SocketCalls.hpp"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tessarin {

namespace {

using Clock = SimulatorConnection::Clock;

constexpr int listenBacklog = 128;
// After a request the server keeps looking for the next one this long before it sleeps. A
// client reading back to back sends it within a round trip, and waking a thread whose core has
// gone idle takes longer than that round trip; at a poll a second the look costs nothing
// anyone could measure. The server yields its core between looks, so threads waiting for it
// lose nothing.
constexpr auto busyLook = std::chrono::microseconds(50);

std::string peerText(const sockaddr_storage& address) {
    std::array<char, NI_MAXHOST> host{};
    std::array<char, NI_MAXSERV> service{};
    if (::getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof address, host.data(), host.size(),
                      service.data(), service.size(), NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
        return "?";
    }
    const unsigned long port = std::strtoul(service.data(), nullptr, 10);
    return hostPortText(host.data(), static_cast<std::uint16_t>(port));
}

std::uint16_t boundPort(int fd) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
}

// A listening, non-blocking socket on the first resolved address that binds.
std::expected<Socket, SimulatorError> listenOn(const std::string& host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* list = nullptr;
    const std::string service = std::to_string(port);
    if (::getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &list) != 0 ||
        list == nullptr) {
        return std::unexpected(SimulatorError{SimulatorError::Kind::resolveFailed, host, port, 0});
    }
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(list, &::freeaddrinfo);
    int lastError = EADDRNOTAVAIL;
    for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
        Socket socket(::socket(entry->ai_family, entry->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                               entry->ai_protocol));
        if (!socket.isOpen()) {
            lastError = errno;
            continue;
        }
        // A restarted simulator must not wait for its old connections' TIME_WAIT.
        const int one = 1;
        ::setsockopt(socket.fd(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (::bind(socket.fd(), entry->ai_addr, entry->ai_addrlen) == 0 &&
            ::listen(socket.fd(), listenBacklog) == 0) {
            return socket;
        }
        lastError = errno;
    }
    return std::unexpected(SimulatorError{SimulatorError::Kind::listenFailed, host, port, lastError});
}

}  // namespace

struct DeviceSimulator::Server {
    SimulatedDevice device;
    SimulatorOptions options;
    Socket listener;
    Socket wake;  // an eventfd that stop() signals
    std::vector<std::unique_ptr<SimulatorConnection>> clients;
    std::unordered_map<int, SimulatorConnection*> byFd;
    SocketWatcher watcher;

    void log(const std::string& line) const {
        if (options.log) options.log(line);
    }

    void acceptAll() {
        for (;;) {
            sockaddr_storage address{};
            socklen_t length = sizeof address;
            Socket socket(retryingInterrupted([&] {
                return ::accept4(listener.fd(), reinterpret_cast<sockaddr*>(&address), &length,
                                 SOCK_NONBLOCK | SOCK_CLOEXEC);
            }));
            if (!socket.isOpen()) return;  // EAGAIN, or a connection that died in the backlog
            if (clients.size() >= options.maxClients) continue;  // closed at once
            const int one = 1;
            ::setsockopt(socket.fd(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            auto client = std::make_unique<SimulatorConnection>(
                std::move(socket), peerText(address), options.framing,
                SimulatorConnection::Limits{options.latency, options.incompleteRequestTimeout,
                                            options.maxQueuedBytes});
            if (!watcher.watch(client->fd(), client->events())) continue;  // closed at once
            log(L10n::Simulator::clientConnected(client->peer()));
            byFd[client->fd()] = client.get();
            clients.push_back(std::move(client));
        }
    }

    void close(SimulatorConnection* client, SimulatorConnection::Outcome outcome) {
        log(outcome == SimulatorConnection::Outcome::invalid
                ? L10n::Simulator::clientDropped(client->peer())
                : L10n::Simulator::clientDisconnected(client->peer()));
        watcher.forget(client->fd());
        byFd.erase(client->fd());
        const auto at = std::ranges::find_if(clients, [&](const auto& c) { return c.get() == client; });
        *at = std::move(clients.back());
        clients.pop_back();
    }

    int pollTimeout(Clock::time_point now) const {
        std::optional<Clock::time_point> earliest;
        for (const auto& client : clients) {
            const auto due = client->deadline();
            if (due && (!earliest || *due < *earliest)) earliest = due;
        }
        if (!earliest) return -1;
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*earliest - now).count();
        return static_cast<int>(std::clamp<long long>(wait, 0, 60'000));
    }

    void run() {
        if (!watcher.watch(wake.fd(), POLLIN) || !watcher.watch(listener.fd(), POLLIN)) return;
        std::vector<SimulatorConnection*> order;
        Clock::time_point lookUntil{};
        for (;;) {
            // What each client waits for changes only with its own traffic; the watcher is
            // told only of changes.
            for (const auto& client : clients) watcher.watch(client->fd(), client->events());
            const Clock::time_point before = Clock::now();
            const bool looking = before < lookUntil;
            const auto ready = watcher.wait(looking ? 0 : pollTimeout(before));
            if (!ready) return;
            if (looking && ready->empty()) {
                ::sched_yield();
                continue;
            }

            const Clock::time_point now = Clock::now();
            const double t = options.clock();
            bool accepting = false;
            for (const SocketWatcher::Ready& socket : *ready) {
                if (socket.fd == wake.fd()) return;
                if (socket.fd == listener.fd()) {
                    accepting = true;
                    continue;
                }
                const auto found = byFd.find(socket.fd);
                if (found == byFd.end() || (socket.events & (POLLIN | POLLERR | POLLHUP)) == 0) continue;
                SimulatorConnection* client = found->second;
                lookUntil = now + busyLook;
                const auto outcome = client->receive(device, t, now);
                if (outcome != SimulatorConnection::Outcome::open) close(client, outcome);
            }
            // Delayed answers, unfinished requests' grace and answers the socket did not take
            // at once are due whether or not the client's socket spoke.
            order.clear();
            for (const auto& client : clients) order.push_back(client.get());
            for (SimulatorConnection* client : order) {
                const auto outcome = client->service(now);
                if (outcome != SimulatorConnection::Outcome::open) close(client, outcome);
            }
            // Accepted last, so that no descriptor closed in this round is handed out again
            // while its readiness is still being read.
            if (accepting) acceptAll();
        }
    }
};

DeviceSimulator::DeviceSimulator(std::unique_ptr<Server> server, std::uint16_t port)
    : m_server(std::move(server)), m_port(port) {}

std::expected<std::unique_ptr<DeviceSimulator>, SimulatorError> DeviceSimulator::start(
    SimulatedDevice device, SimulatorOptions options) {
    auto listener = listenOn(options.bindAddress, options.port);
    if (!listener) return std::unexpected(listener.error());
    Socket wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!wake.isOpen()) {
        return std::unexpected(
            SimulatorError{SimulatorError::Kind::threadFailed, options.bindAddress, options.port, errno});
    }
    if (!options.clock) {
        const Clock::time_point origin = Clock::now();
        options.clock = [origin] { return std::chrono::duration<double>(Clock::now() - origin).count(); };
    }
    const std::uint16_t port = boundPort(listener->fd());
    auto server = std::make_unique<Server>(Server{std::move(device),
                                                  std::move(options),
                                                  std::move(*listener),
                                                  std::move(wake),
                                                  {},
                                                  {},
                                                  SocketWatcher()});
    std::unique_ptr<DeviceSimulator> simulator(new DeviceSimulator(std::move(server), port));
    simulator->m_thread = std::thread([raw = simulator->m_server.get()] { raw->run(); });
    return simulator;
}

DeviceSimulator::~DeviceSimulator() {
    stop();
}

void DeviceSimulator::stop() {
    if (!m_thread.joinable()) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_server->wake.fd(), &one, sizeof one);
    m_thread.join();
    for (auto& client : m_server->clients) m_server->log(L10n::Simulator::clientDisconnected(client->peer()));
    m_server->byFd.clear();
    m_server->clients.clear();
    m_server->listener.close();
}

}  // namespace tessarin

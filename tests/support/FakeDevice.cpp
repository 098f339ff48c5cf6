#include "support/FakeDevice.hpp"

#include "ModbusCore/CRC16.hpp"
#include "ModbusCore/RTUFrame.hpp"
#include "peers/DeviceContents.hpp"
#include "support/FreePort.hpp"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tessarin::test {

namespace {

constexpr std::size_t mbapSize = 7;
constexpr std::uint8_t exceptionBit = 0x80;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fake device: %s: %s\n", what, std::strerror(errno));
    std::abort();
}

std::uint16_t wordAt(std::span<const std::uint8_t> bytes, std::size_t index) {
    return static_cast<std::uint16_t>((bytes[index] << 8) | bytes[index + 1]);
}

void appendWord(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void closeAbortively(int fd) {
    const linger abortive{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    ::close(fd);
}

}  // namespace

FakeDevice::FakeDevice(Framing framing, Script script, ConnectScript onConnect)
    : m_framing(framing), m_script(std::move(script)), m_onConnect(std::move(onConnect)) {
    m_listener = bindLoopback(m_port);
    if (::listen(m_listener, 16) != 0) fail("listen");
    if (::pipe2(m_wake, O_CLOEXEC) != 0) fail("pipe");
    m_thread = std::thread([this] { run(); });
}

FakeDevice::~FakeDevice() {
    const char stop = 's';
    if (::write(m_wake[1], &stop, 1) != 1) fail("wake");
    m_thread.join();
    for (const Client& client : m_clients) ::close(client.fd);
    ::close(m_listener);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

void FakeDevice::run() {
    for (;;) {
        std::vector<pollfd> watched{{m_wake[0], POLLIN, 0}, {m_listener, POLLIN, 0}};
        for (const Client& client : m_clients) watched.push_back({client.fd, POLLIN, 0});
        if (::poll(watched.data(), watched.size(), chatterNow()) < 0) {
            if (errno == EINTR) continue;
            fail("poll");
        }
        if (watched[0].revents != 0) return;
        // Serve before accepting, so that a client that closed and reconnected is seen in order.
        const std::size_t served = m_clients.size();
        for (std::size_t i = 0; i < served; ++i) {
            if (watched[i + 2].revents == 0) continue;
            if (!serve(m_clients[i])) {
                if (m_clients[i].fd >= 0) ::close(m_clients[i].fd);
                m_clients[i].fd = -1;
            }
        }
        std::erase_if(m_clients, [](const Client& client) { return client.fd < 0; });
        if (watched[1].revents != 0) accept();
    }
}

void FakeDevice::chatter(std::vector<std::uint8_t> frame, std::chrono::milliseconds every) {
    {
        const std::lock_guard lock(m_mutex);
        m_chatter = std::move(frame);
        m_chatterEvery = every;
    }
}

int FakeDevice::chatterNow() {
    std::vector<std::uint8_t> frame;
    std::chrono::milliseconds every{};
    {
        const std::lock_guard lock(m_mutex);
        frame = m_chatter;
        every = m_chatterEvery;
    }
    if (frame.empty()) return -1;
    const auto now = std::chrono::steady_clock::now();
    if (now >= m_chatterNext) {
        for (const Client& client : m_clients) (void)sendAll(client.fd, frame);
        m_chatterNext = now + every;
    }
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(m_chatterNext - now).count());
}

void FakeDevice::accept() {
    const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    // A client that stops reading must not hold the device (and the test) forever.
    const timeval stall{2, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &stall, sizeof stall);
    Client client{fd, m_connections.load(), {}};
    noteEvent(m_connections);
    if (m_onConnect && !perform(client, m_onConnect(client.number))) {
        if (client.fd >= 0) ::close(client.fd);
        return;
    }
    m_clients.push_back(std::move(client));
}

bool FakeDevice::serve(Client& client) {
    std::uint8_t chunk[4096];
    const ssize_t received = ::recv(client.fd, chunk, sizeof chunk, 0);
    if (received <= 0) return received < 0 && errno == EINTR;
    client.pending.insert(client.pending.end(), chunk, chunk + received);

    for (;;) {
        std::span<const std::uint8_t> pending = client.pending;
        FakeRequest request;
        request.framing = m_framing;
        if (m_framing == Framing::modbusTCP) {
            if (pending.size() < mbapSize) break;
            const std::uint16_t length = wordAt(pending, 4);
            if (length < 2 || length > 254) {
                client.pending.clear();  // no way to find the next request: start afresh
                break;
            }
            if (pending.size() < length + std::size_t{6}) break;
            request.frame.assign(pending.begin(), pending.begin() + length + 6);
            request.transactionID = wordAt(pending, 0);
            request.unit = pending[6];
            request.pdu.assign(request.frame.begin() + mbapSize, request.frame.end());
        } else {
            const auto length = RTUFrame::expectedRequestLength(pending);
            if (!length) {
                if (pending.size() >= RTUFrame::maxSize) client.pending.clear();
                break;
            }
            if (pending.size() < *length) break;
            request.frame.assign(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(*length));
            request.unit = pending[0];
            request.pdu.assign(request.frame.begin() + 1, request.frame.end() - 2);
        }
        client.pending.erase(client.pending.begin(),
                             client.pending.begin() + static_cast<std::ptrdiff_t>(request.frame.size()));
        request.index = m_requests.load();
        noteEvent(m_requests);
        if (!perform(client, m_script(request))) return false;
    }
    return true;
}

bool FakeDevice::perform(Client& client, const std::vector<FakeStep>& steps) {
    for (const FakeStep& step : steps) {
        switch (step.kind) {
            case FakeStep::Kind::send:
                if (!sendAll(client.fd, step.bytes)) return false;
                break;
            case FakeStep::Kind::dribble:
                for (const std::uint8_t byte : step.bytes) {
                    if (!sendAll(client.fd, std::span(&byte, 1)) || !pauseFor(step.duration)) return false;
                }
                break;
            case FakeStep::Kind::pause:
                if (!pauseFor(step.duration)) return false;
                break;
            case FakeStep::Kind::close:
                ::shutdown(client.fd, SHUT_WR);
                ::close(client.fd);
                client.fd = -1;
                return false;
            case FakeStep::Kind::reset:
                closeAbortively(client.fd);
                client.fd = -1;
                return false;
        }
    }
    return true;
}

bool FakeDevice::sendAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(sent));
    }
    return true;
}

bool FakeDevice::pauseFor(std::chrono::milliseconds duration) {
    pollfd wake{m_wake[0], POLLIN, 0};
    const auto until = std::chrono::steady_clock::now() + duration;
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0) return true;
        const int ready = ::poll(&wake, 1, static_cast<int>(left.count()));
        if (ready > 0) return false;
    }
}

void FakeDevice::noteEvent(std::atomic<int>& counter) {
    {
        const std::lock_guard lock(m_mutex);
        ++counter;
    }
    m_changed.notify_all();
}

bool FakeDevice::waitFor(const std::atomic<int>& counter, int n, std::chrono::milliseconds cap) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, cap, [&] { return counter.load() >= n; });
}

bool FakeDevice::waitForConnections(int n, std::chrono::milliseconds cap) {
    return waitFor(m_connections, n, cap);
}

bool FakeDevice::waitForRequests(int n, std::chrono::milliseconds cap) {
    return waitFor(m_requests, n, cap);
}

std::vector<std::uint8_t> mbapFrame(std::uint16_t transactionID, std::uint8_t unit,
                                    std::span<const std::uint8_t> pdu) {
    std::vector<std::uint8_t> out;
    appendWord(out, transactionID);
    appendWord(out, 0);
    appendWord(out, static_cast<std::uint16_t>(pdu.size() + 1));
    out.push_back(unit);
    out.insert(out.end(), pdu.begin(), pdu.end());
    return out;
}

std::vector<std::uint8_t> rtuFrame(std::uint8_t unit, std::span<const std::uint8_t> pdu) {
    std::vector<std::uint8_t> out{unit};
    out.insert(out.end(), pdu.begin(), pdu.end());
    const std::uint16_t crc = CRC16::modbus(out);
    out.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    out.push_back(static_cast<std::uint8_t>(crc >> 8));
    return out;
}

std::vector<std::uint8_t> correctAnswer(const FakeRequest& request) {
    const auto pdu = answerPDU(request.pdu);
    return request.framing == FakeFraming::modbusTCP ? mbapFrame(request.transactionID, request.unit, pdu)
                                                     : rtuFrame(request.unit, pdu);
}

std::vector<FakeStep> answerCorrectly(const FakeRequest& request) {
    return {FakeStep::send(correctAnswer(request))};
}

std::vector<std::uint8_t> answerPDU(std::span<const std::uint8_t> requestPDU) {
    const std::uint8_t function = requestPDU.empty() ? 0 : requestPDU[0];
    const std::vector<std::uint8_t> illegal{static_cast<std::uint8_t>(function | exceptionBit), 0x01};
    if (requestPDU.size() < 5) return illegal;
    const std::uint16_t start = wordAt(requestPDU, 1);
    const std::uint16_t count = wordAt(requestPDU, 3);
    std::vector<std::uint8_t> out{function};
    switch (function) {
        case 1:
        case 2: {
            if (count > 2000) return {static_cast<std::uint8_t>(function | exceptionBit), 0x03};
            out.push_back(static_cast<std::uint8_t>((count + 7) / 8));
            out.resize(out.size() + (count + 7U) / 8U, 0);
            for (std::uint16_t i = 0; i < count; ++i) {
                const auto address = static_cast<std::uint16_t>(start + i);
                const bool on =
                    function == 1 ? DeviceContents::coil(address) : DeviceContents::discreteInput(address);
                if (on) out[2 + i / 8U] |= static_cast<std::uint8_t>(1U << (i % 8U));
            }
            return out;
        }
        case 3:
        case 4:
            if (count > 125) return {static_cast<std::uint8_t>(function | exceptionBit), 0x03};
            out.push_back(static_cast<std::uint8_t>(count * 2));
            for (std::uint16_t i = 0; i < count; ++i) {
                const auto address = static_cast<std::uint16_t>(start + i);
                appendWord(out, function == 3 ? DeviceContents::holdingRegister(address)
                                              : DeviceContents::inputRegister(address));
            }
            return out;
        case 5:
        case 6:
            return {requestPDU.begin(), requestPDU.end()};
        case 15:
        case 16:
            return {requestPDU.begin(), requestPDU.begin() + 5};
        default:
            return illegal;
    }
}

}  // namespace tessarin::test

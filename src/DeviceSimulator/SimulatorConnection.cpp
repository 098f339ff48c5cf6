#include "DeviceSimulator/SimulatorConnection.hpp"

#include "ModbusTCP/SocketCalls.hpp"

#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <utility>

namespace tessarin {

namespace {

// Larger than a pipelining client's burst of requests, small enough to live on the stack.
constexpr std::size_t receiveChunk = 4096;
// RTU over TCP has no broadcast answer: unit 0 reaches every device and none replies.
constexpr std::uint8_t rtuBroadcastUnit = 0;

}  // namespace

SimulatorConnection::SimulatorConnection(Socket socket, std::string peer, TCPFraming framing, Limits limits)
    : m_socket(std::move(socket)), m_peer(std::move(peer)), m_stream(framing), m_limits(limits) {}

short SimulatorConnection::events() const {
    short wanted = 0;
    // A client that does not take its answers gets no more of them made for it.
    if (readingRequests()) wanted |= POLLIN;
    if (m_out.size() > m_outStart) wanted |= POLLOUT;
    return wanted;
}

std::optional<SimulatorConnection::Clock::time_point> SimulatorConnection::deadline() const {
    std::optional<Clock::time_point> earliest;
    if (!m_delayed.empty()) earliest = m_delayed.front().due;
    if (m_partialSince && readingRequests()) {
        const auto expiry = *m_partialSince + m_limits.incompleteRequestTimeout;
        if (!earliest || expiry < *earliest) earliest = expiry;
    }
    return earliest;
}

SimulatorConnection::Outcome SimulatorConnection::receive(SimulatedDevice& device, double t,
                                                          Clock::time_point now) {
    // Not cleared first: recv writes what is read, and only that is used.
    std::array<std::uint8_t, receiveChunk> chunk;  // NOLINT(cppcoreguidelines-pro-type-member-init)
    const ssize_t count =
        retryingInterrupted([&] { return ::recv(m_socket.fd(), chunk.data(), chunk.size(), 0); });
    if (count == 0) return Outcome::closed;
    if (count < 0) return wouldBlock(errno) ? Outcome::open : Outcome::closed;
    m_stream.append(std::span(chunk).first(static_cast<std::size_t>(count)));

    RequestStream::Request& request = m_request;
    for (;;) {
        const RequestStream::Status status = m_stream.next(request);
        if (status == RequestStream::Status::invalid) return Outcome::invalid;
        if (status == RequestStream::Status::incomplete) break;
        const std::vector<std::uint8_t> answer = device.respond(request.unit, request.pdu, t);
        if (m_stream.framing() == TCPFraming::rtuOverTCP && request.unit == rtuBroadcastUnit) continue;
        queue(m_stream.frame(request, answer), now);
    }
    // The grace runs from the first byte of an unfinished request, not from its latest byte,
    // so that a client trickling one byte at a time is dropped as well.
    if (!m_stream.hasPartial()) {
        m_partialSince.reset();
    } else if (!m_partialSince) {
        m_partialSince = now;
    }
    return flush();
}

SimulatorConnection::Outcome SimulatorConnection::service(Clock::time_point now) {
    while (!m_delayed.empty() && m_delayed.front().due <= now) {
        Delayed& next = m_delayed.front();
        m_delayedBytes -= next.frame.size();
        m_out.insert(m_out.end(), next.frame.begin(), next.frame.end());
        m_delayed.pop_front();
    }
    // While its answers pile up nothing is read from this client, so an unfinished request waits
    // on the simulator, not on the client: its grace starts again once reading resumes.
    if (m_partialSince && !readingRequests()) m_partialSince = now;
    if (m_partialSince && now - *m_partialSince >= m_limits.incompleteRequestTimeout) return Outcome::invalid;
    return flush();
}

void SimulatorConnection::queue(std::vector<std::uint8_t> frame, Clock::time_point now) {
    if (m_limits.latency.count() > 0) {
        m_delayedBytes += frame.size();
        m_delayed.push_back({now + m_limits.latency, std::move(frame)});
        return;
    }
    m_out.insert(m_out.end(), frame.begin(), frame.end());
}

SimulatorConnection::Outcome SimulatorConnection::flush() {
    while (m_out.size() > m_outStart) {
        const std::size_t left = m_out.size() - m_outStart;
        const ssize_t sent = retryingInterrupted(
            [&] { return ::send(m_socket.fd(), m_out.data() + m_outStart, left, MSG_NOSIGNAL); });
        if (sent < 0) {
            if (wouldBlock(errno)) break;
            return Outcome::closed;
        }
        m_outStart += static_cast<std::size_t>(sent);
    }
    // Cut the sent bytes off once they are half the buffer, so a client that reads slowly but
    // never quite catches up does not make it grow.
    if (m_outStart > 0 && m_outStart * 2 >= m_out.size()) {
        m_out.erase(m_out.begin(), m_out.begin() + static_cast<std::ptrdiff_t>(m_outStart));
        m_outStart = 0;
    }
    return Outcome::open;
}

}  // namespace tessarin

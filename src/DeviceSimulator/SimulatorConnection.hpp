#pragma once

#include "DeviceSimulator/RequestStream.hpp"
#include "DeviceSimulator/SimulatedDevice.hpp"
#include "ModbusTCP/Socket.hpp"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tessarin {

// One client of the simulator: its non-blocking socket, its requests and its answers. Every
// buffer is bounded: unfinished requests by RequestStream, answers by the queue limit, beyond
// which the connection stops reading until the client takes its answers.
class SimulatorConnection {
public:
    using Clock = std::chrono::steady_clock;

    struct Limits {
        std::chrono::milliseconds latency{0};
        std::chrono::milliseconds incompleteRequestTimeout{5000};
        std::size_t maxQueuedBytes = std::size_t{64} * 1024;
    };

    enum class Outcome : std::uint8_t {
        open,     // keep serving
        closed,   // the client went away or the socket failed
        invalid,  // the client sent what is not a Modbus request, or left one unfinished too long
    };

    SimulatorConnection(Socket socket, std::string peer, TCPFraming framing, Limits limits);

    [[nodiscard]] int fd() const { return m_socket.fd(); }
    [[nodiscard]] const std::string& peer() const { return m_peer; }

    // poll() events this connection waits for.
    [[nodiscard]] short events() const;
    // The earliest moment something is due without the socket's help: a delayed answer, or the
    // end of an unfinished request's grace.
    [[nodiscard]] std::optional<Clock::time_point> deadline() const;

    // Reads what the socket holds, answers every whole request at device time t, and sends
    // what it can.
    [[nodiscard]] Outcome receive(SimulatedDevice& device, double t, Clock::time_point now);
    // Moves due delayed answers out, sends what the socket takes, and checks the grace of an
    // unfinished request.
    [[nodiscard]] Outcome service(Clock::time_point now);

private:
    struct Delayed {
        Clock::time_point due;
        std::vector<std::uint8_t> frame;
    };

    [[nodiscard]] std::size_t queuedBytes() const { return m_out.size() - m_outStart + m_delayedBytes; }
    [[nodiscard]] bool readingRequests() const { return queuedBytes() < m_limits.maxQueuedBytes; }
    void queue(std::vector<std::uint8_t> frame, Clock::time_point now);
    [[nodiscard]] Outcome flush();

    Socket m_socket;
    std::string m_peer;
    RequestStream m_stream;
    RequestStream::Request m_request;  // kept, so its PDU's buffer serves every request
    Limits m_limits;
    std::vector<std::uint8_t> m_out;  // framed answers not yet taken by the socket
    std::size_t m_outStart = 0;
    std::deque<Delayed> m_delayed;  // answers held back for the latency, in due order
    std::size_t m_delayedBytes = 0;
    std::optional<Clock::time_point> m_partialSince;
};

}  // namespace tessarin

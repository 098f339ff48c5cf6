#pragma once

#include "ModbusTCP/Socket.hpp"
#include "ModbusTCP/SocketCalls.hpp"
#include "ModbusTCP/TCPFraming.hpp"
#include "ModbusTCP/TCPLinkError.hpp"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessarin {

// The one outgoing TCP connection to a device, carrying one request at a time in either
// framing. Not thread-safe: one thread (the engine's worker) owns and calls it. Every wait is
// bounded: connecting by the open time-out per address, a send stall by one second, an answer
// by the request's time-out (plus, in RTU over TCP after a failed request, by the settle wait
// described at transact).
//
// Closes itself when the connection is lost (a failed send or receive, the peer closing, a
// failed RTU drain) and when a Modbus TCP header is rejected; a time-out, an invalid RTU
// answer and skipped foreign or late frames leave it open.
class TCPClientLink {
public:
    // One completed request: the exact frames on the wire, the answer's PDU (function code and
    // data) and the unit the answer came from. The PDU is not interpreted here.
    struct Transaction {
        std::vector<std::uint8_t> request;
        std::vector<std::uint8_t> response;
        std::vector<std::uint8_t> pdu;
        std::uint8_t unit = 0;

        bool operator==(const Transaction&) const = default;
    };

    // Every receive reads at most this many bytes.
    static constexpr std::size_t receiveSize = 512;
    // A send that cannot make progress for this long fails with timeout.
    static constexpr std::chrono::milliseconds sendStall{1000};
    // Discarding and settling before an RTU request take at most this long (or its time-out).
    static constexpr std::chrono::milliseconds longestSettle{1000};

    // A closed link; nothing touches the network. The calls must outlive the link.
    TCPClientLink(std::string host, std::uint16_t port, TCPFraming framing,
                  SocketCalls& calls = SocketCalls::system());
    TCPClientLink(const TCPClientLink&) = delete;
    TCPClientLink& operator=(const TCPClientLink&) = delete;
    TCPClientLink(TCPClientLink&&) noexcept = default;
    TCPClientLink& operator=(TCPClientLink&&) noexcept = default;
    ~TCPClientLink() = default;

    [[nodiscard]] const std::string& host() const { return m_host; }
    [[nodiscard]] std::uint16_t port() const { return m_port; }
    [[nodiscard]] TCPFraming framing() const { return m_framing; }
    [[nodiscard]] int fd() const { return m_socket.fd(); }
    [[nodiscard]] bool isOpen() const { return m_socket.isOpen(); }
    // The transaction identifier of the next Modbus TCP request; never 0, and it keeps
    // counting across reconnections.
    [[nodiscard]] std::uint16_t nextTransaction() const { return m_nextTransaction; }
    // Bytes received and not yet consumed as a frame; never more than one frame plus one receive.
    [[nodiscard]] std::size_t pendingSize() const { return m_pending.size(); }

    // Resolves the host and connects to its addresses in the resolver's order, each within
    // timeout seconds (rounded to whole milliseconds, at least 1). Does nothing when open. On
    // failure the error is the one met at the last address tried (resolveFailed when no
    // address yielded a socket).
    [[nodiscard]] std::expected<void, TCPLinkError> open(double timeout);

    // Closes the socket and forgets received bytes; does nothing when closed.
    void close();

    // Sends pdu (1 to 253 bytes, a precondition) to unit and waits up to timeout seconds for
    // its answer. Fails with disconnected at once when the link is closed.
    //
    // Modbus TCP: the answer is the frame with this request's transaction identifier; frames
    // of earlier, timed-out requests are dropped as they come. The answer's unit is not
    // compared.
    //
    // RTU over TCP has no transaction identifier, so the answer is the first CRC-correct frame
    // from the same unit with the same function code (an exception answer included); other
    // frames are skipped. Anything waiting on the socket is discarded before the request goes
    // out. After a request ended in a time-out or an invalid answer, a late answer to it could
    // still be on its way and would look exactly like the answer to the next request; so the
    // next request is sent only once the line has been quiet for a settle time (half the
    // request's time-out, 20 to 500 ms), discarding whatever arrives meanwhile. If the line
    // does not fall quiet within the request's time-out (at most longestSettle), the request
    // is not sent and fails with timeout.
    [[nodiscard]] std::expected<Transaction, TCPLinkError> transact(std::uint8_t unit,
                                                                    std::span<const std::uint8_t> pdu,
                                                                    double timeout);

    // How long the line must be quiet after a failed RTU request before the next one is sent.
    [[nodiscard]] static std::chrono::milliseconds settleTime(double timeout);

private:
    using Clock = std::chrono::steady_clock;

    // True when connected; otherwise lastError holds this address's failure, or is left as it
    // was when no socket could be created for the address.
    [[nodiscard]] bool connectTo(const ResolvedAddress& address, int timeoutMs, TCPLinkError& lastError);
    [[nodiscard]] std::expected<void, TCPLinkError> sendAll(std::span<const std::uint8_t> frame);
    [[nodiscard]] std::expected<void, TCPLinkError> receiveMore(Clock::time_point deadline);
    // Reads and discards what the socket holds without waiting; true when anything was there.
    [[nodiscard]] std::expected<bool, TCPLinkError> drain(Clock::time_point giveUp);
    // Waits until m_quietUntil, discarding what arrives and pushing it back by quietFor after
    // every arrival; timeout when giveUp comes first.
    [[nodiscard]] std::expected<void, TCPLinkError> settle(Clock::time_point giveUp,
                                                           Clock::duration quietFor);
    [[nodiscard]] std::expected<Transaction, TCPLinkError> transactMBAP(std::uint8_t unit,
                                                                        std::span<const std::uint8_t> pdu,
                                                                        double timeout);
    [[nodiscard]] std::expected<Transaction, TCPLinkError> transactRTU(std::uint8_t unit,
                                                                       std::span<const std::uint8_t> pdu,
                                                                       double timeout);
    [[nodiscard]] TCPLinkError lose();
    void expectLateBytes(double timeout);

    std::string m_host;
    std::uint16_t m_port;
    TCPFraming m_framing;
    SocketCalls* m_calls;
    Socket m_socket;
    std::uint16_t m_nextTransaction = 1;
    std::array<std::uint8_t, receiveSize> m_buffer{};
    std::vector<std::uint8_t> m_pending;
    // RTU over TCP: set after a failed request; no request goes out before the line has been
    // quiet until then. Kept across reconnections, since a converter may still pass on the
    // bus's late answer on a new connection.
    std::optional<Clock::time_point> m_quietUntil;
};

}  // namespace tessarin

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
// by the request's time-out, and before an RTU request at most lateAnswerWait (see transact).
//
// Late answers. A frame that left the device before a request was sent is never taken for
// that request's answer:
// - Modbus TCP: whatever is buffered when a request is about to go out is drained and dropped,
//   frame by frame, whatever transaction identifier it carries; after a time-out the next
//   identifier jumps far from the one that timed out, so that a device or gateway echoing
//   nearby identifiers (the neighbours, 0, the top bit flipped) cannot hit it by chance.
// - RTU over TCP, which has no identifier: an answer that arrives up to lateAnswerReach after
//   its request was sent (the time-out plus twice the time-out, at most the time-out plus
//   two seconds) is never taken for a later request. After a request fails, the next request
//   to the same unit with the same function waits until that late answer has come or its
//   reach has passed; requests to other units or with other functions cannot be mistaken for
//   it and go out at once. Frames of other units never hold a request back.
// Frames dropped as late or unrequested are kept for the caller to report (takeDroppedFrames).
//
// Closes itself when the connection is lost (a failed send or receive, the peer closing, a
// failed drain) and when a Modbus TCP header is rejected; a time-out, an invalid RTU answer
// and skipped foreign or late frames leave it open.
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
    // Draining what is buffered before a request takes at most this long (or its time-out).
    static constexpr std::chrono::milliseconds longestDrain{1000};
    // After a Modbus TCP time-out the next transaction identifier is this far from the last.
    static constexpr std::uint16_t identifierJump = 0x1001;
    // The longest wait for a failed RTU request's late answer, after its time-out.
    static constexpr std::chrono::milliseconds longestLateAnswerWait{2000};

    // Frames the link dropped since they were last taken: answers to failed or earlier
    // requests, and in Modbus TCP any frame no request was waiting for. Frames of other units
    // on an RTU line are normal traffic and not counted.
    struct DroppedFrames {
        std::size_t count = 0;
        std::vector<std::uint8_t> first;  // the first of them, as received

        bool operator==(const DroppedFrames&) const = default;
    };

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
    // its answer. Fails with disconnected at once when the link is closed. A request that
    // fails without being sent fails with disconnected (the link closed) or, when the socket
    // stayed unwritable before the first byte, with timeout.
    //
    // Modbus TCP: the answer is the first frame with this request's transaction identifier that
    // arrived after the request was sent; other frames are dropped as they come. The answer's
    // unit is not compared.
    //
    // RTU over TCP: the answer is the first CRC-correct frame from the same unit with the same
    // function code (an exception answer included) that arrived after the request was sent;
    // other frames are skipped. Before sending, the request may wait for a failed request's
    // late answer, as described above the class, for at most lateAnswerWait(timeout of the
    // failed request).
    [[nodiscard]] std::expected<Transaction, TCPLinkError> transact(std::uint8_t unit,
                                                                    std::span<const std::uint8_t> pdu,
                                                                    double timeout);

    // The dropped frames since the last call; resets the count.
    [[nodiscard]] DroppedFrames takeDroppedFrames();

    // RTU over TCP: how long after its time-out a failed request's answer is still waited for.
    [[nodiscard]] static std::chrono::milliseconds lateAnswerWait(double timeout);
    // RTU over TCP: how long after its request was sent an answer is never taken for another.
    [[nodiscard]] static std::chrono::milliseconds lateAnswerReach(double timeout);

private:
    using Clock = std::chrono::steady_clock;

    // True when connected; otherwise lastError holds this address's failure, or is left as it
    // was when no socket could be created for the address.
    [[nodiscard]] bool connectTo(const ResolvedAddress& address, int timeoutMs, TCPLinkError& lastError);
    [[nodiscard]] std::expected<void, TCPLinkError> sendAll(std::span<const std::uint8_t> frame);
    [[nodiscard]] std::expected<void, TCPLinkError> receiveMore(Clock::time_point deadline);
    // Reads what the socket holds into pending without waiting, passing every complete frame to
    // dropFrames; gives up with timeout when the peer keeps sending past giveUp.
    [[nodiscard]] std::expected<void, TCPLinkError> drain(Clock::time_point giveUp);
    // Removes the complete frames at the front of pending as dropped; true when the bytes left
    // can still become a frame.
    bool dropFrames();
    // RTU over TCP: waits, dropping whatever arrives, until the failed request to unit with
    // function has had its late answer or its reach has passed.
    [[nodiscard]] std::expected<void, TCPLinkError> awaitLateAnswer(std::uint8_t unit, std::uint8_t function);
    // RTU over TCP: true when frame is the awaited late answer of a failed request, which it
    // then resolves.
    bool resolvesFailedRequest(std::span<const std::uint8_t> frame);
    void noteDropped(std::span<const std::uint8_t> frame);
    [[nodiscard]] std::expected<Transaction, TCPLinkError> transactMBAP(std::uint16_t transaction,
                                                                        std::uint8_t unit,
                                                                        std::span<const std::uint8_t> pdu,
                                                                        double timeout);
    [[nodiscard]] std::expected<Transaction, TCPLinkError> transactRTU(std::uint8_t unit,
                                                                       std::span<const std::uint8_t> pdu,
                                                                       double timeout);
    [[nodiscard]] TCPLinkError lose();

    std::string m_host;
    std::uint16_t m_port;
    TCPFraming m_framing;
    SocketCalls* m_calls;
    Socket m_socket;
    std::uint16_t m_nextTransaction = 1;
    std::array<std::uint8_t, receiveSize> m_buffer{};
    std::vector<std::uint8_t> m_pending;
    // Modbus TCP: how many bytes at the front of pending arrived before the current request
    // was sent; a frame that starts among them is not its answer.
    std::size_t m_staleBytes = 0;
    // RTU over TCP: a request that failed and whose answer may still come, until `until`.
    struct FailedRequest {
        std::uint8_t unit = 0;
        std::uint8_t function = 0;  // without the exception bit
        Clock::time_point until;
    };
    // Kept across reconnections, since a converter may still pass on the bus's late answer on a
    // new connection. At most one per unit and function.
    std::vector<FailedRequest> m_failed;
    DroppedFrames m_dropped;
};

}  // namespace tessarin

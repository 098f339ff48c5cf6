#include "ModbusTCP/TCPClientLink.hpp"

#include "ModbusCore/MBAPHeader.hpp"
#include "ModbusCore/RTUFrame.hpp"
#include "ModbusCore/Require.hpp"
#include "ModbusTCP/RTUStream.hpp"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace tessarin {

namespace {

using Clock = std::chrono::steady_clock;

// Longer waits than a year are taken as a year, so that no deadline overflows the clock.
constexpr double longestWait = 365.0 * 24 * 3600;

constexpr std::uint8_t functionBits = 0x7F;

#ifdef SOCK_CLOEXEC
constexpr int socketCloseOnExec = SOCK_CLOEXEC;
#else
constexpr int socketCloseOnExec = 0;
#endif

#ifdef MSG_NOSIGNAL
constexpr int sendFlags = MSG_NOSIGNAL;
#else
constexpr int sendFlags = 0;  // SO_NOSIGPIPE is set on the socket instead
#endif

Clock::duration durationOf(double seconds) {
    if (!(seconds > 0)) return Clock::duration::zero();  // negative, zero and NaN alike
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(std::min(seconds, longestWait)));
}

// Seconds to whole milliseconds, halves away from zero, at least 1.
int roundedMilliseconds(double seconds) {
    if (!(seconds > 0)) return 1;
    const double ms = std::round(std::min(seconds, longestWait) * 1000.0);
    return static_cast<int>(std::clamp(ms, 1.0, static_cast<double>(INT_MAX)));
}

// The time left until deadline for poll: whole milliseconds rounded up, at least 1, so that a
// tiny time-out still waits once rather than spinning.
int millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<decltype(left)>(left, 1, INT_MAX));
}

// The identifier step after transaction, skipping 0, which a Modbus TCP client never uses.
std::uint16_t following(std::uint16_t transaction, std::uint16_t step) {
    const auto next = static_cast<std::uint16_t>(transaction + step);
    return next == 0 ? std::uint16_t{1} : next;
}

}  // namespace

TCPClientLink::TCPClientLink(std::string host, std::uint16_t port, TCPFraming framing, SocketCalls& calls)
    : m_host(std::move(host)), m_port(port), m_framing(framing), m_calls(&calls) {}

std::chrono::milliseconds TCPClientLink::lateAnswerWait(double timeout) {
    return std::min(std::chrono::milliseconds(roundedMilliseconds(2 * timeout)), longestLateAnswerWait);
}

std::chrono::milliseconds TCPClientLink::lateAnswerReach(double timeout) {
    return std::chrono::milliseconds(roundedMilliseconds(timeout)) + lateAnswerWait(timeout);
}

TCPClientLink::DroppedFrames TCPClientLink::takeDroppedFrames() {
    return std::exchange(m_dropped, {});
}

std::expected<void, TCPLinkError> TCPClientLink::open(double timeout) {
    if (isOpen()) return {};
    const auto addresses = m_calls->resolve(m_host, std::to_string(m_port));
    if (!addresses || addresses->empty()) return std::unexpected(TCPLinkError::resolveFailed(m_host));

    const int timeoutMs = roundedMilliseconds(timeout);
    TCPLinkError lastError = TCPLinkError::resolveFailed(m_host);
    for (const ResolvedAddress& address : *addresses) {
        if (connectTo(address, timeoutMs, lastError)) return {};
    }
    return std::unexpected(std::move(lastError));
}

bool TCPClientLink::connectTo(const ResolvedAddress& address, int timeoutMs, TCPLinkError& lastError) {
    // Close-on-exec: a process the application starts must not keep the connection alive.
    Socket socket(m_calls->socket(address.family, address.socketType | socketCloseOnExec, address.protocol));
    if (!socket.isOpen()) return false;
    const int fd = socket.fd();
    if (socketCloseOnExec == 0) ::fcntl(fd, F_SETFD, FD_CLOEXEC);

    const int on = 1;
#ifdef SO_NOSIGPIPE
    ::setsockopt(fd, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
    // Requests are small and answered one at a time: coalescing them would only add delay.
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) {
        lastError = TCPLinkError::connectFailed(m_host, m_port, errno);
        return false;
    }

    if (m_calls->connect(fd, reinterpret_cast<const sockaddr*>(&address.address), address.length) != 0) {
        const int error = errno;
        // An interrupted non-blocking connect goes on in the background like one in progress.
        if (error != EINPROGRESS && error != EINTR) {
            lastError = TCPLinkError::connectFailed(m_host, m_port, error);
            return false;
        }
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        pollfd entry{fd, POLLOUT, 0};
        const int ready =
            retryingInterrupted([&] { return m_calls->poll(&entry, 1, millisecondsUntil(deadline)); });
        if (ready == 0) {
            lastError = TCPLinkError::connectTimeout(m_host, m_port);
            return false;
        }
        if (ready < 0) {
            lastError = TCPLinkError::connectFailed(m_host, m_port, errno);
            return false;
        }
        int socketError = 0;
        socklen_t size = sizeof socketError;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &socketError, &size) < 0) socketError = errno;
        if (socketError != 0) {
            lastError = TCPLinkError::connectFailed(m_host, m_port, socketError);
            return false;
        }
    }
    m_socket = std::move(socket);
    m_pending.clear();
    return true;
}

void TCPClientLink::close() {
    m_socket.close();
    m_pending.clear();
    m_staleBytes = 0;
}

TCPLinkError TCPClientLink::lose() {
    close();
    return TCPLinkError::disconnected();
}

std::expected<void, TCPLinkError> TCPClientLink::sendAll(std::span<const std::uint8_t> frame) {
    std::size_t offset = 0;
    while (offset < frame.size()) {
        const ssize_t sent = retryingInterrupted(
            [&] { return m_calls->send(fd(), frame.data() + offset, frame.size() - offset, sendFlags); });
        if (sent > 0) {
            offset += static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && !wouldBlock(errno)) return std::unexpected(lose());

        pollfd entry{fd(), POLLOUT, 0};
        const int ready = retryingInterrupted(
            [&] { return m_calls->poll(&entry, 1, static_cast<int>(sendStall.count())); });
        if (ready == 0) {
            // Half a frame on the wire would make the device read the next request as its
            // remainder: only a stall before the first byte leaves the stream usable.
            if (offset > 0) close();
            return std::unexpected(TCPLinkError::timeout());
        }
        if (ready < 0) return std::unexpected(lose());
    }
    return {};
}

std::expected<void, TCPLinkError> TCPClientLink::receiveMore(Clock::time_point deadline) {
    if (Clock::now() >= deadline) {
        // Modbus TCP keeps a partial answer: its transaction identifier will let it be dropped
        // once complete. In RTU a partial frame cannot be told from the next answer's start.
        if (m_framing == TCPFraming::rtuOverTCP) m_pending.clear();
        return std::unexpected(TCPLinkError::timeout());
    }
    pollfd entry{fd(), POLLIN, 0};
    const int ready =
        retryingInterrupted([&] { return m_calls->poll(&entry, 1, millisecondsUntil(deadline)); });
    if (ready == 0) return {};
    if (ready < 0) return std::unexpected(lose());

    const ssize_t received =
        retryingInterrupted([&] { return m_calls->recv(fd(), m_buffer.data(), m_buffer.size(), 0); });
    if (received > 0) {
        m_pending.insert(m_pending.end(), m_buffer.begin(), m_buffer.begin() + received);
        return {};
    }
    if (received < 0 && wouldBlock(errno)) return {};
    return std::unexpected(lose());
}

std::expected<void, TCPLinkError> TCPClientLink::drain(Clock::time_point giveUp) {
    for (;;) {
        const ssize_t received =
            retryingInterrupted([&] { return m_calls->recv(fd(), m_buffer.data(), m_buffer.size(), 0); });
        if (received < 0 && wouldBlock(errno)) return {};
        if (received <= 0) return std::unexpected(lose());
        m_pending.insert(m_pending.end(), m_buffer.begin(), m_buffer.begin() + received);
        // Without a frame boundary the rest cannot be judged: it is left to the answer's wait.
        if (!dropFrames()) return {};
        // A peer that streams without pause would otherwise hold the worker here forever.
        if (Clock::now() >= giveUp) return std::unexpected(TCPLinkError::timeout());
    }
}

bool TCPClientLink::dropFrames() {
    for (;;) {
        if (m_framing == TCPFraming::modbusTCP) {
            if (m_pending.size() < MBAPHeader::size) return true;
            const auto header = MBAPHeader::parse(m_pending);
            if (!header) return false;
            const std::size_t frameLength = header->length + std::size_t{6};
            if (m_pending.size() < frameLength) return true;
            noteDropped(std::span(m_pending).first(frameLength));
            m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(frameLength));
            continue;
        }
        const RTUStream::Next next = RTUStream::nextResponse(m_pending);
        switch (next.kind) {
            case RTUStream::Next::Kind::incomplete:
                return true;
            case RTUStream::Next::Kind::invalid:
                m_pending.clear();
                return true;
            case RTUStream::Next::Kind::frame:
                resolvesFailedRequest(next.bytes);
                m_pending.erase(m_pending.begin(),
                                m_pending.begin() + static_cast<std::ptrdiff_t>(next.bytes.size()));
                break;
        }
    }
}

bool TCPClientLink::resolvesFailedRequest(std::span<const std::uint8_t> frame) {
    const auto failed = std::ranges::find_if(m_failed, [&](const FailedRequest& request) {
        return request.unit == frame[0] && request.function == (frame[1] & functionBits);
    });
    if (failed == m_failed.end()) return false;
    m_failed.erase(failed);
    noteDropped(frame);
    return true;
}

void TCPClientLink::noteDropped(std::span<const std::uint8_t> frame) {
    if (m_dropped.count++ == 0) m_dropped.first.assign(frame.begin(), frame.end());
}

std::expected<void, TCPLinkError> TCPClientLink::awaitLateAnswer(std::uint8_t unit, std::uint8_t function) {
    const auto awaited = [&] {
        std::erase_if(m_failed,
                      [now = Clock::now()](const FailedRequest& request) { return request.until <= now; });
        return std::ranges::find_if(m_failed, [&](const FailedRequest& request) {
            return request.unit == unit && request.function == (function & functionBits);
        });
    };
    for (auto failed = awaited(); failed != m_failed.end(); failed = awaited()) {
        pollfd entry{fd(), POLLIN, 0};
        const auto until = failed->until;
        const int ready =
            retryingInterrupted([&] { return m_calls->poll(&entry, 1, millisecondsUntil(until)); });
        if (ready < 0) return std::unexpected(lose());
        if (ready == 0) continue;
        // The drain's own bound: a line that never pauses still ends the wait at its reach.
        if (auto drained = drain(until); !drained && !isOpen()) return std::unexpected(drained.error());
    }
    return {};
}

std::expected<TCPClientLink::Transaction, TCPLinkError> TCPClientLink::transact(
    std::uint8_t unit, std::span<const std::uint8_t> pdu, double timeout) {
    TESSARIN_REQUIRE(!pdu.empty() && pdu.size() <= MBAPHeader::maxPDUSize,
                     "a request PDU holds 1 to 253 bytes");
    if (!isOpen()) return std::unexpected(TCPLinkError::disconnected());
    if (m_framing == TCPFraming::rtuOverTCP) return transactRTU(unit, pdu, timeout);

    const std::uint16_t transaction = m_nextTransaction;
    m_nextTransaction = following(transaction, 1);
    auto result = transactMBAP(transaction, unit, pdu, timeout);
    if (!result && result.error().kind == TCPLinkError::Kind::timeout) {
        m_nextTransaction = following(transaction, identifierJump);
    }
    return result;
}

std::expected<TCPClientLink::Transaction, TCPLinkError> TCPClientLink::transactMBAP(
    std::uint16_t transaction, std::uint8_t unit, std::span<const std::uint8_t> pdu, double timeout) {
    const auto giveUp = Clock::now() + std::min(durationOf(timeout), Clock::duration(longestDrain));
    if (auto drained = drain(giveUp); !drained && !isOpen()) return std::unexpected(drained.error());
    // Everything buffered now left the device before this request: none of it is the answer.
    m_staleBytes = m_pending.size();

    Transaction result;
    result.request = MBAPHeader::message(transaction, unit, pdu);
    if (auto sent = sendAll(result.request); !sent) return std::unexpected(sent.error());

    const auto deadline = Clock::now() + durationOf(timeout);
    for (;;) {
        while (m_pending.size() < MBAPHeader::size) {
            if (auto more = receiveMore(deadline); !more) return std::unexpected(more.error());
        }
        const auto header = MBAPHeader::parse(m_pending);
        if (!header) {
            // Without a trustworthy length there is no telling where the next frame starts.
            close();
            return std::unexpected(TCPLinkError::invalidResponse());
        }
        const std::size_t frameLength = header->length + std::size_t{6};
        while (m_pending.size() < frameLength) {
            if (auto more = receiveMore(deadline); !more) return std::unexpected(more.error());
        }
        const auto frame = std::span(m_pending).first(frameLength);
        const bool stale = m_staleBytes > 0;
        m_staleBytes -= std::min(m_staleBytes, frameLength);
        if (!stale && header->transactionID == transaction) {
            result.response.assign(frame.begin(), frame.end());
            result.pdu.assign(result.response.begin() + MBAPHeader::size, result.response.end());
            result.unit = header->unitID;
        } else {
            noteDropped(frame);
        }
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(frameLength));
        if (!result.response.empty()) return result;
    }
}

std::expected<TCPClientLink::Transaction, TCPLinkError> TCPClientLink::transactRTU(
    std::uint8_t unit, std::span<const std::uint8_t> pdu, double timeout) {
    m_pending.clear();
    // Bounded apart from the answer's wait, so that a request never takes much more than its
    // time-out plus the send stall and a late answer's wait.
    const auto giveUp = Clock::now() + std::min(durationOf(timeout), Clock::duration(longestDrain));
    if (auto drained = drain(giveUp); !drained && !isOpen()) return std::unexpected(drained.error());
    if (auto awaited = awaitLateAnswer(unit, pdu[0]); !awaited) return std::unexpected(awaited.error());
    // A partial frame from before the request cannot be told from the answer's start.
    m_pending.clear();

    Transaction result;
    result.request = RTUFrame::build(unit, pdu);
    if (auto sent = sendAll(result.request); !sent) return std::unexpected(sent.error());
    const auto sentAt = Clock::now();
    const auto deadline = sentAt + durationOf(timeout);
    const auto function = static_cast<std::uint8_t>(pdu[0] & functionBits);
    const auto failed = [&](TCPLinkError error) -> std::expected<Transaction, TCPLinkError> {
        // The answer may still be on its way and would look exactly like the answer to the next
        // request with this unit and function.
        if (isOpen()) {
            std::erase_if(m_failed, [&](const FailedRequest& request) {
                return request.unit == unit && request.function == function;
            });
            m_failed.push_back({unit, function, sentAt + lateAnswerReach(timeout)});
        }
        return std::unexpected(std::move(error));
    };
    for (;;) {
        RTUStream::Next next = RTUStream::nextResponse(m_pending);
        switch (next.kind) {
            case RTUStream::Next::Kind::incomplete:
                if (auto more = receiveMore(deadline); !more) return failed(more.error());
                break;
            case RTUStream::Next::Kind::invalid:
                m_pending.clear();
                return failed(TCPLinkError::invalidResponse());
            case RTUStream::Next::Kind::frame: {
                std::vector<std::uint8_t>& frame = next.bytes;
                m_pending.erase(m_pending.begin(),
                                m_pending.begin() + static_cast<std::ptrdiff_t>(frame.size()));
                // Another unit's or another function's frame on a shared line is not ours; it
                // may be the late answer to an earlier request of ours, though.
                if (frame[0] != unit || (frame[1] & functionBits) != function) {
                    resolvesFailedRequest(frame);
                    break;
                }
                result.unit = frame[0];
                result.pdu.assign(frame.begin() + 1, frame.end() - 2);
                result.response = std::move(frame);
                return result;
            }
        }
    }
}

}  // namespace tessarin

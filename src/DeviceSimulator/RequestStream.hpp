#pragma once

#include "ModbusTCP/TCPFraming.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tessarin {

// One client's incoming bytes cut into requests, in the client's framing, and the answers
// framed back. Holds at most the bytes of one unfinished request once next() has returned
// nothing, so a client cannot make it grow by sending slowly.
class RequestStream {
public:
    struct Request {
        std::uint16_t transactionID = 0;  // Modbus TCP only; 0 in RTU over TCP
        std::uint8_t unit = 0;
        std::vector<std::uint8_t> pdu;

        bool operator==(const Request&) const = default;
    };

    // What next() found.
    enum class Status : std::uint8_t {
        request,     // one whole request, handed out
        incomplete,  // more bytes are needed (or none are buffered)
        invalid,     // the bytes cannot be a request in this framing; the client is not speaking Modbus
    };

    explicit RequestStream(TCPFraming framing) : m_framing(framing) {}

    void append(std::span<const std::uint8_t> bytes);

    // The next whole request into request, cutting it off the buffer.
    [[nodiscard]] Status next(Request& request);

    // Bytes of an unfinished request are waiting.
    [[nodiscard]] bool hasPartial() const { return m_pending.size() > m_start; }

    // The answer pdu to request as the client expects it on the wire.
    [[nodiscard]] std::vector<std::uint8_t> frame(const Request& request,
                                                  std::span<const std::uint8_t> pdu) const;

    [[nodiscard]] TCPFraming framing() const { return m_framing; }

private:
    TCPFraming m_framing;
    std::vector<std::uint8_t> m_pending;
    std::size_t m_start = 0;  // consumed bytes at the front of m_pending, cut off lazily
};

}  // namespace tessarin

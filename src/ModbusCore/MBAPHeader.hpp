#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <span>
#include <vector>

namespace tessarin {

// The 7-byte header in front of every Modbus TCP PDU: transaction ID, protocol ID (0 for
// Modbus), length of what follows the length field (unit ID + PDU), unit ID. Big-endian.
struct MBAPHeader {
    struct ParseError {
        enum class Kind : std::uint8_t { unsupportedProtocol, invalidLength, tooShort };
        Kind kind = Kind::tooShort;
        // The protocol ID or the length found; 0 for tooShort.
        std::uint16_t value = 0;

        [[nodiscard]] static constexpr ParseError unsupportedProtocol(std::uint16_t id) {
            return {Kind::unsupportedProtocol, id};
        }
        [[nodiscard]] static constexpr ParseError invalidLength(std::uint16_t length) {
            return {Kind::invalidLength, length};
        }
        [[nodiscard]] static constexpr ParseError tooShort() { return {Kind::tooShort, 0}; }

        bool operator==(const ParseError&) const = default;
    };

    static constexpr std::size_t size = 7;
    static constexpr std::size_t maxPDUSize = 253;
    // Unit IDs with which a client addresses the Modbus TCP device itself, not a unit behind it.
    static constexpr std::array<std::uint8_t, 2> directUnits{0, 255};

    std::uint16_t transactionID = 0;
    std::uint16_t protocolID = 0;
    std::uint16_t length = 0;
    std::uint8_t unitID = 0;

    // The bytes of PDU that follow the header. A parsed header's length is at least 2, so at
    // least 1; a hand-made header with length 0 gives 0, never a wrapped-around size.
    [[nodiscard]] constexpr std::size_t pduSize() const { return length > 0 ? length - 1U : 0U; }

    // Header and pdu as one message. The pdu holds at most 65534 bytes so that the length fits.
    [[nodiscard]] static std::vector<std::uint8_t> message(std::uint16_t transactionID, std::uint8_t unitID,
                                                           std::span<const std::uint8_t> pdu);

    // Reads only the first 7 bytes: tooShort below 7, unsupportedProtocol for a protocol ID
    // other than 0, invalidLength outside 2...254 (a PDU of 1 to 253 bytes).
    [[nodiscard]] static std::expected<MBAPHeader, ParseError> parse(std::span<const std::uint8_t> bytes);

    bool operator==(const MBAPHeader&) const = default;
};

}  // namespace tessarin

#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <vector>

// Modbus RTU frames as carried unchanged over TCP: unit ID, PDU, CRC-16 low byte first.
namespace tessarin::RTUFrame {

inline constexpr std::uint8_t broadcastUnit = 0;
// The unit IDs that address one device.
inline constexpr std::uint8_t firstUnit = 1;
inline constexpr std::uint8_t lastUnit = 247;
inline constexpr std::size_t maxSize = 256;
// Unit ID plus CRC around the PDU.
inline constexpr std::size_t overhead = 3;

[[nodiscard]] constexpr bool isUnitInRange(std::uint8_t unit) {
    return unit >= firstUnit && unit <= lastUnit;
}

struct ParseError {
    enum class Kind : std::uint8_t { tooShort, crcMismatch, unexpectedUnit, unexpectedFunction };
    Kind kind = Kind::tooShort;
    std::size_t length = 0;      // tooShort: the frame length
    std::uint16_t expected = 0;  // crcMismatch: the CRC computed over the frame
    std::uint16_t received = 0;  // crcMismatch: the CRC the frame carries
    std::uint8_t byte = 0;       // unexpectedUnit: the unit ID; unexpectedFunction: the function byte

    [[nodiscard]] static constexpr ParseError tooShort(std::size_t frameLength) {
        return {.kind = Kind::tooShort, .length = frameLength};
    }
    [[nodiscard]] static constexpr ParseError crcMismatch(std::uint16_t computed, std::uint16_t carried) {
        return {.kind = Kind::crcMismatch, .expected = computed, .received = carried};
    }
    [[nodiscard]] static constexpr ParseError unexpectedUnit(std::uint8_t unit) {
        return {.kind = Kind::unexpectedUnit, .byte = unit};
    }
    [[nodiscard]] static constexpr ParseError unexpectedFunction(std::uint8_t function) {
        return {.kind = Kind::unexpectedFunction, .byte = function};
    }

    bool operator==(const ParseError&) const = default;
};

// Unit ID, pdu and the CRC of both, low byte first.
[[nodiscard]] std::vector<std::uint8_t> build(std::uint8_t unitID, std::span<const std::uint8_t> pdu);

// The PDU between unit ID and CRC of a response to a request with unitID and function. Checks,
// in order: at least 4 bytes, the CRC, the unit ID, the function code in its low seven bits (so
// an exception response passes and is left to the PDU checks).
[[nodiscard]] std::expected<std::vector<std::uint8_t>, ParseError> parseResponse(
    std::span<const std::uint8_t> frame, std::uint8_t unitID, std::uint8_t function);

// At least 4 bytes whose last two, low byte first, are the CRC of the others.
[[nodiscard]] bool hasValidCRC(std::span<const std::uint8_t> bytes);

// The whole length of a request or response frame judged from its first bytes, since RTU
// frames carry no length field. No value when the function code is unknown or the bytes that
// decide the length have not arrived yet.
[[nodiscard]] std::optional<std::size_t> expectedRequestLength(std::span<const std::uint8_t> head);
[[nodiscard]] std::optional<std::size_t> expectedResponseLength(std::span<const std::uint8_t> head);

}  // namespace tessarin::RTUFrame

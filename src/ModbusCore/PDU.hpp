#pragma once

#include "ModbusCore/RegisterTable.hpp"

#include <cstddef>
#include <cstdint>
#include <expected>
#include <span>
#include <variant>
#include <vector>

// The Modbus application layer: request builders and response checks over bare PDUs (function
// code and data, without unit ID, header or checksum). Every 16-bit quantity is big-endian.
namespace tessarin::PDU {

// The data of a successful read: one Boolean per requested coil or discrete input, or one
// value per requested holding or input register, in address order.
struct ReadData {
    std::variant<std::vector<bool>, std::vector<std::uint16_t>> values;

    [[nodiscard]] static ReadData bits(std::vector<bool> bits) { return {std::move(bits)}; }
    [[nodiscard]] static ReadData registers(std::vector<std::uint16_t> registers) {
        return {std::move(registers)};
    }

    // Null when the data is of the other kind.
    [[nodiscard]] const std::vector<bool>* bitValues() const {
        return std::get_if<std::vector<bool>>(&values);
    }
    [[nodiscard]] const std::vector<std::uint16_t>* registerValues() const {
        return std::get_if<std::vector<std::uint16_t>>(&values);
    }

    bool operator==(const ReadData&) const = default;
};

// Why a response did not give what the request asked for.
struct ResponseError {
    enum class Kind : std::uint8_t { exception, malformed };
    Kind kind = Kind::malformed;
    // The exception code byte exactly as received; 0 for malformed.
    std::uint8_t code = 0;

    [[nodiscard]] static constexpr ResponseError exception(std::uint8_t exceptionCode) {
        return {Kind::exception, exceptionCode};
    }
    [[nodiscard]] static constexpr ResponseError malformed() { return {Kind::malformed, 0}; }

    bool operator==(const ResponseError&) const = default;
};

// Largest quantities whose byte counts fit the one-byte field of functions 15 and 16.
inline constexpr std::size_t maxPackedCoils = std::size_t{255} * 8;
inline constexpr std::size_t maxPackedRegisters = 127;

// Builders. Callers keep quantities within the FunctionCode limits; the wire format's own
// bounds are checked always and stop the process (a read count outside 0...65535, more than
// 2040 coils or 127 registers in one write).
[[nodiscard]] std::vector<std::uint8_t> read(RegisterTable table, std::uint16_t address, int count);
[[nodiscard]] std::vector<std::uint8_t> writeSingleCoil(std::uint16_t address, bool on);
[[nodiscard]] std::vector<std::uint8_t> writeSingleRegister(std::uint16_t address, std::uint16_t value);
[[nodiscard]] std::vector<std::uint8_t> writeMultipleCoils(std::uint16_t address,
                                                           const std::vector<bool>& values);
[[nodiscard]] std::vector<std::uint8_t> writeMultipleRegisters(std::uint16_t address,
                                                               std::span<const std::uint16_t> values);

// The data of a response to a read of count addresses from table. An exception response (top
// bit of the first byte set) is exception with its code whatever the function; a wrong function
// code, a length that disagrees with the byte count, or a byte count that does not fit the
// request is malformed. Never partial data.
[[nodiscard]] std::expected<ReadData, ResponseError> parseRead(std::span<const std::uint8_t> response,
                                                               RegisterTable table, int count);

// Success when response acknowledges request: the echo for functions 5 and 6, the function
// code, start address and quantity for the others. An exception response is exception with its
// code; any other mismatch is malformed.
[[nodiscard]] std::expected<void, ResponseError> checkWrite(std::span<const std::uint8_t> response,
                                                            std::span<const std::uint8_t> request);

}  // namespace tessarin::PDU

#include "ModbusCore/CRC16.hpp"

#include <array>

namespace tessarin::CRC16 {

namespace {

// The eight shift-and-XOR steps of one byte, done once per byte value at compile time; the
// splitter runs the CRC at many offsets of a captured stream.
constexpr std::array<std::uint16_t, 256> table = [] {
    std::array<std::uint16_t, 256> out{};
    for (unsigned value = 0; value < 256; ++value) {
        unsigned crc = value;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1U) != 0 ? (crc >> 1) ^ 0xA001U : crc >> 1;
        out[value] = static_cast<std::uint16_t>(crc);
    }
    return out;
}();

}  // namespace

std::uint16_t modbus(std::span<const std::uint8_t> bytes) {
    unsigned crc = 0xFFFF;
    for (const std::uint8_t byte : bytes) crc = (crc >> 8) ^ table[(crc ^ byte) & 0xFFU];
    return static_cast<std::uint16_t>(crc);
}

}  // namespace tessarin::CRC16

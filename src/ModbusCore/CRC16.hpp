#pragma once

#include <cstdint>
#include <span>

namespace tessarin::CRC16 {

// CRC-16/MODBUS (reflected polynomial 0xA001, initial 0xFFFF, no final XOR). No bytes give
// 0xFFFF; "123456789" gives 0x4B37. The wire carries the low byte first.
[[nodiscard]] std::uint16_t modbus(std::span<const std::uint8_t> bytes);

}  // namespace tessarin::CRC16

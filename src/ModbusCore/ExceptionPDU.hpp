#pragma once

#include "ModbusCore/ModbusException.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Exception responses: exactly two bytes, the request's function code with the top bit set,
// then the exception code.
namespace tessarin::ExceptionPDU {

inline constexpr std::uint8_t exceptionBit = 0x80;

// The exception response a device would send for function and code.
[[nodiscard]] std::vector<std::uint8_t> make(std::uint8_t function, ModbusException code);

// The exception code byte of pdu when it is an exception response (at least two bytes, top bit
// of the first set), else no value. Codes without a ModbusException case come through as well.
[[nodiscard]] std::optional<std::uint8_t> exception(std::span<const std::uint8_t> pdu);

}  // namespace tessarin::ExceptionPDU

#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessarin {

// Byte-array helpers shared by the PDU builders, the frames, the transport and the log.
// Every 16-bit quantity on the Modbus wire is big-endian.

// The big-endian value of bytes[index] and bytes[index + 1]; both must exist.
[[nodiscard]] std::uint16_t uint16At(std::span<const std::uint8_t> bytes, std::size_t index);

// Appends value high byte first.
void appendUInt16(std::vector<std::uint8_t>& bytes, std::uint16_t value);

// "01 03 00 0A": two upper-case hex digits per byte, single spaces between, "" for no bytes.
[[nodiscard]] std::string hexString(std::span<const std::uint8_t> bytes);

// Value k goes to bit k mod 8 (least significant first) of byte k div 8; unused high bits of
// the last byte are 0.
[[nodiscard]] std::vector<std::uint8_t> packBits(const std::vector<bool>& values);

// The first count values packed as packBits does; a value whose byte lies beyond the data
// is false.
[[nodiscard]] std::vector<bool> unpackBits(std::span<const std::uint8_t> bytes, std::size_t count);

}  // namespace tessarin

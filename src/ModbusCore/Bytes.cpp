#include "ModbusCore/Bytes.hpp"

#include "ModbusCore/Require.hpp"

#include <algorithm>
#include <string_view>

namespace tessarin {

std::uint16_t uint16At(std::span<const std::uint8_t> bytes, std::size_t index) {
    TESSARIN_REQUIRE(index < bytes.size() && bytes.size() - index >= 2, "two bytes at the index");
    return static_cast<std::uint16_t>((bytes[index] << 8) | bytes[index + 1]);
}

void appendUInt16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

std::string hexString(std::span<const std::uint8_t> bytes) {
    constexpr std::string_view digits = "0123456789ABCDEF";
    std::string out;
    if (bytes.empty()) return out;
    out.reserve(bytes.size() * 3 - 1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) out += ' ';
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0x0F];
    }
    return out;
}

std::vector<std::uint8_t> packBits(const std::vector<bool>& values) {
    std::vector<std::uint8_t> out((values.size() + 7) / 8, 0);
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (values[k]) out[k / 8] = static_cast<std::uint8_t>(out[k / 8] | (1U << (k % 8)));
    }
    return out;
}

std::vector<bool> unpackBits(std::span<const std::uint8_t> bytes, std::size_t count) {
    std::vector<bool> out(count, false);
    const std::size_t available = std::min(count, bytes.size() * 8);
    for (std::size_t k = 0; k < available; ++k) {
        out[k] = ((static_cast<unsigned>(bytes[k / 8]) >> (k % 8)) & 1U) != 0;
    }
    return out;
}

}  // namespace tessarin

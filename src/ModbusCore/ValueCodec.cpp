#include "ModbusCore/ValueCodec.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace tessarin::ValueCodec {

namespace {

constexpr double twoTo63 = 9223372036854775808.0;
constexpr double twoTo64 = 18446744073709551616.0;

// Clamps into lower ... upper, then rounds half away from zero. Both bounds are exact integers
// the result type can hold, so the conversion that follows is always defined.
template <typename Int>
Int clampedRounded(double value, double lower, double upper) {
    if (std::isnan(value)) return 0;
    return static_cast<Int>(std::round(std::clamp(value, lower, upper)));
}

// Nearest single-precision value with IEEE rounding. Converting a double beyond the float
// range is undefined behaviour in C++, so the overflow to infinity is done here: anything at or
// above the midpoint between FLT_MAX and 2^128 rounds to infinity, the rest to FLT_MAX.
std::uint32_t singlePattern(double value) {
    if (std::isnan(value)) return std::bit_cast<std::uint32_t>(std::numeric_limits<float>::quiet_NaN());
    constexpr double maxFloat = std::numeric_limits<float>::max();
    constexpr double overflowAt = 340282356779733661637539395458142568448.0;  // 2^128 − 2^103
    const double magnitude = std::fabs(value);
    float single = 0;
    if (magnitude <= maxFloat) {
        single = static_cast<float>(magnitude);
    } else {
        single = magnitude >= overflowAt ? std::numeric_limits<float>::infinity()
                                         : std::numeric_limits<float>::max();
    }
    return std::bit_cast<std::uint32_t>(std::signbit(value) ? -single : single);
}

std::uint64_t uint64Bits(double value) {
    if (std::isnan(value) || value <= 0.0) return 0;
    if (value >= twoTo64) return std::numeric_limits<std::uint64_t>::max();
    // Every double below 2^64 and at least 2^52 is an integer already, so rounding stays below 2^64.
    return static_cast<std::uint64_t>(std::round(value));
}

std::uint64_t int64Bits(double value) {
    if (std::isnan(value)) return 0;
    if (value <= -twoTo63) return std::bit_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::min());
    const double rounded = std::round(value);
    if (rounded >= twoTo63) return std::bit_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    return std::bit_cast<std::uint64_t>(static_cast<std::int64_t>(rounded));
}

constexpr std::uint16_t byteSwapped(std::uint16_t word) {
    return static_cast<std::uint16_t>((word >> 8) | (word << 8));
}

}  // namespace

std::uint64_t bitsOf(double value, DataType type) {
    switch (type) {
        case DataType::bool_:
            return value > 0.0 ? 1 : 0;
        case DataType::uint16:
            return clampedRounded<std::uint16_t>(value, 0.0, 65535.0);
        case DataType::int16:
            return std::bit_cast<std::uint16_t>(clampedRounded<std::int16_t>(value, -32768.0, 32767.0));
        case DataType::uint32:
            return clampedRounded<std::uint32_t>(value, 0.0, 4294967295.0);
        case DataType::int32:
            return std::bit_cast<std::uint32_t>(
                clampedRounded<std::int32_t>(value, -2147483648.0, 2147483647.0));
        case DataType::float32:
            return singlePattern(value);
        case DataType::uint64:
            return uint64Bits(value);
        case DataType::int64:
            return int64Bits(value);
        case DataType::float64:
            return std::bit_cast<std::uint64_t>(value);
    }
    return 0;
}

double valueOf(std::uint64_t bits, DataType type) {
    const auto low16 = static_cast<std::uint16_t>(bits);
    const auto low32 = static_cast<std::uint32_t>(bits);
    switch (type) {
        case DataType::bool_:
            return (bits & 1U) != 0 ? 1.0 : 0.0;
        case DataType::uint16:
            return low16;
        case DataType::int16:
            return std::bit_cast<std::int16_t>(low16);
        case DataType::uint32:
            return low32;
        case DataType::int32:
            return std::bit_cast<std::int32_t>(low32);
        case DataType::float32:
            return std::bit_cast<float>(low32);
        case DataType::uint64:
            return static_cast<double>(bits);
        case DataType::int64:
            return static_cast<double>(std::bit_cast<std::int64_t>(bits));
        case DataType::float64:
            return std::bit_cast<double>(bits);
    }
    return 0.0;
}

std::vector<std::uint16_t> registersFromBits(std::uint64_t bits, DataType type, WordOrder order) {
    const auto count = static_cast<std::size_t>(registerCount(type));
    std::vector<std::uint16_t> words(count);
    for (std::size_t i = 0; i < count; ++i) {
        words[i] = static_cast<std::uint16_t>(bits >> (16 * (count - 1 - i)));
    }
    if (count == 1) return words;
    if (reversesWords(order)) std::ranges::reverse(words);
    if (swapsBytes(order)) std::ranges::transform(words, words.begin(), byteSwapped);
    return words;
}

std::uint64_t bitsFromRegisters(std::span<const std::uint16_t> registers, DataType type, WordOrder order) {
    const std::size_t count = std::min(registers.size(), static_cast<std::size_t>(registerCount(type)));
    const bool reorder = count >= 2;
    const bool reverse = reorder && reversesWords(order);
    const bool swap = reorder && swapsBytes(order);
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t word = registers[reverse ? count - 1 - i : i];
        bits = (bits << 16) | (swap ? byteSwapped(word) : word);
    }
    return bits;
}

std::vector<std::uint16_t> registersFor(double value, DataType type, WordOrder order, double scale) {
    const double raw = isUnscaled(scale) ? value : value / scale;
    return registersFromBits(bitsOf(raw, type), type, order);
}

double valueFromRegisters(std::span<const std::uint16_t> registers, DataType type, WordOrder order,
                          double scale) {
    const double raw = valueOf(bitsFromRegisters(registers, type, order), type);
    return isUnscaled(scale) ? raw : raw * scale;
}

}  // namespace tessarin::ValueCodec
